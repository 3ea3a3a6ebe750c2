#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "PhotoList.h"

namespace kfa {

// Everything an album is made from. Texts are UTF-8.
struct MakeSettings {
    std::vector<PhotoEntry> Photos;
    std::string Output;
    std::string AlbumName;
    std::string Password;
    std::vector<std::string> Music;  // files
    int32_t TurnTime = 800;          // milliseconds
    int32_t StayTime = 3000;         // milliseconds
    bool ShowInfo = false;
    int32_t BackColor = 0;  // 0x00BBGGRR
    int ScreenWidth = 1920;
    int ScreenHeight = 1080;
    bool SkipBad = false;
    bool NoPictures = false;
};

// Writes the album, photo by photo; the output appears only when it is
// complete. Throws with a message naming the photo or file that failed.
void MakeAlbum(const MakeSettings& settings);

}  // namespace kfa
