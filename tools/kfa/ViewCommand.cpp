#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "Arguments.h"
#include "Commands.h"
#include "Viewer.h"
#include "archive/AlbumArchive.h"
#include "archive/AlbumError.h"
#include "archive/ArchiveTrailer.h"
#include "platform/FileDialog.h"

extern char** environ;

namespace kfa {
namespace {

const char kUsage[] =
    "Usage: kfa view [ALBUM] [--viewer PATH]\n\n"
    "Shows the album in the viewer, as a file manager does when an album is\n"
    "opened. ALBUM must be a readable album container; the viewer then starts\n"
    "with its open-file dialog answered by ALBUM (the environment variable\n"
    "PAGORA_OPEN_FILE), so it shows its own messages and ends with its own exit\n"
    "status. A self-contained album made by kfa bundle from the same viewer is\n"
    "run as it is. Without ALBUM the viewer's dialog asks for one.\n\n"
    "  --viewer PATH   the viewer to start (default: pagora beside kfa, else on PATH)\n";

constexpr char kElfMagic[] =
    "\x7f"
    "ELF";

bool StartsWithElf(const std::string& path) {
    char head[4] = {};
    std::ifstream in(path, std::ios::binary);
    return in.read(head, sizeof head) && std::memcmp(head, kElfMagic, sizeof head) == 0;
}

// The first `length` bytes of the file are the whole of the other file.
bool SameProgram(const std::string& file, int64_t length, const std::string& program) {
    std::error_code error;
    const auto size = std::filesystem::file_size(program, error);
    if (error || static_cast<int64_t>(size) != length)
        return false;
    std::ifstream a(file, std::ios::binary), b(program, std::ios::binary);
    std::vector<char> x(1 << 16), y(1 << 16);
    for (int64_t left = length; left > 0;) {
        const auto n = static_cast<std::streamsize>(std::min<int64_t>(left, x.size()));
        if (!a.read(x.data(), n) || !b.read(y.data(), n) || std::memcmp(x.data(), y.data(), n) != 0)
            return false;
        left -= n;
    }
    return true;
}

// This process becomes the program; only a failure to start returns.
[[noreturn]] void Run(const std::string& program, const std::string& openFile) {
    const std::string prefix = std::string(pagora::kOpenFileVariable) + "=";
    std::vector<std::string> variables;
    for (char** v = environ; *v != nullptr; ++v)
        if (std::strncmp(*v, prefix.c_str(), prefix.size()) != 0)
            variables.emplace_back(*v);
    if (!openFile.empty())
        variables.push_back(prefix + openFile);
    std::vector<char*> envp;
    for (std::string& v : variables)
        envp.push_back(v.data());
    envp.push_back(nullptr);
    std::string name = program;
    char* argv[] = {name.data(), nullptr};
    std::cout.flush();
    std::fflush(nullptr);
    ::execve(program.c_str(), argv, envp.data());
    throw pagora::AlbumError(program + ": cannot start: " + std::strerror(errno));
}

int RunView(const std::vector<std::string>& raw) {
    Arguments args(raw, {"--viewer"}, {});
    if (args.Positional().size() > 1)
        throw UsageError("expects one album");
    const std::string viewer = FindViewer(args.Value("--viewer"));
    if (args.Positional().empty())
        Run(viewer, "");
    const std::string album = std::filesystem::absolute(args.Positional()[0]).string();

    // A pipe or a device would leave the viewer waiting for data that never ends.
    struct stat info {};
    if (::stat(album.c_str(), &info) != 0)
        throw pagora::AlbumError(album + ": cannot open: " + std::strerror(errno));
    if (!S_ISREG(info.st_mode))
        throw pagora::AlbumError(album + ": not a file");

    // The viewer opens a chosen file as a container at its start.
    try {
        pagora::AlbumArchive container(album, 0);
    } catch (const pagora::AlbumError&) {
        const int64_t base = StartsWithElf(album) ? pagora::FindArchiveBase(album) : 0;
        if (base == 0)
            throw;
        pagora::AlbumArchive carried(album, base);
        // Running any program a file manager hands over would run whatever a
        // stranger names .kfa; only the viewer itself is trusted.
        if (!SameProgram(album, base, viewer))
            throw pagora::AlbumError(album + ": a self-contained album whose program is not " +
                                     viewer + "; kfa view runs only albums bundled with it");
        Run(album, "");
    }
    Run(viewer, album);
}

}  // namespace

Command ViewCommand() {
    return {"view", "show an album in the viewer", kUsage, RunView};
}

}  // namespace kfa
