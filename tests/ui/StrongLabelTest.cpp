#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <stdexcept>

#include "book/TStrongLabel.h"
#include "platform/Fonts.h"
#include "platform/MessageBox.h"

namespace pagora {
namespace {

constexpr int kFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine;
const QColor kGround(40, 110, 170), kBlack(Qt::black), kWhite(Qt::white);
const QString kTexts[] = {"Next", "下一页", "共12页 "};

// Without antialiasing every pixel is text or ground, so the halo can be
// checked to the pixel.
QFont MonoLabelFont() {
    InstallFontSubstitutions();
    QFont font = TStrongLabel().font();
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

// The pixels of one colour, and where their eight one-pixel moves reach.
struct Mask {
    QImage image;
    QColor colour;
    bool At(int x, int y) const { return image.valid(x, y) && image.pixel(x, y) == colour.rgb(); }
    bool Ring(int x, int y) const {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if ((dx || dy) && At(x + dx, y + dy))
                    return true;
        return false;
    }
};

// Pixels that differ from what `want` says they should be.
template <typename Want>
int Mismatches(const QImage& image, Want want) {
    int wrong = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            wrong += image.pixel(x, y) != QColor(want(x, y)).rgb();
    return wrong;
}

struct Colours {
    QColor font = kBlack, border = kWhite, highlight, shadow;
    bool enabled = true;
};

// Draws at (4, 4) on a ground with room for the halo; plain text without colours.
QImage Draw(const QFont& font, const QString& text, const Colours* c, QPoint offset = {}) {
    const QSize size = QFontMetrics(font).size(kFlags, text) + QSize(4, 4);
    QImage image(size + QSize(8, 8), QImage::Format_RGB32);
    image.fill(kGround);
    QPainter painter(&image);
    const QRect r = QRect(QPoint(4, 4), size).translated(offset);
    if (c) {
        DrawOutlinedText(painter, r, text, font, kFlags, c->font, c->border, c->enabled,
                         c->highlight, c->shadow);
    } else {
        painter.setFont(font);
        painter.setPen(kBlack);
        painter.drawText(r, kFlags, text);
    }
    return image;
}

Colours DisabledColours(const QWidget& label) {
    const QPalette colours = label.palette();
    return {kBlack, kWhite, colours.color(QPalette::Light), colours.color(QPalette::Dark), false};
}

TEST(StrongLabelDrawing, HaloOfOnePixelAroundTextMovedByOne) {
    const QFont font = MonoLabelFont();
    TStrongLabel disabledLabel;
    disabledLabel.setEnabled(false);
    const Colours disabled = DisabledColours(disabledLabel);
    for (const QColor& other : {kBlack, kWhite, kGround, disabled.highlight})
        ASSERT_NE(disabled.shadow.rgb(), other.rgb());
    ASSERT_NE(disabled.highlight.rgb(), kGround.rgb());

    for (const QString& text : kTexts) {
        SCOPED_TRACE(text.toStdString());
        const Mask core{Draw(font, text, nullptr, {1, 1}), kBlack};
        const QImage& moved = core.image;
        ASSERT_GT(Mismatches(moved, [](int, int) { return kGround; }), 20);
        // Whole-pixel moves must move the glyphs alike for the checks below.
        const int w = moved.width() - 1, h = moved.height() - 1;
        ASSERT_EQ(Draw(font, text, nullptr).copy(0, 0, w, h), moved.copy(1, 1, w, h));

        const Colours plain;
        const QImage outlined = Draw(font, text, &plain);
        EXPECT_EQ(Mismatches(outlined,
                             [&](int x, int y) {
                                 return core.At(x, y) ? kBlack : core.Ring(x, y) ? kWhite : kGround;
                             }),
                  0);

        // Disabled, the halo takes the button shadow; the text keeps its colour.
        Colours shadowed;
        shadowed.border = disabled.shadow;
        EXPECT_EQ(Draw(font, text, &disabled), Draw(font, text, &shadowed));
        // The highlight copy under the text shows through see-through text
        // only where no halo drawing covers it.
        Colours clear = disabled;
        clear.font = Qt::transparent;
        EXPECT_EQ(Mismatches(Draw(font, text, &clear),
                             [&](int x, int y) {
                                 return core.Ring(x, y) ? disabled.shadow
                                        : core.At(x, y) ? disabled.highlight
                                                        : kGround;
                             }),
                  0);
    }
}

// A window ground of one colour with one label on it.
struct Board {
    QWidget window;
    TStrongLabel* label = new TStrongLabel(&window);

    Board() {
        window.resize(220, 60);
        QPalette colours = window.palette();
        colours.setColor(QPalette::Window, kGround);
        window.setPalette(colours);
        window.setAutoFillBackground(true);
        label->setFont(MonoLabelFont());
        label->SetPosition(13, 9);
    }
    // What the window would show if the label's text were drawn straight onto it.
    QImage Expected(const Colours& c) const {
        QImage image(window.size(), QImage::Format_RGB32);
        image.fill(kGround);
        QPainter painter(&image);
        DrawOutlinedText(painter, label->geometry(), label->Caption(), label->font(), kFlags,
                         c.font, c.border, c.enabled, c.highlight, c.shadow);
        return image;
    }
    QImage Shown() { return window.grab().toImage().convertToFormat(QImage::Format_RGB32); }
};

TEST(StrongLabelWidget, TransparentAndSizedToItsOutlinedText) {
    Board board;
    TStrongLabel& label = *board.label;
    EXPECT_EQ(label.font().family(), "宋体");
    EXPECT_EQ(label.font().pixelSize(), 14);
    EXPECT_TRUE(label.font().bold());
    EXPECT_EQ(QPoint(label.Left(), label.Top()), QPoint(13, 9));

    for (const QString& text : kTexts) {
        SCOPED_TRACE(text.toStdString());
        label.SetCaption(text);
        EXPECT_EQ(label.size(), QFontMetrics(label.font()).size(kFlags, text) + QSize(2, 2));
        // The ground shows through, and nothing of the halo is cut off.
        EXPECT_EQ(board.Shown(), board.Expected(Colours{}));
    }

    label.BorderColor = QColor(200, 30, 30);
    Colours red;
    red.border = label.BorderColor;
    EXPECT_EQ(board.Shown(), board.Expected(red));
    label.BorderColor = kWhite;
    label.setEnabled(false);
    EXPECT_EQ(board.Shown(), board.Expected(DisabledColours(label)));

    const int height = label.height();
    QFont large = label.font();
    large.setPixelSize(28);
    label.setFont(large);
    EXPECT_GT(label.height(), height + 10);

    label.SetCaption(QString());
    EXPECT_LE(label.width(), 2);
    EXPECT_EQ(board.Shown(), board.Expected(Colours{}));
}

// Takes the presses that the label lets through.
class Beneath : public QWidget {
  public:
    int presses = 0;

  protected:
    void mousePressEvent(QMouseEvent* /*event*/) override { ++presses; }
};

void Send(QWidget& to, QEvent::Type type, Qt::MouseButton button, QPoint at = {3, 3}) {
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : button;
    QMouseEvent event(type, at, at, to.mapToGlobal(at), button, held, Qt::NoModifier);
    QApplication::sendEvent(&to, &event);
}

void Click(QWidget& to, Qt::MouseButton button = Qt::LeftButton) {
    Send(to, QEvent::MouseButtonPress, button);
    Send(to, QEvent::MouseButtonRelease, button);
}

TEST(StrongLabelWidget, ClickIsALeftPressAndReleaseOverTheLabel) {
    Beneath window;
    TStrongLabel label(&window);
    label.SetCaption("Next");
    int clicks = 0;
    label.OnClick = [&] { ++clicks; };

    Click(label);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(window.presses, 0);  // the book beneath does not act as well
    Click(label, Qt::RightButton);
    EXPECT_EQ(clicks, 1);
    // Dragged off before letting go, or let go without a press.
    Send(label, QEvent::MouseButtonPress, Qt::LeftButton);
    Send(label, QEvent::MouseButtonRelease, Qt::LeftButton, {label.width() + 20, 3});
    Send(label, QEvent::MouseButtonRelease, Qt::LeftButton);
    EXPECT_EQ(clicks, 1);
    // A double click is one click.
    Click(label);
    Send(label, QEvent::MouseButtonDblClick, Qt::LeftButton);
    Send(label, QEvent::MouseButtonRelease, Qt::LeftButton);
    EXPECT_EQ(clicks, 2);

    // A handler may put another in its place while it runs.
    const QString word = "Home";
    QString seen;
    label.OnClick = [&label, &seen, word] {
        label.OnClick = nullptr;
        seen = word;
    };
    Click(label);
    EXPECT_EQ(seen, word);
    EXPECT_FALSE(label.OnClick);

    QStringList messages;
    SetMessageSink([&](const QString& text) { messages << text; });
    label.OnClick = [] { throw std::runtime_error("The page could not be read"); };
    EXPECT_NO_THROW(Click(label));
    label.OnClick = [] { throw 7; };
    EXPECT_NO_THROW(Click(label));
    label.OnClick = nullptr;
    EXPECT_NO_THROW(Click(label));
    SetMessageSink({});
    EXPECT_EQ(messages, QStringList({"The page could not be read", "Unknown error"}));
}

class CountingLabel : public TStrongLabel {
  public:
    using TStrongLabel::TStrongLabel;
    int paints = 0;

  protected:
    void paintEvent(QPaintEvent* event) override {
        ++paints;
        TStrongLabel::paintEvent(event);
    }
};

TEST(StrongLabelWidget, KeepsItsVisibilityWhileTheWindowIsHidden) {
    QWidget window;
    window.resize(200, 60);
    CountingLabel label(&window);
    label.SetCaption("Next");
    EXPECT_TRUE(label.Visible());
    label.SetVisible(false);
    EXPECT_FALSE(label.Visible());
    label.SetVisible(true);
    EXPECT_TRUE(label.Visible());
    label.Repaint();
    EXPECT_EQ(label.paints, 0);

    window.show();
    QApplication::processEvents();
    label.paints = 0;
    label.Repaint();
    EXPECT_EQ(label.paints, 1);  // at once, not at the next turn of the event loop
    label.SetVisible(false);
    label.Repaint();
    EXPECT_EQ(label.paints, 1);
}

}  // namespace
}  // namespace pagora
