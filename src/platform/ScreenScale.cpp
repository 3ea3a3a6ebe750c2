#include "platform/ScreenScale.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <atomic>
#include <cmath>

namespace pagora {

namespace {

// Far past any screen: keeps the products below from overflowing an int.
constexpr double kFarthest = 1 << 24;

int RoundToInt(double value) {
    return int(std::floor(std::clamp(value, -kFarthest, kFarthest) + 0.5));
}

// Zero until a window or the primary screen says otherwise.
std::atomic<double> programRatio{0.0};

}  // namespace

ScreenScale::ScreenScale(double ratio) : ratio_(ratio > 0 && std::isfinite(ratio) ? ratio : 1.0) {}

ScreenScale ScreenScale::Of(const QWidget* widget) {
    return ScreenScale(widget ? widget->devicePixelRatioF() : 1.0);
}

ScreenScale ScreenScale::Of(const QScreen* screen) {
    return ScreenScale(screen ? screen->devicePixelRatio() : 1.0);
}

int ScreenScale::Scaled(int pixels) const {
    return RoundToInt(pixels * ratio_);
}

QSize ScreenScale::DeviceSize(QSize logical) const {
    return {Scaled(logical.width()), Scaled(logical.height())};
}

QRect ScreenScale::DeviceRect(const QRect& logical) const {
    const int left = Scaled(logical.x()), top = Scaled(logical.y());
    return QRect(left, top, Scaled(logical.x() + logical.width()) - left,
                 Scaled(logical.y() + logical.height()) - top);
}

QRect ScreenScale::DeviceCover(const QRect& logical) const {
    if (logical.isEmpty())
        return {};
    const auto down = [this](int v) { return int(std::floor(v * ratio_ + 1e-9)); };
    const auto up = [this](int v) { return int(std::ceil(v * ratio_ - 1e-9)); };
    const int left = down(logical.x()), top = down(logical.y());
    return QRect(left, top, up(logical.x() + logical.width()) - left,
                 up(logical.y() + logical.height()) - top);
}

QPoint ScreenScale::DevicePoint(QPointF logical) const {
    return {RoundToInt(logical.x() * ratio_), RoundToInt(logical.y() * ratio_)};
}

QPoint ScreenScale::LogicalPoint(QPoint device) const {
    return {RoundToInt(device.x() / ratio_), RoundToInt(device.y() / ratio_)};
}

QRect ScreenScale::LogicalCover(const QRect& device) const {
    if (device.isEmpty())
        return {};
    const auto down = [this](int v) { return int(std::floor(v / ratio_ + 1e-9)); };
    const auto up = [this](int v) { return int(std::ceil(v / ratio_ - 1e-9)); };
    const int left = down(device.x()), top = down(device.y());
    return QRect(left, top, up(device.x() + device.width()) - left,
                 up(device.y() + device.height()) - top);
}

ScreenScale ProgramScale() {
    const double ratio = programRatio.load();
    if (ratio > 0)
        return ScreenScale(ratio);
    return ScreenScale::Of(qGuiApp ? QGuiApplication::primaryScreen() : nullptr);
}

void SetProgramScale(ScreenScale scale) {
    programRatio.store(scale.Ratio());
}

QSize ScreenDeviceSize() {
    if (!HasScreen())
        return {1, 1};
    const QScreen* screen = QGuiApplication::primaryScreen();
    return ScreenScale::Of(screen).DeviceSize(screen->geometry().size());
}

bool HasScreen() {
    return qGuiApp && QGuiApplication::primaryScreen();
}

QRect ScreenLogicalRect() {
    return HasScreen() ? QGuiApplication::primaryScreen()->geometry() : QRect(0, 0, 1, 1);
}

QRect DesktopLogicalRect() {
    return HasScreen() ? QGuiApplication::primaryScreen()->availableGeometry() : QRect(0, 0, 1, 1);
}

QPixmap LogicalPixmap(QSize logical, ScreenScale scale) {
    QPixmap picture(scale.DeviceSize(logical));
    picture.setDevicePixelRatio(scale.Ratio());
    picture.fill(Qt::transparent);
    return picture;
}

QImage RenderDevicePixels(QWidget& widget, const QRect& logical, QColor ground) {
    const ScreenScale scale = ScreenScale::Of(&widget);
    QImage image(scale.DeviceSize(logical.size()).expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    image.fill(ground);
    image.setDevicePixelRatio(scale.Ratio());
    widget.render(&image, QPoint(), QRegion(logical), QWidget::DrawWindowBackground);
    image.setDevicePixelRatio(1);
    return image;
}

}  // namespace pagora
