#include "TestFiles.h"

#include <fcntl.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "archive/AlbumWriter.h"

extern char** environ;

namespace pagora::test {

TempDir::TempDir() {
    std::string pattern = std::filesystem::temp_directory_path().string() + "/pagora-test-XXXXXX";
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

Bytes ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteFile(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

Bytes TextBytes(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

Bytes NoiseBytes(size_t count, uint32_t seed) {
    Bytes bytes(count);
    uint32_t x = seed * 2654435761u + 1;
    for (uint8_t& b : bytes) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        b = static_cast<uint8_t>(x);
    }
    return bytes;
}

Bytes PackAlbum(const Members& members) {
    MemoryStream stream;
    AlbumWriter writer(stream, 0);
    for (const auto& [name, content] : members)
        writer.Add(name, content);
    writer.Finish();
    return stream.TakeBytes();
}

ProcessResult RunProgram(const std::vector<std::string>& argv) {
    TempDir dir;
    std::string outPath = dir.File("out"), errPath = dir.File("err");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT, 0600);
    std::vector<char*> args;
    for (const std::string& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    pid_t pid;
    int rc = posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0)
        throw std::runtime_error("cannot start " + argv[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    ProcessResult result;
    result.Status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    auto bytes = [](const std::string& p) {
        Bytes b = ReadFile(p);
        return std::string(b.begin(), b.end());
    };
    result.Out = bytes(outPath);
    result.Err = bytes(errPath);
    return result;
}

}  // namespace pagora::test
