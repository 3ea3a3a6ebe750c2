#pragma once

#include <QString>
#include <cstdint>
#include <memory>

#include "archive/AlbumArchive.h"
#include "archive/AlbumProfile.h"
#include "platform/FileDialog.h"
#include "platform/Form.h"

namespace pagora {

// The hidden start-up window and owner of the others: it finds the album,
// opens it, asks for its password and hands it to the book. It is never shown,
// which keeps it invisible while it stays the program's main window.
class TfrmMain : public Form {
  public:
    TfrmMain();

    // The start-up sequence; runs once, when the message loop has started.
    void FormShow();
    // True when the album is open, its profile read and its password given;
    // otherwise the program is ending with the status it leaves in ExitStatus.
    bool OpenAlbum();

    QString AlbumFile;
    AlbumProfile Profile;
    std::unique_ptr<AlbumArchive> Archive;
    int64_t ArchiveBase = 0;
    FileDialogRequest OpenDialog1;

  private:
    // Shows the message, if any, and ends the program.
    bool Fail(const QString& message, int status);
};

}  // namespace pagora
