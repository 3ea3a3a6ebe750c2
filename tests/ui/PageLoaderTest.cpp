#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "ViewerHarness.h"
#include "archive/AlbumArchive.h"
#include "archive/MemberNames.h"
#include "book/LoadThread.h"
#include "gfx/PictureFile.h"
#include "platform/Messages.h"

namespace pagora {
namespace {

using test::Album;
using test::Bytes;
using test::Plain;
using test::TempDir;
using test::TextBytes;

// A flat page colour per page number, far apart so JPEG keeps them apart.
QRgb PageColour(int page) {
    return qRgb((page * 70) % 256, (page * 150 + 40) % 256, (page * 30 + 90) % 256);
}

Album Pages(int count, int size = 64) {
    Album album;
    for (int page = 1; page <= count; ++page) {
        album.push_back(
            {PagePictureName(page), EncodeJpeg(Plain(size, size, PageColour(page)), 95), 0});
        album.push_back({PageInfoName(page), Bytes(size_t(page), uint8_t(page)), 0});
    }
    return album;
}

// A loader over an album written to disk, and what it delivered, in order.
class Loader {
  public:
    explicit Loader(const Album& album, int width = 40, int height = 30) {
        test::WriteAlbum(dir_.File("pages.kfa"), album);
        archive_ = AlbumArchive::OpenAt(dir_.File("pages.kfa"), 0);
        thread_ = std::make_unique<TLoadThread>(*archive_, cache, width, height);
        thread_->Delivered = [this](int slot, int64_t page) {
            deliveries.emplace_back(slot, page);
        };
        WaitIdle();
    }
    void WaitIdle() {
        ASSERT_TRUE(WaitUntil([this] { return thread_->Idle(); }, thread_.get()));
    }
    // The window's way: wait until idle, then ask.
    void Queue(int page, uint8_t direction) {
        WaitIdle();
        thread_->Request(page, direction);
    }
    TLoadThread& Thread() { return *thread_; }
    bool Holds(int slot, int page) const {
        const QImage& picture = cache[slot].Picture;
        return picture.size() == QSize(40, 30) &&
               test::Near(picture.pixel(20, 15), PageColour(page), 6) &&
               cache[slot].Info.Bytes() == Bytes(size_t(page), uint8_t(page));
    }

    PageSlot cache[4];
    std::vector<std::pair<int, int64_t>> deliveries;

