#pragma once

#include <QAction>
#include <QColor>
#include <QIcon>
#include <QLabel>
#include <QMenu>
#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <vector>

#include "platform/Form.h"
#include "views/BrowserGrid.h"
#include "views/PreviewCache.h"
#include "views/RowseLoadThread.h"
#include "views/ViewLinks.h"

namespace pagora {

class AlbumArchive;

// A label of the browser's bottom panel that answers a left click.
class TRowseLabel : public QLabel {
  public:
    explicit TRowseLabel(QWidget* parent) : QLabel(parent) {}
    std::function<void()> OnClick;

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    bool pressed_ = false;
};

// The thumbnail browser: the album's pictures as a grid of previews, twenty
// a page, with the page links in the bottom-right corner. Its loader makes
// the previews of the page shown; they stay cached within a budget.
class TfrmRowse : public Form {
  public:
    // The archive is the book's, shared and not owned.
    TfrmRowse(QWidget* owner, int pictureCount, const AlbumArchive* archive,
              int64_t previewBudget = PreviewCache::kDefaultBudget);
    ~TfrmRowse() override;

    void SetColor(const QColor& color);
    void SetMenuImages(const std::vector<QIcon>* images);
    void SetLinks(ViewLinks links) { links_ = std::move(links); }

    int PictureCount() const { return pictureCount_; }
    QColor Color() const { return color_; }

    // Brings the browser to the front and has its page filled.
    void ShowBrowser();
    void lblUpClick();
    void lblDownClick();
    void NUpPageClick() { lblUpClick(); }
    void NDownPageClick() { lblDownClick(); }
    void NAllScreenClick();
    void NAlbumRowseClick();
    void NOptionClick();
    void NExitClick();

    // The cells' events; public for the automated walk and tests.
    void CellMouseMove(int c);
    void CellClick(int c);
    void CellMouseDown(int c, Qt::MouseButton button, int x, int y);

    // Stops the loader for good; the book calls it before its archive goes.
    void ShutDown();

    QWidget* PnlBottom = nullptr;
    TRowseLabel *lblUp = nullptr, *lblDown = nullptr, *lblTotalPage = nullptr;
    QMenu* PopupMenu = nullptr;
    QAction *NAlbumRowse = nullptr, *NAllScreen = nullptr, *N5 = nullptr, *NUpPage = nullptr,
            *NDownPage = nullptr, *N6 = nullptr, *NOption = nullptr, *N3 = nullptr,
            *NExit = nullptr;
    std::array<PaintBox*, BrowserGrid::kPerPage> Cells{};

    // Written by the window thread only; the loader reads the page.
    std::atomic<int> ThumbPage{1};
    std::atomic<int> HotCell{-2};
    int ThumbPageCount = 0;
    int CellWidth = 0, CellHeight = 0;
    const int PerPage = BrowserGrid::kPerPage;
    BrowserGrid Grid;
    PreviewCache PicRecs;
    std::unique_ptr<rowse::TLoadThread> Loader;

  protected:
    void FormPaint() override;
    void FormKeyDown(int key, Qt::KeyboardModifiers modifiers) override;
    void FormMouseDown(Qt::MouseButton button, int x, int y) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void CreateComponents();
    void FormCreate();
    void FormShow();
    void FormResize();
    void CellPaint(int c);
    void DrawCellFrame(int c, bool hot);
    // The picture (0-based) cell c shows on the current page.
    int PictureAt(int c) const;
    void ShowPageCounter();
    void PageChanged();
    void OnCellLoaded(int cell);
    void OpenViewer(int n);

    int pictureCount_;
    const AlbumArchive* archive_;
    QColor color_ = Qt::black;
    ViewLinks links_;
    bool closing_ = false;
};

}  // namespace pagora
