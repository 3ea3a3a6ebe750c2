#include "gfx/BlockCopy.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>

#include "gfx/Bitmap.h"

namespace pagora {

QRect CopyPixels(QImage& dst, QPoint dstPos, const QImage& src, QRect srcRect) {
    QRect clipped = srcRect.intersected(src.rect());
    if (clipped.isEmpty())
        return {};
    // Where the clipped source lands, then clipped by the destination.
    QPoint origin = dstPos - srcRect.topLeft();  // destination of source pixel (0, 0)
    QRect target = clipped.translated(origin).intersected(dst.rect());
    if (target.isEmpty())
        return {};
    QPoint from = target.topLeft() - origin;
    if (src.format() != kBitmapFormat || dst.format() != kBitmapFormat) {
        for (int y = 0; y < target.height(); ++y)
            for (int x = 0; x < target.width(); ++x)
                dst.setPixel(target.x() + x, target.y() + y, src.pixel(from.x() + x, from.y() + y));
        return target;
    }
    const size_t rowBytes = static_cast<size_t>(target.width()) * 4;
    const bool same = &dst == &src || dst.constBits() == src.constBits();
    for (int i = 0; i < target.height(); ++i) {
        // Overlapping copies inside one bitmap go bottom-up when moving down.
        int y = same && target.y() > from.y() ? target.height() - 1 - i : i;
        const uchar* s = src.constScanLine(from.y() + y) + from.x() * 4;
        uchar* d = dst.scanLine(target.y() + y) + target.x() * 4;
        std::memmove(d, s, rowBytes);
    }
    return target;
}

namespace {

// Working storage of a Coverage, kept between calls so that a copy made
// frame after frame does not allocate (and fault in) fresh memory each time.
struct CoverageStore {
    std::vector<QRect> Rects, Sorted;
    std::vector<int> Start;
    std::vector<const QRect*> Active;
};

// The rectangles of a union that cross each band of rows, band by band from the top.
class Coverage {
  public:
    Coverage(const std::vector<QRect>& rects, const QRect& bounds, CoverageStore& store)
        : rects_(store.Rects), active_(store.Active) {
        rects_.clear();
        active_.clear();
        for (const QRect& r : rects) {
            const int left = std::max(r.left(), bounds.left());
            const int right = std::min(r.right(), bounds.right());
            const int top = std::max(r.top(), bounds.top());
            const int bottom = std::min(r.bottom(), bounds.bottom());
            if (left <= right && top <= bottom)
                rects_.push_back(QRect(QPoint(left, top), QPoint(right, bottom)));
        }
        // By top row, bucket by bucket: rows are few, rectangles may be many.
        std::vector<int>& start = store.Start;
        start.assign(size_t(bounds.bottom()) + 2, 0);
        for (const QRect& r : rects_)
            ++start[size_t(r.top()) + 1];
        for (size_t y = 1; y < start.size(); ++y)
            start[y] += start[y - 1];
        std::vector<QRect>& sorted = store.Sorted;
        sorted.resize(rects_.size());
        for (const QRect& r : rects_)
            sorted[size_t(start[size_t(r.top())]++)] = r;
        rects_.swap(sorted);
    }
    const std::vector<QRect>& Rects() const { return rects_; }
    // Marks the rows where a rectangle starts or ends.
    void MarkEdges(std::vector<char>& isEdge) const {
        for (const QRect& r : rects_)
            isEdge[size_t(r.top())] = isEdge[size_t(r.bottom()) + 1] = 1;
    }
    // Bands must come in order.
    const std::vector<const QRect*>& Enter(int top) {
        while (next_ < rects_.size() && rects_[next_].top() <= top)
            active_.push_back(&rects_[next_++]);
        std::erase_if(active_, [top](const QRect* r) { return r->bottom() < top; });
        return active_;
    }

