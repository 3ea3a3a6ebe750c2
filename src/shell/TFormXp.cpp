#include "shell/TFormXp.h"

#include <QAbstractSpinBox>
#include <QCloseEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QWindow>

#include "platform/Application.h"
#include "shell/SkinPainter.h"
#include "shell/SkinPictures.h"
#include "shell/TButtonXp.h"
#include "shell/TPaintBoxXp.h"
#include "shell/TRadioButtonXp.h"

namespace pagora {

namespace {

const QColor kFormColor(236, 233, 216);
const QColor kEditColor(240, 240, 240);
const QColor kGaugeColor(51, 221, 10);
// The title buttons' places from the right edge, and their row.
constexpr int kCloseRight = 28;
constexpr int kMinimizeRight = 56;
constexpr int kTitleButtonTop = 3;

// Labels and plain frames draw on their parent, as graphic controls do; the
// rest are windowed controls.
bool Windowed(const QWidget* child) {
    return qobject_cast<const QLabel*>(child) == nullptr &&
           child->metaObject() != &QFrame::staticMetaObject;
}

}  // namespace

TFormXp::TFormXp(QWidget* owner, BorderStyle design) : Form(owner), Color(kFormColor) {
    designBorder_ = design;
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setFocusPolicy(Qt::NoFocus);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, Color);
    setPalette(colours);
}

TFormXp::~TFormXp() = default;

const SkinPictures& TFormXp::SkinOfForm() const {
    return Skin(Scale());
}

void TFormXp::FormCreate() {
    // The border goes; the window keeps its size, a little larger.
    resize(width() + 2, height() + 6);
    for (QObject* object : children()) {
        auto* child = qobject_cast<QWidget*>(object);
        if (child == nullptr || child->isWindow())
            continue;
        child->setGeometry(SkinnedChildGeometry(child->geometry(), Windowed(child), width()));
    }
    MakeTitleBar();
    setMask(QRegion(RoundedTopOutline(width(), height())));
    Restyle(this);
    buttonXp_ = new TButtonXp(this);
    radioButtonXp_ = new TRadioButtonXp(this);
}

void TFormXp::MakeTitleBar() {
    title_ = new TPaintBoxXp(this);
    title_->setGeometry(0, 0, width(), kTitleHeight);
    title_->OnPaint = [this] { PaintTitleBar(); };
    title_->OnMouseDown = [this](QPoint at) { TitlePressed(at); };
    title_->OnMouseDrag = [this](QPoint at) { TitleDragged(at); };
    title_->OnMouseUp = [this](QPoint) { dragging_ = false; };
    close_ = MakeTitleButton(kCloseRight, QStringLiteral("Close"), true);
    close_->OnClick = [this] { CloseWith(mrCancel); };
    if (designBorder_ != BorderStyle::Dialog) {
        minimize_ = MakeTitleButton(kMinimizeRight, QStringLiteral("Minimize"), false);
        minimize_->OnClick = [] { MinimizeApplication(); };
    }
}

TPaintBoxXp* TFormXp::MakeTitleButton(int right, const QString& hint, bool close) {
    auto* box = new TPaintBoxXp(this);
    box->setGeometry(width() - right, kTitleButtonTop, kTitleButtonSide, kTitleButtonSide);
    box->setToolTip(hint);
    box->OnPaint = [this, box, close] {
        const SkinPictures& skin = SkinOfForm();
        PaintTitleButton(box->GetCanvas(), close ? skin.Close : skin.Min, box->Tag, Backdrop(box));
    };
    const auto look = [box](int value) {
        box->Tag = value;
        box->Invalidate();
    };
    box->OnMouseEnter = [look] { look(1); };
    box->OnMouseLeave = [look] { look(0); };
    box->OnMouseDown = [look](QPoint) { look(3); };
    box->OnMouseUp = [look](QPoint) { look(2); };
    return box;
}

void TFormXp::Restyle(QWidget* container) {
    for (QWidget* child : container->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (auto* edit = qobject_cast<QLineEdit*>(child);
            edit != nullptr && qobject_cast<QAbstractSpinBox*>(container) == nullptr) {
            edit->setFrame(false);
            QPalette colours = edit->palette();
            colours.setColor(QPalette::Base, kEditColor);
            edit->setPalette(colours);
        } else if (auto* gauge = qobject_cast<QProgressBar*>(child)) {
            QPalette colours = gauge->palette();
            colours.setColor(QPalette::Base, kEditColor);
            colours.setColor(QPalette::Highlight, kGaugeColor);
            gauge->setPalette(colours);
        }
        Restyle(child);
    }
}

