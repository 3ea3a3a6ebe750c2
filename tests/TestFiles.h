#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace pagora::test {

// A private folder, removed with its contents when the test ends.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "/" + name; }

  private:
    std::string path_;
};

using Bytes = std::vector<uint8_t>;
using Members = std::vector<std::pair<std::string, Bytes>>;

Bytes ReadFile(const std::string& path);
void WriteFile(const std::string& path, const Bytes& bytes);
Bytes TextBytes(const std::string& text);
// Deterministic bytes that deflate cannot shrink much.
Bytes NoiseBytes(size_t count, uint32_t seed = 1);

// An album container of the members, in memory, at base 0.
Bytes PackAlbum(const Members& members);

struct ProcessResult {
    int Status = -1;
    std::string Out;
    std::string Err;
    bool TimedOut = false;
};
// Runs a program with arguments (no shell) and collects its output.
ProcessResult RunProgram(const std::vector<std::string>& argv);
// The same with the given environment ("NAME=VALUE" each) instead of this
// process's. A program still running after timeoutSeconds (0: no limit) is
// killed, so that a hang fails the test instead of stalling the run; its
// Status is then 128 + SIGKILL and TimedOut is set.
ProcessResult RunProgram(const std::vector<std::string>& argv,
                         const std::vector<std::string>& environment, int timeoutSeconds = 0);
// This process's environment as "NAME=VALUE" strings.
std::vector<std::string> CurrentEnvironment();

}  // namespace pagora::test
