#pragma once

#include <QImage>
#include <QPainterPath>
#include <QRect>
#include <array>
#include <optional>
#include <vector>

#include "views/ShowRandom.h"

namespace pagora {

// Styles 0..127; 0 is drawn by the control's custom drawing handler.
constexpr int kMaxShowStyle = 127;

// The sizes a frame is worked out from.
struct ShowExtents {
    int W = 0, H = 0;  // the picture
    int X = 0, Y = 0;  // how far the progress has come along each axis
    int J = 0;         // about one step's growth along the longer side
};

// Extents of a W x H picture at progress p (0..100) with the given step.
ShowExtents ComputeShowExtents(int width, int height, int progress, int step);

// One copy of a rectangle style: S of the new picture into D of the display,
// stretched when the sizes differ. A mirrored copy fills D's columns (rows)
// from S's in reverse order, at the same size.
struct CopyPart {
    enum Mirror { None, LeftRight, TopBottom };
    QRect D, S;
    Mirror Mirrored = None;
};

// The copies of one frame in drawing order: extra parts first, the main copy last.
struct CopyParts {
    std::array<CopyPart, 4> Part;
    int Count = 0;
    void Add(const QRect& d, const QRect& s, CopyPart::Mirror mirror = CopyPart::None) {
        Part[Count++] = {d, s, mirror};
    }
};

// Where a region style shows the new picture: the union of rectangles (only
// where they meet the union of Within, when there is one) and of paths, each
// path filled on its own.
struct ShowMask {
    std::vector<QRect> Rects;
    std::optional<std::vector<QRect>> Within;
    std::vector<QPainterPath> Paths;
};

enum class ShowFamily { Custom, Rectangles, Region, SelfDrawn };

using PartsBuilder = CopyParts (*)(const ShowExtents&);
using MaskBuilder = void (*)(ShowMask&, const ShowExtents&, int progress, ShowRandom&);
// Draws the new picture's share straight onto the display (which holds the old one).
using SelfDrawer = void (*)(QImage& display, const QImage& pic, const ShowExtents&, int progress);

// A row of the style table. A transposed row uses the parts of a horizontal
// row with the axes swapped: the vertical twins 18..34 of 1..17.
struct ShowStyleRow {
    const char* Name;
    ShowFamily Family;
    PartsBuilder Parts = nullptr;
    bool Transposed = false;
    MaskBuilder Mask = nullptr;
    SelfDrawer Draw = nullptr;
};

// The row of a style 0..127; throws std::out_of_range otherwise.
const ShowStyleRow& ShowStyleAt(int style);

// The copies of a rectangle style, its twin's axes swapped where it has one.
CopyParts ShowStyleParts(int style, const ShowExtents& e);

}  // namespace pagora
