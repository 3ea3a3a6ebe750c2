#include "gfx/Sound.h"

#include <SDL.h>

namespace pagora {

bool SoundDevicePresent() {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return false;
    int count = SDL_GetNumAudioDevices(0);
    bool present = count > 0;
    if (count < 0) {
        // The driver cannot list its devices; whether the default opens decides.
        SDL_AudioSpec wanted{};
        wanted.freq = 22050;
        wanted.format = AUDIO_S16SYS;
        wanted.channels = 1;
        wanted.samples = 512;
        SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0);
        present = device != 0;
        if (device)
            SDL_CloseAudioDevice(device);
    }
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return present;
}

}  // namespace pagora
