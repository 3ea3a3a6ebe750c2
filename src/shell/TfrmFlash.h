#pragma once

#include <QColor>
#include <QImage>
#include <memory>

#include "gfx/Canvas.h"
#include "platform/Form.h"
#include "shell/FilmThread.h"

namespace pagora {

// The loading splash: the album's splash picture with a progress line, over a
// film strip that scrolls from its own thread. Without a splash picture it
// shrinks to a small box showing only the progress line.
class TfrmFlash : public Form {
  public:
    TfrmFlash(QWidget* owner, int language);
    ~TfrmFlash() override;

    // Assigned by the owner before the splash is shown.
    QImage FilmPicture;
    QImage MainPicture;

    PaintBox* PaintBoxBody;
    PaintBox* PaintBoxProgress;
    PaintBox* PaintBoxBottom;

    void SetSmallLayout();
    // Clamped to 0..100; the body shows it at once.
    void SetProgress(int percent);
    // Centred on the screen at the splash's own size.
    void ShowSplash();

    int Progress() const { return progress_; }
    bool HasPicture() const { return hasPicture_; }
    int Language() const { return language_; }
    QColor FormColor() const { return formColor_; }
    const TThreadFilm& FilmThread() const { return *filmThread_; }

  protected:
    void FormPaint() override;
    void FormShow();
    void showEvent(QShowEvent* event) override;

  private:
    void Layout();
    void PaintBoxBodyPaint();

    int progress_ = 0;
    bool hasPicture_ = true;
    // FilmPicture with the lock the film thread holds while it runs.
    Canvas filmCanvas_{&FilmPicture};
    std::unique_ptr<TThreadFilm> filmThread_;
    int language_;
    QColor formColor_;
};

}  // namespace pagora
