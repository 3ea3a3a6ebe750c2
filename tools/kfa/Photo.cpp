#include "Photo.h"

#include <libexif/exif-data.h>
#include <sys/stat.h>

#include <QStringDecoder>
#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <ctime>
#include <memory>

#include "Files.h"
#include "LosslessTurn.h"
#include "archive/AlbumError.h"
#include "archive/DateText.h"
#include "gfx/ExifOrientation.h"
#include "gfx/Fit.h"
#include "gfx/Orientation.h"
#include "gfx/PictureError.h"
#include "gfx/PictureFile.h"

namespace kfa {
namespace {

constexpr int kReencodeQuality = 92;

struct ExifDataUnref {
    void operator()(ExifData* data) const { exif_data_unref(data); }
};

std::string Trim(std::string_view text) {
    size_t begin = text.find_first_not_of(" \t\r\n");
    if (begin == std::string_view::npos)
        return {};
    size_t end = text.find_last_not_of(" \t\r\n");
    return std::string(text.substr(begin, end - begin + 1));
}

std::string AsciiEntry(ExifData* data, ExifIfd ifd, ExifTag tag) {
    ExifEntry* entry = exif_content_get_entry(data->ifd[ifd], tag);
    if (!entry || !entry->data || entry->format != EXIF_FORMAT_ASCII)
        return {};
    const char* text = reinterpret_cast<const char*>(entry->data);
    return std::string(text, strnlen(text, entry->size));
}

bool IsUtf8(const std::string& text) {
    QStringDecoder decoder(QStringDecoder::Utf8);
    QString decoded = decoder.decode(QByteArrayView(text.data(), text.size()));
    return !decoder.hasError();
}

bool IsJpeg(const std::vector<uint8_t>& bytes) {
    return bytes.size() >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF;
}

std::vector<uint8_t> ReadPhotoFile(const std::string& path) {
    try {
        return ReadWholeFile(path, pagora::kMaxPictureFileSize);
    } catch (const pagora::AlbumError& error) {
        throw pagora::PictureError(error.what());
    }
}

QImage Fit(QImage& picture, QSize box) {
    QImage fitted;
    pagora::FitBitmap(picture, fitted, false, box.height(), box.width(), false);
    return fitted;
}

}  // namespace

ExifFacts ReadExifFacts(std::span<const uint8_t> jpeg) {
    ExifFacts facts;
    std::unique_ptr<ExifData, ExifDataUnref> data(exif_data_new());
    if (!data || jpeg.size() > 0xFFFFFFFFu)
        return facts;
    // Following the standard would fill missing entries in, a made-up date among them.
    exif_data_unset_option(data.get(), EXIF_DATA_OPTION_FOLLOW_SPECIFICATION);
    exif_data_load_data(data.get(), jpeg.data(), static_cast<unsigned>(jpeg.size()));

    facts.Orientation = pagora::ExifOrientation(jpeg);
    facts.ShootTime =
        ParseDateTime(AsciiEntry(data.get(), EXIF_IFD_EXIF, EXIF_TAG_DATE_TIME_ORIGINAL));
    if (!facts.ShootTime)
        facts.ShootTime = ParseDateTime(AsciiEntry(data.get(), EXIF_IFD_0, EXIF_TAG_DATE_TIME));
    std::string description = Trim(AsciiEntry(data.get(), EXIF_IFD_0, EXIF_TAG_IMAGE_DESCRIPTION));
    if (IsUtf8(description))
        facts.Description = description;
    return facts;
}

std::optional<double> ParseDateTime(std::string_view text) {
    text = std::string_view(text).substr(0, text.find_last_not_of(" \t\r\n") + 1);
    // Positions of the fields in "YYYY-MM-DD HH:MM:SS".
    if (text.size() != 16 && text.size() != 19)
        return std::nullopt;
    auto number = [&](size_t at, size_t length, int& value) {
        auto [end, ec] = std::from_chars(text.data() + at, text.data() + at + length, value);
        return ec == std::errc() && end == text.data() + at + length;
    };
    char dateSeparator = text[4];
    if ((dateSeparator != '-' && dateSeparator != ':') || text[7] != dateSeparator ||
        text[10] != ' ' || text[13] != ':' || (text.size() == 19 && text[16] != ':'))
        return std::nullopt;
    int year, month, day, hour, minute, second = 0;
    if (!number(0, 4, year) || !number(5, 2, month) || !number(8, 2, day) || !number(11, 2, hour) ||
        !number(14, 2, minute) || (text.size() == 19 && !number(17, 2, second)))
        return std::nullopt;
    static constexpr int kDaysInMonth[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    if (year < 1 || month < 1 || month > 12 || day < 1 || day > kDaysInMonth[month - 1] ||
        (month == 2 && day == 29 && !leap) || hour > 23 || minute > 59 || second > 59)
        return std::nullopt;
    return pagora::DateTimeValue(year, month, day, hour, minute, second);
}

double FileTimeValue(const std::string& path) {
    struct stat info;
    if (::stat(path.c_str(), &info) != 0)
        throw pagora::PictureError(path + ": cannot read: " + std::strerror(errno));
    std::tm local{};
    if (!::localtime_r(&info.st_mtime, &local))
        return 0;
    return pagora::DateTimeValue(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                                 local.tm_hour, local.tm_min, std::min(local.tm_sec, 59));
}

Photo LoadPhoto(const std::string& path, QSize box, bool fullPicture) {
    Photo photo;
    std::vector<uint8_t> bytes = ReadPhotoFile(path);
    if (!IsJpeg(bytes)) {
        bytes = {};
        QImage picture;
        pagora::LoadPictureFile(picture, path);
        if (fullPicture)
            photo.PictureJpeg = pagora::EncodeJpeg(picture, kReencodeQuality);
        photo.Fitted = Fit(picture, box);
        return photo;
    }
    photo.Facts = ReadExifFacts(bytes);
    int orientation = photo.Facts.Orientation;
    if (orientation == 1) {
        photo.Fitted =
            pagora::DecodeJpegToBox(bytes, path, box.width(), box.height(), false, false);
        if (fullPicture)
            photo.PictureJpeg = std::move(bytes);
    } else if (fullPicture) {
        if (auto turned = TurnUprightLosslessly(bytes, orientation)) {
            bytes = {};
            photo.Fitted =
                pagora::DecodeJpegToBox(*turned, path, box.width(), box.height(), false, false);
            photo.PictureJpeg = std::move(*turned);
            return photo;
        }
        QImage upright = pagora::OrientUpright(pagora::DecodeJpeg(bytes, path), orientation);
        photo.PictureJpeg = pagora::EncodeJpeg(upright, kReencodeQuality);
        photo.Fitted = Fit(upright, box);
    } else {
        photo.Fitted = pagora::DecodeJpegToBoxUpright(bytes, path, orientation, box.width(),
                                                      box.height(), false, false);
    }
    return photo;
}

}  // namespace kfa
