#include "archive/AlbumArchive.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "archive/AlbumError.h"
#include "archive/AtomicFile.h"
#include "archive/Gbk.h"
#include "archive/LittleEndian.h"
#include "archive/NameFold.h"

namespace pagora {
namespace {

// Adjacent blocks are fetched together, up to this many at a time.
constexpr int64_t kBlocksPerRead = 64;
constexpr int64_t kInflatePiece = 256 * 1024;

int CompareEntry(const ArchiveEntry& entry, const std::string& folded) {
    return CompareFolded(FoldName(entry.Name), folded);
}

// Inflates a zlib stream to the destination in pieces, stopping after exactly
// length bytes; fewer is an error.
void Inflate(const uint8_t* data, int64_t size, int64_t length, const std::string& what,
             Stream& destination) {
    struct Inflater {
        z_stream z{};
        Inflater() { ok = inflateInit(&z) == Z_OK; }
        ~Inflater() {
            if (ok)
                inflateEnd(&z);
        }
        bool ok;
    } inflater;
    z_stream& z = inflater.z;
    if (!inflater.ok)
        throw AlbumError(what + ": cannot start inflating");

    std::vector<uint8_t> piece(std::min<int64_t>(length, kInflatePiece) + 1);
    int64_t produced = 0;
    int rc = Z_OK;
    while (produced < length && rc == Z_OK) {
        if (z.avail_in == 0 && size > 0) {
            z.next_in = const_cast<uint8_t*>(data);
            z.avail_in = static_cast<uInt>(std::min<int64_t>(size, kInflatePiece));
            data += z.avail_in;
            size -= z.avail_in;
        }
        z.next_out = piece.data();
        z.avail_out = static_cast<uInt>(std::min<int64_t>(length - produced, kInflatePiece));
        rc = inflate(&z, Z_NO_FLUSH);
        size_t made = z.next_out - piece.data();
        destination.Write(piece.data(), made);
        produced += made;
        // No progress with input left to give is not an error yet.
        if (rc == Z_BUF_ERROR && (size > 0 || z.avail_in > 0))
            rc = Z_OK;
    }
    if (length == 0 && rc == Z_OK) {
        z.next_in = const_cast<uint8_t*>(data);
        z.avail_in = static_cast<uInt>(std::min<int64_t>(size, kInflatePiece));
        z.next_out = piece.data();
        z.avail_out = 0;
        rc = inflate(&z, Z_NO_FLUSH);
    }
    if (rc != Z_OK && rc != Z_STREAM_END && rc != Z_BUF_ERROR)
        throw AlbumError(what + ": damaged compressed data" +
                         (z.msg ? std::string(": ") + z.msg : ""));
    if (produced < length)
        throw AlbumError(what + ": damaged: " + std::to_string(produced) + " of " +
                         std::to_string(length) + " bytes inflated");
}

}  // namespace

AlbumArchive::AlbumArchive(std::string path, int64_t base) : path_(std::move(path)), base_(base) {
    // Non-blocking, so that a FIFO put in the album's place cannot hang the open.
    fd_ = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd_ < 0)
        throw AlbumError(path_ + ": cannot open: " + std::strerror(errno));
    try {
        struct stat st;
        if (::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode))
            throw AlbumError(path_ + ": not an album file");
        fileSize_ = st.st_size;
        const std::string& what = path_;
        if (base_ < 0 || base_ > fileSize_ - kBlockSize)
            throw AlbumError(what + ": no container at offset " + std::to_string(base_) +
                             " (the file holds " + std::to_string(fileSize_) + " bytes)");

        uint8_t header[8];
        ReadAt(base_, header, sizeof header, what + ": directory");
        int64_t length = LoadI64(header);
        if (length < 4 || length > fileSize_ - base_)
            throw AlbumError(what + ": not an album container (directory length " +
                             std::to_string(length) + ")");
        std::vector<uint8_t> directory = ReadChain(base_, length, what + ": directory");

