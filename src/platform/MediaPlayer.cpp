#include "platform/MediaPlayer.h"

#include <SDL_mixer.h>
#include <QCoreApplication>
#include <QFile>
#include <QMetaObject>
#include <set>

#include "platform/AudioService.h"
#include "platform/Tick.h"

namespace pagora {

namespace {

std::atomic<uint64_t> lastPlay{0};
// The play the sound system runs; the finished hook takes it.
std::atomic<uint64_t> runningPlay{0};
// Set while this thread halts the music: the hook it causes reports no end.
thread_local bool halting = false;
std::set<MediaPlayer*> players;  // UI thread

QString Failure(const QString& file) {
    return file + QStringLiteral(": ") + QString::fromUtf8(Mix_GetError());
}

}  // namespace

struct PlayerDelivery {
    // On the UI thread: only a player still running that play hears of it.
    static void Deliver(uint64_t play, bool toEnd, uint32_t when) {
        for (MediaPlayer* player : players) {
            if (player->play_ != play)
                continue;
            player->ended_ = toEnd;
            player->played_ = int64_t(when - player->started_);
            if (std::function<void()> notify = player->OnNotify)
                notify();
            return;
        }
    }
};

namespace {

// Runs on SDL's audio thread, or inside Mix_HaltMusic; it only posts.
void SDLCALL MusicFinished() {
    const uint64_t play = runningPlay.exchange(0);
    QCoreApplication* app = QCoreApplication::instance();
    if (play == 0 || app == nullptr)
        return;
    const bool toEnd = !halting;
    const uint32_t when = GetTickCount();
    QMetaObject::invokeMethod(
        app, [play, toEnd, when] { PlayerDelivery::Deliver(play, toEnd, when); },
        Qt::QueuedConnection);
}

}  // namespace

MediaPlayer::MediaPlayer() {
    players.insert(this);
}

MediaPlayer::~MediaPlayer() {
    Close();
    players.erase(this);
}

void MediaPlayer::Halt() {
    halting = true;
    Mix_HaltMusic();
    halting = false;
}

void MediaPlayer::Open() {
    Close();
    if (Opened)
        Opened(FileName);
    if (!audio::Open())
        throw MediaError((FileName + QStringLiteral(": there is no sound output")).toStdString());
    static const bool hooked = (Mix_HookMusicFinished(MusicFinished), true);
    (void)hooked;
    music_ = Mix_LoadMUS(QFile::encodeName(FileName).constData());
    if (music_ == nullptr)
        throw MediaError(Failure(FileName).toStdString());
}

void MediaPlayer::Play() {
    if (music_ == nullptr)
        throw MediaError((FileName + QStringLiteral(": no file is open to play")).toStdString());
    // Whatever plays now is over before the new play is known, so no end of
    // the old one can be taken for the new one's.
    Halt();
    const uint64_t play = ++lastPlay;
    play_ = play;
    ended_ = false;
    played_ = 0;
    started_ = GetTickCount();
    runningPlay.store(play);
    if (Mix_PlayMusic(music_, 1) != 0) {
        runningPlay.store(0);
        play_ = 0;
        throw MediaError(Failure(FileName).toStdString());
    }
}

void MediaPlayer::Close() {
    if (music_ != nullptr) {
        if (play_ != 0 && runningPlay.load() == play_)
            Halt();
        Mix_FreeMusic(music_);
        music_ = nullptr;
    }
    play_ = 0;
    ended_ = false;
}

int64_t MediaPlayer::Position() const {
    const double seconds = music_ ? Mix_GetMusicPosition(music_) : -1;
    return seconds > 0 ? int64_t(seconds * 1000) : 0;
}

int64_t MediaPlayer::Length() const {
    const double seconds = music_ ? Mix_MusicDuration(music_) : -1;
    return seconds > 0 ? int64_t(seconds * 1000) : 0;
}

}  // namespace pagora
