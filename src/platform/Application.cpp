#include "platform/Application.h"

#include <QCoreApplication>

#include "platform/Form.h"
#include "platform/Globals.h"

namespace pagora {

void EndProgram(int status) {
    if (MainForm != nullptr)
        MainForm->close();
    QCoreApplication::exit(status);
}

}  // namespace pagora