        int32_t count = LoadI32(directory.data());
        if (count > 0 && static_cast<int64_t>(count) > (length - 4) / kEntrySize)
            throw AlbumError(what + ": damaged directory (" + std::to_string(count) +
                             " entries stated, room for " +
                             std::to_string((length - 4) / kEntrySize) + ")");
        for (int32_t i = 0; i < count; ++i) {
            const uint8_t* raw = directory.data() + 4 + i * kEntrySize;
            if (raw[0] > kMaxNameLength)
                continue;  // cannot be a name: dropped
            ArchiveEntry entry;
            entry.Name.assign(reinterpret_cast<const char*>(raw + 1), raw[0]);
            entry.Number = LoadI64(raw + 40);
            entry.StoredLength = LoadI64(raw + 56);
            entry.FirstBlock = LoadI64(raw + 64);
            entry.DirectoryIndex = i;
            Insert(std::move(entry));
        }
    } catch (...) {
        ::close(fd_);
        throw;
    }
}

AlbumArchive::~AlbumArchive() {
    ::close(fd_);
}

std::string AlbumArchive::Describe(const std::string& member) const {
    return path_ + ": member \"" + GbkToUtf8(member) + "\"";
}

bool AlbumArchive::IsRawName(std::string_view name) {
    std::string tail = FoldName(name.size() < 3 ? name : name.substr(name.size() - 3));
    return tail == "jpg" || tail == "mp3";
}

// Keeps the list sorted by folded name; an equal name goes before its twin.
void AlbumArchive::Insert(ArchiveEntry entry) {
    const std::string folded = FoldName(entry.Name);
    if (entries_.empty() || CompareEntry(entries_.front(), folded) >= 0) {
        entries_.insert(entries_.begin(), std::move(entry));
        return;
    }
    if (CompareEntry(entries_.back(), folded) < 0) {
        entries_.push_back(std::move(entry));
        return;
    }
    size_t smaller = 0, notSmaller = entries_.size() - 1;
    while (notSmaller - smaller > 1) {
        size_t middle = smaller + (notSmaller - smaller) / 2;
        if (CompareEntry(entries_[middle], folded) < 0)
            smaller = middle;
        else
            notSmaller = middle;
    }
    entries_.insert(entries_.begin() + notSmaller, std::move(entry));
}

const ArchiveEntry* AlbumArchive::Find(std::string_view name) const {
    if (entries_.empty() || name.size() > kMaxNameLength)
        return nullptr;
    const std::string folded = FoldName(name);
    int first = CompareEntry(entries_.front(), folded);
    if (first > 0)
        return nullptr;
    if (first == 0)
        return &entries_.front();
    int last = CompareEntry(entries_.back(), folded);
    if (last < 0)
        return nullptr;
    if (last == 0)
        return &entries_.back();
    size_t low = 0, high = entries_.size() - 1;
    while (high - low > 1) {
        size_t middle = (low + high) / 2;
        int c = CompareEntry(entries_[middle], folded);
        if (c == 0)
            return &entries_[middle];
        if (c > 0)
            high = middle;
        else
            low = middle;
    }
    return nullptr;
}

std::optional<int64_t> AlbumArchive::MemberNumber(std::string_view name) const {
    const ArchiveEntry* entry = Find(name);
    if (!entry)
        return std::nullopt;
    return entry->Number;
}

std::vector<ArchiveEntry> AlbumArchive::DirectoryOrder() const {
    std::vector<ArchiveEntry> ordered = entries_;
    std::sort(ordered.begin(), ordered.end(), [](const ArchiveEntry& a, const ArchiveEntry& b) {
        return a.DirectoryIndex < b.DirectoryIndex;
    });
    return ordered;
}

