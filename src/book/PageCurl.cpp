#include "book/PageCurl.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "gfx/EllipseY.h"
#include "gfx/Rounding.h"

namespace pagora {

namespace {

// The spine-side shape of the lifted page: a wider ellipse the more the page
// is squeezed.
int CurlAxis(int width, int pageWidth) {
    const double ratio = double(width) / pageWidth;
    return RoundHalfEven(std::tan(ratio) * width) / 4 + 3 * width / 2;
}

int SourceColumn(int64_t column, int64_t pageWidth, int64_t width) {
    return int(std::min(column * pageWidth / width, pageWidth - 1));
}

// One frame column, ready for the row loop.
struct Column {
    int TargetX;
    int SourceX;
    int FirstRow, EndRow;  // the frame rows the page covers in this column
    int Offset;            // page row = frame row + Offset
};

}  // namespace

int LiftWidth(int pageWidth, int phaseTime, int elapsed) {
    if (phaseTime <= 0)
        return 0;
    return int(int64_t{pageWidth} * (phaseTime - elapsed) / phaseTime);
}

int FallWidth(int pageWidth, int phaseTime, int elapsed) {
    if (phaseTime <= 0)
        return pageWidth;
    return RoundHalfEven(std::sin(1.67 * elapsed / phaseTime) * pageWidth);
}

CurlColumns ForwardLiftColumns(int pageWidth, int c) {
    CurlColumns columns;
    if (c < 2 || pageWidth <= 0)
        return columns;
    const int a = CurlAxis(c, pageWidth), b = (pageWidth - c) / 4;
    for (int i = 0; i < c; ++i) {
        columns.Source.push_back(SourceColumn(i, pageWidth, c - 1));
        columns.Lift.push_back(int(int64_t{i} * EllipseY(a, b, i + 1) / (c - 1)));
    }
    return columns;
}

CurlColumns ForwardFallColumns(int pageWidth, int l) {
    CurlColumns columns;
    columns.FirstColumn = 1;
    if (l < 1 || pageWidth <= 0)
        return columns;
    const int a = CurlAxis(l, pageWidth), b = (pageWidth - l) / 4;
    for (int x = 1; x <= l; ++x) {
        const int n = l - x;
        columns.Source.push_back(SourceColumn(x, pageWidth, l));
        columns.Lift.push_back(int(int64_t{n} * EllipseY(a, b, n + 1) / l));
    }
    return columns;
}

CurlColumns BackLiftColumns(int pageWidth, int w, int c) {
    CurlColumns columns;
    columns.FirstColumn = w - c;
    if (c < 2 || pageWidth <= 0)
        return columns;
    const int a = 3 * c / 2, b = (pageWidth - c) / 6;
    for (int f = 0; f < c; ++f) {
        columns.Source.push_back(SourceColumn(f, pageWidth, c - 1));
        columns.Lift.push_back(EllipseY(a, b, a + f - c));
    }
    return columns;
}

CurlColumns BackFallColumns(int pageWidth, int b) {
    CurlColumns columns;
    if (b < 1 || pageWidth <= 0)
        return columns;
    const int axisA = 3 * b / 2, axisB = (pageWidth - b) / 4;
    for (int d = 1; d <= b; ++d) {
        columns.Source.push_back(SourceColumn(d, pageWidth, b));
        columns.Lift.push_back(EllipseY(axisA, axisB, d - axisA - 1));
    }
    return columns;
}

namespace {

// The frame's rectangle in the target, and the base's columns under it.
struct FrameArea {
    QRect Target;                    // inside the target
    int BaseFirst = 0, BaseEnd = 0;  // frame columns the base covers, clipped
};

FrameArea Locate(const QImage& target, QPoint origin, int frameWidth, int frameHeight,
                 const QImage& base, int baseX) {
    FrameArea area;
    area.Target = QRect(origin, QSize(std::max(frameWidth, 0), std::max(frameHeight, 0)))
                      .intersected(target.rect());
    area.BaseFirst = std::max({baseX, area.Target.left() - origin.x()});
    area.BaseEnd = std::min({baseX + base.width(), area.Target.right() + 1 - origin.x()});
    return area;
}

// The base's row under frame row fy, into the target's row.
void CopyBaseRow(QRgb* targetRow, int originX, const QImage& base, int baseX, const FrameArea& area,
                 int fy) {
    if (fy < 0 || fy >= base.height() || area.BaseEnd <= area.BaseFirst)
        return;
    const auto* baseRow = reinterpret_cast<const QRgb*>(base.constScanLine(fy));
    std::memcpy(targetRow + originX + area.BaseFirst, baseRow + (area.BaseFirst - baseX),
                size_t(area.BaseEnd - area.BaseFirst) * sizeof(QRgb));
}

}  // namespace

QRect ComposeCurlFrame(QImage& target, QPoint origin, int frameWidth, int frameHeight,
                       const QImage& base, int baseX, const QImage& page, int lift,
                       const CurlColumns& columns) {
    const FrameArea area = Locate(target, origin, frameWidth, frameHeight, base, baseX);
    if (area.Target.isEmpty())
        return {};

    // Offsets are worked out once per frame; the rows are then copied in
    // target order, which is what the memory likes.
    std::vector<Column> visible;
    const int count = int(std::min(columns.Source.size(), columns.Lift.size()));
    if (!page.isNull()) {
        visible.reserve(size_t(count));
        for (int k = 0; k < count; ++k) {
            const int fx = columns.FirstColumn + k;
            const int tx = origin.x() + fx;
            if (tx < area.Target.left() || tx > area.Target.right())
                continue;
            const int sx = std::clamp(columns.Source[k], 0, page.width() - 1);
            const int offset = columns.Lift[k] - lift;
            const int first = std::max(-offset, area.Target.top() - origin.y());
            const int end = std::min(page.height() - offset, area.Target.bottom() + 1 - origin.y());
            if (first < end)
                visible.push_back({tx, sx, first, end, offset});
        }
    }

    for (int ty = area.Target.top(); ty <= area.Target.bottom(); ++ty)
        CopyBaseRow(reinterpret_cast<QRgb*>(target.scanLine(ty)), origin.x(), base, baseX, area,
                    ty - origin.y());

    // The page goes in bands of neighbouring columns, top to bottom: their
    // lifts differ little, so the page rows a band reads stay in the cache
    // from one target row to the next.
    constexpr size_t kBand = 32;
    const auto* pageBits = reinterpret_cast<const QRgb*>(page.constBits());
    const qsizetype pageStride = page.isNull() ? 0 : page.bytesPerLine() / qsizetype(sizeof(QRgb));
    auto* targetBits = reinterpret_cast<QRgb*>(target.bits());
    const qsizetype targetStride = target.bytesPerLine() / qsizetype(sizeof(QRgb));
    for (size_t first = 0; first < visible.size(); first += kBand) {
        const size_t end = std::min(visible.size(), first + kBand);
        int top = visible[first].FirstRow, bottom = visible[first].EndRow;
        for (size_t k = first; k < end; ++k) {
            top = std::min(top, visible[k].FirstRow);
            bottom = std::max(bottom, visible[k].EndRow);
        }
        // Rows every column of the band covers need no test per pixel.
        int allTop = top, allBottom = bottom;
        const QRgb* sources[kBand];
        int targets[kBand];
        for (size_t k = first; k < end; ++k) {
            const Column& column = visible[k];
            allTop = std::max(allTop, column.FirstRow);
            allBottom = std::min(allBottom, column.EndRow);
            sources[k - first] = pageBits + qsizetype(column.Offset) * pageStride + column.SourceX;
            targets[k - first] = column.TargetX;
        }
        const size_t count = end - first;
        auto partialRow = [&](int fy) {
            QRgb* row = targetBits + qsizetype(fy + origin.y()) * targetStride;
            for (size_t k = first; k < end; ++k)
                if (fy >= visible[k].FirstRow && fy < visible[k].EndRow)
                    row[targets[k - first]] = sources[k - first][qsizetype(fy) * pageStride];
        };
        for (int fy = top; fy < std::min(allTop, bottom); ++fy)
            partialRow(fy);
        for (int fy = allTop; fy < allBottom; ++fy) {
            QRgb* row = targetBits + qsizetype(fy + origin.y()) * targetStride;
            const qsizetype down = qsizetype(fy) * pageStride;
            for (size_t k = 0; k < count; ++k)
                row[targets[k]] = sources[k][down];
        }
        for (int fy = std::max(allBottom, allTop); fy < bottom; ++fy)
            partialRow(fy);
    }
    return area.Target;
}

QRect ComposeEdgeFrame(QImage& target, QPoint origin, int frameWidth, int frameHeight,
                       const QImage& base, int baseX, const QImage& page) {
    const FrameArea area = Locate(target, origin, frameWidth, frameHeight, base, baseX);
    if (area.Target.isEmpty())
        return {};
    const int edge = std::min(3, page.width());
    for (int ty = area.Target.top(); ty <= area.Target.bottom(); ++ty) {
        const int fy = ty - origin.y();
        auto* row = reinterpret_cast<QRgb*>(target.scanLine(ty));
        CopyBaseRow(row, origin.x(), base, baseX, area, fy);
        if (edge <= 0 || page.height() <= 0)
            continue;
        // A stretch by dropping or repeating rows, as a plain block stretch does.
        const int sy = int(int64_t{fy} * page.height() / frameHeight);
        const auto* source = reinterpret_cast<const QRgb*>(page.constScanLine(sy));
        for (int k = 0; k < edge && k < frameWidth; ++k) {
            const int tx = origin.x() + k;
            if (tx >= area.Target.left() && tx <= area.Target.right())
                row[tx] = source[page.width() - edge + k];
        }
    }
    return area.Target;
}

}  // namespace pagora