  private:
    std::vector<QRect>& rects_;
    std::vector<const QRect*>& active_;
    size_t next_ = 0;
};

using Spans = std::vector<std::pair<int, int>>;

// The merged column spans of a band's rectangles.
void SortedSpans(const std::vector<const QRect*>& active, Spans& spans) {
    spans.clear();
    for (const QRect* r : active)
        spans.emplace_back(r->left(), r->right() + 1);
    std::sort(spans.begin(), spans.end());
    size_t n = 0;
    for (const auto& span : spans) {
        if (n > 0 && span.first <= spans[n - 1].second)
            spans[n - 1].second = std::max(spans[n - 1].second, span.second);
        else
            spans[n++] = span;
    }
    spans.resize(n);
}

// ~0 under the band's rectangles in [lo, hi) of the mask, 0 elsewhere there.
void Mark(const std::vector<const QRect*>& active, std::vector<uint32_t>& mask, int lo, int hi) {
    std::fill(mask.begin() + lo, mask.begin() + hi, 0u);
    for (const QRect* r : active)
        std::fill(mask.begin() + std::max(r->left(), lo),
                  mask.begin() + std::min(r->right() + 1, hi), ~0u);
}

void MaskSpans(const std::vector<uint32_t>& mask, int lo, int hi, Spans& spans) {
    spans.clear();
    for (int x = lo; x < hi;) {
        if (mask[x] == 0) {
            ++x;
            continue;
        }
        const int start = x;
        while (x < hi && mask[x] != 0)
            ++x;
        spans.emplace_back(start, x);
    }
}

}  // namespace

void CopyRectUnion(QImage& dst, const QImage& src, const std::vector<QRect>& rects,
                   const std::vector<QRect>* within) {
    if (dst.constBits() == src.constBits())
        return;  // every pixel is already itself
    if (src.format() != kBitmapFormat || dst.format() != kBitmapFormat) {
        QImage from = src.convertToFormat(kBitmapFormat);
        QImage to = dst.convertToFormat(kBitmapFormat);
        to.detach();
        CopyRectUnion(to, from, rects, within);
        CopyPixels(dst, QPoint(0, 0), to, to.rect());
        return;
    }
    struct Scratch {
        CoverageStore Cover, Limit;
        std::vector<char> IsEdge;
        std::vector<int> Edges;
        std::vector<uint32_t> Mask, LimitMask;
        Spans Runs;
    };
    thread_local Scratch scratch;
    const QRect bounds = dst.rect() & src.rect();
    Coverage cover(rects, bounds, scratch.Cover);
    if (cover.Rects().empty())
        return;
    if (!within && cover.Rects().size() == 1) {
        CopyPixels(dst, cover.Rects()[0].topLeft(), src, cover.Rects()[0]);
        return;
    }
    std::optional<Coverage> limit;
    if (within)
        limit.emplace(*within, bounds, scratch.Limit);
    // Rows between consecutive rectangle edges share one coverage.
    std::vector<char>& isEdge = scratch.IsEdge;
    isEdge.assign(size_t(bounds.bottom()) + 2, 0);
    cover.MarkEdges(isEdge);
    if (limit)
        limit->MarkEdges(isEdge);
    std::vector<int>& edges = scratch.Edges;
    edges.clear();
    for (size_t y = 0; y < isEdge.size(); ++y)
        if (isEdge[y])
            edges.push_back(int(y));

    // Few rectangles in a band are merged as spans; many (a comb of narrow
    // columns) are marked in a mask, and many spans copied by one masked pass.
    constexpr size_t kFewRects = 32, kFewSpans = 8;
    const int width = bounds.width();
    std::vector<uint32_t>& mask = scratch.Mask;
    std::vector<uint32_t>& limitMask = scratch.LimitMask;
    mask.resize(size_t(width));
    limitMask.resize(limit ? size_t(width) : 0);
    Spans& spans = scratch.Runs;
    for (size_t band = 0; band + 1 < edges.size(); ++band) {
        const int top = edges[band], end = edges[band + 1];
        const auto& active = cover.Enter(top);
        const std::vector<const QRect*>* limits = limit ? &limit->Enter(top) : nullptr;
        if (active.empty() || (limits && limits->empty()))
            continue;
        bool masked = false;
        if (!limits && active.size() <= kFewRects) {
            SortedSpans(active, spans);
        } else {
            Mark(active, mask, 0, width);
            if (limits) {
                Mark(*limits, limitMask, 0, width);
                for (int x = 0; x < width; ++x)
                    mask[x] &= limitMask[x];
            }
            MaskSpans(mask, 0, width, spans);
            masked = true;
        }
        if (spans.empty())
            continue;
        for (int y = top; y < end; ++y) {
            const uint32_t* s = reinterpret_cast<const uint32_t*>(src.constScanLine(y));
            uint32_t* d = reinterpret_cast<uint32_t*>(dst.scanLine(y));
            if (!masked || spans.size() <= kFewSpans) {
                for (auto [from, to] : spans)
                    std::memcpy(d + from, s + from, size_t(to - from) * 4);
                continue;
            }
            const uint32_t* m = mask.data();
            for (int x = spans.front().first; x < spans.back().second; ++x)
                d[x] = (s[x] & m[x]) | (d[x] & ~m[x]);
        }
    }
}

bool ClipStretch(const QImage& src, QRectF& srcRect, QRectF& dstRect) {
    if (srcRect.width() <= 0 || srcRect.height() <= 0 || dstRect.width() <= 0 ||
        dstRect.height() <= 0)
        return false;
    QRectF clipped = srcRect.intersected(QRectF(src.rect()));
    if (clipped.isEmpty())
        return false;
    double sx = dstRect.width() / srcRect.width();
    double sy = dstRect.height() / srcRect.height();
    QRectF dst(dstRect.x() + (clipped.x() - srcRect.x()) * sx,
               dstRect.y() + (clipped.y() - srcRect.y()) * sy, clipped.width() * sx,
               clipped.height() * sy);
    srcRect = clipped;
    dstRect = dst;
    return true;
}

}  // namespace pagora
