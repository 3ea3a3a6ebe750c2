#pragma once

#include <QPolygon>
#include <QRegion>

namespace pagora {

// The heights the tabs are cut from: ImageLeft's and CoolbarRight's.
constexpr int kImageLeftHeight = 23;
constexpr int kCoolbarRightHeight = 28;

// The outlines of the toolbar's two tabs in its window: the left one a strip
// along the top-left whose right end curves up as a quarter ellipse, the
// right one its mirror in the top-right corner of a screen screenWidth wide.
QPolygon LeftTabOutline();
QPolygon RightTabOutline(int screenWidth);

// The union of the chosen tabs.
QRegion ToolbarRegion(bool leftTab, bool rightTab, int screenWidth);

}  // namespace pagora
