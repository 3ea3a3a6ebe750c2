// Background music and the turn sound on the real sound system, SDL's silent
// dummy driver: the player's notifications, the music thread's start, the
// book's cycle of tracks and the rustle of each turn. Tracks are a few tenths
// of a second; deadlines are generous and the tests check order, not time.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <SDL_mixer.h>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <optional>
#include <sstream>

#include "BookWindow.h"
#include "MidiFile.h"
#include "archive/AlbumArchive.h"
#include "archive/AlbumWriter.h"
#include "archive/MemberNames.h"
#include "book/MusicFiles.h"
#include "book/TPlaythread.h"
#include "gfx/Folders.h"
#include "platform/Globals.h"
#include "platform/MediaPlayer.h"
#include "platform/MessageBox.h"
#include "platform/Messages.h"
#include "platform/ScreenCursor.h"

namespace pagora {
namespace {

using namespace test;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// Handles messages until done holds or the seconds have passed.
bool PollUntil(const std::function<bool()>& done, int seconds = 30) {
    const auto end = Clock::now() + std::chrono::seconds(seconds);
    WaitUntil([&] { return done() || Clock::now() > end; });
    return done();
}

// Handles messages for a while, so that whatever would follow can.
void Idle(int milliseconds) {
    const auto end = Clock::now() + std::chrono::milliseconds(milliseconds);
    WaitUntil([&] { return Clock::now() > end; });
}

// A quarter-second note; the synthesiser adds its own tail of silence.
Bytes Melody() {
    sample::MidiFile midi(480);
    const int track = midi.AddTrack();
    midi.Program(track, 0, 0, 0);
    midi.Note(track, 0, 240, 0, 64, 90);
    return midi.Bytes();
}

std::string FindProgram(const std::string& name) {
    std::istringstream path(std::getenv("PATH") ? std::getenv("PATH") : "/usr/bin:/bin");
    for (std::string folder; std::getline(path, folder, ':');)
        if (!folder.empty() && ::access((folder + "/" + name).c_str(), X_OK) == 0)
            return folder + "/" + name;
    return {};
}

// A tone encoded by Debian's lame; nothing where lame is missing.
std::optional<Bytes> Mp3(double seconds) {
    const std::string lame = FindProgram("lame");
    if (lame.empty())
        return std::nullopt;
    TempDir dir;
    WriteFile(dir.File("in.wav"), ToneWav(seconds, 660));
    if (RunProgram({lame, "--quiet", dir.File("in.wav"), dir.File("out.mp3")}).Status != 0)
        return std::nullopt;
    return ReadFile(dir.File("out.mp3"));
}

// Breaks the member's stored stream in the album file, so extracting it fails.
void Damage(const std::string& albumPath, const std::string& name, const Bytes& content) {
    Bytes file = ReadFile(albumPath);
    const Bytes stored = EncodeMember(name, content);
    const auto at = std::search(file.begin(), file.end(), stored.begin(), stored.begin() + 16);
    ASSERT_NE(at, file.end()) << name;
    at[0] ^= 0xFF;
    at[1] ^= 0xFF;
    WriteFile(albumPath, file);
}

ino_t Inode(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 ? info.st_ino : 0;
}

// Every file a player opened, with the file's inode at that moment.
struct OpenRecord {
    OpenRecord() {
        MediaPlayer::Opened = [this](const QString& file) {
            Files.push_back(file.toStdString());
            Inodes.push_back(Inode(file.toStdString()));
        };
    }
    ~OpenRecord() { MediaPlayer::Opened = nullptr; }
    std::vector<std::string> Files;
    std::vector<ino_t> Inodes;
};

// --- The player ------------------------------------------------------------

class MediaPlayerTest : public testing::Test {
  protected:
    std::string Write(const std::string& name, const Bytes& bytes) {
        WriteFile(dir_.File(name), bytes);
        return dir_.File(name);
    }
    void Load(MediaPlayer& player, const std::string& file) {
        player.FileName = QString::fromStdString(file);
        player.OnNotify = [this] { ++notified_; };
        player.Open();
    }
    TempDir dir_;
    int notified_ = 0;
};

TEST_F(MediaPlayerTest, EveryKindOfTrackPlaysToItsEndAndNotifiesOnce) {
    std::vector<std::pair<std::string, Bytes>> tracks = {{"t.wav", ToneWav(0.2)},
                                                         {"t.mid", Melody()}};
    if (std::optional<Bytes> mp3 = Mp3(0.2))
        tracks.emplace_back("t.mp3", *mp3);
    else
        ADD_FAILURE() << "lame is not installed; the MP3 track is left out";
    for (const auto& [name, bytes] : tracks) {
        SCOPED_TRACE(name);
        notified_ = 0;
        MediaPlayer player;
        Load(player, Write(name, bytes));
        player.Play();
        EXPECT_FALSE(player.Ended());
        ASSERT_TRUE(PollUntil([&] { return notified_ == 1; }));
        EXPECT_TRUE(player.Ended());
        EXPECT_GT(player.PlayedMilliseconds(), 100);
        Idle(200);
        EXPECT_EQ(notified_, 1);
    }
}

TEST_F(MediaPlayerTest, ACloseANewOpenOrASupersedingPlayIsNeverAnEnd) {
    const std::string file = Write("t.wav", ToneWav(0.3));
    MediaPlayer player;
    Load(player, file);
    player.Play();
    player.Close();
    Idle(500);
    EXPECT_EQ(notified_, 0);
    EXPECT_FALSE(player.Ended());

    Load(player, file);
    player.Play();
    Load(player, file);
    Idle(500);
    EXPECT_EQ(notified_, 0);
    EXPECT_FALSE(player.Ended());

    // Only the second play's end is heard of.
    player.Play();
    player.Play();
    ASSERT_TRUE(PollUntil([&] { return notified_ == 1; }));
    EXPECT_TRUE(player.Ended());
    Idle(400);
    EXPECT_EQ(notified_, 1);
}

TEST_F(MediaPlayerTest, AnEndPostedToAPlayerDestroyedMeanwhileReachesNoOne) {
    const std::string file = Write("t.wav", ToneWav(0.1));
    MediaPlayer bystander;
    bystander.OnNotify = [this] { ++notified_; };
    auto player = std::make_unique<MediaPlayer>();
    Load(*player, file);
    player->Play();
    // The end is posted while no message is handled; the player goes first.
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    player.reset();
    Idle(200);
    EXPECT_EQ(notified_, 0);
}

TEST_F(MediaPlayerTest, AFailedOpenCarriesTheSoundSystemsText) {
    for (const std::string& file : {dir_.File("missing.wav"), Write("bad.wav", TextBytes("no"))}) {
        SCOPED_TRACE(file);
        MediaPlayer player;
        player.FileName = QString::fromStdString(file);
        try {
            player.Open();
            ADD_FAILURE() << "opened";
        } catch (const MediaError& error) {
            EXPECT_EQ(Mix_LoadMUS(file.c_str()), nullptr);
            EXPECT_EQ(std::string(error.what()), file + ": " + Mix_GetError());
        }
        EXPECT_FALSE(player.IsOpen());
        EXPECT_THROW(player.Play(), MediaError);
    }
}

// --- The music thread ------------------------------------------------------

class PlaythreadTest : public testing::Test {
  protected:
    std::unique_ptr<AlbumArchive> Album(const Members& members) {
        WriteFile(dir_.File("a.kfa"), PackAlbum(members));
        return AlbumArchive::OpenAt(dir_.File("a.kfa"), 0);
    }
    // Runs the thread to the end of its start, as book start-up waits for it.
    void Start(MediaPlayer& player, const AlbumArchive& archive, const std::string& member) {
        TPlaythread thread(&player, "", true, &archive, member);
        // The start runs on this thread, so the tag holds until messages are handled.
        EXPECT_EQ(player.Tag.load(), 1);
        EXPECT_TRUE(WaitUntil([&] { return player.Tag == 0; }, &thread));
    }
    TempDir dir_;
    OpenRecord opens_;
};

TEST_F(PlaythreadTest, ExtractsTheTrackStartUpCouldNotAndStartsIt) {
    auto archive = Album({{"A.wav", ToneWav(0.3)}});
    MediaPlayer player;
    const std::string file = dir_.File("albumA.wav");
    player.FileName = QString::fromStdString(file);
    Start(player, *archive, "A.wav");
    EXPECT_TRUE(FileExists(file));
    EXPECT_EQ(opens_.Files, std::vector<std::string>{file});
    EXPECT_TRUE(player.IsOpen());
}

TEST_F(PlaythreadTest, ADamagedTrackStillEndsTheStartSilently) {
    const Bytes tone = ToneWav(0.3);
    auto archive = Album({{"A.wav", tone}});
    archive.reset();
    Damage(dir_.File("a.kfa"), "A.wav", tone);
    archive = AlbumArchive::OpenAt(dir_.File("a.kfa"), 0);
    MediaPlayer player;
    player.FileName = QString::fromStdString(dir_.File("albumA.wav"));
    Start(player, *archive, "A.wav");
    EXPECT_FALSE(FileExists(dir_.File("albumA.wav")));
    EXPECT_TRUE(opens_.Files.empty());
}

TEST_F(PlaythreadTest, TheNoMusicMarkerIsNeverLookedUpNorOpened) {
    auto archive = Album({{"A.wav", ToneWav(0.3)}});
    const fs::path before = fs::current_path();
    fs::current_path(dir_.Path());
    WriteFile(kNoMusic, ToneWav(0.3));
    const ino_t inode = Inode(kNoMusic);
    MediaPlayer player;
    player.FileName = QString::fromLatin1(kNoMusic);
    Start(player, *archive, "");
    EXPECT_EQ(Inode(kNoMusic), inode);
    fs::current_path(before);
    EXPECT_TRUE(opens_.Files.empty());
    EXPECT_FALSE(player.IsOpen());
}

// --- The book's music ------------------------------------------------------

Bytes Info(int page) {
    return Bytes{uint8_t(page), 0, 0, 0};
}

class BookMusicTest : public BookWindowTest {
  protected:
    static void SetUpTestSuite() { SetUpBook(4, Info); }
    static void TearDownTestSuite() { TearDownBook(); }

