#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "ViewerHarness.h"
#include "archive/AlbumArchive.h"
#include "book/PictureExport.h"
#include "gfx/PictureFile.h"
#include "platform/SectionName.h"

namespace pagora {
namespace {

using namespace test;
namespace fs = std::filesystem;

uint32_t Read32(const Bytes& b, size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | uint32_t(b[at + 3]) << 24;
}
uint32_t Read16(const Bytes& b, size_t at) {
    return b[at] | b[at + 1] << 8;
}

TEST(PictureExportTest, ProposedNamesComeFromTheViewersOwnName) {
    EXPECT_EQ(ProposedExportName("/x/Album.exe", "Pic12.jpg"), QStringLiteral("Album_Pic12"));
    EXPECT_EQ(ProposedExportName("/usr/bin/pagora", "PIC3.jpg"), QStringLiteral("pagora_PIC3"));
    EXPECT_EQ(ProposedExportName("/a.b/album", "PIC3"), QStringLiteral("album_PIC3"));
    EXPECT_EQ(ProposedExportName("/a.b/v.1.exe", "p.2.jpg"), QStringLiteral("v.1_p.2"));
    EXPECT_EQ(ProposedExportName("/x/Album.exe", QStringLiteral("图片1.jpg")),
              QStringLiteral("Album_图片1"));
}

TEST(PictureExportTest, AlbumPictureNamesNeverLeadOutOfTheChosenFolder) {
    const QString longName(1000, u'x');
    for (const QString& hostile :
         {QStringLiteral("../../etc/x.jpg"), QStringLiteral("a/b/PIC1.jpg"),
          QStringLiteral("..\n.jpg"), QStringLiteral("a\tb\x7f\u0085.jpg"), QStringLiteral("/"),
          QStringLiteral(".."), longName}) {
        const QString name = ProposedExportName("/x/Album.exe", hostile);
        EXPECT_TRUE(name.startsWith(QStringLiteral("Album_"))) << name.toStdString();
        EXPECT_FALSE(name.contains(u'/')) << name.toStdString();
        EXPECT_FALSE(name.contains(QStringLiteral(".."))) << name.toStdString();
        for (QChar c : name)
            EXPECT_TRUE(c.isPrint()) << name.toStdString();
        EXPECT_LE(name.toStdString().size(), kMaxFileNamePart);
    }
    // A dot inside an album "folder" is not the extension.
    EXPECT_EQ(ProposedExportName("/x/Album.exe", "a.b/c"), QStringLiteral("Album_a.b_c"));
}

TEST(PictureExportTest, TheKindsExtensionIsAlwaysAppended) {
    EXPECT_EQ(ExportTarget("a.jpg", ExportKind::Jpg), "a.jpg.jpg");
    EXPECT_EQ(ExportTarget("/d/a.bmp", ExportKind::Bmp), "/d/a.bmp.bmp");
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
        WriteFile(dir.File("out/keep.bmp"), TextBytes("old"));
    }
    std::vector<std::string> OutFiles() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir.File("out")))
            names.push_back(entry.path().filename());
        std::sort(names.begin(), names.end());
        return names;
    }
    // The export fails with a message naming what failed, and the folder holds
    // only what it held before, unchanged.
    void ExpectFailure(const std::string& member, const std::string& path, ExportKind kind,
                       const std::string& named, const std::vector<std::string>& left) {
        try {
            ExportPicture(*archive, member, path, kind);
            ADD_FAILURE() << member << " to " << path << " did not fail";
        } catch (const std::exception& e) {
            EXPECT_NE(std::string(e.what()).find(named), std::string::npos) << e.what();
        }
        EXPECT_EQ(OutFiles(), left);
        EXPECT_EQ(ReadFile(dir.File("out/keep.bmp")), TextBytes("old"));
    }

    TempDir dir;
    Bytes jpeg;
    std::unique_ptr<AlbumArchive> archive;
};

TEST_F(PictureExportFiles, JpegsAreTheStoredBytes) {
    ExportPicture(*archive, "PIC1.jpg", dir.File("out/p.jpg"), ExportKind::Jpg);
    EXPECT_EQ(ReadFile(dir.File("out/p.jpg")), jpeg);
}

TEST_F(PictureExportFiles, BitmapsAreTheDecodedPictureBottomUpWithPaddedRows) {
    ExportPicture(*archive, "PIC1.jpg", dir.File("out/keep.bmp"), ExportKind::Bmp);
    const Bytes bmp = ReadFile(dir.File("out/keep.bmp"));
    ASSERT_EQ(bmp.size(), 54u + 40 * 7);  // 13 * 3 = 39 bytes, padded to 40
    EXPECT_EQ(bmp[0], 'B');
    EXPECT_EQ(bmp[1], 'M');
    EXPECT_EQ(Read32(bmp, 2), bmp.size());
    EXPECT_EQ(Read32(bmp, 6), 0u);
    EXPECT_EQ(Read32(bmp, 10), 54u);
    EXPECT_EQ(Read32(bmp, 14), 40u);
    EXPECT_EQ(Read32(bmp, 18), 13u);
    EXPECT_EQ(Read32(bmp, 22), 7u);
    EXPECT_EQ(Read16(bmp, 26), 1u);
    EXPECT_EQ(Read16(bmp, 28), 24u);
    EXPECT_EQ(Read32(bmp, 30), 0u);
    EXPECT_EQ(Read32(bmp, 34), 40u * 7);
    EXPECT_EQ(Read32(bmp, 38), Read32(bmp, 42));
    EXPECT_EQ(Read32(bmp, 46), 0u);
    EXPECT_EQ(Read32(bmp, 50), 0u);

    const QImage decoded = DecodeJpeg(jpeg, "PIC1.jpg");
    for (int y = 0; y < 7; ++y) {
        const size_t row = 54 + size_t(6 - y) * 40;
        EXPECT_EQ(bmp[row + 39], 0) << "padding of row " << y;
        for (int x = 0; x < 13; ++x) {
            const size_t at = row + size_t(x) * 3;
            ASSERT_EQ(qRgb(bmp[at + 2], bmp[at + 1], bmp[at]), decoded.pixel(x, y))
                << x << "," << y;
        }
    }
}

TEST_F(PictureExportFiles, AFailedExportLeavesNothingBehind) {
    const std::vector<std::string> before = {"keep.bmp"};
    for (ExportKind kind : {ExportKind::Bmp, ExportKind::Jpg})
        ExpectFailure("PIC9.jpg", dir.File("out/keep.bmp"), kind, "PIC9.jpg", before);
    ExpectFailure("PIC2.jpg", dir.File("out/keep.bmp"), ExportKind::Bmp, "PIC2.jpg", before);
    for (ExportKind kind : {ExportKind::Bmp, ExportKind::Jpg}) {
        ExpectFailure("PIC1.jpg", dir.File("out/none/p"), kind, dir.File("out/none/p"), before);
        ExpectFailure("PIC1.jpg", dir.File("out/keep.bmp/p"), kind, dir.File("out/keep.bmp/p"),
                      before);
    }
    // A folder in the way of the target: the rename fails, its temp file goes.
    fs::create_directory(dir.File("out/sub.jpg"));
    WriteFile(dir.File("out/sub.jpg/x"), TextBytes("x"));
    ExpectFailure("PIC1.jpg", dir.File("out/sub.jpg"), ExportKind::Jpg, dir.File("out/sub.jpg"),
                  {"keep.bmp", "sub.jpg"});
}

}  // namespace
}  // namespace pagora
