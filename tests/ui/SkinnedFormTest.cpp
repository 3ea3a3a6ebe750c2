// The skinned dialog frame and its controls, on real widgets offscreen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include "BookWindow.h"
#include "gfx/Bitmap.h"
#include "gfx/Canvas.h"
#include "gfx/Shade.h"
#include "platform/Messages.h"
#include "shell/SkinPainter.h"
#include "shell/SkinPictures.h"
#include "shell/TButtonXp.h"
#include "shell/TFormXp.h"
#include "shell/TPaintBoxXp.h"
#include "shell/TRadioButtonXp.h"

namespace pagora {
namespace {

// A form designed 300 x 200 with one control of each kind the skin changes.
class SampleForm : public TFormXp {
  public:
    explicit SampleForm(BorderStyle style) : TFormXp(nullptr, style) {
        QFont font(QStringLiteral("宋体"));
        font.setPixelSize(12);
        setFont(font);
        resize(300, 200);
        setWindowTitle(QStringLiteral("Sample"));
        label = new QLabel(QStringLiteral("Name"), this);
        label->setGeometry(5, 5, 296, 14);
        edit = new QLineEdit(this);
        edit->setGeometry(60, 30, 240, 21);
        group = new QGroupBox(QStringLiteral("Group"), this);
        group->setGeometry(10, 60, 150, 70);
        a = new QRadioButton(QStringLiteral("A"), group);
        a->setGeometry(10, 20, 80, 17);
        b = new QRadioButton(QStringLiteral("B"), group);
        b->setGeometry(10, 42, 80, 17);
        a->setChecked(true);
        gauge = new QProgressBar(group);
        gauge->setGeometry(100, 20, 40, 10);
        ok = new QPushButton(QStringLiteral("确定(&O)"), this);
        ok->setGeometry(10, 140, 64, 22);
        off = new QPushButton(QStringLiteral("Off"), this);
        off->setGeometry(90, 140, 64, 22);
        off->setEnabled(false);
        DefaultButton = ok;
        FormCreate();
    }

