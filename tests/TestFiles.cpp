#include "TestFiles.h"

#include <fcntl.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <thread>

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

namespace {

ProcessResult Spawn(const std::vector<std::string>& argv, char* const* environment,
                    int timeoutSeconds) {
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
    int rc = posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environment);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0)
        throw std::runtime_error("cannot start " + argv[0]);
    ProcessResult result;
    int status = 0;
    if (timeoutSeconds <= 0) {
        ::waitpid(pid, &status, 0);
    } else {
        const auto deadline =
            std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
        while (::waitpid(pid, &status, WNOHANG) == 0) {
            if (std::chrono::steady_clock::now() > deadline) {
                ::kill(pid, SIGKILL);
                ::waitpid(pid, &status, 0);
                result.TimedOut = true;
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    result.Status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    auto bytes = [](const std::string& p) {
        Bytes b = ReadFile(p);
        return std::string(b.begin(), b.end());
    };
    result.Out = bytes(outPath);
    result.Err = bytes(errPath);
    return result;
}

}  // namespace

ProcessResult RunProgram(const std::vector<std::string>& argv) {
    return Spawn(argv, environ, 0);
}

ProcessResult RunProgram(const std::vector<std::string>& argv,
                         const std::vector<std::string>& environment, int timeoutSeconds) {
    std::vector<char*> variables;
    for (const std::string& v : environment)
        variables.push_back(const_cast<char*>(v.c_str()));
    variables.push_back(nullptr);
    return Spawn(argv, variables.data(), timeoutSeconds);
}

std::vector<std::string> CurrentEnvironment() {
    std::vector<std::string> variables;
    for (char** v = environ; *v != nullptr; ++v)
        variables.emplace_back(*v);
    return variables;
}

}  // namespace pagora::test
