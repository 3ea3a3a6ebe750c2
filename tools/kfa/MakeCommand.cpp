#include <algorithm>
#include <cctype>
#include <filesystem>

#include "AlbumMaker.h"
#include "Arguments.h"
#include "Commands.h"
#include "OrderedWork.h"
#include "archive/AlbumError.h"
#include "archive/Gbk.h"

namespace kfa {
namespace {

// The profile's capacities, in GBK bytes.
constexpr size_t kAlbumNameBytes = 64;
constexpr size_t kPasswordBytes = 32;

// Screens an album can be made for: pages of an 8K screen are about 3700 x 3400.
constexpr int kMinScreenWidth = 640, kMinScreenHeight = 480;
constexpr int kMaxScreenWidth = 7680, kMaxScreenHeight = 4320;
constexpr long long kMaxMilliseconds = 3600000;
constexpr long long kMaxJobs = 256;

const char kUsage[] =
    "Usage: kfa make [PHOTO|FOLDER...] -o ALBUM.kfa [--list FILE] [OPTION...]\n\n"
    "Makes an album of the photos, one photo a page, with covers, paper, a\n"
    "background, a loading picture and a page-turn sound drawn for it.\n"
    "A FOLDER stands for the pictures in it, by file name extension (letter\n"
    "case ignored), in shooting order (EXIF, else the file's time), then by\n"
    "name; other files and hidden ones are passed over.\n\n"
    "  -o ALBUM.kfa        the album to write (it appears only when complete)\n"
    "  --list FILE         photos to take first, one a line: PATH, then optional\n"
    "                      TITLE, DESCRIPTION and TIME (YYYY-MM-DD HH:MM[:SS]),\n"
    "                      separated by tabs; paths relative to the list's folder;\n"
    "                      blank lines and lines starting with # are skipped\n"
    "  --name TEXT         the album's name (default: ALBUM's file name)\n"
    "  --password TEXT     asked for when the album is opened\n"
    "  --music FILE        background music, .mp3, .wav or .mid; repeat for more\n"
    "  --turn-time MS      how long a page turn takes (default 800)\n"
    "  --stay-time MS      how long a spread stays in a slide show (default 3000)\n"
    "  --show-info         print titles and descriptions over full-screen pictures\n"
    "  --back-color RRGGBB the background of the picture views (default 000000)\n"
    "  --screen WxH        the screen the pages are drawn for (default 1920x1080)\n"
    "  --skip-bad          skip photos that cannot be read instead of stopping\n"
    "  --no-pictures       pages only: no full-size pictures or thumbnails\n"
    "  --recursive         folders stand for the pictures of their subfolders too\n"
    "  --jobs N            photos made at once (default: the number of cores);\n"
    "                      the album is the same whatever N is\n\n"
    "A photo's title is the list's, else its own EXIF description, else its file\n"
    "name; its description the list's, else the text of PHOTO.txt beside it; its\n"
    "time the list's, else its EXIF date, else the file's time. Photos are turned\n"
    "upright as their EXIF orientation says, JPEGs without loss where the\n"
    "turn allows it (their orientation tag then reads 1). Texts must be\n"
    "writable in GBK.\n";

std::string ToGbk(const std::string& text, const std::string& what) {
    try {
        return pagora::Utf8ToGbk(text);
    } catch (const pagora::AlbumError& error) {
        throw UsageError(what + ": " + error.what());
    }
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

void ParseScreen(const std::string& text, MakeSettings& settings) {
    size_t x = text.find_first_of("xX");
    if (x == std::string::npos)
        throw UsageError("--screen takes WIDTHxHEIGHT, such as 1920x1080, not \"" + text + "\"");
    settings.ScreenWidth = static_cast<int>(
        ParseNumber(text.substr(0, x), "--screen width", kMinScreenWidth, kMaxScreenWidth));
    settings.ScreenHeight = static_cast<int>(
        ParseNumber(text.substr(x + 1), "--screen height", kMinScreenHeight, kMaxScreenHeight));
}

int32_t ParseColor(std::string text) {
    if (!text.empty() && text[0] == '#')
        text.erase(0, 1);
    if (text.size() != 6 || text.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
        throw UsageError("--back-color takes six hex digits RRGGBB, not \"" + text + "\"");
    unsigned long rgb = std::stoul(text, nullptr, 16);
    // Stored the Windows way: 0x00BBGGRR.
    return static_cast<int32_t>(((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF));
}

MakeSettings ParseSettings(const std::vector<std::string>& raw) {
    Arguments args(raw,
                   {"-o", "--list", "--name", "--password", "--music", "--turn-time", "--stay-time",
                    "--back-color", "--screen", "--jobs"},
                   {"--show-info", "--skip-bad", "--no-pictures", "--recursive"});
    MakeSettings settings;
    auto out = args.Value("-o");
    if (!out || out->empty())
        throw UsageError("needs -o ALBUM.kfa");
    settings.Output = *out;
    for (const std::string& list : args.Values("--list")) {
        std::vector<PhotoEntry> entries = ReadPhotoList(list);
        settings.Photos.insert(settings.Photos.end(), entries.begin(), entries.end());
    }
    for (const std::string& path : args.Positional()) {
        std::error_code error;
        settings.Photos.push_back(
            {path, "", "", std::nullopt, std::filesystem::is_directory(path, error)});
    }
    if (settings.Photos.empty())
        throw UsageError("needs at least one photo");

    if (auto name = args.Value("--name")) {
        if (name->empty())
            throw UsageError("--name must not be empty");
        if (ToGbk(*name, "--name").size() > kAlbumNameBytes)
            throw UsageError("--name is longer than the album holds (64 bytes in GBK)");
        settings.AlbumName = *name;
    } else {
        std::string stem = std::filesystem::path(settings.Output).stem().string();
        std::string gbk = ToGbk(stem, "the album's name (give one with --name)");
        settings.AlbumName = pagora::GbkToUtf8(pagora::TruncateGbk(gbk, kAlbumNameBytes));
    }
    if (auto password = args.Value("--password")) {
        if (ToGbk(*password, "--password").size() > kPasswordBytes)
            throw UsageError("--password is longer than the album holds (32 bytes in GBK)");
        settings.Password = *password;
    }
    for (const std::string& music : args.Values("--music")) {
        std::string extension = Lower(std::filesystem::path(music).extension().string());
        if (extension != ".mp3" && extension != ".wav" && extension != ".mid" &&
            extension != ".midi")
            throw UsageError("--music takes .mp3, .wav or .mid files, not \"" + music + "\"");
        settings.Music.push_back(music);
    }
    if (auto turn = args.Value("--turn-time"))
        settings.TurnTime =
            static_cast<int32_t>(ParseNumber(*turn, "--turn-time", 0, kMaxMilliseconds));
    if (auto stay = args.Value("--stay-time"))
        settings.StayTime =
            static_cast<int32_t>(ParseNumber(*stay, "--stay-time", 0, kMaxMilliseconds));
    if (auto color = args.Value("--back-color"))
        settings.BackColor = ParseColor(*color);
    if (auto screen = args.Value("--screen"))
        ParseScreen(*screen, settings);
    settings.ShowInfo = args.Flag("--show-info");
    settings.SkipBad = args.Flag("--skip-bad");
    settings.NoPictures = args.Flag("--no-pictures");
    settings.Recursive = args.Flag("--recursive");
    settings.Jobs = AvailableCores();
    if (auto jobs = args.Value("--jobs"))
        settings.Jobs = static_cast<int>(ParseNumber(*jobs, "--jobs", 1, kMaxJobs));
    return settings;
}

int RunMake(const std::vector<std::string>& raw) {
    MakeAlbum(ParseSettings(raw));
    return kSuccess;
}

}  // namespace

Command MakeCommand() {
    return {"make", "make an album from photos", kUsage, RunMake};
}

}  // namespace kfa
