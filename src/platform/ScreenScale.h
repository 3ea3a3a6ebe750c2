#pragma once

#include <QColor>
#include <QImage>
#include <QPixmap>
#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QSize>

class QScreen;
class QWidget;

namespace pagora {

// Qt lays windows out in logical pixels; every canvas of ours holds device
// pixels, so that a photo reaches a scaled screen unresampled. This is the one
// place that converts between the two.
class ScreenScale {
  public:
    // Ratios that are not positive numbers count as 1.
    explicit ScreenScale(double ratio = 1.0);
    // The scale of the screen the widget's window is on.
    static ScreenScale Of(const QWidget* widget);
    static ScreenScale Of(const QScreen* screen);

    double Ratio() const { return ratio_; }

    // A fixed size of chrome (a font's pixel size, a margin, a window side) at
    // this scale, rounded once, so that it keeps its physical size.
    int Scaled(int pixels) const;
    // Sides and edges go through Scaled, so that neighbouring rectangles
    // still meet and a window's buffer covers it exactly.
    QSize DeviceSize(QSize logical) const;
    QRect DeviceRect(const QRect& logical) const;
    // Every device pixel a logical rectangle touches, edges rounded outward.
    QRect DeviceCover(const QRect& logical) const;
    // The device pixel under a logical position, such as the pointer's.
    QPoint DevicePoint(QPointF logical) const;
    // The logical position nearest to a device pixel.
    QPoint LogicalPoint(QPoint device) const;
    // The smallest logical rectangle that covers a device rectangle.
    QRect LogicalCover(const QRect& device) const;

  private:
    double ratio_;
};

// The scale of the screen the program's windows are on, for chrome drawn on
// canvases. It follows the windows when their screen's scale changes.
ScreenScale ProgramScale();
void SetProgramScale(ScreenScale scale);
inline int Scaled(int pixels) {
    return ProgramScale().Scaled(pixels);
}

// The primary screen's size in device pixels (1 x 1 without a screen).
QSize ScreenDeviceSize();
bool HasScreen();
// Where windows go, in Qt's logical pixels: the primary screen, and its part
// that panels leave free (1 x 1 at the origin without a screen).
QRect ScreenLogicalRect();
QRect DesktopLogicalRect();

// A transparent picture for Qt's own widgets that covers the logical size at
// the scale; painters on it draw in logical units, Qt shows it unresampled.
QPixmap LogicalPixmap(QSize logical, ScreenScale scale);

// What the widget paints over its logical rectangle, without its children,
// in device pixels on the ground colour.
QImage RenderDevicePixels(QWidget& widget, const QRect& logical, QColor ground);

}  // namespace pagora
