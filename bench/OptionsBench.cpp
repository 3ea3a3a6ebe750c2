// Opening the options dialog on a 3840 x 2160 screen until its first frame is
// painted: the skinned dialog (its skin set up over the controls, the title,
// frame and picture buttons drawn on canvases) beside the same controls in a
// plain QDialog, turn about in one run. The skinned dialog's first opening,
// which draws its skin pictures, is shown apart.
//
//   build/bench/bench_options [RUNS]
#include <QApplication>
#include <QButtonGroup>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>

#include "OffscreenScreen.h"
#include "platform/Fonts.h"
#include "platform/MediaPlayer.h"
#include "platform/Timer.h"
#include "shell/TfrmOption.h"

using Clock = std::chrono::steady_clock;

namespace {

constexpr int kScreenW = 3840, kScreenH = 2160;

// Counts the paint events of a window and its children.
struct PaintCounter : QObject {
    int Paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        Paints += event->type() == QEvent::Paint;
        return false;
    }
};
PaintCounter counter;

// Once the window is on the (offscreen) screen, paints it whole, as its first
// frame, and runs the rest.
void FirstFrame(QWidget& window, const std::function<void()>& then) {
    auto* poll = new QTimer(&window);
    QObject::connect(poll, &QTimer::timeout, &window, [&window, poll, then] {
        if (window.windowHandle() == nullptr || !window.windowHandle()->isExposed())
            return;
        poll->stop();
        counter.Paints = 0;
        window.repaint();
        if (counter.Paints == 0)
            std::fprintf(stderr, "nothing was painted\n");
        then();
    });
    poll->start(0);
}

double Since(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The book's side of the dialog, held here.
struct Book {
    int32_t TurnTime = 900;
    pagora::Timer BookTimer;
    uint8_t MusicOn = 1, RangOn = 1;
    pagora::MediaPlayer Player;

    pagora::OptionTarget Target() {
        pagora::OptionTarget target;
        target.AlbumName = "山水之间 Between Mountains and Water";
        target.TurnTime = &TurnTime;
        target.BookTimer = &BookTimer;
        target.BackMusicOn = &MusicOn;
        target.BackRangOn = &RangOn;
        target.Player = &Player;
        target.NoMusic = "NoMusicKKKK";
        target.LoadBackground = [](const std::string&) {};
        target.Repaint = [] {};
        return target;
    }
};

// From creation to the first frame painted, the dialog shown modally.
double OpenSkinned(Book& book, const std::string& registry) {
    const auto start = Clock::now();
    double ms = 0;
    pagora::TfrmOption dialog(nullptr, book.Target(), registry);
    FirstFrame(dialog, [&] {
        ms = Since(start);
        dialog.CloseWith(pagora::TFormXp::mrCancel);
    });
    dialog.ShowModal();
    return ms;
}

// The same controls at the same places in a dialog of Qt's own look.
double OpenPlain() {
    const auto start = Clock::now();
    double ms = 0;
    QDialog dialog;
    QFont font(QStringLiteral("宋体"));
    font.setPixelSize(12);
    dialog.setFont(font);
    dialog.setWindowTitle(QStringLiteral("系统配置"));
    dialog.resize(408, 221);
    auto label = [&](const char* text, int x, int y) {
        auto* l = new QLabel(QString::fromUtf8(text), &dialog);
        l->adjustSize();
        l->move(x, y);
    };
    auto spin = [&](int x, int y, int lo, int hi, int value) {
        auto* s = new QSpinBox(&dialog);
        s->setGeometry(x, y, 56, 22);
        s->setRange(lo, hi);
        s->setValue(value);
    };
    auto group = [&](const char* title, int x, int y) {
        auto* g = new QGroupBox(QString::fromUtf8(title), &dialog);
        g->setGeometry(x, y, 187, 74);
        auto* buttons = new QButtonGroup(g);
        for (auto [text, ry] : {std::pair{"开", 23}, std::pair{"关", 45}}) {
            auto* r = new QRadioButton(QString::fromUtf8(text), g);
            r->setGeometry(20, ry, 113, 17);
            buttons->addButton(r);
        }
        buttons->buttons().first()->setChecked(true);
    };
    auto button = [&](const char* text, int x, int y, int w, int h) {
        new QPushButton(QString::fromUtf8(text), &dialog);
        dialog.findChildren<QPushButton*>().last()->setGeometry(x, y, w, h);
    };
    label("相册翻页速度（毫秒）：", 11, 10);
    spin(142, 6, 500, 10000, 900);
    label("每页停留时间（毫秒）：", 213, 12);
    spin(343, 8, 3000, 10000, 4900);
    group("背景音乐", 11, 37);
    group("动作音效", 210, 38);
    label("背景音乐：", 12, 124);
    (new QLineEdit(&dialog))->setGeometry(88, 122, 249, 21);
    button("浏览(&M)", 344, 122, 54, 20);
    label("背景图片：", 11, 153);
    (new QLineEdit(&dialog))->setGeometry(88, 150, 249, 21);
    button("浏览(&B)", 344, 150, 54, 20);
    auto* bevel = new QFrame(&dialog);
    bevel->setGeometry(9, 181, 391, 2);
    bevel->setFrameShape(QFrame::HLine);
    button("确定(&O)", 271, 193, 64, 22);
    button("取消(&C)", 337, 193, 64, 22);
    FirstFrame(dialog, [&] {
        ms = Since(start);
        dialog.reject();
    });
    dialog.exec();
    return ms;
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    const QString config = pagora::bench::UseOffscreenScreen("bench-options", kScreenW, kScreenH);
    qputenv("SDL_AUDIODRIVER", "dummy");
    QApplication app(argc, argv);
    app.installEventFilter(&counter);
    pagora::InstallFontSubstitutions();
    QTemporaryDir folder;
    const std::string registry = folder.filePath("registry.ini").toStdString();
    Book book;

    // The first plain opening loads the fonts and the style for both.
    OpenPlain();
    const double plainSecond = OpenPlain();
    const double skinnedFirst = OpenSkinned(book, registry);
    double plain = 1e300, skinned = 1e300;
    for (int i = 0; i < runs; ++i) {
        plain = std::min(plain, OpenPlain());
        skinned = std::min(skinned, OpenSkinned(book, registry));
    }
    std::printf("options dialog, creation to first painted frame, 3840 x 2160 screen\n");
    std::printf("  fonts loaded, the skin pictures still to draw:\n");
    std::printf("                 plain QDialog %8.2f ms, skinned %8.2f ms  x%.2f\n", plainSecond,
                skinnedFirst, skinnedFirst / plainSecond);
    std::printf("  best of %d:     plain QDialog %8.2f ms, skinned %8.2f ms  x%.2f\n", runs, plain,
                skinned, skinned / plain);
    QFile::remove(config);
    return 0;
}
