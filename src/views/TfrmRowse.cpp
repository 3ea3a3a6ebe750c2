#include "views/TfrmRowse.h"

#include <QMouseEvent>
#include <QResizeEvent>

#include "archive/AlbumArchive.h"
#include "gfx/Bitmap.h"
#include "gfx/Canvas.h"
#include "gfx/Draw.h"
#include "platform/Application.h"
#include "platform/Automation.h"
#include "platform/Globals.h"
#include "platform/MenuIcons.h"
#include "platform/MessageBox.h"
#include "platform/PopupMenu.h"
#include "platform/ScreenCursor.h"
#include "platform/ScreenScale.h"
#include "views/TPicView.h"

namespace pagora {

namespace {

// The panel and its labels are Qt widgets, laid out in Qt's own (logical)
// pixels, so they keep their size on a scaled screen by themselves.
constexpr QSize kPanelSize(425, 48);
constexpr QRect kUpRect(256, 6, 47, 13);
constexpr QRect kDownRect(305, 6, 45, 13);
constexpr QRect kCounterRect(352, 5, 71, 13);
constexpr int kLabelFontPixels = 11;
const QColor kLabelColor(0, 128, 0);
const QColor kHotFrame(0, 170, 0);
const QColor kFrame(0, 85, 0);

}  // namespace

void TRowseLabel::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    pressed_ = true;
}

void TRowseLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    const bool click = pressed_ && rect().contains(event->position().toPoint());
    pressed_ = false;
    if (click && OnClick) {
        const std::function<void()> handler = OnClick;
        Guarded(handler);
    }
}

TfrmRowse::TfrmRowse(QWidget* owner, int pictureCount, const AlbumArchive* archive,
                     int64_t previewBudget)
    : Form(owner),
      Grid(ScreenDeviceSize().width(), ScreenDeviceSize().height(),
           [this](int pixels) { return Scale().Scaled(pixels); }),
      PicRecs(pictureCount, BrowserGrid::kPerPage, previewBudget),
      pictureCount_(PicRecs.Count()),
      archive_(archive) {
    setWindowTitle(QStringLiteral("-"));
    CellWidth = Grid.CellWidth();
    CellHeight = Grid.CellHeight();
    ThumbPageCount = pagora::ThumbPageCount(pictureCount_);
    CreateComponents();
    FormCreate();
    ShowPageCounter();
    lblUp->hide();
    if (ThumbPageCount <= 1) {
        lblDown->hide();
        NDownPage->setEnabled(false);
    }
    if (archive_ != nullptr) {
        Loader =
            std::make_unique<rowse::TLoadThread>(*archive_, PicRecs, ThumbPage, Grid.PreviewBox());
        Loader->CellLoaded = [this](int cell) { OnCellLoaded(cell); };
    }
}

TfrmRowse::~TfrmRowse() {
    ShutDown();
}

void TfrmRowse::ShutDown() {
    closing_ = true;
    Loader.reset();
}

void TfrmRowse::CreateComponents() {
    const ScreenScale scale = Scale();
    for (int c = 0; c < BrowserGrid::kPerPage; ++c) {
        auto* cell = new PaintBox(this);
        cell->setGeometry(scale.LogicalCover(Grid.Cell(c)));
        cell->setCursor(Qt::PointingHandCursor);
        cell->OnPaint = [this, c] { CellPaint(c); };
        cell->OnMouseMove = [this, c](int, int) { CellMouseMove(c); };
        cell->OnClick = [this, c] { CellClick(c); };
        cell->OnMouseDown = [this, c](Qt::MouseButton button, int x, int y) {
            CellMouseDown(c, button, x, y);
        };
        Cells[c] = cell;
    }

    PnlBottom = new QWidget(this);
    PnlBottom->resize(kPanelSize);
    PnlBottom->setAutoFillBackground(true);
    PnlBottom->installEventFilter(this);
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(kLabelFontPixels);
    font.setBold(true);
    lblUp = new TRowseLabel(PnlBottom);
    lblDown = new TRowseLabel(PnlBottom);
    lblTotalPage = new TRowseLabel(PnlBottom);
    const std::pair<TRowseLabel*, QRect> labels[] = {
        {lblUp, kUpRect}, {lblDown, kDownRect}, {lblTotalPage, kCounterRect}};
    for (const auto& [label, place] : labels) {
        label->setGeometry(place);
        label->setFont(font);
        QPalette colours = label->palette();
        colours.setColor(QPalette::WindowText, kLabelColor);
        label->setPalette(colours);
        label->installEventFilter(this);
    }
    lblUp->setText(QStringLiteral("上一页"));
    lblDown->setText(QStringLiteral("下一页"));
    for (TRowseLabel* label : {lblUp, lblDown})
        label->setCursor(Qt::PointingHandCursor);
    lblUp->OnClick = [this] { lblUpClick(); };
    lblDown->OnClick = [this] { lblDownClick(); };

    const auto run = [this](void (TfrmRowse::*handler)()) {
        return [this, handler] { (this->*handler)(); };
    };
    PopupMenu = BuildPopupMenu(
        this, {{&NAlbumRowse, QStringLiteral("相册浏览"), QStringLiteral("Album Mode"),
                kIconAlbumMode, Qt::Key_F10, run(&TfrmRowse::NAlbumRowseClick)},
               {&NAllScreen, QStringLiteral("全屏浏览"), QStringLiteral("Full Screen"),
                kIconFullScreen, Qt::Key_F12, run(&TfrmRowse::NAllScreenClick)},
               {&N5, {}, {}},
               {&NUpPage, QStringLiteral("上一个"), QStringLiteral("Back"), kIconBack,
                Qt::Key_PageUp, run(&TfrmRowse::NUpPageClick)},
               {&NDownPage, QStringLiteral("下一个"), QStringLiteral("Next"), kIconNext,
                Qt::Key_PageDown, run(&TfrmRowse::NDownPageClick)},
               {&N6, {}, {}},
               {&NOption, QStringLiteral("配置"), QStringLiteral("Options .."), kIconOptions,
                QKeySequence(Qt::CTRL | Qt::Key_O), run(&TfrmRowse::NOptionClick)},
               {&N3, {}, {}},
               {&NExit, QStringLiteral("退出"), QStringLiteral("Exit"), kIconExit, Qt::Key_Escape,
                run(&TfrmRowse::NExitClick)}});
    NUpPage->setEnabled(false);
    SetColor(color_);
}

