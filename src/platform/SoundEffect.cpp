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
    chunk_ = Mix_LoadWAV(path.c_str());
    return chunk_ != nullptr;
}

void SoundEffect::Play() {
    if (chunk_ != nullptr)
        Mix_PlayChannel(-1, chunk_, 0);
}

}  // namespace pagora
