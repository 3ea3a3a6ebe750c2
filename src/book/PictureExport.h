#pragma once

#include <QString>
#include <string>

namespace pagora {

class AlbumArchive;

enum class ExportKind { Bmp, Jpg };

// The file name the save dialog proposes: the viewer's own file name without
// its folder, its extension replaced by "_" + hotPicture, then that extension
// removed: "/x/Album.exe" with "Pic12.jpg" gives "Album_Pic12". The result
// is a plain file name whatever the album's picture name holds (see
// SafeFileNamePart).
QString ProposedExportName(const QString& programPath, const QString& hotPicture);

// The path written for the name chosen: ".bmp" or ".jpg" is always appended.
std::string ExportTarget(const std::string& chosenName, ExportKind kind);

// Writes the album's picture: as a 24-bit bottom-up Windows bitmap of the
// decoded picture, or as the stored JPEG bytes unchanged. Throws, naming the
// member or the file, when the member is missing, does not decode or cannot
// be written; the target then is as it was and no partial file remains.
void ExportPicture(const AlbumArchive& archive, const std::string& member, const std::string& path,
                   ExportKind kind);

}  // namespace pagora
