#include "Music.h"
namespace pagora::sample {
std::vector<uint8_t> PianoTrackWav() {
    return {};
}
std::vector<uint8_t> MelodyTrackMidi() {
    return {};
}
}  // namespace pagora::sample
