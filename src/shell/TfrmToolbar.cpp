#include "shell/TfrmToolbar.h"

#include <QApplication>
#include <QEvent>
#include <QToolButton>
#include <utility>
#include <vector>

#include "gfx/Canvas.h"
#include "gfx/Draw.h"
#include "platform/Application.h"
#include "platform/Automation.h"
#include "platform/Globals.h"
#include "platform/MessageBox.h"
#include "platform/ScreenScale.h"
#include "platform/ToolbarPictures.h"
#include "shell/TPaintBoxXp.h"
#include "shell/ToolbarShape.h"

namespace pagora {

namespace {

// Tool bar buttons follow each other from the left of their bar.
constexpr int kButtonWidth = 23;
constexpr int kButtonHeight = 22;
constexpr int kSeparatorWidth = 8;
// Where a tool bar sits in its cool bar's band.
constexpr int kBandLeft = 9;
constexpr int kBandTop = 2;

const QRect kImageLeft(0, 0, 168, 23);
const QRect kImageRight(567, 0, 121, 27);
const QSize kCoolbarRight(125, kCoolbarRightHeight);
const QSize kCoolBarLeft(205, 26);
const QPoint kCoolBarLeftAt(-6, -5);
constexpr int kCoolbarRightTop = -4;

// Buttons laid along a tool bar, and their English hints.
class BarBuilder {
  public:
    BarBuilder(QWidget* bar, std::vector<std::pair<QToolButton*, QString>>& keywords)
        : bar_(bar), keywords_(keywords) {}