    void SetUp() override {
        // Each test extracts afresh into a new work folder.
        RemoveWorkFolder();
        SetMessageSink([this](const QString& text) { messages_.push_back(text.toStdString()); });
    }
    void TearDown() override {
        BookWindowTest::TearDown();
        SetMessageSink({});
        MusicList.clear();
        fs::remove(config_->File("Leafhall.ini"));
    }

    // The page album with these members, written under its own name.
    std::string Variant(const Members& members, const std::vector<std::string>& damaged = {}) {
        Album album = ReadAlbum(BookPath());
        for (const auto& [name, bytes] : members)
            album = Put(album, name, bytes);
        std::erase_if(album, [](const Member& m) { return m.Content.empty(); });
        const std::string path = ViewerTest::Variant("music.kfa", album);
        for (const std::string& name : damaged)
            for (const auto& [member, bytes] : members)
                if (member == name)
                    Damage(path, name, bytes);
        return path;
    }
    void Settings(const std::string& lines) {
        WriteFile(config_->File("Leafhall.ini"), TextBytes("[Test album]\n" + lines));
    }
    // The book with first as its first track and list as the rest.
    void OpenWithMusic(const std::string& album, const std::string& first,
                       const std::vector<std::string>& list) {
        editProfile_ = [first](AlbumProfile& profile) { profile.MusicName = first; };
        MusicList = list;
        Open(4, 0, album);
    }
    static std::string Track(const std::string& member) {
        return MusicFilePath(WorkFolder(), "Test album", member);
    }
    std::vector<std::string> Opened(size_t count) const {
        const std::vector<std::string>& all = opens_.Files;
        return {all.begin(), all.begin() + std::min(count, all.size())};
    }
    std::string Log() const {
        std::string log;
        for (const std::string& file : opens_.Files)
            log += "opened " + file + "\n";
        for (const std::string& message : messages_)
            log += "message " + message + "\n";
        return log;
    }

