#include "platform/Application.h"

#include <QApplication>
#include <QWidget>

#include "platform/Form.h"
#include "platform/Globals.h"

namespace pagora {

void EndProgram(int status) {
    if (MainForm != nullptr)
        MainForm->close();
    QCoreApplication::exit(status);
}

void MinimizeApplication() {
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->isVisible() && window->isWindow())
            window->showMinimized();
}

}  // namespace pagora
