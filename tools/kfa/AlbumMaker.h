#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "PhotoList.h"

namespace kfa {

// Everything an album is made from. Texts are UTF-8.
struct MakeSettings {
    std::vector<PhotoEntry> Photos;  // folders among them stand for their pictures
    bool Recursive = false;          // folders stand for their subfolders' pictures too
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
    int Jobs = 1;  // photos made at once
};

// Writes the album; photos are made on settings.Jobs threads and written in
// their order, and the output appears only when it is complete. The bytes do
// not depend on the number of jobs. Throws with a message naming the photo or
// file that failed.
void MakeAlbum(const MakeSettings& settings);

}  // namespace kfa
