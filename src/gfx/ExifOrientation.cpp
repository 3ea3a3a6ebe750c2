#include "gfx/ExifOrientation.h"

#include <libexif/exif-data.h>

#include <memory>

namespace pagora {

namespace {

struct ExifDataUnref {
    void operator()(ExifData* data) const { exif_data_unref(data); }
};

}  // namespace

int ExifOrientation(std::span<const uint8_t> jpeg) {
    std::unique_ptr<ExifData, ExifDataUnref> data(exif_data_new());
    if (!data || jpeg.size() > 0xFFFFFFFFu)
        return 1;
    // Following the standard would fill missing entries in.
    exif_data_unset_option(data.get(), EXIF_DATA_OPTION_FOLLOW_SPECIFICATION);
    exif_data_load_data(data.get(), jpeg.data(), static_cast<unsigned>(jpeg.size()));
    ExifEntry* entry = exif_content_get_entry(data->ifd[EXIF_IFD_0], EXIF_TAG_ORIENTATION);
    if (!entry || !entry->data || entry->format != EXIF_FORMAT_SHORT || entry->size < 2)
        return 1;
    const int value = exif_get_short(entry->data, exif_data_get_byte_order(data.get()));
    return value >= 1 && value <= 8 ? value : 1;
}

}  // namespace pagora
