#pragma once

#include <QImage>
#include <QSize>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kfa {

// What a photo's EXIF block says about it.
struct ExifFacts {
    int Orientation = 1;
    std::optional<double> ShootTime;  // DateTimeOriginal, else DateTime
    std::string Description;          // ImageDescription when it is readable text, trimmed
};

// Facts of a JPEG's EXIF block; a missing or damaged block gives the defaults.
ExifFacts ReadExifFacts(std::span<const uint8_t> jpeg);

// "YYYY?MM?DD HH:MM[:SS]" with ? one of ':' or '-', as a day count since
// 1899-12-30; nothing when it is not a real date and time.
std::optional<double> ParseDateTime(std::string_view text);

// The file's modification time in local time, as a day count.
double FileTimeValue(const std::string& path);

// One photo, read and turned upright.
struct Photo {
    std::vector<uint8_t> PictureJpeg;  // the full picture as the album stores it
    QImage Fitted;                     // upright, fitted into the box asked for
    ExifFacts Facts;
};

// Reads a photo file. JPEGs stored upright keep their own bytes, turned ones
// are turned losslessly where a perfect transform exists; others are decoded,
// turned and encoded again. Only the fitted picture is made when
// fullPicture is false. Throws PictureError naming the file when it cannot be
// read or decoded.
Photo LoadPhoto(const std::string& path, QSize box, bool fullPicture);

}  // namespace kfa
