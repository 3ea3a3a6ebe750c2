#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace pagora {

// A positioned byte stream: the destination of extraction and the medium the
// setup record reads from and writes to.
class Stream {
  public:
    virtual ~Stream() = default;
    // Reads up to count bytes at the position; returns how many were read.
    virtual size_t Read(void* buffer, size_t count) = 0;
    // Writes at the position, growing the stream as needed; throws on failure.
    virtual void Write(const void* buffer, size_t count) = 0;
    virtual int64_t Position() const = 0;
    virtual void Seek(int64_t position) = 0;
    virtual int64_t Size() const = 0;
    // A hint that the stream will grow to this size.
    virtual void Reserve(int64_t) {}
};

class MemoryStream : public Stream {
  public:
    MemoryStream() = default;
    explicit MemoryStream(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {}

    size_t Read(void* buffer, size_t count) override;
    void Write(const void* buffer, size_t count) override;
    int64_t Position() const override { return position_; }
    void Seek(int64_t position) override;
    int64_t Size() const override { return static_cast<int64_t>(bytes_.size()); }
    void Reserve(int64_t size) override { bytes_.reserve(static_cast<size_t>(size)); }

    const std::vector<uint8_t>& Bytes() const { return bytes_; }
    std::vector<uint8_t> TakeBytes() {
        position_ = 0;
        return std::move(bytes_);
    }

  private:
    std::vector<uint8_t> bytes_;
    size_t position_ = 0;
};

// Counts what is written and keeps none of it: for measuring and probing extraction.
class DiscardStream : public Stream {
  public:
    size_t Read(void*, size_t) override { return 0; }
    void Write(const void*, size_t count) override { size_ += static_cast<int64_t>(count); }
    int64_t Position() const override { return size_; }
    void Seek(int64_t) override {}
    int64_t Size() const override { return size_; }

  private:
    int64_t size_ = 0;
};

// Writes to an open file descriptor it owns.
class FileStream : public Stream {
  public:
    FileStream(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
    ~FileStream() override;
    FileStream(const FileStream&) = delete;
    FileStream& operator=(const FileStream&) = delete;

    size_t Read(void* buffer, size_t count) override;
    void Write(const void* buffer, size_t count) override;
    int64_t Position() const override { return position_; }
    void Seek(int64_t position) override;
    int64_t Size() const override;
    // Closes now so that errors of the final write-back are seen; throws on failure.
    void Close();

  private:
    int fd_;
    std::string path_;
    int64_t position_ = 0;
};

}  // namespace pagora
