#pragma once

#include <QImage>
#include <optional>
#include <string>

#include "TestFiles.h"

namespace pagora::test {

// An EXIF block (APP1) as cameras write it, little-endian: orientation,
// description and, in the EXIF directory, the shooting time.
Bytes ExifSegment(int orientation, const std::string& shot, const std::string& description);

// The picture as a quality 95 JPEG with the APP1 segment right after SOI.
Bytes Jpeg(const QImage& picture, const Bytes& app1 = {});

// The orientation tag of a JPEG whose EXIF block ExifSegment made (wherever
// it has moved to), or nothing when the JPEG has no EXIF block.
std::optional<int> StoredOrientation(const Bytes& jpeg);

}  // namespace pagora::test
