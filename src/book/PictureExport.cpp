#include "book/PictureExport.h"

#include <QFileInfo>
#include <cstdint>
#include <stdexcept>
#include <vector>

#include "archive/AlbumArchive.h"
#include "archive/AtomicFile.h"
#include "gfx/PictureFile.h"
#include "platform/SectionName.h"

namespace pagora {

namespace {

// A name's extension starts at its last dot.
QString WithoutExtension(const QString& name) {
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot < 0 ? name : name.left(dot);
}

void Put16(std::vector<uint8_t>& out, uint32_t value) {
    out.push_back(uint8_t(value));
    out.push_back(uint8_t(value >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

std::vector<uint8_t> BitmapFile(const QImage& picture, const std::string& member) {
    const uint64_t rowBytes = (uint64_t(picture.width()) * 3 + 3) / 4 * 4;
    const uint64_t imageBytes = rowBytes * uint64_t(picture.height());
    if (imageBytes + 54 > 0xFFFFFFFFull)
        throw std::runtime_error(member + ": the picture is too large for a bitmap file");
    std::vector<uint8_t> out;
    out.reserve(size_t(imageBytes + 54));
    out.push_back('B');
    out.push_back('M');
    Put32(out, uint32_t(imageBytes + 54));
    Put32(out, 0);
    Put32(out, 54);
    Put32(out, 40);
    Put32(out, uint32_t(picture.width()));
    Put32(out, uint32_t(picture.height()));  // positive: rows bottom-up
    Put16(out, 1);
    Put16(out, 24);
    Put32(out, 0);
    Put32(out, uint32_t(imageBytes));
    Put32(out, 2835);
    Put32(out, 2835);
    Put32(out, 0);
    Put32(out, 0);
    for (int y = picture.height() - 1; y >= 0; --y) {
        const auto* row = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        const size_t start = out.size();
        for (int x = 0; x < picture.width(); ++x) {
            out.push_back(uint8_t(qBlue(row[x])));
            out.push_back(uint8_t(qGreen(row[x])));
            out.push_back(uint8_t(qRed(row[x])));
        }
        out.resize(start + size_t(rowBytes), 0);
    }
    return out;
}

}  // namespace

QString ProposedExportName(const QString& programPath, const QString& hotPicture) {
    const QString program = QFileInfo(programPath).fileName();
    const QString name = WithoutExtension(WithoutExtension(program) + "_" + hotPicture);
    return QString::fromStdString(SafeFileNamePart(name.toStdString()));
}

std::string ExportTarget(const std::string& chosenName, ExportKind kind) {
    return chosenName + (kind == ExportKind::Bmp ? ".bmp" : ".jpg");
}

void ExportPicture(const AlbumArchive& archive, const std::string& member, const std::string& path,
                   ExportKind kind) {
    const auto bytes = archive.Extract(member);
    if (!bytes)
        throw std::runtime_error(member + ": the album has no such picture");
    std::vector<uint8_t> content;
    if (kind == ExportKind::Bmp)
        content = BitmapFile(DecodeJpeg(*bytes, member), member);
    AtomicFile file(path);
    const std::vector<uint8_t>& data = kind == ExportKind::Bmp ? content : *bytes;
    file.Out().Write(data.data(), data.size());
    file.Commit();
}

}  // namespace pagora
