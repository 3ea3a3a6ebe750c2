#include "views/PicShowStyles.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <stdexcept>
#include <string>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "gfx/Rounding.h"
#include "views/PicShowRegions.h"

namespace pagora {

namespace {

using E = ShowExtents;

// a * b / c rounded, halves away from zero: the classic multiply-then-divide.
int MulDiv(int a, int b, int c) {
    if (c == 0)
        return 0;
    int64_t n = int64_t(a) * b, d = c;
    if (d < 0)
        n = -n, d = -d;
    return int(n >= 0 ? (n + d / 2) / d : -((-n + d / 2) / d));
}

// A rectangle by its four edges, right and bottom excluded.
QRect R(int left, int top, int right, int bottom) {
    return QRect(left, top, right - left, bottom - top);
}
QRect Whole(const E& e) {
    return R(0, 0, e.W, e.H);
}
QRect MidX(const E& e) {
    return R((e.W - e.X) / 2, 0, (e.W + e.X) / 2, e.H);
}
QRect MidXY(const E& e) {
    return R((e.W - e.X) / 2, (e.H - e.Y) / 2, (e.W + e.X) / 2, (e.H + e.Y) / 2);
}
CopyParts One(const QRect& d, const QRect& s) {
    CopyParts parts;
    parts.Add(d, s);
    return parts;
}
CopyParts Same(const QRect& d) {
    return One(d, d);
}
QRect Transpose(const QRect& r) {
    return QRect(r.y(), r.x(), r.height(), r.width());
}

struct PartsRow {
    const char* Name;
    PartsBuilder Parts;
};

// Styles 1..17; 18..34 are the same rows with the axes swapped.
const PartsRow kSideRows[] = {
    {"squeezed in from the right",
     [](const E& e) { return One(R(e.W - e.X, 0, e.W, e.H), Whole(e)); }},
    {"squeezed in from the left", [](const E& e) { return One(R(0, 0, e.X, e.H), Whole(e)); }},
    {"slides in from the right",
     [](const E& e) { return One(R(e.W - e.X, 0, 2 * e.W - e.X, e.H), Whole(e)); }},
    {"slides in from the left",
     [](const E& e) { return One(R(e.X - e.W, 0, e.X, e.H), Whole(e)); }},
    {"wipe from the left", [](const E& e) { return Same(R(0, 0, e.X, e.H)); }},
    {"wipe from the right", [](const E& e) { return Same(R(e.W - e.X, 0, e.W, e.H)); }},
    {"stretched wipe from the left",
     [](const E& e) { return One(R(0, 0, 2 * e.W - e.X, e.H), R(0, 0, e.X, e.H)); }},
    {"stretched wipe from the right",
     [](const E& e) { return One(R(e.X - e.W, 0, e.W, e.H), R(e.W - e.X, 0, e.W, e.H)); }},
    {"stretched out from the centre",
     [](const E& e) { return One(R(e.X - e.W, 0, 2 * e.W - e.X, e.H), MidX(e)); }},
    {"squeezed out from the centre", [](const E& e) { return One(MidX(e), Whole(e)); }},
    {"wipe out from the centre", [](const E& e) { return Same(MidX(e)); }},
    {"wipe in from both sides",
     [](const E& e) {
         CopyParts p;
         p.Add(R(0, 0, e.X / 2 + 1, e.H), R(0, 0, e.X / 2 + 1, e.H));
         p.Add(R(e.W - e.X / 2 - 1, 0, e.W, e.H), R(e.W - e.X / 2 - 1, 0, e.W, e.H));
         return p;
     }},
    {"halves squeezed in from the sides",
     [](const E& e) {
         CopyParts p;
         p.Add(R(0, 0, e.X / 2 + 1, e.H), R(0, 0, e.W / 2 + 1, e.H));
         p.Add(R(e.W - e.X / 2 - 1, 0, e.W, e.H), R(e.W / 2, 0, e.W, e.H));
         return p;
     }},
    {"wipe from the left, mirrored fold",
     [](const E& e) {
         const int W = e.W, X = e.X;
         const int fold = X < W / 5 ? X / 2 : X + W / 5 > W ? (W - X) / 2 : W / 10;
         const int edge = X + fold;
         CopyParts p;
         p.Add(R(X, 0, edge, e.H), R(edge, 0, 2 * edge - X, e.H), CopyPart::LeftRight);
         p.Add(R(0, 0, X, e.H), R(0, 0, X, e.H));
         return p;
     }},
    {"wipe from the right, mirrored fold",
     [](const E& e) {
         const int W = e.W, X = e.X, K = W - X;
         const int g = X < W / 5 ? K - X / 2 : K < W / 5 ? K - K / 2 : K - W / 10;
         CopyParts p;
         p.Add(R(g, 0, K, e.H), R(2 * g - K, 0, g, e.H), CopyPart::LeftRight);
         p.Add(R(K, 0, W, e.H), R(K, 0, W, e.H));
         return p;
     }},
    {"wipe from the left, smeared",
     [](const E& e) {
         CopyParts p;
         p.Add(R(0, 0, e.X, e.H), R(0, 0, e.X, e.H));
         p.Add(R(e.X, 0, e.W, e.H), R(e.X, 0, e.X + e.W / 20, e.H));
         return p;
     }},
    {"wipe from the right, smeared",
     [](const E& e) {
         const int K = e.W - e.X;
         CopyParts p;
         p.Add(R(K, 0, e.W, e.H), R(K, 0, e.W, e.H));
         p.Add(R(0, 0, K, e.H), R(K - e.W / 20, 0, K, e.H));
         return p;
     }},
};

const char* const kTwinNames[] = {
    "squeezed in from the bottom",
    "squeezed in from the top",
    "slides in from the bottom",
    "slides in from the top",
    "wipe from the top",
    "wipe from the bottom",
    "stretched wipe from the top",
    "stretched wipe from the bottom",
    "stretched out from the middle",
    "squeezed out from the middle",
    "wipe out from the middle",
    "wipe in from top and bottom",
    "halves squeezed in from top and bottom",
    "wipe from the top, mirrored fold",
    "wipe from the bottom, mirrored fold",
    "wipe from the top, smeared",
    "wipe from the bottom, smeared",
};

// Styles 35..57.
const PartsRow kCornerRows[] = {
    {"squeezed in from the bottom-right",
     [](const E& e) { return One(R(e.W - e.X, e.H - e.Y, e.W, e.H), Whole(e)); }},
    {"squeezed in from the top-right",
     [](const E& e) { return One(R(e.W - e.X, 0, e.W, e.Y), Whole(e)); }},
    {"squeezed in from the top-left", [](const E& e) { return One(R(0, 0, e.X, e.Y), Whole(e)); }},
    {"squeezed in from the bottom-left",
     [](const E& e) { return One(R(0, e.H - e.Y, e.X, e.H), Whole(e)); }},
    {"slides in from the bottom-right",
     [](const E& e) {
         return One(R(e.W - e.X, e.H - e.Y, 2 * e.W - e.X, 2 * e.H - e.Y), Whole(e));
     }},
    {"slides in from the top-right",
     [](const E& e) { return One(R(e.W - e.X, e.Y - e.H, 2 * e.W - e.X, e.Y), Whole(e)); }},
    {"slides in from the top-left",
     [](const E& e) { return One(R(e.X - e.W, e.Y - e.H, e.X, e.Y), Whole(e)); }},
    {"slides in from the bottom-left",
     [](const E& e) { return One(R(e.X - e.W, e.H - e.Y, e.X, 2 * e.H - e.Y), Whole(e)); }},
    {"wipe from the top-left", [](const E& e) { return Same(R(0, 0, e.X, e.Y)); }},
    {"wipe from the bottom-left", [](const E& e) { return Same(R(0, e.H - e.Y, e.X, e.H)); }},
    {"wipe from the bottom-right",
     [](const E& e) { return Same(R(e.W - e.X, e.H - e.Y, e.W, e.H)); }},
    {"wipe from the top-right", [](const E& e) { return Same(R(e.W - e.X, 0, e.W, e.Y)); }},
    {"stretched wipe from the top-left",
     [](const E& e) { return One(R(0, 0, 2 * e.W - e.X, 2 * e.H - e.Y), R(0, 0, e.X, e.Y)); }},
    {"stretched wipe from the bottom-left",
     [](const E& e) {
         return One(R(0, e.Y - e.H, 2 * e.W - e.X, e.H), R(0, e.H - e.Y, e.X, e.H));
     }},
    {"stretched wipe from the bottom-right",
     [](const E& e) {
         return One(R(e.X - e.W, e.Y - e.H, e.W, e.H), R(e.W - e.X, e.H - e.Y, e.W, e.H));
     }},
    {"stretched wipe from the top-right",
     [](const E& e) {
         return One(R(e.X - e.W, 0, e.W, 2 * e.H - e.Y), R(e.W - e.X, 0, e.W, e.Y));
     }},
    {"stretched out from the centre both ways",
     [](const E& e) {
         return One(R(e.X - e.W, e.Y - e.H, 2 * e.W - e.X, 2 * e.H - e.Y), MidXY(e));
     }},
    {"growing box", [](const E& e) { return One(MidXY(e), Whole(e)); }},
    {"box wipe out from the centre", [](const E& e) { return Same(MidXY(e)); }},
    {"frame closing in",
     [](const E& e) {
         const int W = e.W, H = e.H, X = e.X, Y = e.Y;
         CopyParts p;
         for (const QRect& d :
              {R(0, 0, W, Y / 2), R(0, H - Y / 2, W, H), R(0, 0, X / 2, H), R(W - X / 2, 0, W, H)})
             p.Add(d, d);
         return p;
     }},
    {"four corners growing inward",
     [](const E& e) {
         const int W = e.W, H = e.H, X = e.X, Y = e.Y;
         CopyParts p;
         for (const QRect& d :
              {R(0, 0, X / 2 + 1, Y / 2 + 1), R(0, H - Y / 2 - 1, X / 2 + 1, H),
               R(W - X / 2 - 1, H - Y / 2 - 1, W, H), R(W - X / 2 - 1, 0, W, Y / 2 + 1)})
             p.Add(d, d);
         return p;
     }},
    {"quarters squeezed in from the corners",
     [](const E& e) {
         const int W = e.W, H = e.H, X = e.X, Y = e.Y;
         CopyParts p;
         p.Add(R(0, 0, X / 2 + 1, Y / 2 + 1), R(0, 0, W / 2 + 1, H / 2 + 1));
         p.Add(R(0, H - Y / 2, X / 2 + 1, H), R(0, H / 2 + 1, W / 2 + 1, H));
         p.Add(R(W - X / 2, H - Y / 2, W, H), R(W / 2 + 1, H / 2 + 1, W, H));
         p.Add(R(W - X / 2, 0, W, Y / 2 + 1), R(W / 2 + 1, 0, W, H / 2 + 1));
         return p;
     }},
    {"quarters sliding in",
     [](const E& e) {
         const int W = e.W, H = e.H, X = e.X, Y = e.Y;
         CopyParts p;
         p.Add(R((X - W) / 2, 0, X / 2 + 1, H / 2 + 1), R(0, 0, W / 2 + 1, H / 2 + 1));
         p.Add(R(W / 2 - 1, (Y - H) / 2, W, Y / 2 + 1), R(W / 2 - 1, 0, W, H / 2 + 1));
         p.Add(R(W - X / 2, H / 2 - 1, W + (W - X) / 2, H), R(W / 2 + 1, H / 2 - 1, W, H));
         p.Add(R(0, H - Y / 2, W / 2 + 1, H + (H - Y) / 2), R(0, H / 2 + 1, W / 2 + 1, H));
         return p;
     }},
};

// Region families, their parameters as template arguments so each row stays one line.
template <int HKind>
void WideBands(ShowMask& m, const E& e, int, ShowRandom&) {
    AddInterlacedBands(m.Rects, e.W, e.H, 2 * e.X, 0, HKind, 0, e.J);
}
template <int VKind>
void TallBands(ShowMask& m, const E& e, int, ShowRandom&) {
    AddInterlacedBands(m.Rects, e.W, e.H, 0, 2 * e.Y, 0, VKind, e.J);
}
template <int VKind, int HKind>
void DoubleBands(ShowMask& m, const E& e, int, ShowRandom&) {
    AddInterlacedBands(m.Rects, e.W, e.H, 2 * e.X, 2 * e.Y, HKind, VKind, e.J);
}
template <int VKind, int HKind, bool Margin>
void SingleBands(ShowMask& m, const E& e, int, ShowRandom&) {
    AddInterlacedBands(m.Rects, e.W, e.H, e.X, e.Y, HKind, VKind, Margin ? e.J : 0);
}
template <int VKind, int HKind>
void Ragged(ShowMask& m, const E& e, int, ShowRandom& random) {
    AddRaggedBands(m.Rects, e.W, e.H, e.X, e.Y, HKind, VKind, random);
}
template <int VKind, int HKind>
void Bars(ShowMask& m, const E& e, int, ShowRandom& random) {
    AddDissolvingBars(m.Rects, e.W, e.H, e.X, e.Y, HKind, VKind, random);
}

void Lattice(ShowMask& m, const E& e, int, ShowRandom&) {
    AddInterlacedBands(m.Rects, e.W, e.H, 2 * e.X, 2 * e.Y, 1, 1, e.J);
    AddInterlacedBands(m.Within.emplace(), e.W, e.H, 2 * e.X, 2 * e.Y, 2, 2, e.J);
}

void RoundFrame(ShowMask& m, const E& e, int, ShowRandom&) {
    const int W = e.W, H = e.H, X = e.X, Y = e.Y;
    ShowMask round;
    AddRoundedRect(round, X - W / 2, Y - H / 2, 3 * W / 2 - X, 3 * H / 2 - Y, (W - X) * 9 / 5,
                   (H - Y) * 9 / 5);
    QPainterPath path;
    path.setFillRule(Qt::OddEvenFill);
    path.addRect(0, 0, W, H);
    for (const QPainterPath& p : round.Paths)
        path.addPath(p);
    m.Paths.push_back(path);
}

void Blocks(ShowMask& m, const E& e, int progress, ShowRandom& random) {
    AddRandomBlocks(m.Rects, e.W, e.H, progress, random);
}

struct MaskRow {
    const char* Name;
    MaskBuilder Mask;
};

// Styles 58..117.
const MaskRow kRegionRows[] = {
    {"curved edge from the left",
     [](ShowMask& m, const E& e, int, ShowRandom&) {
         AddRoundedRect(m, -2 * e.W, -5, 2 * e.X, e.H + 5, 2 * e.W, 2 * e.W);
     }},
    {"curved edge from the right",
     [](ShowMask& m, const E& e, int, ShowRandom&) {
         AddRoundedRect(m, e.W - 2 * e.X, -5, 3 * e.W, e.H + 5, 2 * e.W, 2 * e.W);
     }},
    {"interlaced bands from the right", WideBands<1>},
    {"interlaced bands from the left", WideBands<2>},
    {"interlaced bands left, then right", WideBands<4>},
    {"interlaced bands right, then left", WideBands<5>},
    {"interlaced bands from both sides", SingleBands<0, 3, false>},
    {"ragged edge from the right", Ragged<0, 1>},
    {"ragged edge from the left", Ragged<0, 2>},
    {"ragged edges out from the centre", Ragged<0, 3>},
    {"ragged edges in from both sides", Ragged<0, 4>},
    {"curved edge from the top",
     [](ShowMask& m, const E& e, int, ShowRandom&) {
         AddRoundedRect(m, -5, -2 * e.H, e.W + 5, 2 * e.Y, 2 * e.H, 2 * e.H);
     }},
    {"curved edge from the bottom",
     [](ShowMask& m, const E& e, int, ShowRandom&) {
         AddRoundedRect(m, -5, e.H - 2 * e.Y, e.W + 5, 3 * e.H, 2 * e.H, 2 * e.H);
     }},
    {"interlaced columns from the bottom", TallBands<1>},
    {"interlaced columns from the top", TallBands<2>},
    {"interlaced columns top, then bottom", TallBands<4>},
    {"interlaced columns bottom, then top", TallBands<5>},
    {"interlaced columns from both ends", SingleBands<3, 0, false>},
    {"ragged edge from the bottom", Ragged<1, 0>},
    {"ragged edge from the top", Ragged<2, 0>},
    {"ragged edges out from the middle", Ragged<3, 0>},
    {"ragged edges in from top and bottom", Ragged<4, 0>},
    {"curved corner from the top-left",
     [](ShowMask& m, const E& e, int, ShowRandom&) {
         AddRoundedRect(m, -2 * e.W, -2 * e.H, 2 * e.X, 2 * e.Y, 2 * e.W, 2 * e.H);
     }},
    {"curved corner from the top-right",
     [](ShowMask& m, const E& e, int, ShowRandom&) {
         AddRoundedRect(m, e.W - 2 * e.X, -2 * e.H, 3 * e.W, 2 * e.Y, 2 * e.W, 2 * e.H);
     }},
    {"curved corner from the bottom-left",
     [](ShowMask& m, const E& e, int, ShowRandom&) {
         AddRoundedRect(m, -2 * e.W, e.H - 2 * e.Y, 2 * e.X, 3 * e.H, 2 * e.W, 2 * e.H);
     }},
    {"curved corner from the bottom-right",
     [](ShowMask& m, const E& e, int, ShowRandom&) {
         AddRoundedRect(m, e.W - 2 * e.X, e.H - 2 * e.Y, 3 * e.W, 3 * e.H, 2 * e.H, 2 * e.H);
     }},
    {"rounded box from the centre",
     [](ShowMask& m, const E& e, int, ShowRandom&) {
         AddRoundedRect(m, e.W / 2 - e.X, e.H / 2 - e.Y, e.W / 2 + e.X, e.H / 2 + e.Y, e.X * 9 / 5,
                        e.Y * 9 / 5);
     }},
    {"rounded frame closing in", RoundFrame},
    {"interlaced grid from the bottom-right", DoubleBands<1, 1>},
    {"interlaced grid from the top-right", DoubleBands<2, 1>},
    {"interlaced grid from the bottom-left", DoubleBands<1, 2>},
    {"interlaced grid from the top-left", DoubleBands<2, 2>},
    {"interlaced grid, top-left then bottom-right", DoubleBands<4, 4>},
    {"interlaced grid, bottom-left then top-right", DoubleBands<5, 4>},
    {"interlaced grid, top-right then bottom-left", DoubleBands<4, 5>},
    {"interlaced grid, bottom-right then top-left", DoubleBands<5, 5>},
    {"interlaced grid, columns both ends, rows right", SingleBands<3, 1, true>},
    {"interlaced grid, columns both ends, rows left", SingleBands<3, 2, true>},
    {"interlaced grid, rows both sides, columns bottom", SingleBands<1, 3, true>},
    {"interlaced grid, rows both sides, columns top", SingleBands<2, 3, true>},
    {"interlaced grid from all sides", SingleBands<3, 3, false>},
    {"interlaced lattice", Lattice},
    {"ragged grid from the bottom-right", Ragged<1, 1>},
    {"ragged grid from the top-right", Ragged<2, 1>},
    {"ragged grid from the bottom-left", Ragged<1, 2>},
    {"ragged grid from the top-left", Ragged<2, 2>},
    {"ragged grid, middle and right", Ragged<3, 1>},
    {"ragged grid, middle and left", Ragged<3, 2>},
    {"ragged grid, centre and bottom", Ragged<1, 3>},
    {"ragged grid, centre and top", Ragged<2, 3>},
    {"ragged grid out from the centre", Ragged<3, 3>},
    {"ragged grid in from the edges", Ragged<4, 4>},
    {"triangle from the top-left",
     [](ShowMask& m, const E& e, int, ShowRandom&) {
         AddTriangle(m, e.W, e.H, {0, 0}, {2 * e.X, 0}, {0, 2 * e.Y});
     }},
    {"triangle from the top-right",
     [](ShowMask& m, const E& e, int, ShowRandom&) {
         AddTriangle(m, e.W, e.H, {e.W, 0}, {e.W - 2 * e.X, 0}, {e.W, 2 * e.Y});
     }},
    {"triangle from the bottom-left",
     [](ShowMask& m, const E& e, int, ShowRandom&) {
         AddTriangle(m, e.W, e.H, {0, e.H}, {2 * e.X, e.H}, {0, e.H - 2 * e.Y});
     }},
    {"triangle from the bottom-right",
     [](ShowMask& m, const E& e, int, ShowRandom&) {
         AddTriangle(m, e.W, e.H, {e.W, e.H}, {e.W - 2 * e.X, e.H}, {e.W, e.H - 2 * e.Y});
     }},
    {"triangles from the left and right",
     [](ShowMask& m, const E& e, int, ShowRandom&) {
         AddTriangle(m, e.W, e.H, {0, e.H}, {0, 0}, {e.X, e.H});
         AddTriangle(m, e.W, e.H, {e.W, e.H}, {e.W, 0}, {e.W - e.X, 0});
     }},
    {"triangles from the top and bottom",
     [](ShowMask& m, const E& e, int, ShowRandom&) {
         AddTriangle(m, e.W, e.H, {e.W, 0}, {0, 0}, {e.W, e.Y});
         AddTriangle(m, e.W, e.H, {e.W, e.H}, {0, e.H}, {0, e.H - e.Y});
     }},
    {"pinwheel",
     [](ShowMask& m, const E& e, int, ShowRandom&) {
         const QPoint c(e.W / 2, e.H / 2);
         AddTriangle(m, e.W, e.H, c, {0, e.H}, {0, e.H - e.Y});
         AddTriangle(m, e.W, e.H, {0, 0}, {e.X, 0}, c);
         AddTriangle(m, e.W, e.H, {e.W - e.X, e.H}, c, {e.W, e.H});
         AddTriangle(m, e.W, e.H, c, {e.W, 0}, {e.W, e.Y});
     }},
    {"grid of triangles",
     [](ShowMask& m, const E& e, int, ShowRandom&) {
         const int leg = e.X / 5;
         const int drop = e.W > 0 ? int(RoundDivHalfEven(int64_t(leg) * e.H, e.W)) : 0;
         for (int i = 0; i < 10; ++i)
             for (int j = 0; j < 10; ++j) {
                 const int x0 = e.W * i / 10, y0 = e.H * j / 10;
                 AddTriangle(m, e.W, e.H, {x0, y0}, {x0 + leg, y0}, {x0, y0 + drop});
             }
     }},
};

// One channel of the cross-fade: old x (100 - p) div 100 + p x new div 100.
inline uint8_t Fade(uint8_t old, uint8_t pic, int keep, int p) {
    return uint8_t(old * keep / 100 + p * pic / 100);
}

void CrossFade(QImage& display, const QImage& pic, const E&, int p) {
    const int keep = 100 - p;
    const int w = std::min(display.width(), pic.width());
    const int h = std::min(display.height(), pic.height());
    for (int y = 0; y < h; ++y) {
        uchar* d = display.scanLine(y);
        const uchar* s = pic.constScanLine(y);
        int i = 0;
#if defined(__SSE2__)
        // Four pixels at a time in 16-bit lanes; v div 100 is (v x 41944) >> 22
        // for every v up to 255 x 100.
        const __m128i zero = _mm_setzero_si128(), k = _mm_set1_epi16(short(41944));
        const __m128i a = _mm_set1_epi16(short(keep)), b = _mm_set1_epi16(short(p));
        const __m128i opaque = _mm_set1_epi32(int(0xff000000u));
        const auto part = [&](__m128i v, __m128i f) {
            return _mm_srli_epi16(_mm_mulhi_epu16(_mm_mullo_epi16(v, f), k), 6);
        };
        for (; i + 16 <= 4 * w; i += 16) {
            const __m128i o = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i));
            const __m128i n = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
            const __m128i lo = _mm_add_epi16(part(_mm_unpacklo_epi8(o, zero), a),
                                             part(_mm_unpacklo_epi8(n, zero), b));
            const __m128i hi = _mm_add_epi16(part(_mm_unpackhi_epi8(o, zero), a),
                                             part(_mm_unpackhi_epi8(n, zero), b));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i),
                             _mm_or_si128(_mm_packus_epi16(lo, hi), opaque));
        }
