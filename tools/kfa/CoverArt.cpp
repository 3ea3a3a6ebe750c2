#include "CoverArt.h"

#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "Fonts.h"
#include "PageArt.h"
#include "gfx/Bitmap.h"
#include "gfx/Fit.h"
#include "procedural/Colour.h"
#include "procedural/Noise.h"

namespace kfa {
namespace {

const QColor kLeather(104, 30, 34);
constexpr uint32_t kLeatherSeed = 4211;

QImage Leather(QSize size, uint32_t seed) {
    const int w = size.width(), h = size.height();
    QImage leather = pagora::NewBitmap24(w, h);
    // The pebbled grain is a height field lit from the top left.
    std::vector<float> height(static_cast<size_t>(w + 2) * (h + 2));
    for (int y = -1; y <= h; ++y)
        for (int x = -1; x <= w; ++x)
            height[static_cast<size_t>(y + 1) * (w + 2) + (x + 1)] = static_cast<float>(
                pagora::ValueNoise((x + 1) / 3.0, (y + 1) / 3.0, seed) +
                0.45 * pagora::ValueNoise((x + 1) / 2.0, (y + 1) / 2.0, seed + 1));
    auto at = [&](int x, int y) { return height[static_cast<size_t>(y + 1) * (w + 2) + (x + 1)]; };
    // Three cells of mottle across the longer side.
    const double mottleCell = std::max(w, h) / 3.0;
    for (int y = 0; y < h; ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(leather.scanLine(y));
        for (int x = 0; x < w; ++x) {
            float light = 1.f + 0.55f * (at(x - 1, y - 1) - at(x + 1, y + 1));
            float tone = 0.82f + 0.3f * static_cast<float>(pagora::Fractal(
                                            x / mottleCell, y / mottleCell, seed + 2, 3));
            // Edges worn a little darker, as handled leather is.
            float edge = std::min({x, y, w - 1 - x, h - 1 - y}) / std::max(1.f, 0.04f * w);
            float wear = 0.88f + 0.12f * std::min(1.f, edge);
            float f = std::clamp(light * tone * wear, 0.f, 2.f);
            row[x] = qRgb(std::min(255, static_cast<int>(kLeather.red() * f)),
                          std::min(255, static_cast<int>(kLeather.green() * f)),
                          std::min(255, static_cast<int>(kLeather.blue() * f)));
        }
    }
    pagora::AddGrain(leather, 3, seed + 3);
    return leather;
}

QLinearGradient Gold(QRectF over) {
    QLinearGradient gold(over.topLeft(), over.bottomRight());
    gold.setColorAt(0.0, QColor(138, 106, 42));
    gold.setColorAt(0.3, QColor(232, 204, 122));
    gold.setColorAt(0.5, QColor(176, 138, 58));
    gold.setColorAt(0.75, QColor(240, 220, 146));
    gold.setColorAt(1.0, QColor(122, 90, 34));
    return gold;
}

// A path pressed into the leather and filled: shadow below right, light above left.
void Emboss(QPainter& painter, const QPainterPath& path, const QBrush& fill, double depth) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 130));
    painter.drawPath(path.translated(depth, depth));
    painter.setBrush(QColor(255, 235, 190, 60));
    painter.drawPath(path.translated(-depth / 2, -depth / 2));
    painter.setBrush(fill);
    painter.drawPath(path);
}

QPainterPath RectOutline(QRectF r, double width) {
    QPainterPath path;
    path.addRect(r);
    path.addRect(r.adjusted(width, width, -width, -width));
    path.setFillRule(Qt::OddEvenFill);
    return path;
}

QPainterPath Diamond(QPointF centre, double radius) {
    QPainterPath path;
    path.moveTo(centre + QPointF(0, -radius));
    path.lineTo(centre + QPointF(radius, 0));
    path.lineTo(centre + QPointF(0, radius));
    path.lineTo(centre + QPointF(-radius, 0));
    path.closeSubpath();
    return path;
}

// The hinge band beside the spine, pressed in with a groove.
void DrawHinge(QPainter& painter, QSize page, bool spineOnLeft, int hinge) {
    QRect band = spineOnLeft ? QRect(0, 0, hinge, page.height())
                             : QRect(page.width() - hinge, 0, hinge, page.height());
    painter.fillRect(band, QColor(0, 0, 0, 45));
    int groove = spineOnLeft ? hinge : page.width() - hinge;
    painter.fillRect(QRect(groove - 1, 0, 2, page.height()), QColor(0, 0, 0, 110));
    painter.fillRect(QRect(spineOnLeft ? groove + 1 : groove - 3, 0, 1, page.height()),
                     QColor(255, 230, 200, 45));
}

