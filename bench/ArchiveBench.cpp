// Extraction speed of a large raw and a large compressed member, beside
// reading the same bytes with cat and inflating them with plain zlib.
#include <fcntl.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "BenchTimer.h"
#include "archive/AlbumArchive.h"
#include "archive/AlbumWriter.h"
#include "archive/LittleEndian.h"
#include "archive/Stream.h"

extern char** environ;

namespace {

using pagora::bench::BestMs;

void Cat(const std::string& path) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    const char* argv[] = {"cat", path.c_str(), nullptr};
    pid_t pid;
    if (posix_spawnp(&pid, "cat", &actions, nullptr, const_cast<char**>(argv), environ) == 0) {
        int status;
        waitpid(pid, &status, 0);
    }
    posix_spawn_file_actions_destroy(&actions);
}

std::vector<uint8_t> Photo(size_t size) {
    std::vector<uint8_t> bytes(size);
    uint32_t x = 12345;
    for (uint8_t& b : bytes) {
        x = x * 1664525u + 1013904223u;
        b = static_cast<uint8_t>(x >> 24);
    }
    return bytes;
}

// Compresses about 4 : 1, like the records and sounds of an album.
std::vector<uint8_t> Document(size_t size) {
    std::vector<uint8_t> bytes(size);
    uint32_t x = 777;
    for (size_t i = 0; i < size; ++i) {
        x = x * 1664525u + 1013904223u;
        bytes[i] =
            (x >> 28) < 3 ? static_cast<uint8_t>(x >> 20) : static_cast<uint8_t>('a' + i % 23);
    }
    return bytes;
}

void Write(const std::string& path, const std::vector<uint8_t>& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

void Row(const char* what, double ms, double baseline, size_t bytes) {
    std::printf("  %-34s %9.1f ms %8.0f MB/s   x%.2f\n", what, ms, bytes / ms / 1000.0,
                ms / baseline);
}

}  // namespace

int main(int argc, char** argv) {
    size_t mib = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 128;
    size_t size = mib << 20;
    std::string dir = std::filesystem::temp_directory_path() / "pagora-bench-XXXXXX";
    if (!mkdtemp(dir.data()))
        return 1;
    std::string albumPath = dir + "/album.kfa", rawPath = dir + "/photo.jpg",
                zipPath = dir + "/document.z";

    std::vector<uint8_t> photo = Photo(size), document = Document(size);
    {
        pagora::MemoryStream out;
        pagora::AlbumWriter writer(out, 0);
        writer.Add("photo.jpg", photo);
        writer.Add("document.dat", document);
        writer.Finish();
        Write(albumPath, out.Bytes());
    }
    Write(rawPath, photo);
    std::vector<uint8_t> stored = pagora::EncodeMember("document.dat", document);
    Write(zipPath, stored);

    pagora::AlbumArchive album(albumPath, 0);
    std::printf("archive extraction, %zu MiB members (best of 5)\n", mib);
    std::printf("raw member\n");
    double cat = BestMs([&] { Cat(rawPath); });
    Row("cat of the same bytes (baseline)", cat, cat, size);
    Row("ExtractToStream, discarding", BestMs([&] {
            pagora::DiscardStream sink;
            album.ExtractToStream("photo.jpg", sink);
        }),
        cat, size);
    // The floor for extraction into memory: the same bytes copied into fresh pages.
    Row("memcpy into fresh memory (floor)", BestMs([&] {
            std::vector<uint8_t> copy(size);
            std::memcpy(copy.data(), photo.data(), size);
        }),
        cat, size);
    Row("ExtractToStream into memory", BestMs([&] {
            pagora::MemoryStream sink;
            album.ExtractToStream("photo.jpg", sink);
        }),
        cat, size);

    photo.clear();
    photo.shrink_to_fit();

    std::printf("zlib member (%.1f MiB stored)\n", stored.size() / 1048576.0);
    std::vector<uint8_t> inflated(size);
    double inflate = BestMs([&] {
        uLongf length = inflated.size();
        uncompress(inflated.data(), &length, stored.data(), stored.size() - 8);
    });
    Row("zlib uncompress in memory (baseline)", inflate, inflate, size);
    Row("ExtractToStream, discarding", BestMs([&] {
            pagora::DiscardStream sink;
            album.ExtractToStream("document.dat", sink);
        }),
        inflate, size);
    Row("cat of the stored bytes", BestMs([&] { Cat(zipPath); }), inflate, stored.size());

    std::filesystem::remove_all(dir);
    return 0;
}
