#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "archive/Stream.h"

namespace pagora {

// One member of the container's directory. Name holds the stored bytes
// (GBK in Chinese albums).
struct ArchiveEntry {
    std::string Name;
    int64_t Number = 0;
    int64_t StoredLength = 0;
    int64_t FirstBlock = 0;  // relative to the container's base
    int32_t DirectoryIndex = 0;
};

// Read-only access to an album container that begins at a base offset of its
// file. The whole directory is read at construction.
//
// All reads are positional (pread) and the object is immutable once built, so
// several threads may extract from one object at once.
//
// Album files come from strangers: every length and link is checked against
// the file before it is used, and every failure is an AlbumError naming the
// album and the member.
class AlbumArchive {
  public:
    static constexpr int64_t kBlockSize = 4096;
    static constexpr int64_t kPayloadSize = 4080;
    static constexpr int64_t kEntrySize = 72;
    static constexpr int kMaxNameLength = 39;
    // Deflate cannot expand by more than about 1032 : 1.
    static constexpr int64_t kMaxInflateRatio = 1032;
    static constexpr int64_t kMaxUncompressedLength = int64_t{1} << 31;

    AlbumArchive(std::string path, int64_t base);
    ~AlbumArchive();
    AlbumArchive(const AlbumArchive&) = delete;
    AlbumArchive& operator=(const AlbumArchive&) = delete;

    static std::unique_ptr<AlbumArchive> OpenAt(std::string path, int64_t base) {
        return std::make_unique<AlbumArchive>(std::move(path), base);
    }

    // False when the member does not exist; the destination is then untouched.
    bool ExtractToStream(std::string_view name, Stream& destination) const;
    // The member's content, or nothing when it does not exist.
    std::optional<std::vector<uint8_t>> Extract(std::string_view name) const;
    // Afterwards the file holds the member, or does not exist (the member is
    // missing or could not be read).
    void ExtractToFile(std::string_view name, const std::string& destinationPath) const;
    std::optional<int64_t> MemberNumber(std::string_view name) const;
    int32_t MemberCount() const { return static_cast<int32_t>(entries_.size()); }
    bool Contains(std::string_view name) const { return Find(name) != nullptr; }

    // Entries sorted by folded name.
    const std::vector<ArchiveEntry>& Entries() const { return entries_; }
    // Entries in the order the directory stores them.
    std::vector<ArchiveEntry> DirectoryOrder() const;
    const std::string& Path() const { return path_; }
    int64_t Base() const { return base_; }

    // Members ending in "jpg" or "mp3" are stored as they are; all others are
    // zlib streams followed by their 8-byte uncompressed length.
    static bool IsRawName(std::string_view name);

  private:
    const ArchiveEntry* Find(std::string_view name) const;
    void Insert(ArchiveEntry entry);
    // Reads the chain starting at the absolute offset into the sink, in pieces.
    template <typename Sink>
    void ReadChain(int64_t start, int64_t length, const std::string& what, Sink&& sink) const;
    std::vector<uint8_t> ReadChain(int64_t start, int64_t length, const std::string& what) const;
    void ReadAt(int64_t offset, void* buffer, size_t count, const std::string& what) const;
    void CheckBlock(int64_t offset, const std::string& what) const;
    // "FILE: member \"NAME\"", the start of every error about a member.
    std::string Describe(const std::string& member) const;

    std::string path_;
    int64_t base_;
    int fd_ = -1;
    int64_t fileSize_ = 0;
    std::vector<ArchiveEntry> entries_;
};

}  // namespace pagora
