#include "AlbumMaker.h"

#include <QDate>
#include <QGuiApplication>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <future>
#include <iostream>
#include <memory>
#include <optional>
#include <set>
#include <stdexcept>

#include "CoverArt.h"
#include "Files.h"
#include "OrderedWork.h"
#include "PageArt.h"
#include "PageRustle.h"
#include "Photo.h"
#include "PhotoFolder.h"
#include "Progress.h"
#include "archive/AlbumError.h"
#include "archive/AlbumProfile.h"
#include "archive/AlbumSetupInfo.h"
#include "archive/AlbumWriter.h"
#include "archive/AtomicFile.h"
#include "archive/Gbk.h"
#include "archive/HotSpotRecord.h"
#include "archive/MemberNames.h"
#include "archive/NameFold.h"
#include "book/BookLayout.h"
#include "book/HotSpotScale.h"
#include "gfx/Fit.h"
#include "gfx/PictureError.h"
#include "gfx/PictureFile.h"

namespace kfa {
namespace {

// Capacities of the record fields, in GBK bytes.
constexpr size_t kTitleBytes = 32;
constexpr size_t kDescriptionBytes = 255;
constexpr size_t kMusicNameBytes = 32;

constexpr int kPageQuality = 90;
constexpr int kPreviewQuality = 85;
constexpr int kSplashPreviews = 3;
constexpr int64_t kMaxMusicFileSize = int64_t(256) << 20;

// Qt paints text only inside a GUI application; without a display the
// offscreen platform serves.
std::unique_ptr<QGuiApplication> StartPainting() {
    if (QGuiApplication::instance())
        return nullptr;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "kfa";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QGuiApplication>(argc, argv);
}

// Adds members and remembers their names, so that music names can be made unique.
class Members {
  public:
    explicit Members(pagora::AlbumWriter& writer) : writer_(writer) {}
    void Add(const std::string& name, const std::vector<uint8_t>& content, int64_t number = 0) {
        writer_.Add(name, content, number);
        names_.insert(pagora::FoldName(name));
    }
    bool Has(const std::string& name) const { return names_.count(pagora::FoldName(name)) > 0; }

  private:
    pagora::AlbumWriter& writer_;
    std::set<std::string> names_;
};

// A record text in GBK; one that does not fit is cut at a character and noted.
std::string RecordText(const std::string& utf8, size_t capacity, const std::string& what,
                       std::vector<std::string>& notes) {
    std::string gbk;
    try {
        gbk = pagora::Utf8ToGbk(utf8);
    } catch (const pagora::AlbumError& error) {
        throw pagora::AlbumError(what + ": " + error.what());
    }
    if (gbk.size() <= capacity)
        return gbk;
    notes.push_back("kfa make: " + what + " shortened to " + std::to_string(capacity) +
                    " bytes, as the album holds it");
    return pagora::TruncateGbk(gbk, capacity);
}

std::string FileStem(const std::string& path) {
    return std::filesystem::path(path).stem().string();
}

std::vector<uint8_t> WriteSetup(const MakeSettings& settings) {
    pagora::MemoryStream stream;
    pagora::TAlbumSetupInfo1_1 setup(&stream);
    setup.TurnTime = settings.TurnTime;
    setup.StayTime = settings.StayTime;
    setup.ShowInfo = settings.ShowInfo;
    setup.BackColor = settings.BackColor;
    setup.Save();
    return stream.TakeBytes();
}

// "2024.05.01" or "2024.05.01 – 2024.06.30" for the span of shooting times.
QString DateSpan(double first, double last) {
    auto text = [](double day) {
        return QDate(1899, 12, 30)
            .addDays(static_cast<qint64>(std::floor(day)))
            .toString("yyyy.MM.dd");
    };
    QString from = text(first), to = text(last);
    return from == to ? from : from + QString::fromUtf8(" \u2013 ") + to;
}

// The music member's name: the file's name, short enough for the profile and
// unlike every other member's.
std::string MusicMemberName(const std::string& path, const Members& members) {
    std::string base = BaseName(path);
    std::string gbk;
    try {
        gbk = pagora::Utf8ToGbk(base);
    } catch (const pagora::AlbumError& error) {
        throw pagora::AlbumError("music " + path + ": " + error.what());
    }
    size_t dot = gbk.rfind('.');
    std::string extension = gbk.substr(dot);
    std::string stem = gbk.substr(0, dot);
    for (int n = 1;; ++n) {
        std::string suffix = n == 1 ? "" : "~" + std::to_string(n);
        std::string name =
            pagora::TruncateGbk(stem, kMusicNameBytes - extension.size() - suffix.size()) + suffix +
            extension;
        if (!members.Has(name))
            return name;
    }
}

// What a worker makes of one photo: everything but what depends on the page
// number it will get, which is known only once the photos before it are in.
struct MadePhoto {
    std::optional<std::string> Skipped;  // why, under --skip-bad
    QImage Fitted;
    QString Caption;
    std::vector<uint8_t> PageJpeg;
    int PageDrawnFor = 0;  // the page whose paper PageJpeg lies on
    std::vector<uint8_t> PictureJpeg;
    std::vector<uint8_t> PreviewJpeg;
    pagora::HotSpotRecord Record;  // all but the picture's name
    std::vector<std::string> Notes;
};

// The book's pictures that no photo changes.
struct FixedPictures {
    QImage Leather;
    std::vector<uint8_t> CoverBack, LeftPage, RightPage, Tile;
};

class AlbumMaker {
  public:
    explicit AlbumMaker(const MakeSettings& settings)
        : settings_(settings),
          layout_(pagora::ComputeBookLayout(settings.ScreenWidth, settings.ScreenHeight)),
          file_(settings.Output),
          writer_(file_.Out(), 0),
          members_(writer_),
          progress_(static_cast<int>(settings.Photos.size()) + 1) {}

