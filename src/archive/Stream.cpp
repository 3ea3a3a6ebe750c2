#include "archive/Stream.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "archive/AlbumError.h"

namespace pagora {

size_t MemoryStream::Read(void* buffer, size_t count) {
    size_t available = position_ < bytes_.size() ? bytes_.size() - position_ : 0;
    size_t n = count < available ? count : available;
    if (n > 0)
        std::memcpy(buffer, bytes_.data() + position_, n);
    position_ += n;
    return n;
}

void MemoryStream::Write(const void* buffer, size_t count) {
    if (count == 0)
        return;
    if (position_ + count > bytes_.size())
        bytes_.resize(position_ + count);
    std::memcpy(bytes_.data() + position_, buffer, count);
    position_ += count;
}

void MemoryStream::Seek(int64_t position) {
    if (position < 0)
        throw AlbumError("memory stream: negative position");
    position_ = static_cast<size_t>(position);
}

FileStream::~FileStream() {
    if (fd_ >= 0)
        ::close(fd_);
}

static std::string SystemError(const std::string& what, const std::string& path) {
    return path + ": " + what + ": " + std::strerror(errno);
}

size_t FileStream::Read(void* buffer, size_t count) {
    size_t done = 0;
    while (done < count) {
        ssize_t n = ::pread(fd_, static_cast<char*>(buffer) + done, count - done, position_);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            throw AlbumError(SystemError("cannot read", path_));
        if (n == 0)
            break;
        done += n;
        position_ += n;
    }
    return done;
}

void FileStream::Write(const void* buffer, size_t count) {
    size_t done = 0;
    while (done < count) {
        ssize_t n = ::pwrite(fd_, static_cast<const char*>(buffer) + done, count - done, position_);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            throw AlbumError(SystemError("cannot write", path_));
        done += n;
        position_ += n;
    }
}

void FileStream::Seek(int64_t position) {
    if (position < 0)
        throw AlbumError(path_ + ": negative position");
    position_ = position;
}

int64_t FileStream::Size() const {
    struct stat st;
    if (::fstat(fd_, &st) != 0)
        throw AlbumError(SystemError("cannot stat", path_));
    return st.st_size;
}

void FileStream::Close() {
    int fd = fd_;
    fd_ = -1;
    if (fd >= 0 && ::close(fd) != 0)
        throw AlbumError(SystemError("cannot close", path_));
}

}  // namespace pagora
