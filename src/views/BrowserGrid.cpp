#include "views/BrowserGrid.h"

#include <algorithm>
#include <cstdint>

namespace pagora {

BrowserGrid::BrowserGrid(int screenWidth, int screenHeight, const std::function<int(int)>& scaled)
    : gap_(scaled(kGap)), top_(scaled(kTop)) {
    const int across = scaled(kGap * (kColumns + 1));
    const int down = top_ + scaled(kBottom) + scaled(kGap * kRows);
    cellWidth_ = std::max(1, (screenWidth - across) / kColumns);
    cellHeight_ = std::max(1, (screenHeight - down) / kRows);
    const int inset = scaled(kPreviewInset);
    previewBox_ = QSize(std::max(1, cellWidth_ - inset), std::max(1, cellHeight_ - inset));
}

QRect BrowserGrid::Cell(int i) const {
    return QRect((i % kColumns) * (cellWidth_ + gap_) + gap_,
                 (i / kColumns) * (cellHeight_ + gap_) + top_, cellWidth_, cellHeight_);
}

int ThumbPageCount(int pictureCount) {
    if (pictureCount <= 0)
        return 0;
    return pictureCount / BrowserGrid::kPerPage + (pictureCount % BrowserGrid::kPerPage ? 1 : 0);
}

PageRange PagePictures(int page, int pictureCount) {
    if (page < 1 || pictureCount <= 0)
        return {};
    const int64_t first = int64_t(page - 1) * BrowserGrid::kPerPage;
    const int64_t end = std::min<int64_t>(int64_t(page) * BrowserGrid::kPerPage, pictureCount);
    if (end <= first)
        return {};
    return {int(first), int(end - 1)};
}

}  // namespace pagora
