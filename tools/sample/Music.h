#pragma once

#include <cstdint>
#include <vector>

namespace pagora::sample {

inline const char kPianoTrackName[] = "morning-piano.wav";
inline const char kMelodyTrackName[] = "spring-melody.mid";

// About 20 seconds of gently arpeggiated chords in a piano-like tone,
// 22050 Hz 16-bit mono.
std::vector<uint8_t> PianoTrackWav();

// A short pentatonic melody over sustained chords, as a Standard MIDI File.
std::vector<uint8_t> MelodyTrackMidi();

}  // namespace pagora::sample