// The tooled frame inside the cover: a bold rule, a fine one and corner diamonds.
QRectF DrawFrame(QPainter& painter, QRectF outer, double unit) {
    QRectF inner = outer.adjusted(2.6 * unit, 2.6 * unit, -2.6 * unit, -2.6 * unit);
    QPainterPath rules = RectOutline(outer, 1.1 * unit);
    rules.addPath(RectOutline(inner, 0.45 * unit));
    for (QPointF corner :
         {inner.topLeft(), inner.topRight(), inner.bottomLeft(), inner.bottomRight()})
        rules.addPath(Diamond(corner, 1.6 * unit));
    Emboss(painter, rules, Gold(outer), std::max(1.0, 0.4 * unit));
    return inner;
}

// The largest pixel size, up to `largest`, at which the text fits the width.
QFont FitFont(const QString& text, FontFace face, int largest, int width, bool bold) {
    int size = std::max(largest, 8);
    QFont font = AlbumFont(face, size, bold);
    while (size > 12 && QFontMetrics(font).horizontalAdvance(text) > width) {
        size = size * 9 / 10;
        font = AlbumFont(face, size, bold);
    }
    return font;
}

// A name in one line, or in two when one line would set it much smaller.
struct TitleSetting {
    QFont Font;
    QStringList Lines;
};

QStringList SplitInTwo(const QString& text) {
    int middle = static_cast<int>(text.size()) / 2, best = -1;
    for (int i = 0; i < text.size(); ++i)
        if (text[i].isSpace() && (best < 0 || std::abs(i - middle) < std::abs(best - middle)))
            best = i;
    if (best < 0)
        return {text.left(middle), text.mid(middle)};
    return {text.left(best).trimmed(), text.mid(best + 1).trimmed()};
}

TitleSetting SetTitle(const QString& text, FontFace face, int largest, int width, bool bold) {
    QFont one = FitFont(text, face, largest, width, bold);
    if (one.pixelSize() * 10 >= largest * 7 || text.size() < 2)
        return {one, {text}};
    QStringList halves = SplitInTwo(text);
    QFontMetrics measure(one);
    const QString& longer =
        measure.horizontalAdvance(halves[0]) >= measure.horizontalAdvance(halves[1]) ? halves[0]
                                                                                     : halves[1];
    QFont two = FitFont(longer, face, largest, width, bold);
    if (two.pixelSize() <= one.pixelSize())
        return {one, {text}};
    return {two, halves};
}

QPainterPath TextPath(const QString& text, const QFont& font, QPointF centreBaseline, int width) {
    QString shown = QFontMetrics(font).elidedText(text, Qt::ElideRight, width);
    QPainterPath path;
    path.addText(0, 0, font, shown);
    QRectF bounds = path.boundingRect();
    return path.translated(centreBaseline.x() - bounds.center().x(), centreBaseline.y());
}

}  // namespace

QImage DrawLeather(QSize page) {
    return Leather(page, kLeatherSeed);
}

