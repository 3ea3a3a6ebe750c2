#include "platform/FileDialog.h"

#include <QFile>
#include <QFileDialog>
#include <QStringList>

namespace pagora {

namespace {
FileDialogSeam& Seam() {
    static FileDialogSeam seam;
    return seam;
}

// Taken once, so that later dialogs of the run ask again.
std::optional<QString> TakePreAnswer() {
    const QByteArray answer = qgetenv(kOpenFileVariable);
    if (answer.isEmpty())
        return std::nullopt;
    qunsetenv(kOpenFileVariable);
    return QFile::decodeName(answer);
}
}  // namespace

QString QtFilter(const QString& classicFilter) {
    const QStringList fields = classicFilter.split('|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < fields.size(); i += 2) {
        QString patterns = fields[i + 1];
        patterns.replace(';', ' ');
        filters << QStringLiteral("%1 (%2)").arg(fields[i], patterns);
    }
    return filters.join(QStringLiteral(";;"));
}

std::optional<QString> RunFileDialog(const FileDialogRequest& request) {
    if (request.DialogKind == FileDialogRequest::Kind::Open) {
        if (auto answer = TakePreAnswer())
            return answer;
    }
    if (Seam())
        return Seam()(request);
    const QString filter = QtFilter(request.Filter);
    QString chosen;
    if (request.DialogKind == FileDialogRequest::Kind::Save)
        chosen = QFileDialog::getSaveFileName(nullptr, request.Title, request.FileName, filter);
    else
        chosen = QFileDialog::getOpenFileName(nullptr, request.Title, request.FileName, filter);
    if (chosen.isEmpty())
        return std::nullopt;
    return chosen;
}

void SetFileDialogSeam(FileDialogSeam seam) {
    Seam() = std::move(seam);
}

}  // namespace pagora
