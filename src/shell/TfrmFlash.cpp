#include "shell/TfrmFlash.h"

#include <QFont>
#include <QPalette>
#include <QShowEvent>
#include <algorithm>

namespace pagora {

namespace {

constexpr int kFormWidth = 560;
constexpr int kFormHeightChinese = 348;
constexpr int kFormHeightEnglish = 392;
constexpr int kSmallWidth = 132;
constexpr int kSmallHeight = 44;

const QColor kFrameColor(204, 255, 221);
const QColor kLineColor(128, 128, 128);
const QColor kBarColor(238, 153, 153);
const QColor kTextColor(153, 68, 68);

}  // namespace

TfrmFlash::TfrmFlash(QWidget* owner, int language)
    : Form(owner),
      PaintBoxBody(new PaintBox(this)),
      PaintBoxProgress(new PaintBox(this)),
      PaintBoxBottom(new PaintBox(this)),
      language_(language),
      formColor_(palette().color(QPalette::Button)) {
    PaintBoxBody->OnPaint = [this] { PaintBoxBodyPaint(); };
    Layout();
    Canvas& canvas = GetCanvas();
    canvas.PenColor = kFrameColor;
    canvas.BrushColor = formColor_;
    canvas.BrushClear = true;
    // Where the film picture has no pixels the strip shows the form colour.
    PaintBoxBottom->GetCanvas().BrushColor = formColor_;
    const QSize strip = PaintBoxBottom->DeviceSize();
    filmThread_ = std::make_unique<TThreadFilm>(filmCanvas_, PaintBoxBottom->GetCanvas(),
                                                strip.width(), strip.height());
    filmThread_->Step = Scale().Scaled(kFilmStep);
}

void TfrmFlash::ShowSplash() {
    // The album's pictures are made for an unscaled splash; on a scaled
    // screen they grow with it, as everything else in it does.
    const ScreenScale scale = Scale();
    for (QImage* picture : {&MainPicture, &FilmPicture})
        if (scale.Ratio() != 1.0 && !picture->isNull()) {
            CanvasLock lock(filmCanvas_);
            *picture = picture->scaled(scale.DeviceSize(picture->size()), Qt::IgnoreAspectRatio,
                                       Qt::SmoothTransformation);
        }
    ShowCentred(width(), height());
}

TfrmFlash::~TfrmFlash() {
    // Terminates, wakes a thread that was never resumed, and waits for it, all
    // before the paint boxes it draws on go.
    filmThread_->Stop();
    filmThread_.reset();
}

void TfrmFlash::Layout() {
    resize(kFormWidth, language_ != 0 ? kFormHeightEnglish : kFormHeightChinese);
    const int bodyWidth = width() - 2;
    const int bodyHeight = height() - 2 - kFilmHeight;
    PaintBoxBody->setGeometry(1, 1, bodyWidth, bodyHeight);
    PaintBoxProgress->setGeometry(1, 1 + bodyHeight, bodyWidth, 0);
    PaintBoxBottom->setGeometry(1, 1 + bodyHeight, bodyWidth, kFilmHeight);
}

void TfrmFlash::SetSmallLayout() {
    resize(kSmallWidth, kSmallHeight);
    hasPicture_ = false;
    PaintBoxBody->setGeometry(1, 1, kSmallWidth - 2, kSmallHeight - 2);
}

void TfrmFlash::SetProgress(int percent) {
    progress_ = std::clamp(percent, 0, 100);
    PaintBoxBody->Invalidate();
}

void TfrmFlash::PaintBoxBodyPaint() {
    Canvas& canvas = PaintBoxBody->GetCanvas();
    CanvasLock lock(canvas);
    const int w = canvas.Width();
    const int h = canvas.Height();
    const ScreenScale scale = PaintBoxBody->Scale();
    const auto px = [&scale](int pixels) { return scale.Scaled(pixels); };
    if (hasPicture_) {
        // Around a picture smaller than the box, the form colour: the progress
        // text is drawn without a background and must not pile up.
        const int pw = std::min(MainPicture.width(), w), ph = std::min(MainPicture.height(), h);
        canvas.BrushColor = formColor_;
        canvas.FillRect(QRect(pw, 0, w - pw, h));
        canvas.FillRect(QRect(0, ph, w, h - ph));
        canvas.Draw(0, 0, MainPicture);
    } else {
        canvas.BrushColor = Qt::white;
        canvas.FillRect(QRect(0, 0, w, h));
    }

    const int a = w - px(125);
    canvas.BrushColor = kLineColor;
    for (int line : {20, 13})
        canvas.FillRect(QRect(a, h - px(line), px(100), px(1)));

    canvas.BrushColor = kBarColor;
    canvas.FillRect(QRect(a, h - px(18), px(progress_), px(4)));

    QFont font("Courier New");
    font.setPointSize(px(8));
    font.setBold(true);
    canvas.Font = font;
    canvas.FontColor = kTextColor;
    canvas.BrushClear = true;
    canvas.TextOut(a, h - px(32), QStringLiteral("Loading... %1%").arg(progress_));
}

void TfrmFlash::FormPaint() {
    Canvas& canvas = GetCanvas();
    const int w = canvas.Width(), h = canvas.Height();
    canvas.FillRect(QRect(0, 0, w, h));
    // A frame as wide as the gap the boxes leave around them.
    for (int i = 0; i < Scale().Scaled(1); ++i)
        canvas.Rectangle(i, i, w - i, h - i);
}

void TfrmFlash::FormShow() {
    filmThread_->Resume();
}

void TfrmFlash::showEvent(QShowEvent* event) {
    Form::showEvent(event);
    FormShow();
}

}  // namespace pagora
