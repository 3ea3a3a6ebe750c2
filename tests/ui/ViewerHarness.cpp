#include "ViewerHarness.h"

#include <poll.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <sstream>
#include <thread>

#include "archive/AlbumArchive.h"
#include "archive/AlbumWriter.h"
#include "archive/WaveFile.h"
#include "gfx/Bitmap.h"
#include "gfx/PictureFile.h"

namespace pagora::test {

namespace fs = std::filesystem;

namespace {

constexpr const char* kWorkFolderPrefix = "pagora-";

// Follows the temp folder while the program runs: what appears in it, and
// every name in the work folder the program makes there, which is gone by the
// time the run can be looked at.
class TempFolderWatch {
  public:
    explicit TempFolderWatch(const std::string& folder) : folder_(folder) {
        fd_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        if (fd_ < 0 || inotify_add_watch(fd_, folder.c_str(), IN_CREATE | IN_MOVED_TO) < 0)
            throw std::runtime_error("cannot watch " + folder);
        thread_ = std::thread([this] { Run(); });
    }
    ~TempFolderWatch() {
        Stop();
        ::close(fd_);
    }

    // Reads what is still queued; the program has ended, so that is all.
    void Stop() {
        if (!thread_.joinable())
            return;
        stop_ = true;
        thread_.join();
        Drain();
    }
    const std::set<std::string>& TempEntries() const { return tempEntries_; }
    const std::set<std::string>& WorkFiles() const { return workFiles_; }

  private:
    void Run() {
        while (!stop_) {
            pollfd p{fd_, POLLIN, 0};
            if (::poll(&p, 1, 20) > 0)
                Drain();
        }
    }

    void Drain() {
        std::lock_guard lock(mutex_);
        alignas(inotify_event) char buffer[16384];
        for (;;) {
            const ssize_t length = ::read(fd_, buffer, sizeof buffer);
            if (length <= 0)
                return;
            for (ssize_t at = 0; at < length;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
                at += sizeof(inotify_event) + event->len;
                if (event->len == 0)
                    continue;
                const std::string name = event->name;
                if (workWatches_.count(event->wd) != 0) {
                    workFiles_.insert(name);
                    continue;
                }
                tempEntries_.insert(name);
                if ((event->mask & IN_ISDIR) != 0 && name.rfind(kWorkFolderPrefix, 0) == 0)
                    WatchWorkFolder(folder_ + "/" + name);
            }
        }
    }

    // Deletions are watched as well: the folder is emptied at the end, so a
    // file made before the watch began is still seen.
    void WatchWorkFolder(const std::string& path) {
        const int wd = inotify_add_watch(fd_, path.c_str(),
                                         IN_CREATE | IN_MOVED_TO | IN_DELETE | IN_DONT_FOLLOW);
        if (wd < 0)
            return;
        workWatches_.insert(wd);
        std::error_code error;
        for (const auto& entry : fs::directory_iterator(path, error))
            workFiles_.insert(entry.path().filename().string());
    }