void TfrmRowse::FormCreate() {
    if (LanguageFlag != 1)
        return;
    lblUp->setText(QStringLiteral("Back"));
    lblDown->setText(QStringLiteral("Next"));
}

void TfrmRowse::SetColor(const QColor& color) {
    color_ = color;
    QPalette colours = palette();
    colours.setColor(QPalette::Window, color);
    setPalette(colours);
    PnlBottom->setPalette(colours);
    // The labels keep their own text colour.
    for (TRowseLabel* label : {lblUp, lblDown, lblTotalPage}) {
        QPalette own = label->palette();
        own.setColor(QPalette::Window, color);
        label->setPalette(own);
    }
    if (isVisible())
        Invalidate();
}

void TfrmRowse::SetMenuImages(const std::vector<QIcon>* images) {
    if (images != nullptr)
        pagora::SetMenuImages(PopupMenu, *images);
}

void TfrmRowse::ShowPageCounter() {
    lblTotalPage->setText(QString::number(ThumbPage.load()) + QStringLiteral("/") +
                          QString::number(ThumbPageCount));
}

void TfrmRowse::ShowBrowser() {
    ShowFullScreen();
    FormShow();
}

void TfrmRowse::FormShow() {
    if (closing_)
        return;
    PicRecs.Trim(ThumbPage.load());
    if (Loader)
        Loader->RequestPass();
}

void TfrmRowse::resizeEvent(QResizeEvent* event) {
    Form::resizeEvent(event);
    FormResize();
}

void TfrmRowse::FormResize() {
    PnlBottom->move(width() - PnlBottom->width(), height() - PnlBottom->height());
}

void TfrmRowse::FormPaint() {
    Canvas& canvas = GetCanvas();
    canvas.BrushColor = color_;
    canvas.BrushClear = false;
    canvas.FillRect(QRect(0, 0, canvas.Width(), canvas.Height()));
}

int TfrmRowse::PictureAt(int c) const {
    return (ThumbPage.load() - 1) * BrowserGrid::kPerPage + c;
}

void TfrmRowse::DrawCellFrame(int c, bool hot) {
    Canvas& canvas = Cells[c]->GetCanvas();
    const int right = canvas.Width(), bottom = canvas.Height();
    const int line = Scale().Scaled(1);
    const QColor& colour = hot ? kHotFrame : kFrame;
    CanvasBatch batch(canvas);
    canvas.BrushClear = false;
    canvas.BrushColor = colour;
    canvas.FillRect(QRect(0, 0, right, line));
    canvas.FillRect(QRect(0, 0, line, bottom));
    canvas.FillRect(QRect(0, bottom - line, right, line));
    canvas.FillRect(QRect(right - line, 0, line, bottom));
}

void TfrmRowse::CellPaint(int c) {
    Canvas& canvas = Cells[c]->GetCanvas();
    CanvasBatch batch(canvas);
    canvas.BrushClear = false;
    canvas.BrushColor = color_;
    canvas.FillRect(QRect(0, 0, canvas.Width(), canvas.Height()));
    DrawCellFrame(c, c == HotCell.load());
    const int g = PictureAt(c);
    if (g >= pictureCount_)
        return;
    if (const QImage* preview = PicRecs.Get(g))
        canvas.Draw((CellWidth - preview->width()) / 2, (CellHeight - preview->height()) / 2,
                    *preview);
}