    void Run();

  private:
    // Photos are made ahead on the worker threads; this many per thread may
    // wait for their turn to be written.
    static constexpr int kAheadPerJob = 2;

    MadePhoto MakePhoto(const PhotoEntry& entry, int page) const;
    QImage PageFor(const MadePhoto& made, int page) const;
    void AddPhoto(MadePhoto&& made);
    FixedPictures DrawFixedPictures() const;
    void AddBookPictures(FixedPictures&& fixed);
    void AddMusic(pagora::ProfileMember& profile);

    // Names compare without letter case, so the picture information members
    // ("Image" + K + ".dat") take numbers above every page's ("image" + N + ".dat").
    int64_t InfoNumber(int picture) const {
        int64_t most = static_cast<int64_t>(settings_.Photos.size());
        return most + most % 2 + picture;
    }
    QSize PageSize() const { return QSize(layout_.PageWidth, layout_.PageHeight); }
    QSize PictureArea() const { return QSize(layout_.PicWidth, layout_.PicHeight); }
    // The page picture's paper: the piece of the page's sheet under it.
    QImage PaperUnderPicture(int page) const {
        bool left = page % 2 == 1;
        return (left ? leftPaper_ : rightPaper_)
            .copy(left ? layout_.LeftPicX : layout_.RightPicX, layout_.PicY, layout_.PicWidth,
                  layout_.PicHeight);
    }

    const MakeSettings& settings_;
    pagora::BookLayout layout_;
    pagora::AtomicFile file_;
    pagora::AlbumWriter writer_;
    Members members_;
    Progress progress_;
    QImage leftPaper_, rightPaper_;

