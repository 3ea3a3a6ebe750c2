#include "views/TPicView.h"

namespace pagora {

TPicView::TPicView(QWidget* owner, int64_t archiveBase, QString viewKey, QString albumPath)
    : Form(owner),
      archiveBase_(archiveBase),
      viewKey_(std::move(viewKey)),
      albumPath_(std::move(albumPath)) {}

}  // namespace pagora
