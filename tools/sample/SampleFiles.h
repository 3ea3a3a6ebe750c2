#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Scenes.h"

namespace pagora::sample {

// The list file kfa make reads: one line per scene, PATH TAB TITLE TAB
// DESCRIPTION TAB TIME, paths relative to the list. Throws when a text is
// longer than the album's records hold.
std::string ListText(const std::vector<Scene>& scenes);

// A JPEG of the photo, as the album gets it.
std::vector<uint8_t> PhotoJpeg(const QImage& photo);

// Scene `index` (0-based) as a JPEG file in the folder.
void WritePhoto(const std::string& folder, int index);

// Every photo, the three lists and the two music tracks.
void WriteSample(const std::string& folder);

}  // namespace pagora::sample
