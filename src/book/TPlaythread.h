#pragma once

#include <QString>
#include <string>

#include "platform/MediaPlayer.h"
#include "platform/Thread.h"

namespace pagora {

class AlbumArchive;

// Starts the background music at book start-up: extracts the first track if
// start-up could not, then opens and plays it on the UI thread. The player's
// tag is 1 from construction until the start has run; start-up waits for that.
class TPlaythread final : public Thread {
  public:
    TPlaythread(MediaPlayer* player, std::string backMusic, bool backMusicOn,
                const AlbumArchive* archive, std::string musicName);
    ~TPlaythread() override { Stop(); }

  protected:
    void Execute() override;

  private:
    // On the UI thread; the tag is 0 afterwards whatever happened.
    void StartMusic();

    MediaPlayer* player_;
    std::string backMusic_;
    bool backMusicOn_;
    const AlbumArchive* archive_;
    std::string musicName_;
    // The player's file name as it was at construction, for the worker.
    std::string fileName_;
};

}  // namespace pagora
