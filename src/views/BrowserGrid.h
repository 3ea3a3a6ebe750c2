#pragma once

#include <QRect>
#include <functional>

namespace pagora {

// The thumbnail browser's grid: five columns by four rows of cells with gaps
// of 8, starting 8 from the left and 32 from the top, leaving 48 at the
// bottom for the page links. Screen sizes are device pixels; the margins are
// chrome, given through `scaled`.
class BrowserGrid {
  public:
    static constexpr int kColumns = 5;
    static constexpr int kRows = 4;
    static constexpr int kPerPage = kColumns * kRows;
    static constexpr int kGap = 8;
    static constexpr int kTop = 32;
    static constexpr int kBottom = 48;
    // Each side of a preview keeps this far from its cell's edges, in all.
    static constexpr int kPreviewInset = 4;

    BrowserGrid(int screenWidth, int screenHeight, const std::function<int(int)>& scaled);

    // At least 1 x 1 however small the screen.
    int CellWidth() const { return cellWidth_; }
    int CellHeight() const { return cellHeight_; }
    // Cell i (0..19) in device pixels.
    QRect Cell(int i) const;
    // The box a preview is fitted into.
    QSize PreviewBox() const { return previewBox_; }

  private:
    int cellWidth_, cellHeight_;
    int gap_, top_;
    QSize previewBox_;
};

// Pages of 20 pictures: their number, and the pictures (0-based, first to
// last inclusive) a page shows; last < first when it shows none.
int ThumbPageCount(int pictureCount);
struct PageRange {
    int First = 0;
    int Last = -1;
};
PageRange PagePictures(int page, int pictureCount);

}  // namespace pagora
