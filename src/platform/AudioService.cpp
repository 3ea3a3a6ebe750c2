#include "platform/AudioService.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <QCoreApplication>
#include <cstdlib>

#include "gfx/Folders.h"

namespace pagora::audio {

namespace {

// Debian's General MIDI font; SDL looks only for a few other names.
constexpr const char* kFallbackSoundFont = "/usr/share/sounds/sf2/TimGM6mb.sf2";

enum class State { Untried, Open, Failed, Closed };
State state = State::Untried;

void Close() {
    if (state != State::Open)
        return;
    state = State::Closed;
    // No finished-hook may reach for the application once it is gone.
    Mix_HookMusicFinished(nullptr);
    Mix_HaltChannel(-1);
    Mix_HaltMusic();
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

}  // namespace

bool Open() {
    if (state != State::Untried)
        return state == State::Open;
    state = State::Failed;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return false;
    // WAV needs no decoder library; MP3 and MIDI fail at their open if theirs is missing.
    Mix_Init(MIX_INIT_MP3 | MIX_INIT_MID);
    if (Mix_OpenAudio(MIX_DEFAULT_FREQUENCY, MIX_DEFAULT_FORMAT, 2, 2048) != 0) {
        Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    if (Mix_GetSoundFonts() == nullptr && FileExists(kFallbackSoundFont))
        Mix_SetSoundFonts(kFallbackSoundFont);
    state = State::Open;
    if (QCoreApplication::instance() != nullptr)
        qAddPostRoutine(Close);
    else
        std::atexit(Close);
    return true;
}

}  // namespace pagora::audio
