#include "platform/Globals.h"

namespace pagora {

int LanguageFlag = 0;
int ViewMode = 0;
Canvas* ActiveCanvas = nullptr;
std::vector<std::string> MusicList;

Form* MainForm = nullptr;
TfrmToolbar* ToolbarForm = nullptr;
TVudadezErozNew* BookForm = nullptr;
TPicView* PicViewForm = nullptr;
TfrmRowse* RowseForm = nullptr;

}  // namespace pagora
