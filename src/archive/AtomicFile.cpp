#include "archive/AtomicFile.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "archive/AlbumError.h"

namespace pagora {

AtomicFile::AtomicFile(std::string path) : path_(std::move(path)) {
    std::string pattern = path_ + ".tmp-XXXXXX";
    int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd < 0)
        throw AlbumError(path_ + ": cannot create: " + std::strerror(errno));
    // mkstemp makes 0600; a finished file gets the usual umask-governed mode.
    mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
    tempPath_ = pattern;
    stream_ = std::make_unique<FileStream>(fd, path_);
}

AtomicFile::~AtomicFile() {
    if (!committed_) {
        stream_.reset();
        ::unlink(tempPath_.c_str());
    }
}

void AtomicFile::Commit() {
    stream_->Close();
    if (::rename(tempPath_.c_str(), path_.c_str()) != 0)
        throw AlbumError(path_ + ": cannot write: " + std::strerror(errno));
    committed_ = true;
}

}  // namespace pagora
