#pragma once

#include <QColor>
#include <QIcon>
#include <vector>

#include "platform/Form.h"

namespace pagora {

class AlbumArchive;

// The thumbnail browser. Until it is built it is a hidden window that keeps
// what the book hands it.
class TfrmRowse : public Form {
  public:
    TfrmRowse(QWidget* owner, int pictureCount, const AlbumArchive* archive)
        : Form(owner), pictureCount_(pictureCount), archive_(archive) {}

    void SetColor(const QColor& color) { color_ = color; }
    void SetMenuImages(const std::vector<QIcon>* images) { menuImages_ = images; }

    int PictureCount() const { return pictureCount_; }
    // Shows the browser; for now the request is only counted.
    void ShowBrowser() { ++shown_; }
    int ShownCount() const { return shown_; }
    QColor Color() const { return color_; }

  private:
    int pictureCount_;
    const AlbumArchive* archive_;
    QColor color_;
    const std::vector<QIcon>* menuImages_ = nullptr;
    int shown_ = 0;
};

}  // namespace pagora
