#pragma once

#include <QColor>
#include <QImage>
#include <QPainterPath>
#include <QPointF>
#include <QString>
#include <utility>
#include <vector>

namespace icon {

// A shape of the icon: a path on a 256 x 256 canvas filled with a colour, or
// with a linear gradient from Start to End when it has stops.
struct Shape {
    QPainterPath Path;
    QColor Colour;
    QPointF Start, End;
    std::vector<std::pair<double, QColor>> Stops;
};

// The project's icon: an album lying open, a photo mounted on each page.
std::vector<Shape> AlbumIcon();

// The shapes as an SVG document, and drawn at size x size pixels.
QString ToSvg(const std::vector<Shape>& shapes);
QImage ToPicture(const std::vector<Shape>& shapes, int size);

}  // namespace icon
