#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "archive/Stream.h"

namespace pagora {

// Writes an album container into a stream, beginning at the base offset.
// Members are written as they are added, so only one is in memory at a time;
// Finish writes the directory (first block at base, sorted by folded name)
// and the trailer that names the base.
class AlbumWriter {
  public:
    AlbumWriter(Stream& out, int64_t base);

    // name is the stored name (GBK bytes), 1 to 39 bytes, unique without
    // regard to letter case. Whether the member is compressed follows its name.
    void Add(const std::string& name, const std::vector<uint8_t>& content, int64_t number = 0);
    void Finish();

  private:
    int64_t WriteChain(const std::vector<uint8_t>& data, int64_t firstHeader, int64_t firstBlock);
    int64_t NextBlock();

    struct Entry {
        std::string Name;
        int64_t Number;
        int64_t StoredLength;
        int64_t FirstBlock;
    };
    Stream& out_;
    int64_t base_;
    int64_t end_;  // offset of the next free block
    std::vector<Entry> entries_;
    bool finished_ = false;
};

// Encodes a member's content the way the container stores it: as it is, or a
// zlib stream followed by its 8-byte length.
std::vector<uint8_t> EncodeMember(const std::string& name, const std::vector<uint8_t>& content);

}  // namespace pagora
