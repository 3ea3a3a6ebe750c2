// The picture transitions and the magnifier lens, to look at.
//
//   fxsheet sheet OUT.png [FIRST LAST]   every style (or those from FIRST to LAST) at progress
//                                        25, 50 and 75 on one labelled sheet
//   fxsheet play STYLE|all               styles played full screen between two generated
//                                        pictures; holding the left button shows the lens, Esc ends
#include <QApplication>
#include <QFont>
#include <QKeyEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "FxPictures.h"
#include "gfx/Bitmap.h"
#include "gfx/Canvas.h"
#include "platform/Form.h"
#include "views/PicShowFrame.h"
#include "views/PicShowStyles.h"
#include "views/TCustomPicShow.h"
#include "views/TMagnifier.h"

namespace {

using namespace pagora;
using bench::NewPicture;
using bench::OldPicture;

int Sheet(const char* out, int first, int last) {
    constexpr int kCellW = 160, kCellH = 100, kGap = 6, kLabel = 16, kPerRow = 4;
    constexpr int kProgress[] = {25, 50, 75};
    constexpr int kBlockW = 3 * kCellW + 2 * kGap, kBlockH = kLabel + kCellH;
    const int styles = last - first + 1;
    const int rows = (styles + kPerRow - 1) / kPerRow;
    QImage sheet = NewBitmap24(kPerRow * (kBlockW + 3 * kGap) + 2 * kGap,
                               rows * (kBlockH + 2 * kGap) + 2 * kGap);
    sheet.fill(QColor(40, 40, 40));
    const QImage oldPic = OldPicture(kCellW, kCellH), newPic = NewPicture(kCellW, kCellH);
    QImage frame = NewBitmap24(kCellW, kCellH);
    Canvas display(&frame);
    QPainter painter(&sheet);
    QFont font;
    font.setPixelSize(11);
    painter.setFont(font);
    for (int style = first; style <= last; ++style) {
        const int x = 2 * kGap + ((style - first) % kPerRow) * (kBlockW + 3 * kGap);
        const int y = 2 * kGap + ((style - first) / kPerRow) * (kBlockH + 2 * kGap);
        painter.setPen(QColor(230, 230, 230));
        painter.drawText(QRect(x, y, kBlockW, kLabel), Qt::AlignLeft | Qt::AlignVCenter,
                         QString("%1  %2").arg(style).arg(ShowStyleAt(style).Name));
        for (int i = 0; i < 3; ++i) {
            ShowRandom random(style);
            ComposeShowFrame(style, kProgress[i], 4, oldPic, newPic, display, random);
            painter.drawImage(x + i * (kCellW + kGap), y + kLabel, frame);
        }
    }
    painter.end();
    if (!sheet.save(out)) {
        std::fprintf(stderr, "fxsheet: cannot write %s\n", out);
        return 1;
    }
    std::printf("%s: styles %d to %d at progress 25, 50, 75\n", out, first, last);
    return 0;
}

// A full-screen window playing transitions; the left button holds the lens.
class Player : public Form {
  public:
    Player(int style, bool all) : style_(style), all_(all), show_(new TPicShow(this)) {
        show_->SetAlign(TAlign::alClient);
        show_->SetColor(Qt::black);
        show_->SetStep(2);
        show_->SetDelay(30);
        show_->OnComplete = [this](TCustomPicShow*) {
            QTimer::singleShot(700, this, [this] { Next(); });
        };
        show_->OnMouseDown = [this](TCustomPicShow*, Qt::MouseButton button, int x, int y) {
            if (button == Qt::LeftButton)
                LensDown(x, y);
        };
        show_->OnMouseMove = [this](TCustomPicShow*, int x, int y) {
            if (lens_)
                lens_->MoveTo(x, y);
        };
        show_->OnMouseUp = [this](TCustomPicShow*, Qt::MouseButton button, int, int) {
            if (button == Qt::LeftButton)
                LensUp();
        };
        label_ = new QLabel(this);
        label_->setStyleSheet("background: rgba(0, 0, 0, 160); color: white; padding: 4px;");
        label_->move(8, 8);
    }

    void Start() {
        const QSize size = show_->PaintBuffer().size();
        pictures_[0] = OldPicture(size.width(), size.height());
        pictures_[1] = NewPicture(size.width(), size.height());
        // The first transition starts from the old picture, not black.
        show_->SetPicture(pictures_[0]);
        show_->SetStyle(0);
        show_->Execute();
    }

  protected:
    void FormKeyDown(int key, Qt::KeyboardModifiers) override {
        if (key == Qt::Key_Escape) {
            lens_.reset();
            show_->Stop();
            close();
        }
    }

  private:
    void Play() {
        if (style_ > kMaxShowStyle) {
            close();
            return;
        }
        label_->setText(QString("%1  %2  (left button: lens, Esc: end)")
                            .arg(style_)
                            .arg(ShowStyleAt(style_).Name));
        label_->adjustSize();
        label_->raise();
        which_ = 1 - which_;
        show_->SetPicture(pictures_[which_]);
        show_->SetStyle(style_);
        show_->Execute();
    }
    void Next() {
        if (lens_)
            return;  // resumed when the lens goes
        if (all_ && !first_)
            ++style_;
        first_ = false;
        Play();
    }
    void LensDown(int x, int y) {
        if (lens_)
            return;
        show_->SetManual(true);  // the frames pause under the lens
        const QSize area = show_->PaintBuffer().size();
        lens_ = std::make_unique<TMagnifier>(show_->GetCanvas(), area.width(), area.height());
        lens_->SetLensWidth(area.width() / 4);
        lens_->SetLensHeight(area.height() / 4);
        lens_->MoveTo(x, y);
    }
    void LensUp() {
        if (!lens_)
            return;
        lens_.reset();
        show_->SetManual(false);
        if (!show_->Busy())
            Next();
    }

    int style_;
    bool all_;
    bool first_ = true;
    int which_ = 0;
    QImage pictures_[2];
    TPicShow* show_;
    QLabel* label_;
    std::unique_ptr<TMagnifier> lens_;
};

int Usage() {
    std::fprintf(stderr,
                 "usage: fxsheet sheet OUT.png [FIRST LAST]\n"
                 "       fxsheet play STYLE|all   (STYLE 0..%d)\n",
                 kMaxShowStyle);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3)
        return Usage();
    const std::string command = argv[1];
    if (command == "sheet") {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        QApplication app(argc, argv);
        const int first = argc > 4 ? std::atoi(argv[3]) : 0;
        const int last = argc > 4 ? std::atoi(argv[4]) : kMaxShowStyle;
        if (first < 0 || last > kMaxShowStyle || first > last)
            return Usage();
        return Sheet(argv[2], first, last);
    }
    if (command != "play")
        return Usage();
    const std::string which = argv[2];
    const bool all = which == "all";
    char* end = nullptr;
    const long style = all ? 1 : std::strtol(which.c_str(), &end, 10);
    if (!all && (end == which.c_str() || *end != '\0' || style < 0 || style > kMaxShowStyle))
        return Usage();
    QApplication app(argc, argv);
    Player player(int(style), all);
    player.ShowFullScreen();
    QTimer::singleShot(300, &player, [&player] { player.Start(); });
    return app.exec();
}
