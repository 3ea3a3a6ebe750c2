#include "book/PictureExport.h"

#include <QFileInfo>
#include <cstdint>
#include <vector>

#include "archive/AlbumArchive.h"
#include "archive/AlbumError.h"
#include "archive/AtomicFile.h"
#include "archive/LittleEndian.h"
#include "gfx/PictureError.h"
#include "gfx/PictureFile.h"
#include "platform/SectionName.h"

namespace pagora {

namespace {

constexpr uint32_t kBitmapHeaderSize = 14 + 40;
constexpr uint32_t kPixelsPerMetre = 2835;  // 72 dots per inch

// The extension starts at the last dot after the last folder separator.
QString WithoutExtension(const QString& name) {
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot < 0 || dot < name.lastIndexOf(u'/') ? name : name.left(dot);
}

void WriteBitmap(const QImage& picture, const std::string& member, Stream& out) {
    const uint64_t width = uint64_t(picture.width());
    const uint64_t height = uint64_t(picture.height());
    const uint64_t rowBytes = (width * 3 + 3) / 4 * 4;
    const uint64_t imageBytes = rowBytes * height;
    // The file header's size field has 32 bits.
    if (imageBytes + kBitmapHeaderSize > UINT32_MAX)
        throw PictureError(member + ": " + std::to_string(width) + " x " + std::to_string(height) +
                           " pixels is too large for a bitmap file");

    uint8_t header[kBitmapHeaderSize] = {'B', 'M'};
    StoreLE(header + 2, imageBytes + kBitmapHeaderSize, 4);
    StoreLE(header + 10, kBitmapHeaderSize, 4);
    StoreLE(header + 14, 40, 4);
    StoreLE(header + 18, width, 4);
    StoreLE(header + 22, height, 4);  // positive: rows run bottom-up
    StoreLE(header + 26, 1, 2);
    StoreLE(header + 28, 24, 2);
    StoreLE(header + 34, imageBytes, 4);
    StoreLE(header + 38, kPixelsPerMetre, 4);
    StoreLE(header + 42, kPixelsPerMetre, 4);
    out.Write(header, sizeof header);

    // Row by row, so the file never needs a second copy of the picture in memory.
    std::vector<uint8_t> row(size_t(rowBytes), 0);
    for (int y = picture.height() - 1; y >= 0; --y) {
        const auto* pixels = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        for (size_t x = 0; x < width; ++x) {
            row[x * 3] = uint8_t(qBlue(pixels[x]));
            row[x * 3 + 1] = uint8_t(qGreen(pixels[x]));
            row[x * 3 + 2] = uint8_t(qRed(pixels[x]));
        }
        out.Write(row.data(), row.size());
    }
}

}  // namespace

QString ProposedExportName(const QString& programPath, const QString& hotPicture) {
    const QString program = QFileInfo(programPath).fileName();
    const QString name = WithoutExtension(WithoutExtension(program) + u'_' + hotPicture);
    // The picture's name is album data: it must not reach another folder.
    return QString::fromStdString(SafeFileNamePart(name.toStdString()));
}

std::string ExportTarget(const std::string& chosenName, ExportKind kind) {
    return chosenName + (kind == ExportKind::Bmp ? ".bmp" : ".jpg");
}

void ExportPicture(const AlbumArchive& archive, const std::string& member, const std::string& path,
                   ExportKind kind) {
    if (!archive.Contains(member))
        throw AlbumError(archive.Path() + ": member \"" + member + "\": no such picture to export");
    if (kind == ExportKind::Jpg) {
        AtomicFile file(path);
        archive.ExtractToStream(member, file.Out());
        file.Commit();
        return;
    }
    // Decoded before the file is made, so a bad picture leaves no trace.
    QImage picture;
    {
        const auto bytes = archive.Extract(member);
        picture = DecodeJpeg(*bytes, member);
    }
    AtomicFile file(path);
    WriteBitmap(picture, member, file.Out());
    file.Commit();
}

}  // namespace pagora
