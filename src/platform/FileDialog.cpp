#include "platform/FileDialog.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QPixmap>
#include <QStringList>

#include "gfx/Fit.h"
#include "gfx/PictureFile.h"

namespace pagora {

namespace {

// The preview beside the open-picture dialog's list, in logical pixels.
constexpr int kPreviewSide = 180;

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

// Shows the chosen picture as the viewer would decode it, or why it cannot.
void ShowPreview(QLabel* preview, const QString& path) {
    preview->clear();
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return;
    try {
        QImage picture;
        LoadPictureFile(picture, path.toStdString());
        const QSize fitted =
            FitSize(picture.width(), picture.height(), kPreviewSide, kPreviewSide, false);
        preview->setPixmap(QPixmap::fromImage(
            picture.scaled(fitted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
    } catch (const std::exception& error) {
        preview->setText(QString::fromUtf8(error.what()));
    }
}

std::optional<QString> OpenPicture(const FileDialogRequest& request, const QString& filter) {
    QFileDialog dialog(nullptr, request.Title, request.FileName, filter);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setFileMode(QFileDialog::ExistingFile);
    auto* preview = new QLabel(&dialog);
    preview->setFixedSize(kPreviewSide, kPreviewSide);
    preview->setAlignment(Qt::AlignCenter);
    preview->setWordWrap(true);
    if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout()))
        grid->addWidget(preview, 0, grid->columnCount(), grid->rowCount(), 1);
    QObject::connect(&dialog, &QFileDialog::currentChanged, preview,
                     [preview](const QString& path) { ShowPreview(preview, path); });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().first();
}

}  // namespace

QString QtFilter(const QString& classicFilter, bool bothCases) {
    const QStringList fields = classicFilter.split('|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < fields.size(); i += 2) {
        QStringList patterns = fields[i + 1].split(';');
        if (bothCases) {
            const QStringList given = patterns;
            for (const QString& pattern : given)
                if (pattern.toUpper() != pattern && !patterns.contains(pattern.toUpper()))
                    patterns << pattern.toUpper();
        }
        filters << QStringLiteral("%1 (%2)").arg(fields[i], patterns.join(' '));
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
    QString chosen;
    switch (request.DialogKind) {
        case FileDialogRequest::Kind::Save:
            chosen = QFileDialog::getSaveFileName(nullptr, request.Title, request.FileName,
                                                  QtFilter(request.Filter));
            break;
        case FileDialogRequest::Kind::Open:
            // Names from other systems often come in capitals.
            chosen = QFileDialog::getOpenFileName(nullptr, request.Title, request.FileName,
                                                  QtFilter(request.Filter, true), nullptr,
                                                  QFileDialog::HideNameFilterDetails);
            break;
        case FileDialogRequest::Kind::OpenPicture:
            return OpenPicture(request, QtFilter(request.Filter, true));
    }
    if (chosen.isEmpty())
        return std::nullopt;
    return chosen;
}

void SetFileDialogSeam(FileDialogSeam seam) {
    Seam() = std::move(seam);
}

}  // namespace pagora