    OpenRecord opens_;
    std::vector<std::string> messages_;
};

TEST_F(BookMusicTest, TracksOfEveryKindCycleInAlbumOrderEachExtractedOnce) {
    const std::optional<Bytes> mp3 = Mp3(0.3);
    if (!mp3)
        GTEST_SKIP() << "lame is not installed";
    OpenWithMusic(Variant({{"A.wav", ToneWav(0.3)}, {"B.mp3", *mp3}, {"C.mid", Melody()}}), "A.wav",
                  {"B.mp3", "C.mid"});
    ASSERT_TRUE(PollUntil([&] { return opens_.Files.size() >= 5; })) << Log();
    EXPECT_EQ(Opened(5), (std::vector<std::string>{Track("A.wav"), Track("B.mp3"), Track("C.mid"),
                                                   Track("A.wav"), Track("B.mp3")}));
    // Played again from the file extracted the first time.
    EXPECT_EQ(opens_.Inodes[3], opens_.Inodes[0]);
    EXPECT_EQ(opens_.Inodes[4], opens_.Inodes[1]);
    EXPECT_NE(opens_.Inodes[1], 0u);
    EXPECT_TRUE(messages_.empty()) << Log();
}

struct CycleCase {
    const char* Name;
    std::string First;
    std::vector<std::string> List;
    std::string Settings;               // "USER" stands for the user's music file
    std::vector<std::string> Expected;  // members; "USER" for the user's file
};

void PrintTo(const CycleCase& c, std::ostream* out) {
    *out << c.Name;
}

class MusicCycleTest : public BookMusicTest, public testing::WithParamInterface<CycleCase> {};

TEST_P(MusicCycleTest, PlaysInThisOrder) {
    const CycleCase& c = GetParam();
    TempDir user;
    const std::string userFile = user.File("mine.wav");
    WriteFile(userFile, ToneWav(0.2, 330));
    std::string settings = c.Settings;
    if (const size_t at = settings.find("USER"); at != std::string::npos)
        settings.replace(at, 4, userFile);
    Settings(settings);
    Members members;
    double hz = 500;
    for (const std::string& name : c.List)
        members.emplace_back(name, ToneWav(0.2, hz += 50));
    if (!c.First.empty())
        members.emplace_back(c.First, ToneWav(0.2, 300));
    OpenWithMusic(Variant(members), c.First, c.List);

    std::vector<std::string> expected;
    for (const std::string& member : c.Expected)
        expected.push_back(member == "USER" ? userFile : Track(member));
    if (expected.empty()) {
        Idle(800);
    } else {
        ASSERT_TRUE(PollUntil([&] { return opens_.Files.size() >= expected.size(); })) << Log();
    }
    EXPECT_EQ(Opened(expected.size()), expected) << Log();
    for (const std::string& file : opens_.Files) {
        if (file != userFile) {
            EXPECT_EQ(fs::path(file).parent_path().string(), WorkFolder()) << file;
        }
    }
    EXPECT_TRUE(messages_.empty()) << Log();
}

INSTANTIATE_TEST_SUITE_P(
    Music, MusicCycleTest,
    testing::Values(
        CycleCase{"OneTrackRepeats", "A.wav", {}, "", {"A.wav", "A.wav", "A.wav"}},
        CycleCase{
            "UserMusicAloneRepeats", "A.wav", {}, "BackMusic=USER\n", {"USER", "USER", "USER"}},
        CycleCase{"UserMusicThenTheAlbumsList",
                  "A.wav",
                  {"B.wav", "C.wav"},
                  "BackMusic=USER\n",
                  {"USER", "B.wav", "C.wav", "A.wav"}},
        CycleCase{"MusicSwitchedOffOpensNothing", "A.wav", {"B.wav"}, "BackMusicOn=false\n", {}},
        CycleCase{"UserMusicWithoutAlbumMusicIsSilent", "", {}, "BackMusic=USER\n", {}},
        CycleCase{"NamesWithSlashesAndDotsStayInTheWorkFolder",
                  "A.wav",
                  {"../up.wav", "sub/dir.wav", ".."},
                  "",
                  {"A.wav", "../up.wav", "sub/dir.wav", "..", "A.wav"}}),
    [](const testing::TestParamInfo<CycleCase>& info) { return std::string(info.param.Name); });

TEST_F(BookMusicTest, ANextTrackThatWillNotOpenShowsTheSoundSystemsTextAndStops) {
    // B is named but not in the album.
    OpenWithMusic(Variant({{"A.wav", ToneWav(0.2)}}), "A.wav", {"B.wav"});
    ASSERT_TRUE(PollUntil([&] { return !messages_.empty(); })) << Log();
    Idle(500);
    EXPECT_EQ(opens_.Files, (std::vector<std::string>{Track("A.wav"), Track("B.wav")}));
    ASSERT_EQ(messages_.size(), 1u) << Log();
    EXPECT_EQ(Mix_LoadMUS(Track("B.wav").c_str()), nullptr);
    EXPECT_EQ(messages_[0], Track("B.wav") + ": " + Mix_GetError());
    EXPECT_EQ(ScreenCursor(), Qt::ArrowCursor);
}

struct SilentCase {
    const char* Name;
    Members Tracks;  // first, then the list
    std::vector<std::string> Damaged;
    std::vector<std::string> Expected;
};

void PrintTo(const SilentCase& c, std::ostream* out) {
    *out << c.Name;
}

class SilentMusicTest : public BookMusicTest, public testing::WithParamInterface<SilentCase> {};

TEST_P(SilentMusicTest, TheBookOpensWithoutAMessageOrAHang) {
    const SilentCase& c = GetParam();
    std::vector<std::string> list;
    for (size_t i = 1; i < c.Tracks.size(); ++i)
        list.push_back(c.Tracks[i].first);
    OpenWithMusic(Variant(c.Tracks, c.Damaged), c.Tracks[0].first, list);
    EXPECT_EQ(book->Player->Tag.load(), 0);
    Idle(800);
    std::vector<std::string> expected;
    for (const std::string& member : c.Expected)
        expected.push_back(Track(member));
    EXPECT_EQ(opens_.Files, expected) << Log();
    EXPECT_TRUE(messages_.empty()) << Log();
}

INSTANTIATE_TEST_SUITE_P(
    Music, SilentMusicTest,
    testing::Values(
        SilentCase{"UndecodableFirstTrack", {{"A.wav", TextBytes("not a sound")}}, {}, {"A.wav"}},
        SilentCase{"DamagedFirstTrack", {{"A.wav", ToneWav(0.2)}}, {"A.wav"}, {}},
        SilentCase{"MissingFirstTrack", {{"A.wav", {}}}, {}, {}},
        // Tracks that end as they begin stop the music after two.
        SilentCase{"EmptyTracksStop",
                   {{"A.wav", ToneWav(0)}, {"B.wav", ToneWav(0, 300)}},
                   {},
                   {"A.wav", "B.wav"}}),
    [](const testing::TestParamInfo<SilentCase>& info) { return std::string(info.param.Name); });

// --- The turn sound --------------------------------------------------------

struct TurnSoundCase {
    const char* Name;
    std::optional<Bytes> Sound;  // the album's member; none: missing
    bool Damaged;
    bool OnAtStart, OnAtTurn;
    bool Plays, Extracted;
};

void PrintTo(const TurnSoundCase& c, std::ostream* out) {
    *out << c.Name;
}

class TurnSoundTest : public BookMusicTest, public testing::WithParamInterface<TurnSoundCase> {};

TEST_P(TurnSoundTest, TheFirstFrameOfATurn) {
    const TurnSoundCase& c = GetParam();
    Album album = ReadAlbum(BookPath());
    album = Without(album, kTurnSoundMember);
    if (c.Sound)
        album = With(album, kTurnSoundMember, *c.Sound);
    const std::string path = ViewerTest::Variant("sound.kfa", album);
    if (c.Damaged)
        Damage(path, kTurnSoundMember, *c.Sound);
    if (!c.OnAtStart)
        Settings("BackRangOn=false\n");
    Open(4, 200, path);
    const std::string file = WorkFolder() + "/" + kTurnSoundMember;
    EXPECT_EQ(FileExists(file), c.OnAtStart && c.Extracted);

    book->BackRangOn = c.OnAtTurn;
    Mix_HaltChannel(-1);
    int playing = -1;
    book->FrameShown = [&](int) {
        if (playing < 0)
            playing = Mix_Playing(-1);
    };
    Key(Qt::Key_Space);
    EXPECT_EQ(book->CurrentPage, 2);
    EXPECT_EQ(playing > 0, c.Plays) << playing;
    EXPECT_EQ(FileExists(file), c.Extracted);
    EXPECT_TRUE(messages_.empty()) << Log();
}

INSTANTIATE_TEST_SUITE_P(
    Music, TurnSoundTest,
    testing::Values(
        TurnSoundCase{"RustlesOnAFreeChannel", ToneWav(0.5), false, true, true, true, true},
        TurnSoundCase{"SwitchedOffIsSilentAndExtractsNothing", ToneWav(0.5), false, false, false,
                      false, false},
        TurnSoundCase{"SwitchedOnLaterIsExtractedAtTheFirstTurn", ToneWav(0.5), false, false, true,
                      true, true},
        TurnSoundCase{"MissingMemberTurnsSilently", std::nullopt, false, true, true, false, false},
        TurnSoundCase{"UndecodableMemberTurnsSilently", TextBytes("no sound"), false, true, true,
                      false, true},
        TurnSoundCase{"DamagedMemberTurnsSilently", ToneWav(0.5, 700), true, true, true, false,
                      false}),
    [](const testing::TestParamInfo<TurnSoundCase>& info) { return std::string(info.param.Name); });

}  // namespace
}  // namespace pagora
