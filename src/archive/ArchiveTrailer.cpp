#include "archive/ArchiveTrailer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "archive/AlbumArchive.h"
#include "archive/AlbumError.h"
#include "archive/LittleEndian.h"

namespace pagora {

int64_t FindArchiveBase(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        throw AlbumError(path + ": cannot open: " + std::strerror(errno));
    struct stat st;
    uint8_t trailer[8];
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size >= 8 &&
              ::pread(fd, trailer, 8, st.st_size - 8) == 8;
    ::close(fd);
    if (!ok)
        return 0;
    int64_t base = LoadI64(trailer);
    if (base < 0 || base > st.st_size - 8 - AlbumArchive::kBlockSize)
        return 0;
    return base;
}

}  // namespace pagora