    QLabel* label;
    QLineEdit* edit;
    QGroupBox* group;
    QRadioButton *a, *b;
    QProgressBar* gauge;
    QPushButton *ok, *off;
};

class SkinnedFormTest : public testing::Test {
  protected:
    void Show(SampleForm& form) {
        form.show();
        ProcessMessages();
    }
    static void Send(QWidget* widget, QEvent::Type type) {
        const QPointF at(2, 2);
        if (type == QEvent::Enter) {
            QEnterEvent enter(at, at, widget->mapToGlobal(at));
            QApplication::sendEvent(widget, &enter);
        } else if (type == QEvent::Leave) {
            QEvent leave(QEvent::Leave);
            QApplication::sendEvent(widget, &leave);
        } else {
            QMouseEvent mouse(type, at, widget->mapToGlobal(at), Qt::LeftButton,
                              type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                              Qt::NoModifier);
            QApplication::sendEvent(widget, &mouse);
        }
    }
    static void Click(QWidget* widget) {
        Send(widget, QEvent::MouseButtonPress);
        Send(widget, QEvent::MouseButtonRelease);
    }
    static QRgb Pixel(const BufferedWidget* widget, int x, int y) {
        return widget->BackBuffer().pixel(x, y);
    }
};

TEST_F(SkinnedFormTest, SetUpGrowsTheFormMovesItsChildrenAndRestylesThem) {
    SampleForm form(TFormXp::BorderStyle::Single);
    EXPECT_EQ(form.size(), QSize(302, 206));
    // A graphic control keeps its width; windowed controls grow 3; each moves
    // under the title and ends inside the frame.
    EXPECT_EQ(form.label->geometry(), QRect(8, 33, 291, 14));
    EXPECT_EQ(form.edit->geometry(), QRect(63, 58, 236, 21));
    EXPECT_EQ(form.group->geometry(), QRect(13, 88, 153, 70));
    // Nested controls keep their places in their container.
    EXPECT_EQ(form.TitleBox()->geometry(), QRect(0, 0, 302, 28));
    EXPECT_FALSE(form.edit->hasFrame());
    EXPECT_EQ(form.edit->palette().color(QPalette::Base), QColor(240, 240, 240));
    EXPECT_EQ(form.gauge->palette().color(QPalette::Base), QColor(240, 240, 240));
    EXPECT_EQ(form.gauge->palette().color(QPalette::Highlight), QColor(51, 221, 10));
    // The push buttons live on far left; their boxes take their places.
    ASSERT_EQ(form.ButtonXp()->Entries().size(), 2u);
    EXPECT_EQ(form.ok->x(), TButtonXp::kOutOfSight);
    EXPECT_EQ(form.ButtonXp()->Entries()[0].Box->geometry(), QRect(13, 168, 67, 22));
    ASSERT_EQ(form.RadioButtonXp()->Entries().size(), 2u);
    EXPECT_TRUE(form.a->isHidden());
    EXPECT_EQ(form.RadioButtonXp()->Entries()[1].Box->parentWidget(), form.group);
    EXPECT_EQ(form.RadioButtonXp()->Entries()[1].Box->geometry(), QRect(10, 42, 80, 17));
}

TEST_F(SkinnedFormTest, ChildGeometryFollowsTheTable) {
    const struct {
        const char* Case;
        QRect Design;
        bool Windowed;
        QRect Expected;
    } rows[] = {
        {"label inside", {5, 5, 20, 14}, false, {8, 33, 20, 14}},
        {"edit inside", {5, 5, 20, 21}, true, {8, 33, 23, 21}},
        {"edit reaching the frame", {200, 0, 97, 21}, true, {203, 28, 96, 21}},
        {"label past the edge", {290, 0, 40, 14}, false, {293, 28, 6, 14}},
        {"beyond the form", {400, 0, 40, 14}, true, {403, 28, 0, 14}},
    };
    for (const auto& row : rows)
        EXPECT_EQ(SkinnedChildGeometry(row.Design, row.Windowed, 302), row.Expected) << row.Case;
}

TEST_F(SkinnedFormTest, TopCornersAreRoundedAtTheirPoints) {
    const QPolygon outline = RoundedTopOutline(302, 206);
    const QPolygon left{QPoint(6, 0), QPoint(6, 0), QPoint(5, 0), QPoint(4, 0),
                        QPoint(3, 1), QPoint(2, 2), QPoint(1, 3), QPoint(0, 6)};
    EXPECT_EQ(outline.mid(0, 8), left);
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(outline[outline.size() - 1 - i], QPoint(302 - left[1 + i].x(), left[1 + i].y()));
    SampleForm form(TFormXp::BorderStyle::Dialog);
    const QRegion mask = form.mask();
    for (const QPoint out :
         {QPoint(0, 0), QPoint(1, 1), QPoint(0, 3), QPoint(301, 0), QPoint(300, 1), QPoint(301, 3)})
        EXPECT_FALSE(mask.contains(out)) << out.x() << "," << out.y();
    for (const QPoint in : {QPoint(6, 0), QPoint(295, 0), QPoint(3, 3), QPoint(0, 6),
                            QPoint(301, 6), QPoint(0, 205), QPoint(301, 205), QPoint(150, 100)})
        EXPECT_TRUE(mask.contains(in)) << in.x() << "," << in.y();
}

TEST_F(SkinnedFormTest, FrameAndTitleTakeTheActiveAndInactiveColours) {
    SampleForm form(TFormXp::BorderStyle::Single);
    Show(form);
    const SkinPictures& skin = Skin(form.Scale());
    const int W = 302, H = 206;
    for (const bool active : {true, false}) {
        SCOPED_TRACE(active ? "active" : "inactive");
        form.SetLooksActive(active);
        const QRgb frame = FrameColor(skin, form.Scale(), active).rgb();
        EXPECT_EQ(frame, ShiftColor(skin.Title.pixelColor(3, 3), active ? -30 : 60).rgb());
        for (const QPoint p :
             {QPoint(0, 100), QPoint(1, 100), QPoint(2, 100), QPoint(W - 1, 100),
              QPoint(W - 3, 100), QPoint(100, H - 1), QPoint(100, H - 3), QPoint(0, 27)})
            EXPECT_EQ(Pixel(&form, p.x(), p.y()), frame) << p.x() << "," << p.y();
        for (const QPoint p : {QPoint(3, 100), QPoint(W - 4, 100), QPoint(100, H - 4)})
            EXPECT_EQ(Pixel(&form, p.x(), p.y()), form.Color.rgb()) << p.x() << "," << p.y();
        // Past the left end, the title is tiled from x 32 on.
        const QColor tile = skin.Title.pixelColor(8, 20);
        EXPECT_EQ(Pixel(form.TitleBox(), 40, 20), (active ? tile : ShiftColor(tile, 60)).rgb());
        EXPECT_EQ(Pixel(form.TitleBox(), 0, 20),
                  (active ? skin.LeftTitle.pixelColor(0, 20) : ShiftColor(tile, 60)).rgb());
    }
}

// The leftmost column holding white caption pixels on the title.
int CaptionLeft(const BufferedWidget* title) {
    const QImage& image = title->BackBuffer();
    for (int x = 0; x < image.width(); ++x)
        for (int y = 8; y < 24; ++y)
            if (qRed(image.pixel(x, y)) > 200 && qGreen(image.pixel(x, y)) > 200 &&
                qBlue(image.pixel(x, y)) > 200)
                return x;
    return -1;
}

TEST_F(SkinnedFormTest, DialogStyleHasNoMinimiseButtonAndItsCaptionStartsAtFour) {
    SampleForm dialog(TFormXp::BorderStyle::Dialog);
    SampleForm single(TFormXp::BorderStyle::Single);
    Show(dialog);
    Show(single);
    EXPECT_EQ(dialog.MinimizeButton(), nullptr);
    EXPECT_EQ(dialog.CloseButton()->geometry(), QRect(302 - 28, 3, 21, 21));
    EXPECT_EQ(dialog.CloseButton()->toolTip(), "Close");
    ASSERT_NE(single.MinimizeButton(), nullptr);
    EXPECT_EQ(single.MinimizeButton()->geometry(), QRect(302 - 56, 3, 21, 21));
    EXPECT_EQ(single.MinimizeButton()->toolTip(), "Minimize");
    const int dialogLeft = CaptionLeft(dialog.TitleBox());
    EXPECT_GE(dialogLeft, 4);
    EXPECT_LE(dialogLeft, 6);
    EXPECT_GE(CaptionLeft(single.TitleBox()), 28);
}

TEST_F(SkinnedFormTest, TitleButtonsGoThroughTheirLooksAndCloseTheForm) {
    SampleForm form(TFormXp::BorderStyle::Single);
    Show(form);
    TPaintBoxXp* close = form.CloseButton();
    const QColor normal = QColor(Pixel(close, 3, 10));
    const struct {
        QEvent::Type Event;
        int Look;
        int Shift;
    } steps[] = {{QEvent::Enter, 1, 60},
                 {QEvent::MouseButtonPress, 3, 0},
                 {QEvent::Leave, 0, 0},
                 {QEvent::Enter, 1, 60}};
    for (const auto& step : steps) {
        Send(close, step.Event);
        EXPECT_EQ(close->Tag, step.Look);
        EXPECT_EQ(QColor(Pixel(close, 3, 10)), ShiftColor(normal, step.Shift));
    }
    form.ModalResult = TFormXp::mrNone;
    Send(close, QEvent::MouseButtonRelease);
    EXPECT_EQ(close->Tag, 2);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.ModalResult, TFormXp::mrCancel);
}

TEST_F(SkinnedFormTest, WithoutAWindowManagerTheTitleDragsTheFormItself) {
    SampleForm form(TFormXp::BorderStyle::Dialog);
    Show(form);
    form.move(100, 80);
    TPaintBoxXp* title = form.TitleBox();
    const QPointF at(50, 10);
    const QPointF global = title->mapToGlobal(at);
    const auto mouse = [&](QEvent::Type type, QPointF offset, Qt::MouseButtons buttons) {
        QMouseEvent event(type, at + offset, global + offset, Qt::LeftButton, buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(title, &event);
    };
    mouse(QEvent::MouseButtonPress, {}, Qt::LeftButton);
    mouse(QEvent::MouseMove, {30, 20}, Qt::LeftButton);
    EXPECT_EQ(form.pos(), QPoint(130, 100));
    mouse(QEvent::MouseButtonRelease, {30, 20}, Qt::NoButton);
    mouse(QEvent::MouseMove, {60, 60}, Qt::NoButton);
    EXPECT_EQ(form.pos(), QPoint(130, 100));
}

TEST_F(SkinnedFormTest, CaptionsSplitAtTheirFirstAmpersand) {
    const struct {
        const char* Caption;
        CaptionParts Parts;
    } rows[] = {
        {"确定(&O)", {"确定(", "O", ")"}}, {"&Ok", {"", "O", "k"}},
        {"Cancel", {"Cancel", "", ""}},    {"End&", {"End", "", ""}},
        {"a&&b&c", {"a", "&", "b&c"}},     {"", {"", "", ""}},
    };
    for (const auto& row : rows) {
        const CaptionParts parts = SplitCaption(QString::fromUtf8(row.Caption));
        EXPECT_EQ(parts.Before, row.Parts.Before) << row.Caption;
        EXPECT_EQ(parts.Key, row.Parts.Key) << row.Caption;
        EXPECT_EQ(parts.After, row.Parts.After) << row.Caption;
    }
}

QImage PaintButton(const QString& caption, int look, bool enabled) {
    QImage image(64, 22, kBitmapFormat);
    Canvas canvas(&image);
    QImage ground(64, 22, kBitmapFormat);
    ground.fill(Qt::white);
    QFont font(QStringLiteral("宋体"));
    font.setPixelSize(12);
    PaintSkinnedButton(canvas, Skin(ScreenScale(1)), look, enabled, caption, font, ground,
                       ScreenScale(1));
    return image;
}

QRect Differences(const QImage& a, const QImage& b) {
    QRect found;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                found |= QRect(x, y, 1, 1);
    return found;
}

TEST_F(SkinnedFormTest, OnlyTheKeyOfAButtonCaptionIsUnderlined) {
    QFont font(QStringLiteral("宋体"));
    font.setPixelSize(12);
    const QFontMetrics metrics(font);
    const int x = (64 - metrics.horizontalAdvance(QStringLiteral("确定(O)"))) / 2;
    const int keyLeft = x + metrics.horizontalAdvance(QStringLiteral("确定("));
    const int keyRight = keyLeft + metrics.horizontalAdvance(QStringLiteral("O"));
    const QRect underline = Differences(PaintButton(QStringLiteral("确定(&O)"), 0, true),
                                        PaintButton(QStringLiteral("确定(O)"), 0, true));
    ASSERT_FALSE(underline.isEmpty());
    EXPECT_GE(underline.left(), keyLeft - 1);
    EXPECT_LE(underline.right(), keyRight);
    // The line itself lies below the baseline.
    EXPECT_GT(underline.bottom(), (22 - metrics.height()) / 2 + metrics.ascent());
    // Nothing is underlined when the key is missing.
    EXPECT_EQ(PaintButton(QStringLiteral("End&"), 0, true), PaintButton("End", 0, true));
    // The corners keep what is behind the button; looks and the disabled
    // button differ.
    const QImage normal = PaintButton("Ok", 0, true);
    EXPECT_EQ(normal.pixel(0, 21), qRgb(255, 255, 255));
    EXPECT_EQ(normal.pixel(63, 0), qRgb(255, 255, 255));
    EXPECT_NE(normal, PaintButton("Ok", 1, true));
    EXPECT_EQ(PaintButton("Ok", 1, true).pixel(10, 3), qRgb(221, 170, 170));
    EXPECT_NE(normal, PaintButton("Ok", 2, true));
    EXPECT_NE(normal, PaintButton("Ok", 0, false));
}

TEST_F(SkinnedFormTest, PushButtonsChangeLooksAndClickOnlyWhenEnabled) {
    SampleForm form(TFormXp::BorderStyle::Single);
    Show(form);
    int okClicks = 0, offClicks = 0;
    QObject::connect(form.ok, &QPushButton::clicked, [&] { ++okClicks; });
    QObject::connect(form.off, &QPushButton::clicked, [&] { ++offClicks; });
    const auto& entries = form.ButtonXp()->Entries();
    TPaintBoxXp* okBox = entries[0].Box;
    Send(okBox, QEvent::Enter);
    EXPECT_EQ(entries[0].Look, TButtonXp::kHover);
    Send(okBox, QEvent::MouseButtonPress);
    EXPECT_EQ(entries[0].Look, TButtonXp::kPressed);
    Send(okBox, QEvent::MouseButtonRelease);
    EXPECT_EQ(entries[0].Look, TButtonXp::kPressed);
    EXPECT_EQ(okClicks, 1);
    Send(okBox, QEvent::Leave);
    EXPECT_EQ(entries[0].Look, TButtonXp::kNormal);

    const QImage before = entries[1].Box->BackBuffer().copy();
    Click(entries[1].Box);
    EXPECT_EQ(offClicks, 0);
    form.off->setEnabled(true);
    EXPECT_NE(entries[1].Box->BackBuffer(), before);
    Click(entries[1].Box);
    EXPECT_EQ(offClicks, 1);
}

TEST_F(SkinnedFormTest, RadioBoxesCheckTheirButtonsAndRepaintTheGroup) {
    SampleForm form(TFormXp::BorderStyle::Single);
    Show(form);
    int aClicks = 0;
    QObject::connect(form.a, &QRadioButton::clicked, [&] { ++aClicks; });
    const auto& entries = form.RadioButtonXp()->Entries();
    // The glyph's dot, in the middle of a 17-pixel-high box.
    const auto dot = [&](int k) { return QColor(Pixel(entries[k].Box, 7, 7)); };
    EXPECT_GT(dot(0).green(), dot(0).red() + 40);
    EXPECT_GT(dot(1).red(), 200);

    Click(entries[0].Box);  // already checked: its handler runs again
    EXPECT_EQ(aClicks, 1);
    EXPECT_TRUE(form.a->isChecked());
    Click(entries[1].Box);  // checks B, and A's box shows it unchecked
    EXPECT_EQ(aClicks, 1);
    EXPECT_TRUE(form.b->isChecked());
    EXPECT_FALSE(form.a->isChecked());
    EXPECT_GT(dot(0).red(), 200);
    EXPECT_GT(dot(1).green(), dot(1).red() + 40);
}

TEST_F(SkinnedFormTest, ModalFormsAnswerEnterAndEsc) {
    test::ClearEndedLoops();
    const struct {
        int Key;
        int Result;
        int OkClicks;
    } rows[] = {{Qt::Key_Escape, TFormXp::mrCancel, 0}, {Qt::Key_Return, TFormXp::mrOk, 1}};
    for (const auto& row : rows) {
        SampleForm form(TFormXp::BorderStyle::Dialog);
        int clicks = 0;
        QObject::connect(form.ok, &QPushButton::clicked, [&] {
            ++clicks;
            form.CloseWith(TFormXp::mrOk);
        });
        QTimer::singleShot(0, &form, [&] {
            EXPECT_EQ(QApplication::activeModalWidget(), &form);
            QKeyEvent key(QEvent::KeyPress, row.Key, Qt::NoModifier);
            QApplication::sendEvent(&form, &key);
        });
        EXPECT_EQ(form.ShowModal(), row.Result);
        EXPECT_EQ(clicks, row.OkClicks);
        EXPECT_FALSE(form.isVisible());
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    }
}

}  // namespace
}  // namespace pagora
