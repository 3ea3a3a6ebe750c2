#include "app/AlbumSource.h"

#include <sys/stat.h>

#include "archive/ArchiveTrailer.h"
#include "archive/HelperLibrary.h"

namespace pagora {

MakerCheck CheckMaker(const std::string& viewerFolder) {
    const std::string maker = viewerFolder + "/" + kMakerFileName;
    struct stat info {};
    if (::stat(maker.c_str(), &info) != 0)
        return MakerCheck::MakerMissing;
    LoadHelperLibrary("BaseFunction.dll");
    const bool right = FileVersionText(maker) == kMakerVersion;
    FreeHelperLibrary();
    return right ? MakerCheck::Passed : MakerCheck::WrongVersion;
}

int64_t AppendedAlbumBase(const std::string& executable) {
    // An executable that cannot be read carries no album the viewer can show.
    try {
        return FindArchiveBase(executable);
    } catch (const std::exception&) {
        return 0;
    }
}

std::string AlbumTitleName(const std::string& albumPath) {
    const size_t slash = albumPath.find_last_of('/');
    std::string name = slash == std::string::npos ? albumPath : albumPath.substr(slash + 1);
    const size_t dot = name.find_last_of('.');
    if (dot != std::string::npos && dot > 0)
        name.erase(dot);
    return name;
}

}  // namespace pagora
