#include "archive/VersionResource.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "archive/LittleEndian.h"

namespace pagora {
namespace {

constexpr uint32_t kPeSignature = 0x00004550;  // "PE\0\0"
constexpr uint16_t kPe32Magic = 0x10B;
constexpr uint16_t kPe32PlusMagic = 0x20B;
constexpr uint32_t kResourceDirectoryIndex = 2;
constexpr uint32_t kRtVersion = 16;
constexpr uint32_t kHighBit = 0x80000000;
constexpr uint32_t kFixedFileInfoSignature = 0xFEEF04BD;
constexpr int kCoffHeaderSize = 20;
constexpr int kSectionHeaderSize = 40;
constexpr int kDirectoryHeaderSize = 16;
constexpr int kDirectoryEntrySize = 8;
constexpr int kDataEntrySize = 16;
constexpr uint32_t kChunkBytes = 64 * kSectionHeaderSize;
// VS_VERSIONINFO: three WORDs, L"VS_VERSION_INFO" with its terminator, padding to a DWORD,
// then VS_FIXEDFILEINFO.
constexpr char16_t kVersionKey[] = u"VS_VERSION_INFO";
constexpr int kVersionKeyBytes = sizeof kVersionKey;
constexpr int kFixedInfoOffset = (6 + kVersionKeyBytes + 3) & ~3;
constexpr int kFixedInfoSize = 52;
constexpr int kVersionHeadSize = kFixedInfoOffset + kFixedInfoSize;

// Reads exact ranges of a regular file; a range that does not lie wholly inside it fails.
class BoundedFile {
  public:
    explicit BoundedFile(const char* path) {
        // Non-blocking so that a FIFO given as the path cannot stall the open.
        fd_ = ::open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
        struct stat st;
        if (fd_ >= 0 && ::fstat(fd_, &st) == 0 && S_ISREG(st.st_mode))
            size_ = st.st_size;
    }
    ~BoundedFile() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    BoundedFile(const BoundedFile&) = delete;
    BoundedFile& operator=(const BoundedFile&) = delete;

    bool Read(uint64_t offset, void* out, size_t count) const {
        if (offset > size_ || count > size_ - offset)
            return false;
        auto* p = static_cast<uint8_t*>(out);
        while (count > 0) {
            ssize_t n = ::pread(fd_, p, count, static_cast<off_t>(offset));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return false;
            p += n;
            offset += n;
            count -= n;
        }
        return true;
    }

  private:
    int fd_ = -1;
    uint64_t size_ = 0;
};

// Resolves image addresses (RVAs) to file offsets through the section table, and reads the
// resource tree. Offsets are 64-bit so that no sum of 32-bit fields can wrap.
class PeImage {
  public:
    explicit PeImage(const BoundedFile& file) : file_(file) {}

    // Locates the section table and the resource directory; false if the headers are not those
    // of a PE executable with resources.
    bool Open() {
        uint8_t dos[64];
        if (!file_.Read(0, dos, sizeof dos) || dos[0] != 'M' || dos[1] != 'Z')
            return false;
        uint64_t peOffset = LoadLE(dos + 0x3C, 4);
        uint8_t coff[4 + kCoffHeaderSize];
        if (!file_.Read(peOffset, coff, sizeof coff) || LoadLE(coff, 4) != kPeSignature)
            return false;
        sectionCount_ = static_cast<uint32_t>(LoadLE(coff + 4 + 2, 2));
        uint32_t optionalSize = static_cast<uint32_t>(LoadLE(coff + 4 + 16, 2));
        uint64_t optionalOffset = peOffset + sizeof coff;
        sectionTable_ = optionalOffset + optionalSize;

        uint8_t magic[2];
        if (!file_.Read(optionalOffset, magic, 2))
            return false;
        uint32_t countField, directories;
        switch (LoadLE(magic, 2)) {
            case kPe32Magic:
                countField = 92, directories = 96;
                break;
            case kPe32PlusMagic:
                countField = 108, directories = 112;
                break;
            default:
                return false;
        }
        uint32_t entryOffset = directories + kResourceDirectoryIndex * 8;
        if (entryOffset + 8 > optionalSize)
            return false;
        uint8_t count[4], entry[8];
        if (!file_.Read(optionalOffset + countField, count, 4) ||
            LoadLE(count, 4) <= kResourceDirectoryIndex ||
            !file_.Read(optionalOffset + entryOffset, entry, 8))
            return false;
        resourceRva_ = LoadLE(entry, 4);
        return resourceRva_ != 0 && LoadLE(entry + 4, 4) != 0;
    }

