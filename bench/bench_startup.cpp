// Start-up of the real viewer at 1920 x 1080, offscreen: from process start to
// the first painted book and each start-up step, on the sample album and on an
// album of 500 pages of 6000 x 4000 photographs, beside opening the same
// album's directory and a memcpy of one screen of pixels in this process.
//
//   build/bench/bench_startup [RUNS]
//
// The large album is made once by kfa make into the build's bench-data folder;
// that takes some minutes the first time.
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/inotify.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "BenchTimer.h"
#include "Spawn.h"
#include "SyntheticPhoto.h"
#include "archive/AlbumArchive.h"
#include "archive/AlbumProfile.h"
#include "gfx/PictureFile.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using pagora::bench::BestMs;
using pagora::bench::Spawn;

constexpr int kPages = 500;
constexpr int kScreenW = 1920, kScreenH = 1080;

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

// The album of 500 full-size photographs: one 6000 x 4000 JPEG on every page.
std::string LargeAlbum(const std::string& folder) {
    const std::string album = folder + "/pages500-6000x4000.kfa";
    if (fs::exists(album))
        return album;
    fs::create_directories(folder);
    const std::string photo = folder + "/photo-6000x4000.jpg";
    if (!fs::exists(photo)) {
        const std::vector<uint8_t> jpeg =
            pagora::EncodeJpeg(pagora::test::SyntheticPhoto(6000, 4000, 5), 90);
        std::ofstream(photo, std::ios::binary)
            .write(reinterpret_cast<const char*>(jpeg.data()), jpeg.size());
    }
    const std::string list = folder + "/pages500.txt";
    {
        std::ofstream out(list);
        for (int i = 1; i <= kPages; ++i)
            out << "photo-6000x4000.jpg\tPage " << i << "\n";
    }
    std::printf("making %s (once; kfa make of %d photos takes minutes)...\n", album.c_str(),
                kPages);
    std::fflush(stdout);
    const auto start = Clock::now();
    if (!Spawn({KFA_PATH, "make", "--list", list, "-o", album, "--name", "Five hundred pages"})) {
        std::fprintf(stderr, "kfa make failed\n");
        std::exit(1);
    }
    std::printf("made in %.0f s\n", Ms(Clock::now() - start) / 1000);
    return album;
}

struct Timing {
    double Painted = 0;            // spawn to the "painted" line, outside clock
    double PaintedInside = 0;      // the program's own clock at its first paint
    double Exited = 0;             // spawn to exit, after Esc and the blinds
    std::vector<double> Progress;  // the program's clock at each progress line
};

// One run of the viewer: watched through its automation log with inotify, so
// the painted line is timed when it is written without polling.
bool RunViewer(const std::string& album, const std::string& screens, Timing& timing) {
    char pattern[] = "/tmp/pagora-bench-XXXXXX";
    const std::string home = mkdtemp(pattern) ? pattern : "";
    if (home.empty())
        return false;
    const std::string log = home + "/automation.log";
    fs::create_directories(home + "/config");
    std::ofstream(log).close();
    const int watch = inotify_init1(IN_CLOEXEC);
    inotify_add_watch(watch, log.c_str(), IN_MODIFY);

    const std::vector<std::string> env = {
        "QT_QPA_PLATFORM=offscreen:configfile=" + screens, "SDL_AUDIODRIVER=dummy",
        "XDG_CONFIG_HOME=" + home + "/config", "TMPDIR=" + home, "PAGORA_AUTOMATION=" + log,
        "PAGORA_ANSWERS=open:" + album, "PAGORA_THEN=escape",
        // Paced, not work: bench_opening times it.
        "PAGORA_OPENING=skip"};
    std::vector<char*> vars;
    std::vector<std::string> all;
    for (char** v = environ; *v != nullptr; ++v)
        if (std::strncmp(*v, "PAGORA_", 7) != 0 && std::strncmp(*v, "QT_QPA_PLATFORM=", 16) != 0)
            all.emplace_back(*v);
    all.insert(all.end(), env.begin(), env.end());
    for (const std::string& v : all)
        vars.push_back(const_cast<char*>(v.c_str()));
    vars.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    char* argv[] = {const_cast<char*>(PAGORA_PATH), nullptr};

    const auto start = Clock::now();
    pid_t pid;
    const bool started = posix_spawn(&pid, argv[0], &actions, nullptr, argv, vars.data()) == 0;
    posix_spawn_file_actions_destroy(&actions);
    bool painted = false;
    std::string text;
    if (started) {
        // Every line is an append; the painted line comes before exit.
        char events[4096];
        std::ifstream in;
        while (!painted) {
            pollfd fds{watch, POLLIN, 0};
            if (poll(&fds, 1, 200) == 0 && waitpid(pid, nullptr, WNOHANG) != 0)
                break;  // ended (or crashed) without painting
            if (fds.revents & POLLIN)
                (void)!read(watch, events, sizeof events);
            std::ifstream file(log);
            text.assign(std::istreambuf_iterator<char>(file), {});
            painted = text.find("\npainted ") != std::string::npos;
        }
        if (painted)
            timing.Painted = Ms(Clock::now() - start);
    }
    int status = -1;
    if (started && waitpid(pid, &status, 0) > 0)
        timing.Exited = Ms(Clock::now() - start);
    close(watch);
    {
        std::ifstream file(log);
        text.assign(std::istreambuf_iterator<char>(file), {});
    }
    fs::remove_all(home);

    timing.Progress.clear();
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream words(line);
        std::string word;
        words >> word;
        if (word == "progress") {
            int percent;
            double ms;
            words >> percent >> ms;
            timing.Progress.push_back(ms);
        } else if (word == "painted") {
            words >> timing.PaintedInside;
        }
    }
    return painted && WIFEXITED(status) && WEXITSTATUS(status) == 0 && timing.Progress.size() == 8;
}

