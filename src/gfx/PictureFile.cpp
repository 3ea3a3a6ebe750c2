// The picture file table, loading a file by its extension, and the types Qt's
// image readers decode.
#include "gfx/PictureFile.h"

#include <fcntl.h>

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <mutex>

#include "archive/AlbumError.h"
#include "archive/Stream.h"
#include "gfx/PictureDecode.h"
#include "gfx/PictureError.h"

namespace pagora {

namespace {

using D = PictureDecoder;

// Qt's limit is on the decoded bytes; a 32-bit picture at the area limit just fits.
constexpr int kQtAllocationLimitMb = static_cast<int>((kMaxPictureArea * 4) >> 20);

PictureError UnknownExtension(const std::string& extension) {
    return PictureError("Unknown picture file extension (." + extension + ")");
}

uint32_t Le16(std::span<const uint8_t> b, size_t at) {
    return b[at] | uint32_t(b[at + 1]) << 8;
}

uint32_t Le32(std::span<const uint8_t> b, size_t at) {
    return Le16(b, at) | Le16(b, at + 2) << 16;
}

// Qt's BMP reader leaves the rows a cut file lacks as they were; uncompressed
// pixel data can be measured before it runs.
bool BmpCut(std::span<const uint8_t> b) {
    if (b.size() < 30 || b[0] != 'B' || b[1] != 'M')
        return false;
    uint64_t offset = Le32(b, 10), header = Le32(b, 14), width, height, bits;
    if (header == 12) {
        width = Le16(b, 18), height = Le16(b, 20), bits = Le16(b, 24);
    } else if (header >= 40 && b.size() >= 34) {
        uint32_t compression = Le32(b, 30);
        if (compression != 0 && compression != 3 && compression != 6)
            return false;  // run-length data has no fixed size
        width = Le32(b, 18), bits = Le16(b, 28);
        int32_t h = static_cast<int32_t>(Le32(b, 22));
        height = h < 0 ? -static_cast<int64_t>(h) : h;
    } else {
        return false;
    }
    uint64_t stride = (width * bits + 31) / 32 * 4;
    return offset + stride * height > b.size();  // no overflow: each factor is below 2^32
}

// Qt's TGA reader wants the footer of version 2 files; a version 1 file is
// one with no extension or developer area, which is what this footer says.
constexpr char kTgaSignature[] = "TRUEVISION-XFILE.";

bool TgaHasFooter(std::span<const uint8_t> b) {
    const size_t length = sizeof kTgaSignature;  // with its NUL
    return b.size() >= 26 && std::memcmp(b.data() + b.size() - length, kTgaSignature, length) == 0;
}

// Uncompressed TGA pixel data measured as for BMP; Qt reads only that kind.
bool TgaCut(std::span<const uint8_t> b) {
    if (b.size() < 18 || (b[2] != 1 && b[2] != 2 && b[2] != 3))
        return false;
    uint64_t colourMap = b[1] ? uint64_t(Le16(b, 5)) * ((b[7] + 7) / 8) : 0;
    uint64_t pixels = uint64_t(Le16(b, 12)) * Le16(b, 14) * ((b[16] + 7) / 8);
    uint64_t end = 18 + b[0] + colourMap + pixels + (TgaHasFooter(b) ? 26 : 0);
    return end > b.size();
}

QImage DecodeWithQt(std::span<const uint8_t> bytes, const char* format, const std::string& what) {
    static std::once_flag once;
    std::call_once(once, [] { QImageReader::setAllocationLimit(kQtAllocationLimitMb); });
    if (bytes.empty())
        throw PictureError(what + ": empty file");
    std::string name = format;
    if ((name == "bmp" && BmpCut(bytes)) || (name == "tga" && TgaCut(bytes)))
        throw PictureError(what + ": cannot decode " + name + ": the pixel data ends early");
    QByteArray data = QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data()),
                                              static_cast<qsizetype>(bytes.size()));
    if (name == "tga" && !TgaHasFooter(bytes)) {
        data = QByteArray(data.constData(), data.size());
        data.append(QByteArray(8, '\0'));
        data.append(kTgaSignature, sizeof kTgaSignature);
    }
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    // The extension chose the decoder; content that is something else is damage.
    reader.setAutoDetectImageFormat(false);
    QSize size = reader.size();
    if (size.isValid())
        CheckPictureSize(size.width(), size.height(), kMaxPictureArea, what);
    QImage picture;
    if (!reader.read(&picture))
        throw PictureError(what + ": cannot decode " + format + ": " +
                           reader.errorString().toStdString());
    CheckPictureSize(picture.width(), picture.height(), kMaxPictureArea, what);
    return FlattenOverWhite(std::move(picture));
}

