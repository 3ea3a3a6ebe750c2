#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace pagora {

class AlbumArchive;

// The player's file name while the album has no music; never a file.
inline constexpr const char* kNoMusic = "NoMusicKKKK";

// Where the music member of the album is extracted: the album's name and the
// member's joined into one file name that stays inside the work folder.
// Names are the album's GBK bytes.
std::string MusicFilePath(const std::string& workFolder, const std::string& albumName,
                          const std::string& member);

// The member that follows the one whose file is playing, in the cycle
// musicName, musicList[0], ..., musicList[last], musicName. A file that is
// none of the list's (the first track, or the user's music) is followed by
// musicList[0]. Empty when the list is: the same file plays again.
std::string NextMusicMember(const std::string& playing, const std::string& musicName,
                            const std::vector<std::string>& musicList,
                            const std::function<std::string(const std::string& member)>& pathOf);

// Extracts the member to the file. Music and the turn sound are optional, so a
// member that is missing, damaged or cannot be written leaves no file and
// reports nothing; returns whether the file is there.
bool ExtractOptional(const AlbumArchive& archive, std::string_view member, const std::string& path);

}  // namespace pagora
