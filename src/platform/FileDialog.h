#pragma once

#include <QString>
#include <functional>
#include <optional>

namespace pagora {

struct FileDialogRequest {
    // OpenPicture shows a preview of the picture chosen in the list.
    enum class Kind { Open, OpenPicture, Save };
    Kind DialogKind = Kind::Open;
    QString Title;
    // In the classic form "Name|*.ext|Other|*.a;*.b".
    QString Filter;
    QString FileName;
};

// The variable whose value answers the first open-file dialog of the run
// instead of a person; `kfa view` opens albums through it.
inline constexpr const char* kOpenFileVariable = "PAGORA_OPEN_FILE";

// The chosen file, or nothing when the user cancelled. Tests replace the seam
// with a chosen answer.
using FileDialogSeam = std::function<std::optional<QString>(const FileDialogRequest&)>;

std::optional<QString> RunFileDialog(const FileDialogRequest& request);
void SetFileDialogSeam(FileDialogSeam seam);  // an empty seam restores the real dialog

// "Name|*.ext|Other|*.a;*.b" as Qt's "Name (*.ext);;Other (*.a *.b)"; with
// bothCases each pattern also in capitals ("*.a *.b *.A *.B").
QString QtFilter(const QString& classicFilter, bool bothCases = false);

}  // namespace pagora