  private:
    TempDir dir_;
    std::unique_ptr<AlbumArchive> archive_;
    std::unique_ptr<TLoadThread> thread_;
};

using Deliveries = std::vector<std::pair<int, int64_t>>;

TEST(PageLoaderTest, JobsFillTheirSlotsRightPageFirst) {
    Loader loader(Pages(6));
    EXPECT_TRUE(loader.Thread().Idle());
    loader.Queue(2, 1);
    EXPECT_FALSE(loader.Thread().Idle()) << "a request is work from the moment it is made";
    loader.WaitIdle();
    EXPECT_EQ(loader.deliveries, (Deliveries{{3, 2}, {2, 1}}));
    EXPECT_TRUE(loader.Holds(3, 2));
    EXPECT_TRUE(loader.Holds(2, 1));
    EXPECT_EQ(loader.cache[3].Picture.format(), kBitmapFormat);

    loader.Queue(2, 0);
    loader.Queue(6, 1);
    loader.WaitIdle();
    EXPECT_EQ(loader.deliveries, (Deliveries{{3, 2}, {2, 1}, {1, 2}, {0, 1}, {3, 6}, {2, 5}}));
    EXPECT_TRUE(loader.Holds(1, 2));
    EXPECT_TRUE(loader.Holds(0, 1));
    EXPECT_TRUE(loader.Holds(3, 6));
}

TEST(PageLoaderTest, MissingMembersLeaveSlotsOrHotSpotsEmpty) {
    // Five pages: the spread beyond the last has no right page.
    Album album = test::Without(Pages(5), PageInfoName(3));
    album.push_back({PageInfoName(9), {}, 0});
    album.push_back({PagePictureName(9), EncodeJpeg(Plain(8, 8, PageColour(9)), 90), 0});
    Loader loader(album);
    loader.Queue(4, 1);
    loader.Queue(6, 1);
    loader.WaitIdle();
    EXPECT_EQ(loader.deliveries, (Deliveries{{3, 4}, {2, 3}, {2, 5}}));
    EXPECT_TRUE(loader.Holds(3, 4)) << "the missing page 6 leaves the slot as it was";
    EXPECT_TRUE(loader.Holds(2, 5));

    loader.Queue(4, 1);
    loader.WaitIdle();
    EXPECT_EQ(loader.cache[2].Info.Size(), 0) << "page 3 has no hot-spot member";
    EXPECT_FALSE(loader.cache[2].Picture.isNull());

    loader.Queue(10, 1);  // a member of zero length
    loader.Queue(-2, 0);  // before the first spread: nothing at all
    loader.WaitIdle();
    EXPECT_EQ(loader.cache[2].Info.Size(), 0);
    EXPECT_EQ(loader.deliveries.back(), std::make_pair(2, int64_t{9}));
    EXPECT_TRUE(loader.cache[0].Picture.isNull());
}

TEST(PageLoaderTest, ACorruptPageIsBarePaperAndTheLoaderGoesOn) {
    Album album = Pages(4);
    album = test::With(album, PagePictureName(2), TextBytes("not a picture at all"));
    Bytes truncated = album[0].Content;  // page 1
    truncated.resize(truncated.size() / 3);
    album = test::With(album, PagePictureName(1), truncated);
    Loader loader(album);
    loader.Queue(4, 1);
    loader.Queue(2, 1);
    loader.WaitIdle();
    EXPECT_TRUE(loader.cache[3].Picture.isNull()) << "a page that does not decode shows paper";
    EXPECT_EQ(loader.cache[3].Info.Bytes(), Bytes(2, 2)) << "its hot spots still come";
    loader.Queue(4, 1);
    loader.WaitIdle();
    EXPECT_TRUE(loader.Holds(3, 4));
    EXPECT_TRUE(loader.Thread().FailureMessage().empty());
    EXPECT_FALSE(loader.Thread().Finished());
}

TEST(PageLoaderTest, OnlyTheNewestOfTheRequestsMadeDuringAJobIsServed) {
    Loader loader(Pages(8));
    loader.Queue(2, 1);
    // Once the job has started, its first delivery needs this thread, so it
    // cannot finish before the next two requests are in.
    while (loader.Thread().Job() == 2)
        std::this_thread::yield();
    loader.Thread().Request(4, 1);
    loader.Thread().Request(8, 0);
    loader.WaitIdle();
    EXPECT_EQ(loader.deliveries, (Deliveries{{3, 2}, {2, 1}, {1, 8}, {0, 7}}));
}

TEST(PageLoaderTest, NoWakeUpIsLostUnderManyQuickRequests) {
    Loader loader(Pages(8, 8), 4, 4);
    std::mt19937 random(7);
    int last = 0;
    for (int i = 0; i < 2000; ++i) {
        last = 2 * int(random() % 4 + 1);
        const uint8_t direction = random() % 2;
        if (random() % 3 == 0)
            loader.Queue(last, direction);  // after the last job
        else
            loader.Thread().Request(last, direction);  // while it may still run
        if (random() % 5 == 0)
            ProcessMessages();
        if (i % 500 == 0)
            loader.WaitIdle();
    }
    loader.WaitIdle();
    ASSERT_GE(loader.deliveries.size(), 2u);
    EXPECT_EQ(loader.deliveries.back().second, last - 1);
    EXPECT_TRUE(loader.Thread().Idle());
}

TEST(PageLoaderTest, ALoaderStoppedInTheMiddleOfAJobEnds) {
    auto loader = std::make_unique<Loader>(Pages(4, 512));
    loader->Thread().Request(2, 1);
    loader->Thread().Request(4, 1);
    loader.reset();  // serves the pending delivery while it waits
}

}  // namespace
}  // namespace pagora
