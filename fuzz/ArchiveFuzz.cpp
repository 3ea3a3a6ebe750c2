// Opens the input as an album container and extracts every member.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <string>

#include "archive/AlbumArchive.h"
#include "archive/AlbumError.h"
#include "archive/ArchiveTrailer.h"
#include "archive/Gbk.h"
#include "archive/Stream.h"

namespace {

class MemoryFile {
  public:
    MemoryFile(const uint8_t* data, size_t size) : fd_(memfd_create("album", MFD_CLOEXEC)) {
        if (fd_ >= 0 && size > 0 && ::write(fd_, data, size) != static_cast<ssize_t>(size))
            __builtin_trap();
    }
    ~MemoryFile() { ::close(fd_); }
    std::string Path() const { return "/proc/self/fd/" + std::to_string(fd_); }

  private:
    int fd_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    MemoryFile file(data, size);
    try {
        int64_t base = pagora::FindArchiveBase(file.Path());
        pagora::AlbumArchive album(file.Path(), base);
        for (const pagora::ArchiveEntry& entry : album.DirectoryOrder()) {
            pagora::GbkToUtf8(entry.Name);
            album.MemberNumber(entry.Name);
            pagora::DiscardStream sink;
            try {
                album.ExtractToStream(entry.Name, sink);
            } catch (const pagora::AlbumError&) {
            }
        }
    } catch (const pagora::AlbumError&) {
    }
    return 0;
}