    std::string folder_;
    int fd_ = -1;
    std::atomic<bool> stop_ = false;
    std::thread thread_;
    std::mutex mutex_;
    std::set<int> workWatches_;
    std::set<std::string> tempEntries_, workFiles_;
};

std::string Describe(const fs::directory_entry& entry) {
    struct stat info {};
    if (::lstat(entry.path().c_str(), &info) != 0)
        return "gone";
    if (S_ISLNK(info.st_mode))
        return "link " + fs::read_symlink(entry.path()).string();
    if (S_ISDIR(info.st_mode))
        return "folder " + std::to_string(info.st_mode & 07777);
    // Any write or replacement moves the change time, which no program can set back.
    auto time = [](const timespec& t) {
        return std::to_string(t.tv_sec) + "." + std::to_string(t.tv_nsec);
    };
    return "file " + std::to_string(info.st_ino) + " " + std::to_string(info.st_mode) + " " +
           std::to_string(info.st_size) + " " + time(info.st_mtim) + " " + time(info.st_ctim);
}

std::string ScreenJson(int width, int height) {
    return "{ \"screens\": [ { \"name\": \"s\", \"x\": 0, \"y\": 0, \"width\": " +
           std::to_string(width) + ", \"height\": " + std::to_string(height) +
           ", \"logicalDpi\": 96, \"physicalWidth\": 270, \"physicalHeight\": 203 } ] }";
}

}  // namespace

FolderState ReadFolderState(const std::string& folder) {
    FolderState state;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        state[fs::relative(entry.path(), folder).string()] = Describe(entry);
    return state;
}

std::vector<std::string> StateChanges(const FolderState& before, const FolderState& after) {
    std::vector<std::string> changes;
    for (const auto& [name, what] : before) {
        const auto now = after.find(name);
        if (now == after.end())
            changes.push_back(name + ": removed");
        else if (now->second != what)
            changes.push_back(name + ": " + what + " -> " + now->second);
    }
    for (const auto& [name, what] : after)
        if (before.count(name) == 0)
            changes.push_back(name + ": added " + what);
    return changes;
}

std::vector<std::string> ViewerRun::Values(const std::string& word) const {
    std::vector<std::string> values;
    for (const std::string& line : Lines)
        if (line.rfind(word + " ", 0) == 0)
            values.push_back(line.substr(word.size() + 1));
        else if (line == word)
            values.push_back("");
    return values;
}

std::string ViewerRun::Log() const {
    std::string text;
    for (const std::string& line : Lines)
        text += line + "\n";
    return text + "stderr: " + Process.Err;
}

QImage CoverPicture() {
    QImage image = NewBitmap24(600, 800);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb(60 + 130 * x / 600, 60 + 130 * y / 800, 120));
    return image;
}

QImage TilePicture() {
    QImage image = NewBitmap24(150, 110);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb(40 + x, 200 - y, 90 + (x + y) / 4));
    return image;
}

QImage Photo(int seed) {
    QImage image = NewBitmap24(320, 240);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb((x * seed) & 255, (y * 3 + seed * 40) & 255, (x + y) & 255));
    return image;
}

QImage Plain(int width, int height, QRgb colour) {
    QImage image = NewBitmap24(width, height);
    image.fill(colour);
    return image;
}

Bytes ToneWav(double seconds, double hz) {
    constexpr int kRate = 22050;
    std::vector<int16_t> samples(std::max<size_t>(2, size_t(seconds * kRate)));
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = ToPcm16(0.3 * std::sin(2 * M_PI * hz * double(i) / kRate));
    return WaveFileBytes(samples, kRate);
}

Album ReadAlbum(const std::string& path) {
    AlbumArchive archive(path, 0);
    Album album;
    for (const ArchiveEntry& entry : archive.DirectoryOrder())
        album.push_back({entry.Name, *archive.Extract(entry.Name), entry.Number});
    return album;
}

void WriteAlbum(const std::string& path, const Album& album) {
    MemoryStream stream;
    AlbumWriter writer(stream, 0);
    for (const Member& member : album)
        writer.Add(member.Name, member.Content, member.Number);
    writer.Finish();
    WriteFile(path, stream.TakeBytes());
}

Album Without(Album album, const std::string& name) {
    std::erase_if(album, [&](const Member& m) { return m.Name == name; });
    return album;
}

Album With(Album album, const std::string& name, Bytes content) {
    album = Without(std::move(album), name);
    album.push_back({name, std::move(content), 0});
    return album;
}

std::map<std::string, int> ParseLayout(const std::string& text) {
    std::map<std::string, int> values;
    std::istringstream words(text);
    for (std::string word; words >> word;) {
        const size_t eq = word.find('=');
        if (eq != std::string::npos)
            values[word.substr(0, eq)] = std::stoi(word.substr(eq + 1));
    }
    return values;
}

