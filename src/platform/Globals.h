#pragma once

#include <string>
#include <vector>

namespace pagora {

class Canvas;
class Form;
class TfrmToolbar;
class TVudadezErozNew;
class TPicView;
class TfrmRowse;

// 0 Chinese, 1 English. Set before any window exists.
extern int LanguageFlag;
// The active view: 1 book, 2 picture viewer, 3 thumbnails.
extern int ViewMode;
extern Canvas* ActiveCanvas;
// The album's further music members, in GBK bytes.
extern std::vector<std::string> MusicList;

// The hidden start-up window; closing it ends the program.
extern Form* MainForm;
extern TfrmToolbar* ToolbarForm;
extern TVudadezErozNew* BookForm;
extern TPicView* PicViewForm;
extern TfrmRowse* RowseForm;

}  // namespace pagora
