#include "Files.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>

#include "archive/AlbumError.h"

namespace kfa {

std::vector<uint8_t> ReadWholeFile(const std::string& path, int64_t maxSize) {
    struct stat info;
    if (::stat(path.c_str(), &info) != 0)
        throw pagora::AlbumError(path + ": cannot open: " + std::strerror(errno));
    if (!S_ISREG(info.st_mode))
        throw pagora::AlbumError(path + ": not a file");
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in)
        throw pagora::AlbumError(path + ": cannot open");
    std::streamoff size = in.tellg();
    if (size < 0)
        throw pagora::AlbumError(path + ": cannot read");
    if (size > maxSize)
        throw pagora::AlbumError(path + ": larger than " + std::to_string(maxSize) + " bytes");
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    in.seekg(0);
    if (!in.read(reinterpret_cast<char*>(bytes.data()), size))
        throw pagora::AlbumError(path + ": cannot read");
    return bytes;
}

std::string BaseName(const std::string& path) {
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace kfa
