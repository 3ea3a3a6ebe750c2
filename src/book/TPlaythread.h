#pragma once

#include <string>

#include "platform/MediaPlayer.h"
#include "platform/Thread.h"

namespace pagora {

class AlbumArchive;

// Starts the background music at book start-up. The player's tag is 1 from
// construction until the start has finished; start-up waits for that.
class TPlaythread final : public Thread {
  public:
    TPlaythread(MediaPlayer* player, std::string backMusic, bool backMusicOn,
                const AlbumArchive* archive, std::string musicName);
    ~TPlaythread() override { Stop(); }

  protected:
    void Execute() override;

  private:
    MediaPlayer* player_;
    std::string backMusic_;
    bool backMusicOn_;
    const AlbumArchive* archive_;
    std::string musicName_;
};

}  // namespace pagora
