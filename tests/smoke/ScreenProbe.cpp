// Takes a screenshot of a real X screen and checks that the viewer's closed
// book is where its layout line says: the tiled background up to the spine
// and above the book, the cover inside its rectangle.
//
//   pagora_screen_probe AUTOMATION_LOG TILE.jpg OUT.png [SECONDS [SCALE]]
//   pagora_screen_probe --tabs right|both SCALE TILE.jpg OUT.png
//   pagora_screen_probe --opening TILE.jpg OUT.png
//   pagora_screen_probe --still OUT.png
//
// The floating toolbar's tabs along the top edge are left out of the
// background; --tabs checks that the chosen ones, and only they, are shown
// over TILE, which may be a whole screenshot of what lies under them
// (--still takes one once the screen has stopped changing).
// Retries until the checks pass or SECONDS (default 30) have gone, since the
// window may reach the screen a little after the viewer says it has painted.
// Exit status 0 when they pass, 1 when they fail, 2 when it cannot run.
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QThread>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

namespace {

std::map<std::string, int> ReadLayout(const std::string& logPath) {
    std::map<std::string, int> values;
    std::ifstream log(logPath);
    for (std::string line; std::getline(log, line);) {
        if (line.rfind("layout ", 0) != 0)
            continue;
        std::istringstream words(line.substr(7));
        for (std::string word; words >> word;) {
            const size_t eq = word.find('=');
            if (eq != std::string::npos)
                values[word.substr(0, eq)] = std::atoi(word.c_str() + eq + 1);
        }
    }
    return values;
}

bool Near(QRgb a, QRgb b, int tolerance) {
    return std::abs(qRed(a) - qRed(b)) <= tolerance &&
           std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
           std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

// Where the toolbar's tabs may show, with a margin: the top-left and
// top-right corners of the screen, in device pixels.
bool UnderToolbar(int x, int y, int width, double scale) {
    return y < 24 * scale && (x < 188 * scale || x >= width - 72 * scale);
}

bool LikeTile(const QImage& shot, const QImage& tile, int x, int y) {
    return Near(shot.pixel(x, y), tile.pixel(x % tile.width(), y % tile.height()), 16);
}

// Points inside each tab and just below it, unscaled, as the tabs' outlines
// put them on a screen W wide.
std::string CheckTabs(const QImage& shot, const QImage& tile, bool left, double scale) {
    const int W = shot.width();
    const auto at = [scale](int v) { return int(v * scale); };
    struct Point {
        int X, Y;
        bool Tab;
        const char* What;
    };
    const Point points[] = {
        {W - at(14), at(10), true, "the right tab"},
        {W - at(64), at(2), true, "the right tab's curve"},
        {W - at(14), at(26), false, "below the right tab"},
        {at(10), at(10), left, "the left tab"},
        {at(170), at(5), left, "the left tab's curve"},
        {at(10), at(26), false, "below the left tab"},
    };
    for (const Point& p : points)
        if (LikeTile(shot, tile, p.X, p.Y) == p.Tab)
            return std::string(p.What) + (p.Tab ? " is not shown" : " shows something") + " at " +
                   std::to_string(p.X) + "," + std::to_string(p.Y);
    return "";
}

// Empty when the shot shows the book as laid out, else what is wrong.
std::string Check(const QImage& shot, const QImage& tile, const std::map<std::string, int>& l,
                  double scale, std::string& note) {
    const int PW = l.at("PageWidth"), PH = l.at("PageHeight");
    const int X = l.at("RightPageX"), Y = l.at("PageY"), D = l.at("ShadeDepth");
    const int tw = tile.width(), th = tile.height();
    if (shot.width() < X + PW || shot.height() < Y + PH)
        return "the screen is smaller than the book";
    // The background: left of the spine, and above the book everywhere.
    long background = 0, broken = 0, unlike = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x) {
            if ((x >= X - 2 && y >= Y - 3) || UnderToolbar(x, y, shot.width(), scale))
                continue;
            ++background;
            if (shot.pixel(x, y) != shot.pixel(x % tw, y % th))
                ++broken;
            if (!Near(shot.pixel(x, y), tile.pixel(x % tw, y % th), 16))
                ++unlike;
        }
    if (broken != 0 || unlike != 0)
        return std::to_string(broken) + " of " + std::to_string(background) +
               " background pixels break the tile's period, " + std::to_string(unlike) +
               " are unlike the tile";
    // The cover: its pixels are not the background that would be there, as
    // the screen's own first tile shows it.
    long cover = 0, plain = 0;
    for (int y = Y + D; y < Y + PH - D; ++y)
        for (int x = X + D; x < X + PW - D; ++x) {
            ++cover;
            if (Near(shot.pixel(x, y), shot.pixel(x % tw, y % th), 4))
                ++plain;
        }
    if (plain * 20 > cover)
        return std::to_string(plain) + " of " + std::to_string(cover) +
               " pixels in the cover's rectangle look like background";
    note = std::to_string(background) + " background pixels as tiled, " + std::to_string(plain) +
           " of " + std::to_string(cover) + " cover pixels like background";
    return "";
}

}  // namespace

