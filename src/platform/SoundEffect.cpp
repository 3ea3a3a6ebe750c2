#include "platform/SoundEffect.h"

#include <SDL_mixer.h>

#include "platform/AudioService.h"

namespace pagora {

SoundEffect::~SoundEffect() {
    if (chunk_ != nullptr)
        Mix_FreeChunk(chunk_);
}

bool SoundEffect::Load(const std::string& path) {
    if (chunk_ != nullptr) {
        Mix_FreeChunk(chunk_);
        chunk_ = nullptr;
    }
    if (!audio::Open())
        return false;
    SDL_RWops* file = SDL_RWFromFile(path.c_str(), "rb");
    if (file == nullptr)
        return false;
    // Closed here: SDL_mixer leaves it open when the file is no sound it knows.
    chunk_ = Mix_LoadWAV_RW(file, 0);
    SDL_RWclose(file);
    return chunk_ != nullptr;
}

void SoundEffect::Play() {
    if (chunk_ != nullptr)
        Mix_PlayChannel(-1, chunk_, 0);
}

}  // namespace pagora