bool Near(QRgb a, QRgb b, int tolerance) {
    return std::abs(qRed(a) - qRed(b)) <= tolerance &&
           std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
           std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

int Brightness(QRgb c) {
    return qRed(c) + qGreen(c) + qBlue(c);
}

void ViewerTest::MakeBaseAlbum() {
    dir_ = new TempDir;
    std::vector<std::string> make = {KFA_PATH, "make"};
    for (int i = 1; i <= 3; ++i) {
        const std::string photo = dir_->File("photo" + std::to_string(i) + ".jpg");
        WriteFile(photo, EncodeJpeg(Photo(i), 90));
        make.push_back(photo);
    }
    const std::string made = dir_->File("made.kfa");
    make.insert(make.end(), {"-o", made, "--name", "Test album", "--screen", "1024x768"});
    const ProcessResult result = RunProgram(make);
    ASSERT_EQ(result.Status, 0) << result.Err;

    base_ = new Album(ReadAlbum(made));
    *base_ = With(*base_, "Cover.jpg", EncodeJpeg(CoverPicture(), 95));
    *base_ = With(*base_, "back.jpg", EncodeJpeg(TilePicture(), 95));
    WriteAlbum(Path("book.kfa"), *base_);
}

void ViewerTest::DropBaseAlbum() {
    delete base_;
    base_ = nullptr;
    delete dir_;
    dir_ = nullptr;
}

const Bytes& ViewerTest::Find(const std::string& name) {
    for (const Member& member : *base_)
        if (member.Name == name)
            return member.Content;
    throw std::runtime_error("no member " + name);
}

std::string ViewerTest::Variant(const std::string& name, const Album& album) {
    WriteAlbum(Path(name), album);
    return Path(name);
}

ViewerRun ViewerTest::Start(const Launch& launch) {
    ViewerRun run;
    run.Home = std::make_shared<TempDir>();
    const TempDir& home = *run.Home;
    run.TempFolder = home.File("tmp");
    run.ConfigFolder = home.File("config");
    fs::create_directories(run.ConfigFolder);
    fs::create_directories(run.TempFolder);
    // As in a desktop session; without it Qt makes one in the temp folder.
    const std::string runtime = home.File("runtime");
    fs::create_directories(runtime);
    fs::permissions(runtime, fs::perms::owner_all);
    const std::string screen = home.File("screen.json");
    WriteFile(screen, TextBytes(ScreenJson(launch.Width, launch.Height)));
    if (!launch.Settings.empty())
        WriteFile(run.ConfigFolder + "/Leafhall.ini", TextBytes(launch.Settings));
    if (launch.Prepare)
        launch.Prepare(run.TempFolder);

    std::vector<std::string> environment;
    const std::vector<std::string> replaced = {
        "PAGORA_",          "QT_QPA_PLATFORM=", "SDL_AUDIODRIVER=", "XDG_CONFIG_HOME=",
        "XDG_RUNTIME_DIR=", "TMPDIR=",          "DISPLAY=",         "QT_SCALE_FACTOR="};
    for (const std::string& variable : CurrentEnvironment())
        if (std::none_of(replaced.begin(), replaced.end(),
                         [&](const std::string& prefix) { return variable.rfind(prefix, 0) == 0; }))
            environment.push_back(variable);
    std::string answers;
    for (const std::string& answer : launch.Answers)
        answers += answer + "\n";
    const std::string log = home.File("automation.log"), snapshot = home.File("book.png");
    environment.insert(
        environment.end(),
        {"QT_QPA_PLATFORM=offscreen:configfile=" + screen, "SDL_AUDIODRIVER=" + launch.AudioDriver,
         "XDG_CONFIG_HOME=" + run.ConfigFolder, "XDG_RUNTIME_DIR=" + runtime,
         "TMPDIR=" + run.TempFolder, "PAGORA_AUTOMATION=" + log, "PAGORA_ANSWERS=" + answers,
         "PAGORA_THEN=" + launch.Then});
    if (launch.Scale != 1)
        environment.push_back("QT_SCALE_FACTOR=" + std::to_string(launch.Scale));
    if (launch.English)
        environment.push_back("PAGORA_LANGUAGE=en");
    if (!launch.Opening)
        environment.push_back("PAGORA_OPENING=skip");
    if (launch.Snapshot)
        environment.push_back("PAGORA_SNAPSHOT=" + snapshot);
    for (const std::string& variable : launch.Environment) {
        const std::string name = variable.substr(0, variable.find('=') + 1);
        std::erase_if(environment, [&](const std::string& v) { return v.rfind(name, 0) == 0; });
        environment.push_back(variable);
    }
    std::vector<std::string> argv = {launch.Program};
    argv.insert(argv.end(), launch.Arguments.begin(), launch.Arguments.end());

    std::vector<std::string> watched = {home.Path()};
    watched.insert(watched.end(), launch.Watched.begin(), launch.Watched.end());
    std::vector<FolderState> before;
    for (const std::string& folder : watched)
        before.push_back(ReadFolderState(folder));
    {
        TempFolderWatch watch(run.TempFolder);
        run.Process = RunProgram(argv, environment, kRunTimeoutSeconds);
        watch.Stop();
        run.TempEntries = watch.TempEntries();
        run.WorkFiles = watch.WorkFiles();
    }
    for (size_t i = 0; i < watched.size(); ++i) {
        FolderState after = ReadFolderState(watched[i]);
        if (i == 0)
            for (const char* own : {"automation.log", "book.png"})
                after.erase(own);
        for (const std::string& change : StateChanges(before[i], after))
            run.Changes.push_back(watched[i] + "/" + change);
    }

    if (fs::exists(log)) {
        const Bytes bytes = ReadFile(log);
        std::istringstream lines(std::string(bytes.begin(), bytes.end()));
        for (std::string line; std::getline(lines, line);)
            run.Lines.push_back(line);
    }
    if (launch.Snapshot)
        run.Snapshot.load(QString::fromStdString(snapshot));
    return run;
}

ViewerRun ViewerTest::Open(const std::string& album, Launch launch) {
    launch.Answers.insert(launch.Answers.begin(), "open:" + album);
    return Start(launch);
}

void ViewerTest::ExpectCleanEnd(const ViewerRun& run) {
    EXPECT_FALSE(run.Process.TimedOut);
    EXPECT_LT(run.Process.Status, 128) << run.Log();
    EXPECT_EQ(run.Values("ended"), std::vector<std::string>{std::to_string(run.Process.Status)})
        << run.Log();
}

void ViewerTest::ExpectBookAndEscape(const ViewerRun& run) {
    ExpectCleanEnd(run);
    EXPECT_EQ(run.Process.Status, 0) << run.Log();
    EXPECT_TRUE(run.Has("painted")) << run.Log();
    ASSERT_GE(run.Lines.size(), 2u) << run.Log();
    EXPECT_EQ(run.Lines[run.Lines.size() - 2], "exit") << run.Log();
    EXPECT_TRUE(run.Values("message").empty()) << run.Log();
}

void ViewerTest::ExpectRefused(const ViewerRun& run, const std::string& message) {
    ExpectCleanEnd(run);
    EXPECT_NE(run.Process.Status, 0) << run.Log();
    EXPECT_EQ(run.Values("message"), std::vector<std::string>{message}) << run.Log();
    EXPECT_FALSE(run.ShowedBook()) << run.Log();
}

void ViewerTest::ExpectNoWorkFolderLeft(const ViewerRun& run) {
    for (const auto& entry : fs::directory_iterator(run.TempFolder))
        EXPECT_NE(entry.path().filename().string().rfind(kWorkFolderPrefix, 0), 0u)
            << entry.path() << " left behind";
}

void ViewerTest::ExpectNothingWritten(const ViewerRun& run) {
    std::string changes;
    for (const std::string& change : run.Changes)
        changes += change + "\n";
    EXPECT_TRUE(run.Changes.empty()) << changes;
}

}  // namespace pagora::test