    // Finds the file offset of count bytes at an image address; they must lie in one
    // section's file data. The table is scanned in chunks: its length comes from the file.
    bool MapRva(uint64_t rva, uint64_t count, uint64_t& offset) const {
        bool found = false, fits = false;
        bool read =
            ScanTable(sectionTable_, sectionCount_, kSectionHeaderSize, [&](const uint8_t* s) {
                uint64_t start = LoadLE(s + 12, 4), rawSize = LoadLE(s + 16, 4);
                if (rva < start || rva - start >= rawSize)
                    return false;
                found = true;
                fits = count <= rawSize - (rva - start);
                offset = LoadLE(s + 20, 4) + (rva - start);
                return true;
            });
        return read && found && fits;
    }

    bool ReadRva(uint64_t rva, void* out, size_t count) const {
        uint64_t offset;
        return MapRva(rva, count, offset) && file_.Read(offset, out, count);
    }

    // Follows one entry of the resource directory at dirOffset: the one with the given id, or
    // the first one when id is negative. Returns its target offset word, high bit included.
    bool FindEntry(uint64_t dirOffset, int64_t id, uint32_t& target) const {
        uint8_t head[kDirectoryHeaderSize];
        if (!ReadRva(resourceRva_ + dirOffset, head, sizeof head))
            return false;
        uint32_t entries = static_cast<uint32_t>(LoadLE(head + 12, 2) + LoadLE(head + 14, 2));
        uint64_t offset;
        if (!MapRva(resourceRva_ + dirOffset + kDirectoryHeaderSize,
                    uint64_t{entries} * kDirectoryEntrySize, offset))
            return false;
        bool found = false;
        bool read = ScanTable(offset, entries, kDirectoryEntrySize, [&](const uint8_t* e) {
            if (id >= 0 && LoadLE(e, 4) != static_cast<uint64_t>(id))
                return false;
            found = true;
            target = static_cast<uint32_t>(LoadLE(e + 4, 4));
            return true;
        });
        return read && found;
    }

    // Type, then name, then language: the tree has exactly three levels, so a directory that
    // points back at itself ends at the third step instead of looping.
    bool FindVersionData(uint64_t& rva, uint32_t& size) const {
        uint32_t type, name, language;
        if (!FindEntry(0, kRtVersion, type) || !(type & kHighBit) ||
            !FindEntry(type & ~kHighBit, -1, name) || !(name & kHighBit) ||
            !FindEntry(name & ~kHighBit, -1, language) || (language & kHighBit))
            return false;
        uint8_t data[kDataEntrySize];
        if (!ReadRva(resourceRva_ + language, data, sizeof data))
            return false;
        rva = LoadLE(data, 4);
        size = static_cast<uint32_t>(LoadLE(data + 4, 4));
        return true;
    }

  private:
    // Calls visit on each entry of a table until it returns true. The table is read in chunks
    // into a fixed buffer: its length comes from the file. False if a chunk cannot be read.
    template <typename Visit>
    bool ScanTable(uint64_t offset, uint32_t count, uint32_t entrySize, Visit visit) const {
        uint8_t chunk[kChunkBytes];
        uint32_t perChunk = kChunkBytes / entrySize;
        for (uint32_t first = 0; first < count; first += perChunk) {
            uint32_t n = std::min(count - first, perChunk);
            if (!file_.Read(offset + uint64_t{first} * entrySize, chunk, n * entrySize))
                return false;
            for (uint32_t i = 0; i < n; ++i)
                if (visit(chunk + i * entrySize))
                    return true;
        }
        return true;
    }