    int pictures_ = 0;
    FilmStrip strip_;
    std::vector<QImage> splashPreviews_;
    QImage coverPhoto_;
    double firstTime_ = INFINITY, lastTime_ = -INFINITY;
};

void AlbumMaker::Run() {
    // One sheet serves both sides: turned over, its spine is on the right,
    // as left pages have it.
    rightPaper_ = DrawPaper(PageSize(), false, 11);
    leftPaper_ = rightPaper_.mirrored(true, false);
    const int count = static_cast<int>(settings_.Photos.size());
    const int jobs = std::clamp(settings_.Jobs, 1, std::max(count, 1));
    // Drawn beside the photos where there are threads to spare, so that less
    // is left to do alone at the end.
    std::future<FixedPictures> fixed =
        std::async(jobs > 1 ? std::launch::async : std::launch::deferred,
                   [this] { return DrawFixedPictures(); });
    RunInOrder<MadePhoto>(
        count, jobs, jobs * kAheadPerJob,
        [this](int i) {
            const PhotoEntry& entry = settings_.Photos[static_cast<size_t>(i)];
            progress_.Begin(entry.Path);
            // The page it gets when no photo before it is skipped.
            MadePhoto made = MakePhoto(entry, i + 1);
            progress_.Advance();
            return made;
        },
        [this](int, MadePhoto&& made) { AddPhoto(std::move(made)); });
    if (pictures_ == 0)
        throw std::runtime_error("none of the photos could be read; no album written");

    progress_.Begin("covers, music and records");
    int pages = pictures_ + pictures_ % 2;
    if (pages > pictures_) {
        // An even page count: the last sheet has a blank back.
        members_.Add(pagora::PagePictureName(pages),
                     pagora::EncodeJpeg(PaperUnderPicture(pages), kPageQuality));
        members_.Add(pagora::PageInfoName(pages), pagora::WriteHotSpots({}));
    }
    AddBookPictures(fixed.get());

    pagora::ProfileMember profile;
    profile.Profile.PageCount = pages;
    profile.Profile.PictureCount = settings_.NoPictures ? 0 : pictures_;
    profile.Profile.AlbumName = pagora::Utf8ToGbk(settings_.AlbumName);
    profile.Profile.Password = pagora::Utf8ToGbk(settings_.Password);
    AddMusic(profile);
    members_.Add(pagora::kProfileMember, pagora::WriteProfile(profile));
    members_.Add(pagora::kSetupMember, WriteSetup(settings_));
    writer_.Finish();
    file_.Commit();
    progress_.Advance();
}

MadePhoto AlbumMaker::MakePhoto(const PhotoEntry& entry, int page) const {
    MadePhoto made;
    Photo photo;
    try {
        photo = LoadPhoto(entry.Path, PhotoBox(PictureArea()).size(), !settings_.NoPictures);
    } catch (const pagora::PictureError& error) {
        if (!settings_.SkipBad)
            throw;
        made.Skipped = error.what();
        return made;
    }

    std::string title = entry.Title;
    if (title.empty())
        title = photo.Facts.Description;
    if (title.empty())
        title = FileStem(entry.Path);
    std::string description = entry.Description;
    if (description.empty())
        description = ReadSidecar(entry.Path).value_or("");
    double time = entry.ShootTime         ? *entry.ShootTime
                  : photo.Facts.ShootTime ? *photo.Facts.ShootTime
                                          : FileTimeValue(entry.Path);

    made.Fitted = std::move(photo.Fitted);
    made.Caption = QString::fromStdString(title);
    made.PageJpeg = pagora::EncodeJpeg(PageFor(made, page), kPageQuality);
    made.PageDrawnFor = page;
    QRect place = PhotoPlace(PictureArea(), made.Fitted.size());
    pagora::HotSpotUnits units = pagora::HotSpotCovering(place.x(), place.y(), place.width(),
                                                         place.height(), layout_.ScreenW);
    pagora::HotSpotRecord& record = made.Record;
    record.Left = units.Left;
    record.Top = units.Top;
    record.Width = units.Width;
    record.Height = units.Height;
    record.Title = RecordText(title, kTitleBytes, entry.Path + ": title", made.Notes);
    record.Description =
        RecordText(description, kDescriptionBytes, entry.Path + ": description", made.Notes);
    record.ShootTime = time;
    if (!settings_.NoPictures) {
        made.PictureJpeg = std::move(photo.PictureJpeg);
        // Previews fill a thumbnail cell of the screen the album is made for.
        QImage preview;
        pagora::FitBitmap(made.Fitted, preview, false, (layout_.ScreenH - 112) / 4 - 4,
                          (layout_.ScreenW - 48) / 5 - 4, false);
        made.PreviewJpeg = pagora::EncodeJpeg(preview, kPreviewQuality);
    }
    return made;
}

QImage AlbumMaker::PageFor(const MadePhoto& made, int page) const {
    return DrawPhotoPage(PaperUnderPicture(page), made.Fitted, made.Caption);
}

void AlbumMaker::AddPhoto(MadePhoto&& made) {
    if (made.Skipped) {
        progress_.Note("kfa make: skipped " + *made.Skipped);
        return;
    }
    int k = ++pictures_;
    for (const std::string& note : made.Notes)
        progress_.Note(note);
    // Left and right pages lie on mirrored paper.
    if (made.PageDrawnFor % 2 != k % 2)
        made.PageJpeg = pagora::EncodeJpeg(PageFor(made, k), kPageQuality);
    pagora::HotSpotRecord& record = made.Record;
    record.PictureName = settings_.NoPictures ? "" : pagora::PictureName(k);
    firstTime_ = std::min(firstTime_, record.ShootTime);
    lastTime_ = std::max(lastTime_, record.ShootTime);

    members_.Add(pagora::PagePictureName(k), made.PageJpeg);
    made.PageJpeg = {};
    members_.Add(pagora::PageInfoName(k), pagora::WriteHotSpots({record}));
    if (!settings_.NoPictures) {
        members_.Add(pagora::PictureName(k), made.PictureJpeg, InfoNumber(k));
        made.PictureJpeg = {};
        members_.Add(pagora::SmallPictureName(k), made.PreviewJpeg);
        members_.Add(pagora::PictureInfoName(InfoNumber(k)), pagora::WriteHotSpots({record}));
    }

    strip_.Add(made.Fitted);
    if (static_cast<int>(splashPreviews_.size()) < kSplashPreviews) {
        QImage small;
        pagora::FitBitmap(made.Fitted, small, false, 200, 200, false);
        splashPreviews_.push_back(small);
    }
    if (coverPhoto_.isNull())
        coverPhoto_ = made.Fitted;
}

FixedPictures AlbumMaker::DrawFixedPictures() const {
    FixedPictures fixed;
    fixed.Leather = DrawLeather(PageSize());
    fixed.CoverBack = pagora::EncodeJpeg(
        DrawBackCover(fixed.Leather, QString::fromStdString(settings_.AlbumName)), kPageQuality);
    fixed.LeftPage = pagora::EncodeJpeg(leftPaper_, kPageQuality);
    fixed.RightPage = pagora::EncodeJpeg(rightPaper_, kPageQuality);
    fixed.Tile = pagora::EncodeJpeg(DrawBackgroundTile(), kPageQuality);
    return fixed;
}

void AlbumMaker::AddBookPictures(FixedPictures&& fixed) {
    QString name = QString::fromStdString(settings_.AlbumName);
    QString span = DateSpan(firstTime_, lastTime_);
    members_.Add("Cover.jpg", pagora::EncodeJpeg(DrawCover(fixed.Leather, name, span, coverPhoto_),
                                                 kPageQuality));
    members_.Add("CoverBack.jpg", fixed.CoverBack);
    members_.Add("LeftPage.jpg", fixed.LeftPage);
    members_.Add("RightPage.jpg", fixed.RightPage);
    members_.Add("back.jpg", fixed.Tile);
    members_.Add("Albumflash.jpg",
                 pagora::EncodeJpeg(DrawSplash(name, span, splashPreviews_), kPageQuality));
    members_.Add("FilmBarPhoto.jpg", pagora::EncodeJpeg(strip_.Draw(), kPageQuality));
    members_.Add("SndEffect.wav", PageRustleWav());
}

void AlbumMaker::AddMusic(pagora::ProfileMember& profile) {
    for (const std::string& path : settings_.Music) {
        std::string name = MusicMemberName(path, members_);
        members_.Add(name, ReadWholeFile(path, kMaxMusicFileSize));
        if (profile.Profile.MusicName.empty())
            profile.Profile.MusicName = name;
        else
            profile.MusicList.push_back(name);
    }
}

}  // namespace

void MakeAlbum(const MakeSettings& settings) {
    // Qt's chatter (such as a missing runtime folder) is not the user's business here.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type == QtCriticalMsg || type == QtFatalMsg)
            std::fprintf(stderr, "kfa: %s\n", qPrintable(message));
    });
    auto application = StartPainting();
    MakeSettings expanded = settings;
    expanded.Photos = ExpandFolders(settings.Photos, settings.Recursive,
                                    [](const std::string& note) { std::cerr << note << '\n'; });
    AlbumMaker(expanded).Run();
}

}  // namespace kfa
