#include "platform/PopupMenu.h"

#include <QAction>
#include <QIcon>
#include <QMenu>

#include "platform/Globals.h"
#include "platform/MessageBox.h"

namespace pagora {

QMenu* BuildPopupMenu(QWidget* owner, const std::vector<MenuItem>& items) {
    auto* menu = new QMenu(owner);
    for (const MenuItem& item : items) {
        QAction* action = nullptr;
        if (item.Chinese.isEmpty() && !item.Handler) {
            action = menu->addSeparator();
        } else {
            action = menu->addAction(LanguageFlag == 1 ? item.English : item.Chinese);
            action->setShortcut(item.Shortcut);
            action->setShortcutContext(Qt::WidgetShortcut);
            action->setData(item.Image);
            if (item.Handler)
                QObject::connect(action, &QAction::triggered, menu,
                                 [handler = item.Handler] { Guarded(handler); });
        }
        if (item.Action != nullptr)
            *item.Action = action;
    }
    return menu;
}

void SetMenuImages(QMenu* menu, const std::vector<QIcon>& images) {
    for (QAction* action : menu->actions()) {
        bool ok = false;
        const int index = action->data().toInt(&ok);
        if (ok && index >= 0 && index < int(images.size()))
            action->setIcon(images[size_t(index)]);
    }
}

}  // namespace pagora