// Screenshots until the tabs show as asked or SECONDS have gone.
int Tabs(bool left, double scale, const char* tilePath, const char* outPath, double seconds) {
    const QImage tile =
        QImage(QString::fromLocal8Bit(tilePath)).convertToFormat(QImage::Format_RGB32);
    QScreen* screen = QGuiApplication::primaryScreen();
    if (tile.isNull() || screen == nullptr)
        return 2;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    QImage shot;
    std::string problem;
    do {
        shot = screen->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32);
        problem = CheckTabs(shot, tile, left, scale);
        if (problem.empty())
            break;
        QThread::msleep(200);
    } while (std::chrono::steady_clock::now() < deadline);
    shot.save(QString::fromLocal8Bit(outPath));
    if (!problem.empty()) {
        std::fprintf(stderr, "probe: %s (screenshot %s)\n", problem.c_str(), outPath);
        return 1;
    }
    std::printf("probe: the toolbar shows %s\n", left ? "both tabs" : "the right tab only");
    return 0;
}

// Screenshots of the opening under way, taken until one catches the
// background coming in (some rows show it, others not yet) or two seconds
// have passed; the last is kept. Nothing is required of it.
int Opening(const char* tilePath, const char* outPath) {
    const QImage tile =
        QImage(QString::fromLocal8Bit(tilePath)).convertToFormat(QImage::Format_RGB32);
    QScreen* screen = QGuiApplication::primaryScreen();
    if (tile.isNull() || screen == nullptr)
        return 2;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    QImage shot;
    int tiled = 0;
    do {
        shot = screen->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32);
        tiled = 0;
        for (int y = 0; y < shot.height(); ++y) {
            bool like = true;
            for (int x = 0; x < shot.width() && like; ++x)
                like = Near(shot.pixel(x, y), tile.pixel(x % tile.width(), y % tile.height()), 16);
            tiled += like;
        }
    } while (!(tiled > 0 && tiled < shot.height()) && std::chrono::steady_clock::now() < deadline);
    if (shot.isNull() || !shot.save(QString::fromLocal8Bit(outPath)))
        return 1;
    std::printf("probe: opening screenshot %s, %d of %d rows show the background\n", outPath, tiled,
                shot.height());
    return 0;
}

// A screenshot taken once two in a row, 300 ms apart, agree (a transition
// may still run), or after ten seconds.
int Still(const char* outPath) {
    QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return 2;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    QImage shot = screen->grabWindow(0).toImage();
    for (;;) {
        QThread::msleep(300);
        const QImage next = screen->grabWindow(0).toImage();
        const bool still = next == shot;
        shot = next;
        if (still || std::chrono::steady_clock::now() >= deadline)
            break;
    }
    return !shot.isNull() && shot.save(QString::fromLocal8Bit(outPath)) ? 0 : 1;
}

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--still") {
        qputenv("QT_QPA_PLATFORM", "xcb");
        QGuiApplication app(argc, argv);
        return Still(argv[2]);
    }
    if (argc == 6 && std::string(argv[1]) == "--tabs") {
        qputenv("QT_QPA_PLATFORM", "xcb");
        QGuiApplication app(argc, argv);
        return Tabs(std::string(argv[2]) == "both", std::atof(argv[3]), argv[4], argv[5], 10);
    }
    if (argc == 4 && std::string(argv[1]) == "--opening") {
        qputenv("QT_QPA_PLATFORM", "xcb");
        QGuiApplication app(argc, argv);
        return Opening(argv[2], argv[3]);
    }
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s AUTOMATION_LOG TILE.jpg OUT.png [SECONDS]\n", argv[0]);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "xcb");
    QGuiApplication app(argc, argv);
    const auto layout = ReadLayout(argv[1]);
    const QImage tile =
        QImage(QString::fromLocal8Bit(argv[2])).convertToFormat(QImage::Format_RGB32);
    const double seconds = argc > 4 ? std::atof(argv[4]) : 30;
    const double scale = argc > 5 ? std::atof(argv[5]) : 1;
    for (const char* key : {"PageWidth", "PageHeight", "RightPageX", "PageY", "ShadeDepth"})
        if (!layout.count(key)) {
            std::fprintf(stderr, "probe: no layout line with %s in %s\n", key, argv[1]);
            return 2;
        }
    if (tile.isNull() || QGuiApplication::primaryScreen() == nullptr) {
        std::fprintf(stderr, "probe: no tile picture or no screen\n");
        return 2;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    std::string problem, note;
    QImage shot;
    do {
        shot = QGuiApplication::primaryScreen()->grabWindow(0).toImage().convertToFormat(
            QImage::Format_RGB32);
        problem =
            shot.isNull() ? "the screenshot is empty" : Check(shot, tile, layout, scale, note);
        if (problem.empty())
            break;
        QThread::msleep(200);
    } while (std::chrono::steady_clock::now() < deadline);
    shot.save(QString::fromLocal8Bit(argv[3]));
    if (!problem.empty()) {
        std::fprintf(stderr, "probe: %s (screenshot %s)\n", problem.c_str(), argv[3]);
        return 1;
    }
    std::printf("probe: the book is where its layout puts it (%dx%d screen; %s)\n", shot.width(),
                shot.height(), note.c_str());
    return 0;
}