double Median(std::vector<double> values) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

struct Figures {
    double Painted, Directory;
};

Figures Measure(const char* name, const std::string& album, const std::string& screens, int runs) {
    pagora::AlbumArchive archive(album, 0);
    const auto profile = pagora::ReadProfile(*archive.Extract("profile.dat")).Profile;
    std::printf("\n%s: %s\n  %.1f MB, %d members, %d pages, %d pictures\n", name, album.c_str(),
                fs::file_size(album) / 1e6, archive.MemberCount(), profile.PageCount,
                profile.PictureCount);

    std::vector<Timing> timings;
    Timing warmUp;  // brings the program and the album's first blocks into the page cache
    RunViewer(album, screens, warmUp);
    int failed = 0;
    while (static_cast<int>(timings.size()) < runs && failed < 3 * runs) {
        Timing t;
        if (RunViewer(album, screens, t))
            timings.push_back(t);
        else
            ++failed;
    }
    if (timings.empty()) {
        std::printf("  no run painted the book (%d failed)\n", failed);
        return {0, 0};
    }
    auto column = [&](auto pick) {
        std::vector<double> values;
        for (const Timing& t : timings)
            values.push_back(pick(t));
        return Median(values);
    };
    std::printf("  %d runs (%d failed runs retried), median ms:\n", int(timings.size()), failed);
    const double painted = column([](const Timing& t) { return t.Painted; });
    const double inside = column([](const Timing& t) { return t.PaintedInside; });
    std::printf("  %-46s %8.1f\n", "process start to first painted book", painted);
    std::printf("  %-46s %8.1f\n", "  exec, loading, static set-up", painted - inside);
    std::printf("  %-46s %8.1f\n", "  program start to splash (album, profile, ...)",
                column([](const Timing& t) { return t.Progress[0]; }));
    const char* steps[] = {"0-2     page count",
                           "2-20    LayoutBook",
                           "20-40   CreateBuffers",
                           "40-60   helper services",
                           "60-75   LoadBookPictures (covers, paper)",
                           "75-90   LoadBackground",
                           "90-100  music thread, page loader"};
    for (int i = 0; i < 7; ++i)
        std::printf("  %-46s %8.1f\n", (std::string("  ") + steps[i]).c_str(),
                    column([i](const Timing& t) { return t.Progress[i + 1] - t.Progress[i]; }));
    std::printf("  %-46s %8.1f\n", "  100-paint  views, toolbar, show, first paint",
                column([](const Timing& t) { return t.PaintedInside - t.Progress[7]; }));
    std::printf("  %-46s %8.1f\n", "process start to exit (Esc, blinds)",
                column([](const Timing& t) { return t.Exited; }));

    const double directory = BestMs([&] { pagora::AlbumArchive open(album, 0); }, 9);
    std::vector<uint8_t> from(size_t{kScreenW} * kScreenH * 4, 1), to(from.size());
    const double screen = BestMs([&] { std::memcpy(to.data(), from.data(), from.size()); }, 9);
    std::printf("  baseline, best of 9:\n");
    std::printf("  %-46s %8.2f\n", "  AlbumArchive construction (the directory)", directory);
    std::printf("  %-46s %8.2f\n", "  memcpy of one 1920x1080x4 screen", screen);
    return {painted, directory};
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const std::string data = BENCH_DATA_DIR;
    fs::create_directories(data);
    const std::string screens = data + "/screen1920x1080.json";
    std::ofstream(screens) << "{ \"screens\": [ { \"name\": \"s\", \"x\": 0, \"y\": 0, \"width\": "
                           << kScreenW << ", \"height\": " << kScreenH
                           << ", \"logicalDpi\": 96, \"physicalWidth\": 508, "
                              "\"physicalHeight\": 286 } ] }\n";
    const std::string large = LargeAlbum(data);

    std::printf("viewer start-up at %d x %d, offscreen\n", kScreenW, kScreenH);
    const Figures sample = Measure("sample album", SAMPLE_ALBUM_DIR "/sample.kfa", screens, runs);
    const Figures big = Measure("500 pages of 6000 x 4000 photos", large, screens, runs);
    std::printf("\nlarge minus sample: first paint %+.1f ms, directory %+.2f ms\n",
                big.Painted - sample.Painted, big.Directory - sample.Directory);
    return 0;
}
