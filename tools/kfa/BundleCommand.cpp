#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "Arguments.h"
#include "Commands.h"
#include "Files.h"
#include "Viewer.h"
#include "archive/AlbumArchive.h"
#include "archive/AlbumError.h"
#include "archive/AlbumWriter.h"
#include "archive/ArchiveTrailer.h"
#include "archive/AtomicFile.h"
#include "archive/Gbk.h"

namespace kfa {
namespace {

constexpr int64_t kMaxViewerSize = int64_t(1) << 30;

const char kUsage[] =
    "Usage: kfa bundle ALBUM -o FILE [--viewer PATH]\n\n"
    "Writes a self-contained album: the viewer program with the album appended,\n"
    "which shows the album when it is run. kfa list and the other reading\n"
    "commands read the result too.\n\n"
    "  -o FILE         the program to write (executable; replaced only when complete)\n"
    "  --viewer PATH   the viewer to take (default: pagora beside kfa, else on PATH)\n";

// A viewer that already carries an album would end up with two.
void CheckPlainViewer(const std::string& viewer) {
    int64_t base = pagora::FindArchiveBase(viewer);
    if (base == 0)
        return;
    try {
        pagora::AlbumArchive carried(viewer, base);
    } catch (const pagora::AlbumError&) {
        return;  // its last bytes only look like a trailer
    }
    throw pagora::AlbumError(viewer + ": already carries an album; give the plain viewer");
}

int RunBundle(const std::vector<std::string>& raw) {
    Arguments args(raw, {"-o", "--viewer"}, {});
    if (args.Positional().size() != 1)
        throw UsageError("expects one album");
    auto out = args.Value("-o");
    if (!out || out->empty())
        throw UsageError("needs -o FILE");
    std::string viewer = FindViewer(args.Value("--viewer"));
    CheckPlainViewer(viewer);

    const std::string& albumPath = args.Positional()[0];
    pagora::AlbumArchive album(albumPath, pagora::FindArchiveBase(albumPath));
    std::vector<uint8_t> program = ReadWholeFile(viewer, kMaxViewerSize);

    pagora::AtomicFile file(*out);
    file.Out().Write(program.data(), program.size());
    // Block links hold absolute offsets, so the members are written anew at
    // the new base rather than copied as bytes.
    pagora::AlbumWriter writer(file.Out(), static_cast<int64_t>(program.size()));
    program = {};
    for (const pagora::ArchiveEntry& entry : album.DirectoryOrder()) {
        auto content = album.Extract(entry.Name);
        if (!content)
            throw pagora::AlbumError(albumPath + ": member \"" + pagora::GbkToUtf8(entry.Name) +
                                     "\" cannot be found again");
        writer.Add(entry.Name, *content, entry.Number);
    }
    writer.Finish();
    mode_t mask = ::umask(0);
    ::umask(mask);
    if (::chmod(file.TempPath().c_str(), 0777 & ~mask) != 0)
        throw pagora::AlbumError(*out + ": cannot make it executable");
    file.Commit();
    return kSuccess;
}

}  // namespace

Command BundleCommand() {
    return {"bundle", "append an album to the viewer: a self-contained album", kUsage, RunBundle};
}

}  // namespace kfa
