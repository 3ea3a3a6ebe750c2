#pragma once

#include <cstdint>
#include <string>

namespace pagora {

// The version the album maker must report for the viewer to open its previews.
inline constexpr const char* kMakerVersion = "1.46";
inline constexpr const char* kMakerFileName = "Quillsmith.exe";

// Why the maker check failed, if it did.
enum class MakerCheck { Passed, MakerMissing, WrongVersion };

// The maker must sit in the viewer's folder and report exactly kMakerVersion.
MakerCheck CheckMaker(const std::string& viewerFolder);

// The base of an album appended to the executable, or 0 when it carries none.
int64_t AppendedAlbumBase(const std::string& executable);

// "Summer" for ".../Summer.kfa": the name without folder and last extension.
std::string AlbumTitleName(const std::string& albumPath);

}  // namespace pagora
