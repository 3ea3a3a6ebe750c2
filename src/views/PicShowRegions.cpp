#include "views/PicShowRegions.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace pagora {

namespace {

// Adds spans along one axis: the bands of a horizontal builder run across the
// width and repeat down the height; a vertical builder swaps the two.
class AxisRects {
  public:
    AxisRects(std::vector<QRect>& out, int length, int across, bool vertical)
        : out_(out), length_(length), across_(across), vertical_(vertical) {}

    int Length() const { return length_; }
    int Across() const { return across_; }

    // [lo, hi) along the axis, [acrossLo, acrossHi) across it.
    void Put(int lo, int hi, int acrossLo, int acrossHi) {
        lo = std::max(lo, 0), hi = std::min(hi, length_);
        acrossLo = std::max(acrossLo, 0), acrossHi = std::min(acrossHi, across_);
        if (lo >= hi || acrossLo >= acrossHi)
            return;
        if (vertical_)
            out_.push_back(QRect(acrossLo, lo, acrossHi - acrossLo, hi - lo));
        else
            out_.push_back(QRect(lo, acrossLo, hi - lo, acrossHi - acrossLo));
    }
    // A span of the given width at the far end (right, bottom) or the near one.
    void Span(bool far, int width, int acrossLo, int acrossHi) {
        width = std::clamp(width, 0, length_);
        if (far)
            Put(length_ - width, length_, acrossLo, acrossHi);
        else
            Put(0, width, acrossLo, acrossHi);
    }

  private:
    std::vector<QRect>& out_;
    int length_, across_;
    bool vertical_;
};

void Bands(AxisRects axis, int a, int kind, int margin) {
    if (kind < 1 || kind > 5)
        return;
    const int L = axis.Length();
    bool firstFar = kind == 1 || kind == 5, partnerFar = kind == 1 || kind == 4;
    int first = 0, partner = 0;
    if (kind == 3) {
        firstFar = true, partnerFar = false;
        first = partner = a;
    } else if (a <= L) {
        first = a + margin > L ? L : a;
    } else {
        first = L;
        partner = a - L;
    }
    for (int i = 0; i < axis.Across(); i += 10) {
        axis.Span(firstFar, first, i, i + 5);
        axis.Span(partnerFar, partner, i + 5, i + 10);
    }
}

void Ragged(AxisRects axis, int a, int kind, ShowRandom& random) {
    if (kind < 1 || kind > 4)
        return;
    const int L = axis.Length();
    const int r = a < L ? L / 7 : 0;
    const int thick = axis.Across() % 5 + 5;
    for (int i = 0; i < axis.Across(); i += 5) {
        int offset = random.Random(r);
        offset -= random.Random(r);
        const int reach = a + offset;
        switch (kind) {
            case 1:
                axis.Put(L - reach, L, i, i + thick);
                break;
            case 2:
                axis.Put(0, reach, i, i + thick);
                break;
            case 3:
                axis.Put((L - a + offset) / 2, L / 2, i, i + thick);
                axis.Put(L / 2, (L + reach) / 2, i, i + thick);
                break;
            case 4:
                axis.Put(L - reach / 2, L, i, i + thick);
                axis.Put(0, reach / 2, i, i + thick);
                break;
        }
    }
}

void Bars(AxisRects axis, int a, int kind, ShowRandom& random) {
    if (kind != 1 && kind != 2)
        return;
    const int L = axis.Length();
    const int e = a < L ? L / 10 : 0;
    const int f = std::max(2, e / 20);
    const int blocks = e / f, close = (3 * e / f) / 4;
    // Every bar's solid part spans the same, and the bars overlap without
    // gaps: together they are one rectangle.
    if (kind == 1)
        axis.Put(L - a, L, 0, axis.Across());
    else
        axis.Put(0, a, 0, axis.Across());
    for (int i = 0; i < axis.Across(); i += f / 2) {
        for (int k = blocks; k >= 1; --k) {
            if (random.Random(k) > (close >= k ? 1 : 0))
                continue;
            if (kind == 1)
                axis.Put(L - a - k * f, L - a - (k - 1) * f, i, i + f);
            else
                axis.Put(a + (k - 1) * f, a + k * f, i, i + f);
        }
    }
}

}  // namespace

void AddRoundedRect(ShowMask& mask, int x1, int y1, int x2, int y2, int cornerW, int cornerH) {
    if (x2 <= x1 || y2 <= y1)
        return;
    QPainterPath path;
    path.addRoundedRect(QRectF(x1, y1, double(x2) - x1, double(y2) - y1),
                        std::max(cornerW, 0) / 2.0, std::max(cornerH, 0) / 2.0);
    mask.Paths.push_back(path);
}

void AddInterlacedBands(std::vector<QRect>& out, int W, int H, int a, int b, int hKind, int vKind,
                        int margin) {
    Bands(AxisRects(out, W, H, false), a, hKind, margin);
    Bands(AxisRects(out, H, W, true), b, vKind, margin);
}

void AddRaggedBands(std::vector<QRect>& out, int W, int H, int a, int b, int hKind, int vKind,
                    ShowRandom& random) {
    Ragged(AxisRects(out, W, H, false), a, hKind, random);
    Ragged(AxisRects(out, H, W, true), b, vKind, random);
}

void AddDissolvingBars(std::vector<QRect>& out, int W, int H, int a, int b, int hKind, int vKind,
                       ShowRandom& random) {
    Bars(AxisRects(out, W, H, false), a, hKind, random);
    Bars(AxisRects(out, H, W, true), b, vKind, random);
}

void AddTriangle(ShowMask& mask, int W, int H, QPoint a, QPoint b, QPoint c) {
    // Corners by height: the long edge runs from the first to the last, the
    // two short ones meet at the middle corner.
    QPoint v[3] = {a, b, c};
    std::sort(std::begin(v), std::end(v), [](QPoint p, QPoint q) { return p.y() < q.y(); });
    const auto slope = [](QPoint p, QPoint q) {
        return q.y() == p.y() ? 0.0 : double(q.x() - p.x()) / (q.y() - p.y());
    };
    const double longSlope = slope(v[0], v[2]), upperSlope = slope(v[0], v[1]);
    const double lowerSlope = slope(v[1], v[2]);
    const int top = std::max(0, v[0].y()), bottom = std::min(H, v[2].y());
    for (int y = top; y < bottom; ++y) {
        // Pixel centres lie between integer corners: no row meets a corner.
        const double yc = y + 0.5;
        const double x1 = v[0].x() + (yc - v[0].y()) * longSlope;
        const double x2 = yc < v[1].y() ? v[0].x() + (yc - v[0].y()) * upperSlope
                                        : v[1].x() + (yc - v[1].y()) * lowerSlope;
        // The pixels whose centres lie in [left, right).
        const double from = std::max(std::ceil(std::min(x1, x2) - 0.5), 0.0);
        const double to = std::min(std::ceil(std::max(x1, x2) - 0.5), double(W));
        if (from < to)
            mask.Rects.push_back(QRect(int(from), y, int(to - from), 1));
    }
}

void AddRandomBlocks(std::vector<QRect>& out, int W, int H, int p, ShowRandom& random) {
    const int d = std::max(1, p / 10 + std::min(W, H) / 50);
    for (int y = 0; y < H; y += d)
        for (int x = 0; x < W; x += d)
            if (random.Random(100) < p)
                out.push_back(QRect(x - d, y - d, 2 * d, 2 * d));
}

}  // namespace pagora
