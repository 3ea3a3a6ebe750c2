#pragma once

#include <string>

struct Mix_Chunk;

namespace pagora {

// A short sound decoded once and kept, played on a free channel of the audio
// service without waiting for it. UI thread only.
class SoundEffect {
  public:
    SoundEffect() = default;
    ~SoundEffect();
    SoundEffect(const SoundEffect&) = delete;
    SoundEffect& operator=(const SoundEffect&) = delete;

    // False, and silence, when there is no sound output or the file is no
    // sound it can decode.
    bool Load(const std::string& path);
    bool Loaded() const { return chunk_ != nullptr; }
    // Returns at once; nothing when no sound is loaded or every channel is busy.
    void Play();

  private:
    Mix_Chunk* chunk_ = nullptr;
};

}  // namespace pagora