    QToolButton* Button(int glyph, const char* hint = nullptr, const char* keyword = nullptr) {
        auto* button = new QToolButton(bar_);
        button->setGeometry(x_, 0, kButtonWidth, kButtonHeight);
        button->setAutoRaise(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setIconSize(QSize(16, 16));
        if (glyph >= 0)
            button->setIcon(ToolbarGlyphs().at(glyph));
        if (hint != nullptr)
            button->setToolTip(QString::fromUtf8(hint));
        if (keyword != nullptr)
            keywords_.emplace_back(button, QString::fromUtf8(keyword));
        x_ += kButtonWidth;
        return button;
    }
    void Separator() { x_ += kSeparatorWidth; }
    int Width() const { return x_; }

  private:
    QWidget* bar_;
    std::vector<std::pair<QToolButton*, QString>>& keywords_;
    int x_ = 0;
};

PaintBox* Picture(QWidget* parent, ToolbarPicture which) {
    auto* box = new PaintBox(parent);
    box->OnPaint = [box, which] {
        box->GetCanvas().Draw(0, 0, DrawToolbarPicture(which, box->Scale()));
    };
    return box;
}

// The page command of the view in front.
const std::function<void()>& PageCommand(const ToolbarTargets& targets, bool next) {
    static const std::function<void()> none;
    switch (ViewMode) {
        case 1:
            return next ? targets.BookDown : targets.BookUp;
        case 2:
            return next ? targets.ViewerDown : targets.ViewerUp;
        case 3:
            return next ? targets.BrowserDown : targets.BrowserUp;
        default:
            return none;
    }
}

void Call(const std::function<void()>& command) {
    if (command)
        command();
}

}  // namespace

TfrmToolbar::TfrmToolbar() : Form(nullptr) {
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                   Qt::WindowDoesNotAcceptFocus);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    CreateComponents();
    FormCreate();
    qApp->installEventFilter(this);
}

TfrmToolbar::~TfrmToolbar() {
    if (qApp != nullptr)
        qApp->removeEventFilter(this);
}

void TfrmToolbar::CreateComponents() {
    auto& keywords = helpKeywords_;
    ImageLeft = Picture(this, ToolbarPicture::ImageLeft);
    ImageLeft->setGeometry(kImageLeft);
    ImageRight = new TPaintBoxXp(this);
    ImageRight->setGeometry(kImageRight);
    ImageRight->OnPaint = [this] {
        ImageRight->GetCanvas().Draw(
            0, 0, DrawToolbarPicture(ToolbarPicture::ImageRight, ImageRight->Scale()));
    };
    ImageRight->OnClick = [this] { ImageRightClick(); };

    CoolbarRight = Picture(this, ToolbarPicture::CoolBarRight);
    CoolbarRight->resize(kCoolbarRight);
    ToolBar1 = new QWidget(CoolbarRight);
    BarBuilder right(ToolBar1, keywords);
    right.Separator();  // ToolButton6
    ToolButton5 = right.Button(-1);
    ToolButton4 = right.Button(-1);
    ToolButton1 = right.Button(kGlyphMinimize, "最小化", "Minimized");
    right.Separator();  // ToolButton3
    ToolButton2 = right.Button(kGlyphExit, "退出相册", "Exit");
    ToolBar1->setGeometry(kBandLeft, kBandTop, right.Width(), kButtonHeight);
    ToolButton5->setEnabled(false);
    ToolButton4->setEnabled(false);

    CoolBarLeft = Picture(this, ToolbarPicture::CoolBarLeft);
    CoolBarLeft->setGeometry(QRect(kCoolBarLeftAt, kCoolBarLeft));
    ToolBar2 = new QWidget(CoolBarLeft);
    BarBuilder left(ToolBar2, keywords);
    ToolButton7 = left.Button(kGlyphAlbum, "相册浏览（F10）", "Album rowse(F10)");
    ToolButton8 = left.Button(kGlyphThumbnails, "缩略图浏览（F11）", "Small Pic Rowse(F11)");
    left.Separator();  // ToolButton12
    tbtnMagnifier = left.Button(kGlyphMagnifier, "放大镜");
    left.Separator();  // ToolButton10
    ToolbtnUp = left.Button(kGlyphPrevious, "上一页（PgUp）", "Previous(PgUp)");
    ToolBtnDown = left.Button(kGlyphNext, "下一页（PgDn）", "Next(PgDn)");
    left.Separator();  // ToolButton13
    ToolBtnPlay = left.Button(kGlyphPlay, "自动播放（Ctrl-P）", "Auto Play(Ctrl - P)");
    ToolBar2->setGeometry(kBandLeft, kBandTop, left.Width(), kButtonHeight);
    tbtnMagnifier->setCheckable(true);
    ToolBtnPlay->setCheckable(true);

    const std::pair<QToolButton*, void (TfrmToolbar::*)()> handlers[] = {
        {ToolButton1, &TfrmToolbar::ToolButton1Click},
        {ToolButton2, &TfrmToolbar::ToolButton2Click},
        {ToolButton7, &TfrmToolbar::ToolButton7Click},
        {ToolButton8, &TfrmToolbar::ToolButton8Click},
        {ToolbtnUp, &TfrmToolbar::ToolbtnUpClick},
        {ToolBtnDown, &TfrmToolbar::ToolBtnDownClick},
        {ToolBtnPlay, &TfrmToolbar::ToolBtnPlayClick}};
    for (const auto& [button, handler] : handlers)
        connect(button, &QToolButton::clicked, this,
                [this, handler = handler] { Guarded([&] { (this->*handler)(); }); });
}

void TfrmToolbar::Layout() {
    const int width = ScreenLogicalRect().width();
    CoolbarRight->move(width - kCoolbarRight.width() + 8, kCoolbarRightTop);
    setGeometry(0, 0, width, kImageLeft.height());
}

void TfrmToolbar::FormCreate() {
    Layout();
    SetToolbarShape(false, true);
    if (LanguageFlag == 1)
        for (const auto& [button, keyword] : helpKeywords_)
            button->setToolTip(keyword);
}

void TfrmToolbar::FormPaint() {
    Canvas& canvas = GetCanvas();
    canvas.BrushColor = palette().color(QPalette::Button);
    canvas.FillRect(QRect(0, 0, canvas.Width(), canvas.Height()));
}

void TfrmToolbar::ShowToolbar() {
    Layout();
    show();
    raise();
}

void TfrmToolbar::SetToolbarShape(bool leftTab, bool rightTab) {
    leftTab_ = leftTab;
    rightTab_ = rightTab;
    // Every caller keeps the right tab, so the region is never empty (an
    // empty mask would show the whole window).
    setMask(ToolbarRegion(leftTab, rightTab, width()));
    // Without a window manager staying on top is not kept: a view in front
    // may have been lifted over the toolbar.
    if (isVisible())
        raise();
    if (targets_.ViewerPlaying)
        ShowPlaying(targets_.ViewerPlaying());
}

bool TfrmToolbar::MagnifierDown() const {
    return tbtnMagnifier->isChecked();
}

void TfrmToolbar::ShowPlaying(bool playing) {
    ToolBtnPlay->setChecked(playing);
}

bool TfrmToolbar::eventFilter(QObject* watched, QEvent* event) {
    // A view restored after the application was minimised brings the
    // toolbar back with it.
    if (event->type() == QEvent::WindowStateChange && watched != this && watched->isWidgetType() &&
        (windowState() & Qt::WindowMinimized)) {
        auto* window = static_cast<QWidget*>(watched);
        if (window->isWindow() && window->isVisible() &&
            !(window->windowState() & Qt::WindowMinimized)) {
            setWindowState(windowState() & ~Qt::WindowMinimized);
            ShowToolbar();
        }
    }
    return false;
}

void TfrmToolbar::ImageRightClick() {
    automation::Record("exit");
    EndProgram(0);
}

void TfrmToolbar::ToolButton1Click() {
    MinimizeApplication();
}

void TfrmToolbar::ToolButton2Click() {
    Call(targets_.Exiting);
    if (ActiveCanvas != nullptr) {
        const QSize screen = ScreenDeviceSize();
        BlindsToBlack(*ActiveCanvas, screen.width(), screen.height());
    }
    automation::Record("exit");
    EndProgram(0);
}

void TfrmToolbar::ToolButton7Click() {
    Call(targets_.ViewerAlbum);
}

void TfrmToolbar::ToolButton8Click() {
    Call(targets_.ViewerThumbnails);
}

void TfrmToolbar::ToolbtnUpClick() {
    Call(PageCommand(targets_, false));
}

void TfrmToolbar::ToolBtnDownClick() {
    Call(PageCommand(targets_, true));
}

void TfrmToolbar::ToolBtnPlayClick() {
    Call(targets_.ViewerPlay);
    if (targets_.ViewerPlaying)
        ShowPlaying(targets_.ViewerPlaying());
}

}  // namespace pagora
