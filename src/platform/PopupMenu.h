#pragma once

#include <QKeySequence>
#include <QString>
#include <functional>
#include <vector>

class QAction;
class QIcon;
class QMenu;
class QWidget;

namespace pagora {

// One item of a form's popup menu; a separator has neither caption nor handler.
struct MenuItem {
    QAction** Action;  // where the form keeps the item
    QString Chinese;
    QString English;
    int Image = -1;  // in the image list the menu is lent; -1 for none
    QKeySequence Shortcut = {};
    std::function<void()> Handler = {};
};

// The menu with its items in order, in the language of LanguageFlag. The keys
// are the form's own: the menu only shows them. Handlers are guarded.
QMenu* BuildPopupMenu(QWidget* owner, const std::vector<MenuItem>& items);

// Gives each item the image its entry names.
void SetMenuImages(QMenu* menu, const std::vector<QIcon>& images);

}  // namespace pagora