#endif
        for (; i < 4 * w; i += 4) {
            d[i] = Fade(d[i], s[i], keep, p);
            d[i + 1] = Fade(d[i + 1], s[i + 1], keep, p);
            d[i + 2] = Fade(d[i + 2], s[i + 2], keep, p);
        }
    }
}

// The columns x >= 0 where a + x b (b >= 0) lies in [0, limit).
std::pair<int64_t, int64_t> InsideRange(int64_t a, int64_t b, int64_t limit) {
    constexpr int64_t kAll = int64_t(1) << 40;
    if (b == 0)
        return a >= 0 && a < limit ? std::pair{int64_t(0), kAll}
                                   : std::pair{int64_t(0), int64_t(0)};
    const auto ceilDiv = [](int64_t n, int64_t d) { return n <= 0 ? 0 : (n + d - 1) / d; };
    return {ceilDiv(-a, b), ceilDiv(limit - a, b)};
}

// Turns the new picture into place about a pivot just outside one corner.
// The source point moves by (cos t, sin t) per column, followed in 32.32
// fixed point; rounding takes halves up, but between 1 and 99 the sine and
// cosine are irrational and no point falls on a half. Both steps are >= 0, so
// the columns whose source lies inside the picture are one run per row.
void Rotate(QImage& display, const QImage& pic, int p, int cx, int cy) {
    const double t = (100 - p) * std::numbers::pi / 200;
    const double c = std::cos(t), s = std::sin(t);
    constexpr double kOne = 4294967296.0;
    constexpr int64_t kHalf = int64_t(1) << 31;
    const int64_t stepX = std::llround(c * kOne), stepY = std::llround(s * kOne);
    const int64_t W = pic.width(), H = pic.height();
    const uchar* bits = pic.constBits();
    const qsizetype stride = pic.bytesPerLine();
    const int w = std::min(display.width(), pic.width());
    const int h = std::min(display.height(), pic.height());
    for (int y = 0; y < h; ++y) {
        const double dy = y - cy, dx = -cx;
        int64_t fx = std::llround((cx + dx * c - dy * s) * kOne) + kHalf;
        int64_t fy = std::llround((cy + dx * s + dy * c) * kOne) + kHalf;
        const auto [xLo, xHi] = InsideRange(fx, stepX, W << 32);
        const auto [yLo, yHi] = InsideRange(fy, stepY, H << 32);
        const int64_t from = std::max(xLo, yLo), to = std::min({xHi, yHi, int64_t(w)});
        QRgb* d = reinterpret_cast<QRgb*>(display.scanLine(y));
        fx += from * stepX;
        fy += from * stepY;
        for (int64_t x = from; x < to; ++x, fx += stepX, fy += stepY)
            d[x] = reinterpret_cast<const QRgb*>(bits + (fy >> 32) * stride)[fx >> 32];
    }
}

