#pragma once

#include <QImage>
#include <QSize>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "archive/HotSpotRecord.h"

namespace pagora {

class AlbumArchive;

// One picture of the viewer: what the screen shows of it, what the lens needs
// to decode it in full, and its information records. Copies share the pixels
// and the bytes, so a slot changes hands without copying either.
struct PicSlot {
    // Fitted into the screen; null when the picture is missing or damaged.
    QImage ScreenBitmap;
    // The stored JPEG, decoded in full only when the lens first needs it, and
    // the upright size that decode will have.
    std::shared_ptr<const std::vector<uint8_t>> Stored;
    QSize JpegSize;
    std::shared_ptr<const std::vector<HotSpotRecord>> Info;
    uint8_t Ready = 0;
    std::string Name;
};

// The picture member and its information member, loaded for a screen of the
// given device size and turned upright. A missing or damaged member leaves
// its part of the slot empty and is reported through `failed`; it never
// throws, so a loader survives any album.
PicSlot LoadPicSlot(const AlbumArchive& archive, const std::string& name, QSize screen,
                    std::string* failed = nullptr);

// The picture decoded in full and upright; null when it cannot be.
QImage DecodeFullBitmap(const PicSlot& slot);

// Member names compare as the album does: ASCII letters in either case.
bool SameMemberName(const std::string& a, const std::string& b);

}  // namespace pagora
