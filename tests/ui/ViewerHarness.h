// Runs of the real viewer, offscreen, driven through its automation hooks:
// what it records, its exit status, its first picture and what it left on disk.
#pragma once

#include <gtest/gtest.h>

#include <QImage>
#include <QRgb>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "TestFiles.h"

namespace pagora::test {

// A run still going after this long is killed and fails as a hang.
constexpr int kRunTimeoutSeconds = 120;

// Every entry below a folder, links not followed: kind, inode, size,
// modification and change times, or the link's target. Equal states mean
// nothing was written.
using FolderState = std::map<std::string, std::string>;
FolderState ReadFolderState(const std::string& folder);
// The entries added, removed or changed between two states.
std::vector<std::string> StateChanges(const FolderState& before, const FolderState& after);

// What one run of the viewer left behind.
struct ViewerRun {
    ProcessResult Process;
    std::vector<std::string> Lines;
    QImage Snapshot;
    std::string TempFolder;         // the run's TMPDIR
    std::string ConfigFolder;       // the run's XDG_CONFIG_HOME
    std::shared_ptr<TempDir> Home;  // holds both, kept until the run is dropped
    // Names that appeared in the temp folder, and inside the work folder made
    // there, while the program ran.
    std::set<std::string> TempEntries;
    std::set<std::string> WorkFiles;
    // Entries changed in the run's home (besides its log and snapshot) and in
    // the launch's watched folders.
    std::vector<std::string> Changes;

    // The rest of every line that starts with the word.
    std::vector<std::string> Values(const std::string& word) const;
    bool Has(const std::string& word) const { return !Values(word).empty(); }
    bool ShowedBook() const { return Has("layout") || Has("progress") || Has("painted"); }
    std::string Log() const;
};

struct Launch {
    std::string Program = PAGORA_PATH;
    std::vector<std::string> Arguments = {};
    std::vector<std::string> Answers = {};
    int Width = 1024, Height = 768;  // the screen in device pixels
    double Scale = 1;                // Qt's scale factor for the run
    bool English = false;
    bool Snapshot = false;
    std::string Then = "escape";  // what the book does once painted
    bool Opening = false;         // the book's opening plays before it is painted
    std::string AudioDriver = "dummy";
    std::string Settings = {};  // Leafhall.ini's text; no file when empty
    // Called with the temp folder before the run, to put things there.
    std::function<void(const std::string& tempFolder)> Prepare = {};
    std::vector<std::string> Watched = {};      // folders the run must not change
    std::vector<std::string> Environment = {};  // "NAME=VALUE", set last
};

// Pictures whose pixels are known everywhere, so the screen can be checked
// against them: smooth enough to survive JPEG and resampling.
QImage CoverPicture();
// Not periodic inside itself, so a wrong tiling shows.
QImage TilePicture();
QImage Photo(int seed);
QImage Plain(int width, int height, QRgb colour);
// A mono WAV of a sine tone; at least two samples, so even 0 seconds decodes.
Bytes ToneWav(double seconds, double hz = 440);

struct Member {
    std::string Name;
    Bytes Content;
    int64_t Number = 0;
};
using Album = std::vector<Member>;

Album ReadAlbum(const std::string& path);
void WriteAlbum(const std::string& path, const Album& album);
Album Without(Album album, const std::string& name);
Album With(Album album, const std::string& name, Bytes content);

std::map<std::string, int> ParseLayout(const std::string& text);
bool Near(QRgb a, QRgb b, int tolerance);
int Brightness(QRgb c);

// A suite's test album and the runs of the viewer on it.
class ViewerTest : public testing::Test {
  protected:
    // An album of three photos made by kfa make, with CoverPicture as its
    // cover and TilePicture as its background, written as "book.kfa".
    static void MakeBaseAlbum();
    static void DropBaseAlbum();

    static std::string Path(const std::string& name) { return dir_->File(name); }
    static const Bytes& Find(const std::string& name);
    // A variant of the test album, written under its own name.
    static std::string Variant(const std::string& name, const Album& album);

    static ViewerRun Start(const Launch& launch);
    static ViewerRun Open(const std::string& album, Launch launch = {});

    // The run ended by itself, without a crash or a hang.
    static void ExpectCleanEnd(const ViewerRun& run);
    // The book was painted and Esc ended the program with status 0.
    static void ExpectBookAndEscape(const ViewerRun& run);
    // The album could not be shown: the message, a failure status, no book.
    static void ExpectRefused(const ViewerRun& run, const std::string& message);
    // Nothing of the run's private work folder stays in the temp folder.
    static void ExpectNoWorkFolderLeft(const ViewerRun& run);
    // Nothing changed outside the work folder.
    static void ExpectNothingWritten(const ViewerRun& run);

    static inline TempDir* dir_ = nullptr;
    static inline Album* base_ = nullptr;
};

}  // namespace pagora::test
