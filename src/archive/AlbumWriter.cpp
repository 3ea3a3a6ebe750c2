#include "archive/AlbumWriter.h"

#include <zlib.h>

#include <algorithm>

#include "archive/AlbumArchive.h"
#include "archive/AlbumError.h"
#include "archive/Gbk.h"
#include "archive/LittleEndian.h"
#include "archive/NameFold.h"

namespace pagora {
namespace {

constexpr int64_t kBlock = AlbumArchive::kBlockSize;
constexpr int64_t kPayload = AlbumArchive::kPayloadSize;
constexpr int64_t kMemberHeader = -100;

}  // namespace

std::vector<uint8_t> EncodeMember(const std::string& name, const std::vector<uint8_t>& content) {
    if (AlbumArchive::IsRawName(name))
        return content;
    if (content.size() >= static_cast<size_t>(AlbumArchive::kMaxUncompressedLength))
        throw AlbumError("member \"" + GbkToUtf8(name) +
                         "\": too large to compress (2 GiB at most)");
    uLongf size = compressBound(content.size());
    std::vector<uint8_t> out(size + 8);
    if (compress2(out.data(), &size, content.data(), content.size(), Z_BEST_COMPRESSION) != Z_OK)
        throw AlbumError("member \"" + GbkToUtf8(name) + "\": cannot compress");
    out.resize(size + 8);
    StoreI64(out.data() + size, static_cast<int64_t>(content.size()));
    return out;
}

AlbumWriter::AlbumWriter(Stream& out, int64_t base) : out_(out), base_(base), end_(base + kBlock) {
    if (base < 0)
        throw AlbumError("container base must not be negative");
    // The directory's first block is reserved at base and written last.
    std::vector<uint8_t> empty(kBlock, 0);
    out_.Seek(base_);
    out_.Write(empty.data(), empty.size());
}

int64_t AlbumWriter::NextBlock() {
    int64_t block = end_;
    end_ += kBlock;
    return block;
}

// Writes data as a chain whose first block is firstBlock (later blocks are
// appended) and returns firstBlock.
int64_t AlbumWriter::WriteChain(const std::vector<uint8_t>& data, int64_t firstHeader,
                                int64_t firstBlock) {
    std::vector<uint8_t> block(kBlock);
    int64_t previous = -1;
    int64_t current = firstBlock;
    size_t done = 0;
    do {
        size_t take = std::min<size_t>(kPayload, data.size() - done);
        bool last = done + take >= data.size();
        int64_t next = last ? -1 : NextBlock();
        std::fill(block.begin(), block.end(), 0);
        StoreI64(block.data(), previous < 0 ? firstHeader : previous);
        if (take > 0)
            std::copy_n(data.data() + done, take, block.data() + 8);
        StoreI64(block.data() + 8 + kPayload, next);
        out_.Seek(current);
        out_.Write(block.data(), block.size());
        done += take;
        previous = current;
        current = next;
    } while (done < data.size());
    return firstBlock;
}

void AlbumWriter::Add(const std::string& name, const std::vector<uint8_t>& content,
                      int64_t number) {
    if (finished_)
        throw AlbumError("album already finished");
    if (name.empty() || name.size() > AlbumArchive::kMaxNameLength)
        throw AlbumError("member name \"" + GbkToUtf8(name) + "\" must be 1 to 39 bytes long");
    std::string folded = FoldName(name);
    for (const Entry& e : entries_)
        if (FoldName(e.Name) == folded)
            throw AlbumError("member name \"" + GbkToUtf8(name) + "\" appears twice");
    std::vector<uint8_t> stored = EncodeMember(name, content);
    int64_t first = WriteChain(stored, kMemberHeader, NextBlock());
    entries_.push_back({name, number, static_cast<int64_t>(stored.size()), first - base_});
}

void AlbumWriter::Finish() {
    if (finished_)
        return;
    finished_ = true;
    std::stable_sort(entries_.begin(), entries_.end(), [](const Entry& a, const Entry& b) {
        return FoldName(a.Name) < FoldName(b.Name);
    });
    std::vector<uint8_t> directory(4 + entries_.size() * AlbumArchive::kEntrySize, 0);
    StoreI32(directory.data(), static_cast<int32_t>(entries_.size()));
    uint8_t* p = directory.data() + 4;
    for (const Entry& e : entries_) {
        p[0] = static_cast<uint8_t>(e.Name.size());
        std::copy(e.Name.begin(), e.Name.end(), p + 1);
        StoreI64(p + 40, e.Number);
        StoreI64(p + 56, e.StoredLength);
        StoreI64(p + 64, e.FirstBlock);
        p += AlbumArchive::kEntrySize;
    }
    WriteChain(directory, static_cast<int64_t>(directory.size()), base_);
    uint8_t trailer[8];
    StoreI64(trailer, base_);
    out_.Seek(end_);
    out_.Write(trailer, sizeof trailer);
}

}  // namespace pagora
