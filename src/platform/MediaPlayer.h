#pragma once

#include <QString>
#include <atomic>

namespace pagora {

// The hidden player of the background music. Tag 1 means its starter thread
// has not finished yet; start-up waits for it to leave 1.
class MediaPlayer {
  public:
    QString FileName;
    std::atomic<int> Tag{0};
    void Open() {}
    void Play() {}
    void Close() {}
};

}  // namespace pagora
