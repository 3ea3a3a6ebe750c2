#pragma once

#include <memory>
#include <string>

#include "archive/Stream.h"

namespace pagora {

// A file that appears under its name only when complete: it is written under a
// fresh temporary name beside the target (created exclusively, so a planted
// link is never followed) and renamed over the target by Commit. Without a
// Commit the temporary file is removed and the target is left as it was.
class AtomicFile {
  public:
    explicit AtomicFile(std::string path);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    Stream& Out() { return *stream_; }
    const std::string& TempPath() const { return tempPath_; }
    void Commit();

  private:
    std::string path_;
    std::string tempPath_;
    std::unique_ptr<FileStream> stream_;
    bool committed_ = false;
};

}  // namespace pagora