bool TFormXp::LooksActive() const {
    return heldActive_ ? *heldActive_ : isActiveWindow();
}

void TFormXp::SetLooksActive(std::optional<bool> active) {
    heldActive_ = active;
    RepaintAll();
}

void TFormXp::PaintTitleBar() {
    const ScreenScale scale = Scale();
    TitleLook look;
    look.Active = LooksActive();
    look.DialogStyle = designBorder_ == BorderStyle::Dialog;
    look.Caption = windowTitle();
    look.Font = DeviceFont(font(), scale);
    if (!look.DialogStyle && !windowIcon().isNull()) {
        const int side = scale.Scaled(32);
        look.Icon = windowIcon().pixmap(QSize(side, side), 1.0).toImage();
    }
    pagora::PaintTitle(title_->GetCanvas(), SkinOfForm(), look, scale);
}

QImage TFormXp::Backdrop(const QWidget* box) const {
    const ScreenScale scale = Scale();
    const QSize size = scale.DeviceSize(box->size()).expandedTo(QSize(1, 1));
    if (title_ != nullptr && (box == close_ || box == minimize_)) {
        const QPoint inTitle = box->pos() - title_->pos();
        return title_->BackBuffer().copy(
            QRect(QPoint(scale.Scaled(inTitle.x()), scale.Scaled(inTitle.y())), size));
    }
    // The parent as it paints itself there (a group's frame and fill, the
    // form's ground), without its children.
    if (QWidget* parent = box->parentWidget())
        return RenderDevicePixels(*parent, box->geometry(), Color);
    QImage ground(size, QImage::Format_RGB32);
    ground.fill(Color);
    return ground;
}

void TFormXp::FormPaint() {
    Canvas& canvas = GetCanvas();
    canvas.BrushColor = Color;
    canvas.FillRect(QRect(0, 0, canvas.Width(), canvas.Height()));
    PaintFrame(canvas, FrameColor(SkinOfForm(), Scale(), LooksActive()), Scale());
}

void TFormXp::RepaintAll() {
    Invalidate();
    for (TPaintBoxXp* box : {title_, close_, minimize_})
        if (box != nullptr)
            box->Invalidate();
}

void TFormXp::changeEvent(QEvent* event) {
    Form::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isVisible())
        RepaintAll();
}

void TFormXp::TitlePressed(QPoint global) {
    if (QWindow* window = windowHandle(); window != nullptr && window->startSystemMove())
        return;
    // No window manager to move it: the form follows the pointer itself.
    dragging_ = true;
    dragPointer_ = global;
    dragOrigin_ = pos();
}

void TFormXp::TitleDragged(QPoint global) {
    if (dragging_)
        move(dragOrigin_ + global - dragPointer_);
}

void TFormXp::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter: {
            QPushButton* button = qobject_cast<QPushButton*>(focusWidget());
            if (button == nullptr)
                button = DefaultButton;
            if (button != nullptr && button->isEnabled())
                button->click();
            return;
        }
        case Qt::Key_Escape:
            if (CancelButton != nullptr && CancelButton->isEnabled())
                CancelButton->click();
            else
                CloseWith(mrCancel);
            return;
        default:
            Form::keyPressEvent(event);
    }
}

int TFormXp::ShowModal() {
    ModalResult = mrNone;
    setWindowModality(Qt::ApplicationModal);
    ShowCentred(width(), height());
    raise();
    activateWindow();
    QEventLoop loop;
    loop_ = &loop;
    QPointer<TFormXp> alive(this);
    if (isVisible())
        loop.exec(QEventLoop::DialogExec);
    if (!alive)
        return mrCancel;
    loop_ = nullptr;
    return ModalResult;
}

void TFormXp::CloseWith(int result) {
    ModalResult = result;
    close();
}

void TFormXp::closeEvent(QCloseEvent* event) {
    Form::closeEvent(event);
    if (!event->isAccepted())
        return;
    if (ModalResult == mrNone)
        ModalResult = mrCancel;
    FormClose();
    if (loop_ != nullptr)
        loop_->quit();
}

void TFormXp::hideEvent(QHideEvent* event) {
    Form::hideEvent(event);
    if (loop_ != nullptr)
        loop_->quit();
}

void TFormXp::FormClose() {
    // Deferred: the close may come from a click inside one of their boxes.
    if (buttonXp_ != nullptr)
        buttonXp_->deleteLater();
    if (radioButtonXp_ != nullptr)
        radioButtonXp_->deleteLater();
    buttonXp_ = nullptr;
    radioButtonXp_ = nullptr;
}

}  // namespace pagora