std::string Lower(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

std::vector<uint8_t> ReadPictureFile(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw PictureError(path + ": cannot open: " + std::strerror(errno));
    try {
        FileStream file(fd, path);
        int64_t size = file.Size();
        if (size > kMaxPictureFileSize)
            throw PictureError(path + ": " + std::to_string(size) +
                               " bytes is larger than a picture file may be (" +
                               std::to_string(kMaxPictureFileSize) + ")");
        std::vector<uint8_t> bytes(static_cast<size_t>(size));
        bytes.resize(file.Read(bytes.data(), bytes.size()));
        return bytes;
    } catch (const AlbumError& error) {
        throw PictureError(error.what());
    }
}

}  // namespace

const std::vector<PictureType>& PictureTypes() {
    static const std::vector<PictureType> types = {
        {"bmp", "Windows bitmaps", D::Qt, "bmp"},
        {"rle", "Run length encoded Windows bitmaps", D::Qt, "bmp"},
        {"dib", "Device independant Windows bitmaps", D::Qt, "bmp"},
        {"ico", "Windows icons", D::Qt, "ico"},
        {"wmf", "Windows metafiles", D::None, nullptr},
        {"emf", "Windows enhanced meta files", D::None, nullptr},
        {"jpg", "JPG images", D::Jpeg, nullptr},
        {"jpeg", "JPEG images", D::Jpeg, nullptr},
        {"jpe", "JPE images", D::Jpeg, nullptr},
        {"jfif", "JFIF images", D::Jpeg, nullptr},
        {"tga", "Truevision images", D::Qt, "tga"},
        {"win", "Truevision images", D::Qt, "tga"},
        {"vst", "Truevision images", D::Qt, "tga"},
        {"vda", "Truevision images", D::Qt, "tga"},
        {"icb", "Truevision images", D::Qt, "tga"},
        {"tiff", "Macintosh TIFF images", D::Tiff, nullptr},
        {"tif", "PC TIF images", D::Tiff, nullptr},
        {"fax", "GFI fax images", D::Tiff, nullptr},
        {"eps", "Encapsulated Postscript images", D::Qt, "eps"},
        {"pcx", "ZSoft Paintbrush images", D::Qt, "pcx"},
        {"pcc", "ZSoft Paintbrush images", D::Qt, "pcx"},
        {"scr", "Word 5.x screen capture images", D::None, nullptr},
        {"rla", "Alias/Wavefront images", D::None, nullptr},
        {"rpf", "Alias/Wavefront images", D::None, nullptr},
        {"sgi", "SGI images", D::Qt, "sgi"},
        {"rgb", "SGI true color images", D::Qt, "rgb"},
        {"rgba", "SGI true color images with alpha", D::Qt, "rgba"},
        {"bw", "SGI black/white images", D::Qt, "bw"},
        {"psd", "Photoshop images", D::Qt, "psd"},
        {"pdd", "Photoshop images", D::Qt, "psd"},
        {"ppm", "Portable pixel map images", D::Qt, "ppm"},
        {"pgm", "Portable gray map images", D::Qt, "pgm"},
        {"pbm", "Portable bitmap images", D::Qt, "pbm"},
        // Qt's "pic" reader is for Softimage pictures, not Autodesk's.
        {"cel", "Autodesk images", D::None, nullptr},
        {"pic", "Autodesk images", D::None, nullptr},
        {"pcd", "Kodak Photo-CD images", D::None, nullptr},
        {"cut", "Dr. Halo images", D::None, nullptr},
        {"psp", "Paintshop Pro images", D::None, nullptr},
        {"png", "Portable network graphic images", D::Png, nullptr},
    };
    return types;
}

const PictureType* FindPictureType(std::string_view extension) {
    std::string lower = Lower(extension);
    for (const PictureType& type : PictureTypes())
        if (lower == type.Extension)
            return &type;
    return nullptr;
}

bool PictureTypeDecodes(const PictureType& type) {
    switch (type.Decoder) {
        case D::Jpeg:
        case D::Png:
        case D::Tiff:
            return true;
        case D::Qt:
            return QImageReader::supportedImageFormats().contains(QByteArray(type.QtFormat));
        case D::None:
            break;
    }
    return false;
}

QImage DecodePicture(std::span<const uint8_t> bytes, const PictureType& type,
                     const std::string& what) {
    switch (type.Decoder) {
        case D::Jpeg:
            return DecodeJpeg(bytes, what);
        case D::Png:
            return DecodePng(bytes, what);
        case D::Tiff:
            return DecodeTiff(bytes, what);
        case D::Qt:
            if (PictureTypeDecodes(type))
                return DecodeWithQt(bytes, type.QtFormat, what);
            break;
        case D::None:
            break;
    }
    throw UnknownExtension(type.Extension);
}

void LoadPictureFile(QImage& target, const std::string& path) {
    size_t slash = path.find_last_of('/');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    size_t dot = name.find_last_of('.');
    std::string extension = dot == std::string::npos ? std::string() : name.substr(dot + 1);
    const PictureType* type = FindPictureType(extension);
    if (!type || !PictureTypeDecodes(*type))
        throw UnknownExtension(extension);
    std::vector<uint8_t> bytes = ReadPictureFile(path);
    target = DecodePicture(bytes, *type, path);
}

}  // namespace pagora
