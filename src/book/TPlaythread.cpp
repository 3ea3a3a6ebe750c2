#include "book/TPlaythread.h"

#include "book/MusicFiles.h"
#include "gfx/Folders.h"
#include "gfx/Sound.h"

namespace pagora {

TPlaythread::TPlaythread(MediaPlayer* player, std::string backMusic, bool backMusicOn,
                         const AlbumArchive* archive, std::string musicName)
    : player_(player),
      backMusic_(std::move(backMusic)),
      backMusicOn_(backMusicOn),
      archive_(archive),
      musicName_(std::move(musicName)),
      fileName_(player->FileName.toStdString()) {
    SetPriority(ThreadPriority::Higher);
    player_->Tag = 1;
    Resume();
}

void TPlaythread::Execute() {
    // A track that cannot be extracted stays missing; the start still runs,
    // or the tag would stay 1.
    if (fileName_ != kNoMusic && !FileExists(fileName_))
        ExtractOptional(*archive_, musicName_, fileName_);
    Synchronize([this] { StartMusic(); });
}

void TPlaythread::StartMusic() {
    try {
        const std::string file = player_->FileName.toStdString();
        if (file != kNoMusic && FileExists(file) && backMusicOn_) {
            if (!backMusic_.empty())
                player_->FileName = QString::fromStdString(backMusic_);
            if (SoundDevicePresent()) {
                player_->Open();
                player_->Play();
            }
        }
    } catch (const std::exception&) {
        // No music, and no message.
    }
    player_->Tag = 0;
}

}  // namespace pagora
