#include "book/TStrongLabel.h"

#include <QEvent>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QPoint>

#include "platform/MessageBox.h"
#include "platform/ScreenScale.h"

namespace pagora {

namespace {

constexpr int kTextFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine;
constexpr int kFontPixels = 14;

}  // namespace

void DrawOutlinedText(QPainter& painter, const QRect& r, const QString& text, const QFont& font,
                      int flags, const QColor& fontColor, const QColor& borderColor, bool enabled,
                      const QColor& buttonHighlight, const QColor& buttonShadow, int step) {
    static constexpr QPoint kRing[] = {{0, 0}, {1, 0}, {2, 0}, {2, 1},
                                       {2, 2}, {1, 2}, {0, 2}, {0, 1}};
    const QPoint centre(step, step);
    painter.save();
    painter.setFont(font);
    painter.setBrush(Qt::NoBrush);
    QColor halo = borderColor;
    if (!enabled) {
        painter.setPen(buttonHighlight);
        painter.drawText(r.translated(centre), flags, text);
        halo = buttonShadow;
    }
    painter.setPen(halo);
    for (const QPoint& offset : kRing)
        painter.drawText(r.translated(offset * step), flags, text);
    painter.setPen(fontColor);
    painter.drawText(r.translated(centre), flags, text);
    painter.restore();
}

TStrongLabel::TStrongLabel(QWidget* parent) : QWidget(parent) {
    QFont font(QStringLiteral("宋体"));
    font.setPixelSize(ScreenScale::Of(this).Scaled(kFontPixels));
    font.setBold(true);
    setFont(font);
    // Only the text is drawn; the book shows through around it.
    setAutoFillBackground(false);
    AdjustBounds();
    // A child starts out visible, as its place on the form is; a label
    // without a parent would be a window of its own.
    if (parent)
        setVisible(true);
}

void TStrongLabel::SetCaption(const QString& caption) {
    caption_ = caption;
    AdjustBounds();
    update();
}

void TStrongLabel::SetPosition(int left, int top) {
    position_ = QPoint(left, top);
    AdjustBounds();
}

void TStrongLabel::SetVisible(bool visible) {
    setVisible(visible);
}

void TStrongLabel::Repaint() {
    if (isVisible())
        repaint();
}

int TStrongLabel::HaloStep() const {
    return ScreenScale::Of(this).Scaled(1);
}

void TStrongLabel::AdjustBounds() {
    // The halo reaches one step past the text on each side.
    const int span = 2 * HaloStep();
    const QSize text = QFontMetrics(font()).size(kTextFlags, caption_);
    deviceSize_ = caption_.isEmpty() ? QSize(0, 0) : text + QSize(span, span);
    // The widget covers every device pixel the label draws on.
    const QRect cover = ScreenScale::Of(this).LogicalCover(DeviceRect());
    setGeometry(
        QRect(cover.isEmpty() ? ScreenScale::Of(this).LogicalPoint(position_) : cover.topLeft(),
              cover.size()));
}

void TStrongLabel::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange)
        AdjustBounds();
    QWidget::changeEvent(event);
}

bool TStrongLabel::event(QEvent* event) {
    if (event->type() == QEvent::ScreenChangeInternal) {
        QFont scaled = font();
        scaled.setPixelSize(ScreenScale::Of(this).Scaled(kFontPixels));
        setFont(scaled);
    }
    return QWidget::event(event);
}

void TStrongLabel::paintEvent(QPaintEvent* /*event*/) {
    if (caption_.isEmpty())
        return;
    QPainter painter(this);
    const double ratio = ScreenScale::Of(this).Ratio();
    if (ratio != 1.0) {
        // In device pixels, from the label's own device position.
        painter.setWorldTransform(QTransform::fromScale(1 / ratio, 1 / ratio));
        painter.translate(QPointF(position_) - QPointF(pos()) * ratio);
    }
    const QPalette& colours = palette();
    // The text keeps its colour when the label is disabled; only the halo
    // and the shadow text change.
    DrawOutlinedText(painter, QRect(QPoint(0, 0), deviceSize_), caption_, font(), kTextFlags,
                     colours.color(QPalette::Active, foregroundRole()), BorderColor, isEnabled(),
                     colours.color(QPalette::Light), colours.color(QPalette::Dark), HaloStep());
}

void TStrongLabel::mousePressEvent(QMouseEvent* event) {
    // Accepted, so that a click on the label never reaches the book beneath.
    if (event->button() == Qt::LeftButton) {
        pressed_ = true;
        event->accept();
    } else {
        event->ignore();
    }
}

void TStrongLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    event->accept();
    const bool click = pressed_ && rect().contains(event->position().toPoint());
    pressed_ = false;
    if (!click || !OnClick)
        return;
    // A copy, since the handler may well replace itself.
    const std::function<void()> handler = OnClick;
    Guarded(handler);
}

void TStrongLabel::mouseDoubleClickEvent(QMouseEvent* event) {
    // The second press of a double click is no new click: a quick double
    // click on "Next" turns one page.
    if (event->button() == Qt::LeftButton)
        event->accept();
    else
        event->ignore();
}

}  // namespace pagora