QImage DrawCover(const QImage& leather, const QString& name, const QString& subtitle,
                 const QImage& photo) {
    QImage cover = leather.copy();
    const QSize page = cover.size();
    QPainter painter(&cover);
    painter.setRenderHint(QPainter::Antialiasing);
    const double w = page.width(), h = page.height(), unit = std::max(1.0, w / 300);
    int hinge = static_cast<int>(0.055 * w);
    DrawHinge(painter, page, true, hinge);
    QRectF frame(hinge + 0.06 * w, 0.06 * h, w - hinge - 0.12 * w, h - 0.12 * h);
    QRectF inner = DrawFrame(painter, frame, unit);

    double textTop = inner.top() + 0.36 * inner.height();
    if (!photo.isNull()) {
        double windowWidth = 0.72 * inner.width();
        double windowHeight = std::min(windowWidth * 0.75, 0.5 * inner.height());
        QRect window(static_cast<int>(inner.center().x() - windowWidth / 2),
                     static_cast<int>(inner.top() + 0.08 * inner.height()),
                     static_cast<int>(windowWidth), static_cast<int>(windowHeight));
        // A gold fillet around a window cut into the board.
        QRectF fillet = QRectF(window).adjusted(-2.2 * unit, -2.2 * unit, 2.2 * unit, 2.2 * unit);
        Emboss(painter, RectOutline(fillet, 0.7 * unit), Gold(fillet), std::max(1.0, 0.4 * unit));
        painter.drawImage(window.topLeft(), CropToFill(photo, window.size()));
        // The cut's own shadow on the photo, light falling from the top left.
        int depth = std::max(3, static_cast<int>(2.5 * unit));
        QLinearGradient top(0, window.top(), 0, window.top() + depth);
        top.setColorAt(0, QColor(0, 0, 0, 150));
        top.setColorAt(1, QColor(0, 0, 0, 0));
        painter.fillRect(QRect(window.left(), window.top(), window.width(), depth), top);
        QLinearGradient left(window.left(), 0, window.left() + depth, 0);
        left.setColorAt(0, QColor(0, 0, 0, 150));
        left.setColorAt(1, QColor(0, 0, 0, 0));
        painter.fillRect(QRect(window.left(), window.top(), depth, window.height()), left);
        textTop = window.bottom() + 0.07 * inner.height();
    }

    int textWidth = static_cast<int>(0.84 * inner.width());
    TitleSetting title =
        SetTitle(name, FontFace::Serif, static_cast<int>(0.08 * h), textWidth, true);
    QFontMetrics metrics(title.Font);
    QPointF baseline(inner.center().x(), textTop + metrics.ascent());
    for (int i = 0; i < title.Lines.size(); ++i) {
        if (i > 0)
            baseline.ry() += metrics.lineSpacing();
        QPainterPath line = TextPath(title.Lines[i], title.Font, baseline, textWidth);
        Emboss(painter, line, Gold(line.boundingRect()), std::max(1.0, 0.5 * unit));
    }
    if (!subtitle.isEmpty()) {
        QFont small = AlbumFont(FontFace::Serif, std::max(10, static_cast<int>(0.03 * h)));
        QPointF at(inner.center().x(),
                   baseline.y() + metrics.descent() + 0.02 * h + QFontMetrics(small).ascent());
        QPainterPath subtitlePath = TextPath(subtitle, small, at, textWidth);
        Emboss(painter, subtitlePath, QColor(214, 186, 112), std::max(1.0, 0.3 * unit));
    }
    return cover;
}

QImage DrawBackCover(const QImage& leather, const QString& name) {
    QImage back = leather.mirrored(true, false);
    const QSize page = back.size();
    QPainter painter(&back);
    painter.setRenderHint(QPainter::Antialiasing);
    const double w = page.width(), h = page.height(), unit = std::max(1.0, w / 300);
    int hinge = static_cast<int>(0.055 * w);
    DrawHinge(painter, page, false, hinge);
    QRectF frame(0.06 * w, 0.06 * h, w - hinge - 0.12 * w, h - 0.12 * h);
    QRectF inner = DrawFrame(painter, frame, unit);
    // A small blind-pressed name near the foot.
    int textWidth = static_cast<int>(0.7 * inner.width());
    QFont font = FitFont(name, FontFace::Serif, static_cast<int>(0.03 * h), textWidth, false);
    QPainterPath path =
        TextPath(name, font, QPointF(inner.center().x(), inner.bottom() - 0.06 * h), textWidth);
    Emboss(painter, path, QColor(70, 18, 22), std::max(1.0, 0.3 * unit));
    Emboss(painter, Diamond(inner.center(), 3 * unit), Gold(inner), std::max(1.0, 0.4 * unit));
    return back;
}

QImage DrawBackgroundTile() {
    constexpr int kSize = 256;
    QImage tile = pagora::NewBitmap24(kSize, kSize);
    // Every term repeats over the tile, so the tiles meet without seams. The
    // lattices are long across and short down, as wood grain runs.
    const QColor dark(54, 32, 19), light(118, 74, 42);
    for (int y = 0; y < kSize; ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(tile.scanLine(y));
        for (int x = 0; x < kSize; ++x) {
            auto at = [&](int cellsX, int cellsY, uint32_t seed) {
                return pagora::ValueNoise(x * static_cast<double>(cellsX) / kSize,
                                          y * static_cast<double>(cellsY) / kSize, seed,
                                          {cellsX, cellsY});
            };
            double bend = 0.6 * at(2, 6, 77) + 0.3 * at(4, 14, 78) + 0.1 * at(8, 32, 79);
            double ring = 0.5 + 0.5 * std::sin(2 * M_PI * (4.0 * y / kSize + 1.2 * bend));
            double t = 0.5 * std::pow(ring, 4) + 0.32 * at(4, 128, 80) + 0.18 * at(16, 256, 81);
            row[x] = pagora::Mix(dark, light, t).rgb();
        }
    }
    return tile;
}

