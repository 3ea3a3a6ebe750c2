#pragma once

#include <cstdint>
#include <vector>

namespace pagora {

inline constexpr int kVersionTextBufferSize = 32;

// Writes "major.minor" of the file version that a Windows executable carries in its version
// resource, zero-terminated, and returns 1; returns 0 for anything else. The file is untrusted:
// only the ranges the lookup needs are read, each checked against the file's size.
int32_t GetVersionInfo(const char* path, char* buffer);

// A minimal PE32 executable whose only section holds a version resource for that file version,
// so that version checks can be exercised without a real executable.
std::vector<uint8_t> MakeVersionedExecutable(uint16_t major, uint16_t minor, uint16_t build = 0,
                                             uint16_t revision = 0);

}  // namespace pagora
