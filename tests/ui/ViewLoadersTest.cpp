// The views' loaders without their windows. The viewer's hands each load over
// on the window thread and is idle only when nothing is asked or under way;
// the browser's makes the current page's previews, follows the page, parks
// when paused and leaves missing or damaged previews empty for good.
#include <gtest/gtest.h>

#include <QColor>
#include <atomic>
#include <string>
#include <utility>
#include <vector>

#include "TestFiles.h"
#include "archive/AlbumArchive.h"
#include "archive/AlbumWriter.h"
#include "archive/HotSpotRecord.h"
#include "archive/MemberNames.h"
#include "gfx/Bitmap.h"
#include "gfx/PictureFile.h"
#include "platform/Messages.h"
#include "platform/Thread.h"
#include "views/PreviewCache.h"
#include "views/RowseLoadThread.h"
#include "views/TLoadImageThread.h"

namespace pagora {
namespace {

using test::Bytes;

constexpr int kPictures = 6;
constexpr int kPreviews = 45;

QImage Flat(int width, int height, QRgb colour) {
    QImage image = NewBitmap24(width, height);
    image.fill(colour);
    return image;
}

class ViewLoadersTest : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        dir_ = new test::TempDir;
        MemoryStream stream;
        AlbumWriter writer(stream, 0);
        for (int k = 1; k <= kPictures; ++k) {
            writer.Add(PictureName(k),
                       EncodeJpeg(Flat(400, 300, qRgb(40 * k, 90, 200 - 20 * k)), 90), 100 + k);
            HotSpotRecord record;
            record.PictureName = PictureName(k);
            record.Title = "T" + std::to_string(k);
            // PIC4's information is damaged.
            writer.Add(PictureInfoName(100 + k),
                       k == 4 ? test::NoiseBytes(30) : WriteHotSpots({record}), 0);
        }
        for (int k = 1; k <= kPreviews; ++k) {
            if (k == 7)
                continue;  // missing
            writer.Add(
                SmallPictureName(k),
                k == 8 ? test::NoiseBytes(500) : EncodeJpeg(Flat(80, 60, qRgb(k, 50, 50)), 80), 0);
        }
        writer.Finish();
        test::WriteFile(Path(), stream.TakeBytes());
    }
    static void TearDownTestSuite() {
        delete dir_;
        dir_ = nullptr;
    }
    static std::string Path() { return dir_->File("loaders.kfa"); }

    static inline test::TempDir* dir_ = nullptr;
};

TEST_F(ViewLoadersTest, TheViewersLoaderIsIdleOnlyOnceEachRequestIsDelivered) {
    AlbumArchive archive(Path(), 0);
    std::vector<std::pair<int, PicSlot>> delivered;
    {
        TLoadImageThread loader(archive, QSize(200, 200));
        loader.Delivered = [&](uint8_t slot, PicSlot picture) {
            EXPECT_TRUE(IsUiThread());
            delivered.push_back({slot, std::move(picture)});
        };
        WaitUntil([&] { return loader.Idle(); }, &loader);
        for (const auto& [name, slot] : std::vector<std::pair<std::string, int>>{
                 {"PIC2.jpg", 1}, {"pic3.JPG", 0}, {"PIC99.jpg", 1}, {"PIC4.jpg", 0}}) {
            loader.RequestLoad(name, uint8_t(slot));
            // Asked for and not yet taken is not idle.
            EXPECT_FALSE(loader.Idle());
            WaitUntil([&] { return loader.Idle(); }, &loader);
        }
        EXPECT_EQ(loader.FailureMessage(), "");
    }
    ASSERT_EQ(delivered.size(), 4u);
    EXPECT_EQ(delivered[0].first, 1);
    EXPECT_EQ(delivered[0].second.Name, "PIC2.jpg");
    EXPECT_EQ(delivered[0].second.ScreenBitmap.size(), QSize(200, 150));
    EXPECT_EQ(delivered[0].second.JpegSize, QSize(400, 300));
    ASSERT_TRUE(delivered[0].second.Info);
    EXPECT_EQ(delivered[0].second.Info->at(0).Title, "T2");
    EXPECT_EQ(delivered[1].first, 0);
    EXPECT_FALSE(delivered[1].second.ScreenBitmap.isNull());
    EXPECT_TRUE(delivered[2].second.ScreenBitmap.isNull());
    EXPECT_FALSE(delivered[2].second.Info);
    EXPECT_FALSE(delivered[3].second.ScreenBitmap.isNull());
    ASSERT_TRUE(delivered[3].second.Info);  // whatever the noise reads as, no crash
    EXPECT_TRUE(delivered[3].second.Info->empty());
}

TEST_F(ViewLoadersTest, TheBrowsersLoaderFollowsThePageAndParksWhenPaused) {
    AlbumArchive archive(Path(), 0);
    PreviewCache cache(kPreviews, 20);
    std::atomic<int> page{1};
    std::vector<int> cells;
    {
        rowse::TLoadThread loader(archive, cache, page, QSize(40, 40));
        loader.CellLoaded = [&](int cell) {
            EXPECT_TRUE(IsUiThread());
            cells.push_back(cell);
        };
        const auto idle = [&] { WaitUntil([&] { return loader.Idle(); }, &loader); };
        loader.RequestPass();
        EXPECT_FALSE(loader.Idle());
        idle();
        for (int k = 0; k < 20; ++k)
            EXPECT_TRUE(cache.Has(k)) << k;
        EXPECT_EQ(cache.Get(6), nullptr);  // missing
        EXPECT_EQ(cache.Get(7), nullptr);  // noise
        ASSERT_NE(cache.Get(0), nullptr);
        EXPECT_EQ(cache.Get(0)->size(), QSize(40, 30));
        EXPECT_EQ(cells.size(), 20u);

        // The last page holds five; the page before stays as it was.
        page.store(3);
        loader.RequestPass();
        idle();
        for (int k = 40; k < kPreviews; ++k)
            EXPECT_TRUE(cache.Has(k)) << k;
        EXPECT_FALSE(cache.Has(20));

        // Paused at once: at most the preview in hand is made.
        page.store(2);
        loader.RequestPass();
        loader.Pause();
        idle();
        int made = 0;
        for (int k = 20; k < 40; ++k)
            made += cache.Has(k);
        EXPECT_LE(made, 1);
        loader.RequestPass();
        idle();
        for (int k = 20; k < 40; ++k)
            EXPECT_TRUE(cache.Has(k)) << k;

        // Nothing left to make: a pass delivers nothing.
        cells.clear();
        page.store(1);
        loader.RequestPass();
        idle();
        EXPECT_TRUE(cells.empty());
    }
}

}  // namespace
}  // namespace pagora
