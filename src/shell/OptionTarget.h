#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <string>

namespace pagora {

class MediaPlayer;
class Timer;

// What the options dialog reads from and changes in the running book, handed
// over by the book.
struct OptionTarget {
    // The album's name (UTF-8): the section of its settings.
    std::string AlbumName;
    int32_t* TurnTime = nullptr;
    Timer* BookTimer = nullptr;
    uint8_t* BackMusicOn = nullptr;
    uint8_t* BackRangOn = nullptr;
    MediaPlayer* Player = nullptr;
    // The player's file name while there is no music to play.
    QString NoMusic;
    // Decodes the picture, then tiles it as the background; throws with the
    // decoder's message, leaving the background as it was.
    std::function<void(const std::string& path)> LoadBackground;
    std::function<void()> Repaint;
};

}  // namespace pagora
