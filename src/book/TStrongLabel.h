#pragma once

#include <QColor>
#include <QString>
#include <QWidget>
#include <functional>

class QPainter;

namespace pagora {

// The text drawing of an outlined label, for any painter: the text with a
// halo of `step` pixels in borderColor around its centre position (step,
// step) inside r. A disabled label draws its halo in buttonShadow over a
// buttonHighlight shadow text.
void DrawOutlinedText(QPainter& painter, const QRect& r, const QString& text, const QFont& font,
                      int flags, const QColor& fontColor, const QColor& borderColor, bool enabled,
                      const QColor& buttonHighlight, const QColor& buttonShadow, int step = 1);

// A transparent text label drawn with a halo so that it reads on any picture.
// It sizes itself to its caption. Its position is in its window's device
// pixels, and it draws in them; its letters and halo keep their physical size.
class TStrongLabel : public QWidget {
  public:
    explicit TStrongLabel(QWidget* parent = nullptr);

    QColor BorderColor = Qt::white;  // takes effect at the next paint

    void SetCaption(const QString& caption);
    const QString& Caption() const { return caption_; }

    void SetPosition(int left, int top);
    int Left() const { return position_.x(); }
    int Top() const { return position_.y(); }
    // Where the text and halo are drawn, in device pixels.
    QRect DeviceRect() const { return QRect(position_, deviceSize_); }

    // Its own visibility, whether or not its window is shown.
    bool Visible() const { return !isHidden(); }
    void SetVisible(bool visible);

    // Draws now when shown; nothing otherwise.
    void Repaint();

    // Left button pressed and released over the label.
    std::function<void()> OnClick;

  protected:
    void changeEvent(QEvent* event) override;
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    void AdjustBounds();
    int HaloStep() const;

    QString caption_;
    QPoint position_;
    QSize deviceSize_;
    bool pressed_ = false;
};

}  // namespace pagora
