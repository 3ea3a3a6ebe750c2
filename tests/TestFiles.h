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
};
// Runs a program with arguments (no shell) and collects its output.
ProcessResult RunProgram(const std::vector<std::string>& argv);

}  // namespace pagora::test
