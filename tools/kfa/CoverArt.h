#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <vector>

namespace kfa {

// Pebbled red leather for the covers, of the page's size.
QImage DrawLeather(QSize page);

// The front cover on the leather: a tooled gold frame, a window holding the
// photo (when there is one) and the album's name embossed in gold. The spine
// is on the left.
QImage DrawCover(const QImage& leather, const QString& name, const QString& subtitle,
                 const QImage& photo);

// The back cover: the leather turned over, the spine on the right, the name small.
QImage DrawBackCover(const QImage& leather, const QString& name);

// A 256 x 256 tile of dark wood that repeats without seams.
QImage DrawBackgroundTile();

constexpr int kSplashWidth = 558;
constexpr int kSplashHeight = 234;

// The loading picture: the album's name with a few prints beside it. The
// bottom right corner stays calm, since the progress bar is drawn there.
QImage DrawSplash(const QString& name, const QString& subtitle,
                  const std::vector<QImage>& previews);

// The film strip that scrolls under the loading picture: a frame for each
// photo, repeated until the strip is at least as wide as the picture, so that
// it wraps around seamlessly.
class FilmStrip {
  public:
    static constexpr int kHeight = 112;
    static constexpr int kFrameWidth = 128;
    static constexpr int kMaxFrames = 64;

    void Add(const QImage& photo);
    bool Empty() const { return frames_.empty(); }
    QImage Draw() const;

  private:
    std::vector<QImage> frames_;
};

}  // namespace kfa
