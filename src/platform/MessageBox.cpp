#include "platform/MessageBox.h"

#include <QApplication>
#include <QMessageBox>

#include "platform/ScreenCursor.h"

namespace pagora {

namespace {
MessageSink& Sink() {
    static MessageSink sink;
    return sink;
}
}  // namespace

void ShowMessage(const QString& text) {
    if (Sink()) {
        Sink()(text);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(), text, QMessageBox::Ok);
    box.exec();
}

void SetMessageSink(MessageSink sink) {
    Sink() = std::move(sink);
}

void ReportException(const std::exception& error) {
    SetScreenCursor(Qt::ArrowCursor);
    ShowMessage(QString::fromUtf8(error.what()));
}

}  // namespace pagora
