// The book's background music and its turn sound.
#include "archive/MemberNames.h"
#include "book/MusicFiles.h"
#include "book/TVudadezEroz.h"
#include "gfx/Folders.h"
#include "platform/Globals.h"
#include "platform/MessageBox.h"
#include "platform/ScreenCursor.h"

namespace pagora {

namespace {

// A track that ends sooner than this after it began is taken for empty; two in
// a row stop the music instead of spinning through the cycle.
constexpr int64_t kEmptyTrackMilliseconds = 100;
constexpr int kEmptyTracksToStop = 2;

}  // namespace

std::string TVudadezEroz::MusicPath(const std::string& member) const {
    return MusicFilePath(WorkFolder, Profile.AlbumName, member);
}

std::string TVudadezEroz::TurnSoundPath() const {
    return WorkFolder + "/" + kTurnSoundMember;
}

void TVudadezEroz::MediaplayerEnd() {
    Guarded([this] {
        SetScreenCursor(Qt::WaitCursor);
        if (BackMusicOn && Player && Player->Ended()) {
            if (Player->PlayedMilliseconds() < kEmptyTrackMilliseconds)
                ++shortPlays_;
            else
                shortPlays_ = 0;
            if (shortPlays_ >= kEmptyTracksToStop) {
                shortPlays_ = 0;
                Player->Close();
            } else {
                NextTrack();
                Player->Open();
                Player->Play();
            }
        }
        SetScreenCursor(Qt::ArrowCursor);
    });
}

void TVudadezEroz::NextTrack() {
    const std::string next =
        NextMusicMember(Player->FileName.toStdString(), Profile.MusicName, MusicList,
                        [this](const std::string& member) { return MusicPath(member); });
    if (next.empty())
        return;
    const std::string path = MusicPath(next);
    Player->FileName = QString::fromStdString(path);
    if (!FileExists(path))
        ExtractOptional(*Archive, next, path);
}

void TVudadezEroz::PlayTurnSound() {
    if (!BackRangOn)
        return;
    if (!turnSoundTried_) {
        // Switched on after start-up, the sound is not there yet.
        turnSoundTried_ = true;
        const std::string path = TurnSoundPath();
        if (!FileExists(path))
            ExtractOptional(*Archive, kTurnSoundMember, path);
        TurnSound.Load(path);
    }
    TurnSound.Play();
}

}  // namespace pagora
