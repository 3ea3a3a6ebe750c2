#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "ViewerHarness.h"
#include "archive/AlbumArchive.h"
#include "book/PictureExport.h"
#include "gfx/PictureFile.h"

namespace pagora {
namespace {

using namespace test;
namespace fs = std::filesystem;

uint32_t Read32(const Bytes& b, size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | uint32_t(b[at + 3]) << 24;
}

TEST(PictureExportTest, ProposedNamesComeFromTheViewersOwnName) {
    EXPECT_EQ(ProposedExportName("/x/Album.exe", "Pic12.jpg"), QStringLiteral("Album_Pic12"));
    EXPECT_EQ(ProposedExportName("/usr/bin/pagora", "PIC3.jpg"), QStringLiteral("pagora_PIC3"));
    EXPECT_EQ(ProposedExportName("/a.b/album", "PIC3"), QStringLiteral("album_PIC3"));
    // Album names never lead out of the folder the user picks.
    for (const char* hostile : {"../../etc/x.jpg", "a/b/PIC1.jpg", "..\n.jpg"}) {
        const QString name = ProposedExportName("/x/Album.exe", QString::fromUtf8(hostile));
        EXPECT_FALSE(name.contains(u'/')) << hostile;
        EXPECT_FALSE(name.contains(QStringLiteral(".."))) << hostile;
        EXPECT_FALSE(name.contains(u'\n')) << hostile;
    }
    EXPECT_EQ(ExportTarget("a.jpg", ExportKind::Jpg), "a.jpg.jpg");
    EXPECT_EQ(ExportTarget("a", ExportKind::Bmp), "a.bmp");
}

class PictureExportFiles : public testing::Test {
  protected:
    void SetUp() override {
        QImage photo = Photo(5).scaled(13, 7);
        photo.setPixel(0, 0, qRgb(250, 10, 20));
        jpeg = EncodeJpeg(photo, 95);
        WriteAlbum(dir.File("a.kfa"),
                   {{"PIC1.jpg", jpeg, 0}, {"PIC2.jpg", TextBytes("not a picture"), 0}});
        archive = AlbumArchive::OpenAt(dir.File("a.kfa"), 0);
        fs::create_directory(dir.File("out"));
    }
    std::vector<std::string> OutFiles() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir.File("out")))
            names.push_back(entry.path().filename());
        return names;
    }

    TempDir dir;
    Bytes jpeg;
    std::unique_ptr<AlbumArchive> archive;
};

TEST_F(PictureExportFiles, BitmapsAreTheDecodedPictureAndJpegsTheStoredBytes) {
    ExportPicture(*archive, "PIC1.jpg", dir.File("out/p.jpg"), ExportKind::Jpg);
    EXPECT_EQ(ReadFile(dir.File("out/p.jpg")), jpeg);

    ExportPicture(*archive, "PIC1.jpg", dir.File("out/p.bmp"), ExportKind::Bmp);
    const Bytes bmp = ReadFile(dir.File("out/p.bmp"));
    const QImage decoded = DecodeJpeg(jpeg, "PIC1.jpg");
    ASSERT_EQ(bmp.size(), 54u + 40 * 7);  // 13 * 3 = 39 bytes, padded to 40
    EXPECT_EQ(bmp[0], 'B');
    EXPECT_EQ(bmp[1], 'M');
    EXPECT_EQ(Read32(bmp, 2), bmp.size());
    EXPECT_EQ(Read32(bmp, 10), 54u);
    EXPECT_EQ(Read32(bmp, 18), 13u);
    EXPECT_EQ(Read32(bmp, 22), 7u);
    EXPECT_EQ(bmp[28], 24);
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 13; ++x) {
            const size_t at = 54 + size_t(6 - y) * 40 + size_t(x) * 3;
            ASSERT_EQ(qRgb(bmp[at + 2], bmp[at + 1], bmp[at]), decoded.pixel(x, y))
                << x << "," << y;
        }
}

TEST_F(PictureExportFiles, AFailedExportLeavesNothingBehind) {
    WriteFile(dir.File("out/keep.bmp"), TextBytes("old"));
    EXPECT_THROW(ExportPicture(*archive, "PIC9.jpg", dir.File("out/keep.bmp"), ExportKind::Bmp),
                 std::exception);
    EXPECT_THROW(ExportPicture(*archive, "PIC2.jpg", dir.File("out/keep.bmp"), ExportKind::Bmp),
                 std::exception);
    EXPECT_THROW(ExportPicture(*archive, "PIC1.jpg", dir.File("out/none/p.jpg"), ExportKind::Jpg),
                 std::exception);
    EXPECT_EQ(OutFiles(), std::vector<std::string>{"keep.bmp"});
    EXPECT_EQ(ReadFile(dir.File("out/keep.bmp")), TextBytes("old"));
}

}  // namespace
}  // namespace pagora
