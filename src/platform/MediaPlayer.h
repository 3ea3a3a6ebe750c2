#pragma once

#include <QString>
#include <atomic>
#include <cstdint>
#include <functional>
#include <stdexcept>

struct _Mix_Music;

namespace pagora {

// What the sound system said when a file would not open or play.
class MediaError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The hidden player of the background music (mp3, wav, mid), one file at a
// time, on the program's audio service. UI thread only, except Tag: 1 means
// its starter thread has not finished yet, and start-up waits for it to leave 1.
class MediaPlayer {
  public:
    MediaPlayer();
    ~MediaPlayer();
    MediaPlayer(const MediaPlayer&) = delete;
    MediaPlayer& operator=(const MediaPlayer&) = delete;

    // The file the next Open uses.
    QString FileName;
    std::atomic<int> Tag{0};
    // Called on the UI thread when a play request is over: it ran to its end
    // or another play took its place. Never for a player closed or destroyed
    // meanwhile.
    std::function<void()> OnNotify;

    // Closes what was open and opens FileName; throws MediaError with the
    // sound system's text.
    void Open();
    // Plays the open file once from the start and returns at once.
    void Play();
    // Stops and releases the file; nothing when none is open.
    void Close();
    bool IsOpen() const { return music_ != nullptr; }

    // The last play ran to its end, and nothing was opened, closed or played
    // since. SDL's position is not asked: MIDI has none.
    bool Ended() const { return ended_; }
    // How long the last play ran before it ended, in milliseconds.
    int64_t PlayedMilliseconds() const { return played_; }
    // Milliseconds into the open file and its length; 0 where the format does
    // not tell.
    int64_t Position() const;
    int64_t Length() const;

    // Told of every file a player opens; for tests.
    static inline std::function<void(const QString& file)> Opened;

  private:
    friend struct PlayerDelivery;
    void Halt();

    _Mix_Music* music_ = nullptr;
    uint64_t play_ = 0;  // the play of ours the sound system runs, or 0
    uint32_t started_ = 0;
    bool ended_ = false;
    int64_t played_ = 0;
};

}  // namespace pagora
