#pragma once

#include <cstdint>
#include <string>

namespace pagora {

// The one place where member names are built from numbers.
inline std::string PagePictureName(int64_t page) {
    return "image" + std::to_string(page) + ".JPG";
}
inline std::string PageInfoName(int64_t page) {
    return "image" + std::to_string(page) + ".dat";
}
inline std::string PictureName(int64_t k) {
    return "PIC" + std::to_string(k) + ".jpg";
}
inline std::string SmallPictureName(int64_t k) {
    return "SmallPIC" + std::to_string(k) + ".jpg";
}
// Named by the picture member's Number, not by its position.
inline std::string PictureInfoName(int64_t number) {
    return "Image" + std::to_string(number) + ".dat";
}

inline const char kProfileMember[] = "profile.dat";
inline const char kSetupMember[] = "AlbumProInfo.dat";
inline const char kTurnSoundMember[] = "SndEffect.wav";

}  // namespace pagora