void TfrmRowse::CellMouseMove(int c) {
    if (closing_)
        return;
    DrawCellFrame(c, true);
    const int hot = HotCell.load();
    if (hot != c) {
        if (hot >= 0)
            DrawCellFrame(hot, false);
        HotCell.store(c);
    }
    Cells[c]->setCursor(PictureAt(c) < pictureCount_ ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void TfrmRowse::CellClick(int c) {
    const int g = PictureAt(c);
    if (g >= pictureCount_ || closing_)
        return;
    OpenViewer(g + 1);
}

void TfrmRowse::OpenViewer(int n) {
    if (PicViewForm == nullptr)
        return;
    WaitCursor hourglass;
    PicViewForm->Tag = 2;
    PicViewForm->ShowPicture(n);
    ActiveCanvas = &PicViewForm->GetCanvas();
    ViewMode = 2;
    if (links_.SetToolbarShape)
        links_.SetToolbarShape(true, true);
}

void TfrmRowse::CellMouseDown(int c, Qt::MouseButton button, int x, int y) {
    if (button != Qt::RightButton)
        return;
    const QRect cell = Grid.Cell(c);
    PopupMenu->popup(GlobalFromDevice(QPoint(x + cell.left(), y + cell.top())));
}

void TfrmRowse::FormMouseDown(Qt::MouseButton button, int x, int y) {
    if (button == Qt::RightButton)
        PopupMenu->popup(GlobalFromDevice(QPoint(x, y)));
}

bool TfrmRowse::eventFilter(QObject* watched, QEvent* event) {
    // A right click on the panel or its labels opens the menu there.
    if (event->type() == QEvent::MouseButtonPress) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::RightButton) {
            PopupMenu->popup(mouse->globalPosition().toPoint());
            return true;
        }
    }
    return Form::eventFilter(watched, event);
}

void TfrmRowse::PageChanged() {
    ShowPageCounter();
    PnlBottom->repaint();
    for (PaintBox* cell : Cells)
        cell->Invalidate();
    PicRecs.Trim(ThumbPage.load());
    if (Loader)
        Loader->RequestPass();
}

void TfrmRowse::lblDownClick() {
    // The toolbar calls this too, whatever the links show.
    if (closing_ || ThumbPage.load() >= ThumbPageCount)
        return;
    WaitCursor hourglass;
    ThumbPage.store(ThumbPage.load() + 1);
    NUpPage->setEnabled(true);
    const bool last = ThumbPage.load() == ThumbPageCount;
    if (last)
        NDownPage->setEnabled(false);
    lblUp->show();
    if (last)
        lblDown->hide();
    PageChanged();
}

void TfrmRowse::lblUpClick() {
    if (closing_ || ThumbPage.load() <= 1)
        return;
    WaitCursor hourglass;
    ThumbPage.store(ThumbPage.load() - 1);
    const bool first = ThumbPage.load() == 1;
    if (first)
        NUpPage->setEnabled(false);
    NDownPage->setEnabled(true);
    lblDown->show();
    if (first)
        lblUp->hide();
    PageChanged();
}

void TfrmRowse::OnCellLoaded(int cell) {
    if (closing_ || cell < 0 || cell >= BrowserGrid::kPerPage)
        return;
    PicRecs.Trim(ThumbPage.load());
    Cells[cell]->Invalidate();
}

void TfrmRowse::NAllScreenClick() {
    if (pictureCount_ <= 0 || closing_)
        return;
    if (Loader)
        Loader->Pause();
    const int hot = HotCell.load();
    int n = hot >= 0 ? PictureAt(hot) + 1 : 1;
    if (n > pictureCount_)
        n = 1;
    OpenViewer(n);
}

void TfrmRowse::NAlbumRowseClick() {
    if (links_.ShowBook)
        links_.ShowBook();
    if (Loader)
        Loader->Pause();
}

void TfrmRowse::NOptionClick() {
    if (links_.ShowOptions)
        links_.ShowOptions(this);
}

void TfrmRowse::NExitClick() {
    // The wipe runs on the form's canvas: the cells' pictures go onto it first.
    {
        Canvas& canvas = GetCanvas();
        CanvasBatch batch(canvas);
        for (int c = 0; c < BrowserGrid::kPerPage; ++c) {
            canvas.Draw(Grid.Cell(c).left(), Grid.Cell(c).top(), Cells[c]->BackBuffer());
            Cells[c]->hide();
        }
    }
    PnlBottom->hide();
    BlindsToBlack(GetCanvas(), GetCanvas().Width(), GetCanvas().Height());
    automation::Record("exit");
    closing_ = true;
    EndProgram(0);
}

void TfrmRowse::FormKeyDown(int key, Qt::KeyboardModifiers modifiers) {
    const Qt::KeyboardModifiers shifts =
        modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    if (shifts == Qt::ControlModifier && key == Qt::Key_O)
        NOptionClick();
    if (key == Qt::Key_F10)
        NAlbumRowseClick();
    else if (key == Qt::Key_F12)
        NAllScreenClick();
    if (shifts != Qt::NoModifier)
        return;
    // The menu's own keys.
    if (key == Qt::Key_PageUp && NUpPage->isEnabled())
        NUpPageClick();
    else if (key == Qt::Key_PageDown && NDownPage->isEnabled())
        NDownPageClick();
    else if (key == Qt::Key_Escape)
        NExitClick();
}

}  // namespace pagora
