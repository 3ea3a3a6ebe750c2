#include <QApplication>
#include <QTimer>

#include "app/TfrmMain.h"
#include "platform/Automation.h"
#include "platform/FileDialog.h"
#include "platform/Fonts.h"
#include "platform/Globals.h"
#include "platform/MessageBox.h"
#include "shell/TfrmToolbar.h"

using namespace pagora;

namespace {

// Dialogs answer from the automation list and messages are written down, so
// that a run needs no person.
void InstallAutomation() {
    SetMessageSink(
        [](const QString& text) { automation::Record("message " + text.toStdString()); });
    SetFileDialogSeam([](const FileDialogRequest&) -> std::optional<QString> {
        const auto answer = automation::NextAnswer("open");
        if (!answer || answer->empty())
            return std::nullopt;
        return QString::fromStdString(*answer);
    });
}

}  // namespace

int main(int argc, char** argv) {
    // Before any window exists.
    LanguageFlag = qgetenv("PAGORA_LANGUAGE") == "en" ? 1 : 0;
    // Fractional scales stay as they are: the canvases are in device pixels.
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(
        Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    InstallFontSubstitutions();
    if (automation::Active())
        InstallAutomation();

    int status = 0;
    {
        TfrmMain mainForm;
        MainForm = &mainForm;
        TfrmToolbar toolbar;
        ToolbarForm = &toolbar;
        QTimer::singleShot(0, &mainForm, [&mainForm] { mainForm.FormShow(); });
        status = QApplication::exec();
        BookForm = nullptr;
        ActiveCanvas = nullptr;
        // The main form takes the book and its workers down as it goes.
        ToolbarForm = nullptr;
        MainForm = nullptr;
    }
    automation::Record("ended " + std::to_string(status));
    return status;
}
