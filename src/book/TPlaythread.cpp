#include "book/TPlaythread.h"

namespace pagora {

TPlaythread::TPlaythread(MediaPlayer* player, std::string backMusic, bool backMusicOn,
                         const AlbumArchive* archive, std::string musicName)
    : player_(player),
      backMusic_(std::move(backMusic)),
      backMusicOn_(backMusicOn),
      archive_(archive),
      musicName_(std::move(musicName)) {
    SetPriority(ThreadPriority::Higher);
    player_->Tag = 1;
    Resume();
}

void TPlaythread::Execute() {
    // Playing comes with the music player; the start is done.
    player_->Tag = 0;
}

}  // namespace pagora
