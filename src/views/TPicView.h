#pragma once

#include <QColor>
#include <QIcon>
#include <QString>
#include <cstdint>
#include <vector>

#include "platform/Form.h"

namespace pagora {

// The full-screen picture viewer. Until it is built it is a hidden window that
// keeps what the book hands it.
class TPicView : public Form {
  public:
    TPicView(QWidget* owner, int64_t archiveBase, QString viewKey, QString albumPath);

    void SetColor(const QColor& color) { color_ = color; }
    void SetMenuImages(const std::vector<QIcon>* images) { menuImages_ = images; }
    void SetPictureCount(int count) { pictureCount_ = count; }

    int64_t ArchiveBase() const { return archiveBase_; }
    const QString& ViewKey() const { return viewKey_; }
    const QString& AlbumPath() const { return albumPath_; }
    QColor Color() const { return color_; }
    int PictureCount() const { return pictureCount_; }

    // 1 when closing returns to the book.
    int Tag = 0;
    // Opens the viewer on picture n; for now the request is only kept.
    void ShowPicture(int n) { shownPicture_ = n; }
    int ShownPicture() const { return shownPicture_; }

  private:
    int64_t archiveBase_;
    QString viewKey_;
    QString albumPath_;
    QColor color_;
    const std::vector<QIcon>* menuImages_ = nullptr;
    int pictureCount_ = 0;
    int shownPicture_ = 0;
};

}  // namespace pagora