QImage DrawSplash(const QString& name, const QString& subtitle,
                  const std::vector<QImage>& previews) {
    QImage splash = pagora::NewBitmap24(kSplashWidth, kSplashHeight);
    QPainter painter(&splash);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient paper(0, 0, 0, kSplashHeight);
    paper.setColorAt(0, QColor(251, 247, 238));
    paper.setColorAt(1, QColor(236, 228, 210));
    painter.fillRect(splash.rect(), paper);

    // Up to three prints scattered on the right, above the progress bar.
    struct Place {
        double x, y, angle;
    };
    const Place places[] = {{415, 115, -3}, {470, 90, 6}, {400, 75, -8}};
    // The first photo lies on top.
    for (size_t i = std::min<size_t>(previews.size(), 3); i-- > 0;) {
        QSize size = ScaleToBox(previews[i].size(), QSize(132, 96));
        if (size.isEmpty())
            continue;
        painter.save();
        painter.translate(places[i].x, places[i].y);
        painter.rotate(places[i].angle);
        QRectF print(-size.width() / 2.0 - 5, -size.height() / 2.0 - 5, size.width() + 10,
                     size.height() + 10);
        painter.setPen(Qt::NoPen);
        for (int spread = 5; spread >= 1; --spread) {
            painter.setBrush(QColor(60, 40, 20, 14));
            painter.drawRoundedRect(
                print.translated(2, 3).adjusted(-spread, -spread, spread, spread), spread, spread);
        }
        painter.setBrush(QColor(253, 252, 248));
        painter.drawRect(print);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(QPointF(print.left() + 5, print.top() + 5),
                          pagora::StretchBitmap(previews[i], size.width(), size.height(), false));
        painter.restore();
    }

    const int textWidth = previews.empty() ? 500 : 300;
    TitleSetting title = SetTitle(name, FontFace::Serif, 40, textWidth, true);
    QFontMetrics metrics(title.Font);
    painter.setFont(title.Font);
    painter.setPen(QColor(96, 38, 30));
    // The last line sits on the rule below it.
    double y = 100 - (title.Lines.size() - 1) * metrics.lineSpacing();
    for (const QString& line : title.Lines) {
        painter.drawText(QPointF(28, y), metrics.elidedText(line, Qt::ElideRight, textWidth));
        y += metrics.lineSpacing();
    }
    painter.fillRect(QRectF(28, 118, 140, 1.5), QColor(190, 150, 80));
    if (!subtitle.isEmpty()) {
        painter.setFont(AlbumFont(FontFace::Serif, 15, false, true));
        painter.setPen(QColor(120, 96, 72));
        painter.drawText(QPointF(28, 146), subtitle);
    }
    return splash;
}

void FilmStrip::Add(const QImage& photo) {
    if (static_cast<int>(frames_.size()) >= kMaxFrames || photo.isNull())
        return;
    QImage frame = pagora::NewBitmap24(kFrameWidth, kHeight);
    frame.fill(QColor(22, 20, 18));
    QPainter painter(&frame);
    painter.setRenderHint(QPainter::Antialiasing);
    // Sprocket holes every 16 pixels, so the pattern continues across frames.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(214, 208, 196));
    for (int x = 4; x < kFrameWidth; x += 16) {
        painter.drawRoundedRect(QRectF(x, 5, 8, 10), 1.5, 1.5);
        painter.drawRoundedRect(QRectF(x, kHeight - 15, 8, 10), 1.5, 1.5);
    }
    const QRect picture(8, 21, kFrameWidth - 16, kHeight - 42);
    painter.drawImage(picture.topLeft(), CropToFill(photo, picture.size()));
    frames_.push_back(std::move(frame));
}

QImage FilmStrip::Draw() const {
    if (frames_.empty())
        return QImage();
    int perCycle = static_cast<int>(frames_.size());
    int cycles = (kSplashWidth + perCycle * kFrameWidth - 1) / (perCycle * kFrameWidth);
    QImage strip = pagora::NewBitmap24(cycles * perCycle * kFrameWidth, kHeight);
    QPainter painter(&strip);
    for (int i = 0; i < cycles * perCycle; ++i)
        painter.drawImage(i * kFrameWidth, 0, frames_[i % perCycle]);
    return strip;
}

}  // namespace kfa