template <int Corner>
void Rotation(QImage& display, const QImage& pic, const E& e, int p) {
    const int cx = Corner == 0 || Corner == 1 ? -1 : e.W;
    const int cy = Corner == 0 || Corner == 2 ? -1 : e.H;
    Rotate(display, pic, p, cx, cy);
}

struct DrawRow {
    const char* Name;
    SelfDrawer Draw;
};

// Styles 118..122.
const DrawRow kSelfRows[] = {
    {"cross-fade", CrossFade},
    {"turned in about the top-left", Rotation<0>},
    {"turned in about the bottom-left", Rotation<1>},
    {"turned in about the top-right", Rotation<2>},
    {"turned in about the bottom-right", Rotation<3>},
};

// Styles 123..127.
const MaskRow kScatterRows[] = {
    {"dissolving bars from the right", Bars<0, 1>},
    {"dissolving bars from the left", Bars<0, 2>},
    {"dissolving bars from the bottom", Bars<1, 0>},
    {"dissolving bars from the top", Bars<2, 0>},
    {"random blocks", Blocks},
};

using Table = std::array<ShowStyleRow, kMaxShowStyle + 1>;

Table MakeTable() {
    Table t{};
    int n = 0;
    t[n++] = {"custom drawing", ShowFamily::Custom};
    for (const PartsRow& row : kSideRows)
        t[n++] = {row.Name, ShowFamily::Rectangles, row.Parts};
    for (int i = 0; i < int(std::size(kSideRows)); ++i)
        t[n++] = {kTwinNames[i], ShowFamily::Rectangles, kSideRows[i].Parts, true};
    for (const PartsRow& row : kCornerRows)
        t[n++] = {row.Name, ShowFamily::Rectangles, row.Parts};
    for (const MaskRow& row : kRegionRows)
        t[n++] = {row.Name, ShowFamily::Region, nullptr, false, row.Mask};
    for (const DrawRow& row : kSelfRows)
        t[n++] = {row.Name, ShowFamily::SelfDrawn, nullptr, false, nullptr, row.Draw};
    for (const MaskRow& row : kScatterRows)
        t[n++] = {row.Name, ShowFamily::Region, nullptr, false, row.Mask};
    if (n != int(t.size()))
        throw std::logic_error("The transition table has " + std::to_string(n) + " rows");
    return t;
}

}  // namespace

