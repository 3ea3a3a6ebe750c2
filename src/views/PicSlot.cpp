#include "views/PicSlot.h"

#include <exception>
#include <stdexcept>

#include "archive/AlbumArchive.h"
#include "archive/MemberNames.h"
#include "archive/NameFold.h"
#include "gfx/Orientation.h"

namespace pagora {

namespace {

void Note(std::string* failed, const std::exception& error) {
    if (failed != nullptr) {
        if (!failed->empty())
            *failed += "; ";
        *failed += error.what();
    }
}

}  // namespace

PicSlot LoadPicSlot(const AlbumArchive& archive, const std::string& name, QSize screen,
                    std::string* failed) {
    PicSlot slot;
    slot.Name = name;
    try {
        if (const auto number = archive.MemberNumber(name)) {
            if (auto bytes = archive.Extract(PictureInfoName(*number)))
                slot.Info =
                    std::make_shared<const std::vector<HotSpotRecord>>(ReadHotSpots(*bytes));
        }
    } catch (const std::exception& error) {
        Note(failed, error);
    }
    try {
        if (auto bytes = archive.Extract(name)) {
            auto stored = std::make_shared<const std::vector<uint8_t>>(std::move(*bytes));
            slot.JpegSize = UprightJpegSize(*stored, name);
            slot.ScreenBitmap = DecodeUprightJpegToBox(*stored, name, screen.width(),
                                                       screen.height(), false, false);
            slot.Stored = std::move(stored);
        } else if (failed != nullptr) {
            Note(failed, std::runtime_error(name + ": the album has no such picture"));
        }
    } catch (const std::exception& error) {
        slot.ScreenBitmap = QImage();
        slot.JpegSize = QSize();
        Note(failed, error);
    }
    return slot;
}

QImage DecodeFullBitmap(const PicSlot& slot) {
    if (!slot.Stored)
        return {};
    try {
        return DecodeUprightJpeg(*slot.Stored, slot.Name);
    } catch (const std::exception&) {
        return {};
    }
}

bool SameMemberName(const std::string& a, const std::string& b) {
    return FoldName(a) == FoldName(b);
}

}  // namespace pagora
