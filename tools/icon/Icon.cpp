#include "Icon.h"

#include <QLinearGradient>
#include <QPainter>
#include <QRegularExpression>

namespace icon {
namespace {

constexpr double kCanvas = 256;

Shape Solid(QPainterPath path, QColor colour) {
    return {std::move(path), colour, {}, {}, {}};
}

Shape Gradient(QPainterPath path, QPointF start, QPointF end,
               std::vector<std::pair<double, QColor>> stops) {
    return {std::move(path), {}, start, end, std::move(stops)};
}

QPainterPath Rect(double x, double y, double w, double h, double radius = 0) {
    QPainterPath path;
    if (radius > 0)
        path.addRoundedRect(x, y, w, h, radius, radius);
    else
        path.addRect(x, y, w, h);
    return path;
}

// A page from the spine outwards, its outer edge dipping a little.
QPainterPath Page(double spine, double outer, double top, double bottom) {
    const double sag = 10, dip = 8;
    QPainterPath path;
    path.moveTo(spine, top + 4);
    path.cubicTo(spine + (outer - spine) * 0.35, top - sag, spine + (outer - spine) * 0.7,
                 top - sag, outer, top);
    path.lineTo(outer, bottom);
    path.cubicTo(spine + (outer - spine) * 0.7, bottom - dip, spine + (outer - spine) * 0.35,
                 bottom - dip, spine, bottom + 4);
    path.closeSubpath();
    return path;
}

// A landscape print: sky, a sun, hills, inside a white border.
void Print(std::vector<Shape>& shapes, double x, double y, double w, double h, bool mountains) {
    shapes.push_back(Solid(Rect(x - 2, y + 2, w + 4, h + 4), QColor(0, 0, 0, 50)));
    shapes.push_back(Solid(Rect(x - 4, y - 4, w + 8, h + 8), QColor(252, 252, 248)));
    shapes.push_back(Gradient(Rect(x, y, w, h), {x, y}, {x, y + h},
                              {{0, QColor(96, 156, 222)}, {1, QColor(196, 224, 244)}}));
    QPainterPath sun;
    sun.addEllipse(QPointF(x + w * 0.72, y + h * 0.3), w * 0.1, w * 0.1);
    shapes.push_back(Solid(sun, QColor(255, 214, 90)));
    QPainterPath land;
    land.moveTo(x, y + h * 0.75);
    if (mountains) {
        land.lineTo(x + w * 0.3, y + h * 0.35);
        land.lineTo(x + w * 0.55, y + h * 0.7);
        land.lineTo(x + w * 0.75, y + h * 0.5);
        land.lineTo(x + w, y + h * 0.72);
    } else {
        land.cubicTo(x + w * 0.3, y + h * 0.5, x + w * 0.6, y + h * 0.55, x + w, y + h * 0.62);
    }
    land.lineTo(x + w, y + h);
    land.lineTo(x, y + h);
    land.closeSubpath();
    shapes.push_back(Gradient(land, {x, y + h * 0.4}, {x, y + h},
                              {{0, QColor(92, 160, 72)}, {1, QColor(40, 104, 48)}}));
}

QString Number(double value) {
    return QString::number(value, 'f', 2).remove(QRegularExpression("\\.?0+$"));
}

QString PathData(const QPainterPath& path) {
    QString data;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        const QString point = Number(e.x) + "," + Number(e.y);
        switch (e.type) {
            case QPainterPath::MoveToElement:
                data += (data.isEmpty() ? "M" : " Z M") + point;
                break;
            case QPainterPath::LineToElement:
                data += " L" + point;
                break;
            case QPainterPath::CurveToElement:
                data += " C" + point;
                break;
            case QPainterPath::CurveToDataElement:
                data += " " + point;
                break;
        }
    }
    return data + " Z";
}

QString Colour(const QColor& c) {
    return c.name(QColor::HexRgb);
}

QString Opacity(const QColor& c, const char* attribute) {
    return c.alpha() == 255 ? QString() : QString(" %1=\"%2\"").arg(attribute, Number(c.alphaF()));
}

}  // namespace

std::vector<Shape> AlbumIcon() {
    std::vector<Shape> shapes;
    // The leather cover, seen around the open pages.
    shapes.push_back(Gradient(Rect(12, 28, 232, 200, 28), {0, 28}, {0, 228},
                              {{0, QColor(150, 48, 52)}, {1, QColor(92, 24, 30)}}));
    // The stack of leaves under the open pages.
    QPainterPath stack;
    stack.moveTo(28, 68);
    stack.lineTo(228, 68);
    stack.lineTo(228, 206);
    stack.cubicTo(180, 198, 150, 200, 128, 214);
    stack.cubicTo(106, 200, 76, 198, 28, 206);
    stack.closeSubpath();
    shapes.push_back(Solid(stack, QColor(214, 200, 168)));
    shapes.push_back(Gradient(
        Page(127, 36, 66, 198), {36, 0}, {127, 0},
        {{0, QColor(250, 245, 232)}, {0.85, QColor(240, 231, 208)}, {1, QColor(206, 192, 160)}}));
    shapes.push_back(Gradient(
        Page(129, 220, 66, 198), {129, 0}, {220, 0},
        {{0, QColor(206, 192, 160)}, {0.15, QColor(240, 231, 208)}, {1, QColor(250, 245, 232)}}));
    Print(shapes, 50, 92, 62, 72, true);
    Print(shapes, 146, 92, 62, 72, false);
    return shapes;
}

QString ToSvg(const std::vector<Shape>& shapes) {
    QString defs, body;
    int gradients = 0;
    for (const Shape& shape : shapes) {
        QString fill;
        if (shape.Stops.empty()) {
            fill = "fill=\"" + Colour(shape.Colour) + "\"" + Opacity(shape.Colour, "fill-opacity");
        } else {
            const QString id = QString("g%1").arg(++gradients);
            defs += QString(
                        "    <linearGradient id=\"%1\" gradientUnits=\"userSpaceOnUse\" "
                        "x1=\"%2\" y1=\"%3\" x2=\"%4\" y2=\"%5\">\n")
                        .arg(id, Number(shape.Start.x()), Number(shape.Start.y()),
                             Number(shape.End.x()), Number(shape.End.y()));
            for (const auto& [at, colour] : shape.Stops)
                defs += QString("      <stop offset=\"%1\" stop-color=\"%2\"%3/>\n")
                            .arg(Number(at), Colour(colour), Opacity(colour, "stop-opacity"));
            defs += "    </linearGradient>\n";
            fill = "fill=\"url(#" + id + ")\"";
        }
        body += "  <path " + fill + " d=\"" + PathData(shape.Path) + "\"/>\n";
    }
    return QString(
               "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
               "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"%1\" "
               "height=\"%1\" viewBox=\"0 0 %1 %1\">\n"
               "  <defs>\n%2  </defs>\n%3</svg>\n")
        .arg(kCanvas)
        .arg(defs, body);
}

QImage ToPicture(const std::vector<Shape>& shapes, int size) {
    QImage picture(size, size, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / kCanvas, size / kCanvas);
    painter.setPen(Qt::NoPen);
    for (const Shape& shape : shapes) {
        if (shape.Stops.empty()) {
            painter.setBrush(shape.Colour);
        } else {
            QLinearGradient gradient(shape.Start, shape.End);
            for (const auto& [at, colour] : shape.Stops)
                gradient.setColorAt(at, colour);
            painter.setBrush(gradient);
        }
        painter.drawPath(shape.Path);
    }
    painter.end();
    return picture.convertToFormat(QImage::Format_ARGB32);
}

}  // namespace icon
