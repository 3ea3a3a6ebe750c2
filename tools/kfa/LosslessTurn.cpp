#include "LosslessTurn.h"

#include <turbojpeg.h>

#include <cstring>
#include <memory>

#include "gfx/Bitmap.h"
#include "gfx/PictureFile.h"

namespace kfa {
namespace {

constexpr uint16_t kOrientationTag = 0x0112;
constexpr uint16_t kShortType = 3;

struct TjFree {
    void operator()(void* handle) const { tjDestroy(handle); }
};

// The operation that brings stored pixels upright, by EXIF orientation.
int TurnFor(int orientation) {
    switch (orientation) {
        case 2:
            return TJXOP_HFLIP;
        case 3:
            return TJXOP_ROT180;
        case 4:
            return TJXOP_VFLIP;
        case 5:
            return TJXOP_TRANSPOSE;
        case 6:
            return TJXOP_ROT90;
        case 7:
            return TJXOP_TRANSVERSE;
        case 8:
            return TJXOP_ROT270;
        default:
            return TJXOP_NONE;
    }
}

unsigned Load(const uint8_t* at, int bytes, bool bigEndian) {
    unsigned value = 0;
    for (int i = 0; i < bytes; ++i)
        value |= unsigned(at[bigEndian ? i : bytes - 1 - i]) << (8 * (bytes - 1 - i));
    return value;
}

// The orientation entry of a TIFF structure (an EXIF block after "Exif\0\0").
bool SetTiffOrientation(std::span<uint8_t> tiff, int orientation) {
    if (tiff.size() < 8)
        return false;
    bool big;
    if (tiff[0] == 'M' && tiff[1] == 'M')
        big = true;
    else if (tiff[0] == 'I' && tiff[1] == 'I')
        big = false;
    else
        return false;
    if (Load(&tiff[2], 2, big) != 42)
        return false;
    const size_t ifd = Load(&tiff[4], 4, big);
    if (ifd + 2 > tiff.size())
        return false;
    const size_t count = Load(&tiff[ifd], 2, big);
    for (size_t i = 0; i < count; ++i) {
        const size_t entry = ifd + 2 + 12 * i;
        if (entry + 12 > tiff.size())
            return false;
        if (Load(&tiff[entry], 2, big) != kOrientationTag)
            continue;
        if (Load(&tiff[entry + 2], 2, big) != kShortType || Load(&tiff[entry + 4], 4, big) < 1)
            return false;
        const auto value = static_cast<uint16_t>(orientation);
        tiff[entry + 8] = static_cast<uint8_t>(big ? value >> 8 : value);
        tiff[entry + 9] = static_cast<uint8_t>(big ? value : value >> 8);
        return true;
    }
    return false;
}

// Calls visit(marker, data) for each marker segment before the first scan
// until it returns false; a malformed header ends the walk.
template <class Bytes, class Visit>
void ForEachSegment(std::span<Bytes> jpeg, Visit visit) {
    if (jpeg.size() < 4 || jpeg[0] != 0xFF || jpeg[1] != 0xD8)
        return;
    for (size_t at = 2; at + 4 <= jpeg.size();) {
        if (jpeg[at] != 0xFF)
            return;
        const uint8_t marker = jpeg[at + 1];
        if (marker == 0xFF) {  // fill byte
            ++at;
            continue;
        }
        if (marker == 0xDA || marker == 0xD9)
            return;
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8)) {  // no length
            at += 2;
            continue;
        }
        const size_t length = Load(&jpeg[at + 2], 2, true);
        if (length < 2 || length > jpeg.size() - at - 2)
            return;
        if (!visit(marker, jpeg.subspan(at + 4, length - 2)))
            return;
        at += 2 + length;
    }
}

// Baseline and extended sequential Huffman files: what cameras write. Other
// processes (progressive ones above all, whose scans may repeat without end)
// are left to the decoder, which guards against them.
bool Sequential(std::span<const uint8_t> jpeg) {
    bool sequential = false;
    ForEachSegment(jpeg, [&](uint8_t marker, std::span<const uint8_t>) {
        const bool frame =
            marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (!frame)
            return true;
        sequential = marker == 0xC0 || marker == 0xC1;
        return false;
    });
    return sequential;
}

}  // namespace

bool SetExifOrientation(std::span<uint8_t> jpeg, int orientation) {
    static constexpr uint8_t kExifHeader[] = {'E', 'x', 'i', 'f', 0, 0};
    bool set = false;
    ForEachSegment(jpeg, [&](uint8_t marker, std::span<uint8_t> data) {
        if (marker != 0xE1 || data.size() < sizeof kExifHeader ||
            std::memcmp(data.data(), kExifHeader, sizeof kExifHeader) != 0)
            return true;
        set = SetTiffOrientation(data.subspan(sizeof kExifHeader), orientation);
        return false;
    });
    return set;
}

std::optional<std::vector<uint8_t>> TurnUprightLosslessly(std::span<const uint8_t> jpeg,
                                                          int orientation) {
    const int op = TurnFor(orientation);
    if (op == TJXOP_NONE || !Sequential(jpeg))
        return std::nullopt;
    QSize size;
    try {
        size = pagora::JpegSize(jpeg, "");
    } catch (const std::exception&) {
        return std::nullopt;
    }
    if (!pagora::PictureSizeAllowed(size.width(), size.height()))
        return std::nullopt;

    std::unique_ptr<void, TjFree> handle(tjInitTransform());
    if (!handle)
        return std::nullopt;
    tjtransform transform{};
    transform.op = op;
    transform.options = TJXOPT_PERFECT;
    unsigned char* out = nullptr;
    unsigned long outSize = 0;
    // Damage that decoding forgives is left to the decoder and its messages.
    const int status = tjTransform(handle.get(), jpeg.data(), jpeg.size(), 1, &out, &outSize,
                                   &transform, TJFLAG_STOPONWARNING);
    std::unique_ptr<unsigned char, decltype(&tjFree)> owned(out, &tjFree);
    if (status != 0 || out == nullptr)
        return std::nullopt;
    std::vector<uint8_t> turned(out, out + outSize);
    // A tag left asking for the turn would have other viewers turn it twice.
    if (!SetExifOrientation(turned, 1))
        return std::nullopt;
    return turned;
}

}  // namespace kfa