    const BoundedFile& file_;
    uint32_t sectionCount_ = 0;
    uint64_t sectionTable_ = 0;
    uint64_t resourceRva_ = 0;
};

bool ReadFileVersion(const char* path, uint32_t& versionMs) {
    BoundedFile file(path);
    PeImage image(file);
    uint64_t rva;
    uint32_t size;
    if (!image.Open() || !image.FindVersionData(rva, size) || size < kVersionHeadSize)
        return false;
    // Only the fixed head is read, whatever size the entry claims.
    uint8_t head[kVersionHeadSize];
    if (!image.ReadRva(rva, head, sizeof head))
        return false;
    if (LoadLE(head + 2, 2) < kFixedInfoSize)
        return false;
    for (int i = 0; i < kVersionKeyBytes / 2; ++i)
        if (LoadLE(head + 6 + 2 * i, 2) != static_cast<uint64_t>(kVersionKey[i]))
            return false;
    const uint8_t* fixed = head + kFixedInfoOffset;
    if (LoadLE(fixed, 4) != kFixedFileInfoSignature)
        return false;
    versionMs = static_cast<uint32_t>(LoadLE(fixed + 8, 4));
    return true;
}

}  // namespace

int32_t GetVersionInfo(const char* path, char* buffer) {
    uint32_t versionMs;
    if (path == nullptr || !ReadFileVersion(path, versionMs))
        return 0;
    std::snprintf(buffer, kVersionTextBufferSize, "%u.%u", versionMs >> 16, versionMs & 0xFFFF);
    return 1;
}

std::vector<uint8_t> MakeVersionedExecutable(uint16_t major, uint16_t minor, uint16_t build,
                                             uint16_t revision) {
    // Layout: headers in the first 0x200 bytes, .rsrc at file 0x200 mapped at RVA 0x1000.
    constexpr uint32_t kPeOffset = 0x40, kFileAlign = 0x200, kRsrcRva = 0x1000;
    constexpr uint32_t kOptional = kPeOffset + 4 + kCoffHeaderSize, kOptionalSize = 224;
    constexpr uint32_t kSection = kOptional + kOptionalSize;
    // Resource tree: three one-entry directories, a data entry, then VS_VERSIONINFO.
    constexpr uint32_t kNameDir = 0x18, kLangDir = 0x30, kDataEntry = 0x48, kVersion = 0x58;
    constexpr uint32_t kRsrcSize = kVersion + kVersionHeadSize;

    std::vector<uint8_t> out(2 * kFileAlign, 0);
    uint8_t* p = out.data();
    p[0] = 'M', p[1] = 'Z';
    StoreLE(p + 0x3C, kPeOffset, 4);
    StoreLE(p + kPeOffset, kPeSignature, 4);
    uint8_t* coff = p + kPeOffset + 4;
    StoreLE(coff, 0x14C, 2);  // i386
    StoreLE(coff + 2, 1, 2);
    StoreLE(coff + 16, kOptionalSize, 2);
    StoreLE(coff + 18, 0x0102, 2);  // executable, 32-bit

    uint8_t* opt = p + kOptional;
    StoreLE(opt, kPe32Magic, 2);
    StoreLE(opt + 8, kFileAlign, 4);  // initialised data
    StoreLE(opt + 28, 0x400000, 4);   // image base
    StoreLE(opt + 32, 0x1000, 4);     // section alignment
    StoreLE(opt + 36, kFileAlign, 4);
    StoreLE(opt + 40, 4, 2);                  // OS version 4.0
    StoreLE(opt + 48, 4, 2);                  // subsystem version 4.0
    StoreLE(opt + 56, kRsrcRva + 0x1000, 4);  // image size
    StoreLE(opt + 60, kFileAlign, 4);         // header size
    StoreLE(opt + 68, 2, 2);                  // GUI subsystem
    StoreLE(opt + 72, 0x100000, 4);
    StoreLE(opt + 76, 0x1000, 4);
    StoreLE(opt + 80, 0x100000, 4);
    StoreLE(opt + 84, 0x1000, 4);
    StoreLE(opt + 92, 16, 4);
    StoreLE(opt + 96 + kResourceDirectoryIndex * 8, kRsrcRva, 4);
    StoreLE(opt + 100 + kResourceDirectoryIndex * 8, kRsrcSize, 4);

    uint8_t* sec = p + kSection;
    std::memcpy(sec, ".rsrc", 5);
    StoreLE(sec + 8, kRsrcSize, 4);
    StoreLE(sec + 12, kRsrcRva, 4);
    StoreLE(sec + 16, kFileAlign, 4);
    StoreLE(sec + 20, kFileAlign, 4);
    StoreLE(sec + 36, 0x40000040, 4);  // initialised data, readable

    uint8_t* rsrc = p + kFileAlign;
    auto directory = [&](uint32_t at, uint32_t id, uint32_t target) {
        StoreLE(rsrc + at + 14, 1, 2);  // one id entry
        StoreLE(rsrc + at + 16, id, 4);
        StoreLE(rsrc + at + 20, target, 4);
    };
    directory(0, kRtVersion, kHighBit | kNameDir);
    directory(kNameDir, 1, kHighBit | kLangDir);
    directory(kLangDir, 0x0804, kDataEntry);  // Chinese (PRC)
    StoreLE(rsrc + kDataEntry, kRsrcRva + kVersion, 4);
    StoreLE(rsrc + kDataEntry + 4, kVersionHeadSize, 4);

    uint8_t* info = rsrc + kVersion;
    StoreLE(info, kVersionHeadSize, 2);
    StoreLE(info + 2, kFixedInfoSize, 2);
    for (int i = 0; i < kVersionKeyBytes / 2; ++i)
        StoreLE(info + 6 + 2 * i, kVersionKey[i], 2);
    uint8_t* fixed = info + kFixedInfoOffset;
    StoreLE(fixed, kFixedFileInfoSignature, 4);
    StoreLE(fixed + 4, 0x00010000, 4);  // structure version 1.0
    uint32_t versionMs = uint32_t{major} << 16 | minor,
             versionLs = uint32_t{build} << 16 | revision;
    StoreLE(fixed + 8, versionMs, 4);
    StoreLE(fixed + 12, versionLs, 4);
    StoreLE(fixed + 16, versionMs, 4);  // product version
    StoreLE(fixed + 20, versionLs, 4);
    StoreLE(fixed + 24, 0x3F, 4);     // flag mask
    StoreLE(fixed + 32, 0x40004, 4);  // Windows NT, 32-bit
    StoreLE(fixed + 36, 1, 4);        // application
    return out;
}

}  // namespace pagora