ShowExtents ComputeShowExtents(int width, int height, int progress, int step) {
    ShowExtents e;
    e.W = std::max(width, 0);
    e.H = std::max(height, 0);
    if (e.W == 0 || e.H == 0)
        return e;
    const int p = std::clamp(progress, 0, 100);
    if (e.W < e.H) {
        e.Y = MulDiv(e.H, p, 100);
        e.X = MulDiv(e.Y, e.W, e.H);
    } else {
        e.X = MulDiv(e.W, p, 100);
        e.Y = MulDiv(e.X, e.H, e.W);
    }
    e.J = MulDiv(std::max(e.W, e.H), step, 90);
    return e;
}

const ShowStyleRow& ShowStyleAt(int style) {
    static const Table table = MakeTable();
    if (style < 0 || style > kMaxShowStyle)
        throw std::out_of_range("No transition style " + std::to_string(style));
    return table[style];
}

CopyParts ShowStyleParts(int style, const ShowExtents& e) {
    const ShowStyleRow& row = ShowStyleAt(style);
    if (row.Family != ShowFamily::Rectangles)
        return {};
    if (!row.Transposed)
        return row.Parts(e);
    CopyParts parts = row.Parts(ShowExtents{e.H, e.W, e.Y, e.X, e.J});
    for (int i = 0; i < parts.Count; ++i) {
        CopyPart& part = parts.Part[i];
        part.D = Transpose(part.D);
        part.S = Transpose(part.S);
        if (part.Mirrored == CopyPart::LeftRight)
            part.Mirrored = CopyPart::TopBottom;
    }
    return parts;
}

}  // namespace pagora
