#include "book/MusicFiles.h"

#include <exception>

#include "archive/AlbumArchive.h"
#include "gfx/Folders.h"
#include "platform/GbkText.h"
#include "platform/SectionName.h"

namespace pagora {

std::string MusicFilePath(const std::string& workFolder, const std::string& albumName,
                          const std::string& member) {
    return workFolder + "/" +
           SafeFileNamePart((FromGbk(albumName) + FromGbk(member)).toStdString());
}

std::string NextMusicMember(const std::string& playing, const std::string& musicName,
                            const std::vector<std::string>& musicList,
                            const std::function<std::string(const std::string& member)>& pathOf) {
    if (musicList.empty())
        return {};
    for (size_t i = 0; i < musicList.size(); ++i)
        if (pathOf(musicList[i]) == playing)
            return i + 1 < musicList.size() ? musicList[i + 1] : musicName;
    return musicList.front();
}

bool ExtractOptional(const AlbumArchive& archive, std::string_view member,
                     const std::string& path) {
    try {
        archive.ExtractToFile(member, path);
    } catch (const std::exception&) {
        // ExtractToFile leaves no file behind when it fails.
    }
    return FileExists(path);
}

}  // namespace pagora
