#pragma once

#include <QString>
#include <string>
#include <vector>

#include "archive/HotSpotRecord.h"

namespace pagora {

// One line of the information drawn over a picture; its top in unscaled
// chrome pixels (the left is kInfoLeft).
struct InfoLine {
    int Top = 0;
    QString Text;
};

constexpr int kInfoLeft = 8;
constexpr int kInfoTop = 32;
constexpr int kInfoLineStep = 24;

// The lines for a picture: from the first record naming it (letter case
// folded), its title unless the title is a file name, its shooting time as
// the helper library writes it with three spaces after, and its description
// unless that is empty. No record, no lines.
std::vector<InfoLine> PictureInfoLines(const std::vector<HotSpotRecord>& records,
                                       const std::string& pictureName, bool english);

}  // namespace pagora