void AlbumArchive::ReadAt(int64_t offset, void* buffer, size_t count,
                          const std::string& what) const {
    size_t done = 0;
    while (done < count) {
        ssize_t n = ::pread(fd_, static_cast<char*>(buffer) + done, count - done, offset + done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            throw AlbumError(what + ": cannot read: " + std::strerror(errno));
        if (n == 0)
            throw AlbumError(what + ": the file ends early");
        done += n;
    }
}

void AlbumArchive::CheckBlock(int64_t offset, const std::string& what) const {
    // Blocks lie at whole multiples of the block size from base, inside the file.
    if (offset < base_ || (offset - base_) % kBlockSize != 0 || offset > fileSize_ - kBlockSize)
        throw AlbumError(what + ": block link " + std::to_string(offset) +
                         " lies outside the album");
}

template <typename Sink>
void AlbumArchive::ReadChain(int64_t start, int64_t length, const std::string& what,
                             Sink&& sink) const {
    if (length <= 0)
        return;
    // Every block holds 4080 bytes, so a chain needing more blocks than the
    // file has must loop back on itself.
    int64_t blocks = (length - 1) / kPayloadSize + 1;
    if (blocks > (fileSize_ - base_) / kBlockSize)
        throw AlbumError(what + ": length " + std::to_string(length) +
                         " is larger than the album holds");

    std::vector<uint8_t> window;
    int64_t windowStart = 0;
    int64_t block = start;
    int64_t produced = 0;
    while (produced < length) {
        CheckBlock(block, what);
        if (block < windowStart || block + kBlockSize > windowStart + int64_t(window.size())) {
            int64_t remaining = (length - produced - 1) / kPayloadSize + 1;
            int64_t count = std::min({kBlocksPerRead, remaining, (fileSize_ - block) / kBlockSize});
            window.resize(count * kBlockSize);
            windowStart = block;
            ReadAt(block, window.data(), window.size(), what);
        }
        const uint8_t* data = window.data() + (block - windowStart);
        int64_t take = std::min(kPayloadSize, length - produced);
        sink(data + 8, static_cast<size_t>(take));
        produced += take;
        if (produced < length)
            block = LoadI64(data + 8 + kPayloadSize);
    }
}

std::vector<uint8_t> AlbumArchive::ReadChain(int64_t start, int64_t length,
                                             const std::string& what) const {
    std::vector<uint8_t> out;
    out.reserve(static_cast<size_t>(length));
    ReadChain(start, length, what,
              [&](const uint8_t* p, size_t n) { out.insert(out.end(), p, p + n); });
    return out;
}

bool AlbumArchive::ExtractToStream(std::string_view name, Stream& destination) const {
    const ArchiveEntry* entry = Find(name);
    if (!entry)
        return false;
    const std::string what = Describe(entry->Name);
    if (entry->StoredLength < 0 || entry->StoredLength > fileSize_)
        throw AlbumError(what + ": stored length " + std::to_string(entry->StoredLength) +
                         " is larger than the album");
    int64_t start = 0;
    if (entry->StoredLength > 0) {
        if (__builtin_add_overflow(base_, entry->FirstBlock, &start))
            throw AlbumError(what + ": first block lies outside the album");
        CheckBlock(start, what);
    }

    if (IsRawName(entry->Name)) {
        destination.Seek(0);
        destination.Reserve(entry->StoredLength);
        ReadChain(start, entry->StoredLength, what,
                  [&](const uint8_t* p, size_t n) { destination.Write(p, n); });
        return true;
    }

    if (entry->StoredLength < 8)
        throw AlbumError(what + ": damaged: too short for its length");
    std::vector<uint8_t> stored = ReadChain(start, entry->StoredLength, what);
    int64_t compressed = entry->StoredLength - 8;
    int64_t length = LoadI64(stored.data() + compressed);
    if (length < 0 || length >= kMaxUncompressedLength || length > compressed * kMaxInflateRatio)
        throw AlbumError(what + ": damaged: states " + std::to_string(length) + " bytes from " +
                         std::to_string(compressed) + " compressed");

    destination.Reserve(destination.Position() + length);
    Inflate(stored.data(), compressed, length, what, destination);
    return true;
}

std::optional<std::vector<uint8_t>> AlbumArchive::Extract(std::string_view name) const {
    MemoryStream stream;
    if (!ExtractToStream(name, stream))
        return std::nullopt;
    return stream.TakeBytes();
}

void AlbumArchive::ExtractToFile(std::string_view name, const std::string& destinationPath) const {
    try {
        AtomicFile file(destinationPath);
        if (ExtractToStream(name, file.Out())) {
            file.Commit();
            return;
        }
    } catch (...) {
        ::unlink(destinationPath.c_str());
        throw;
    }
    // A missing member leaves no file of that name, not even an old one.
    if (::unlink(destinationPath.c_str()) != 0 && errno != ENOENT)
        throw AlbumError(destinationPath + ": cannot remove: " + std::strerror(errno));
}

}  // namespace pagora
