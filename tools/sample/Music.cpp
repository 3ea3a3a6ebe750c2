#include "Music.h"

#include <algorithm>
#include <cmath>

#include "MidiFile.h"
#include "archive/WaveFile.h"

namespace pagora::sample {

namespace {

constexpr int kRate = 22050;
constexpr double kPi = 3.14159265358979;

double KeyFrequency(int key) {
    return 440.0 * std::pow(2.0, (key - 69) / 12.0);
}

// A struck string: a few slightly stretched partials, the higher ones dying sooner.
void AddPianoNote(std::vector<double>& out, double start, double length, int key, double loudness) {
    double f = KeyFrequency(key);
    size_t first = static_cast<size_t>(start * kRate);
    size_t count = std::min(out.size() - std::min(first, out.size()),
                            static_cast<size_t>((length + 0.4) * kRate));
    for (int n = 1; n <= 6; ++n) {
        double fn = n * f * std::sqrt(1 + 0.0004 * n * n);
        if (fn > kRate / 2.0)
            break;
        double amp = loudness / std::pow(n, 1.4), decay = 1.1 + 0.9 * n + f / 600;
        double step = 2 * kPi * fn / kRate;
        for (size_t i = 0; i < count; ++i) {
            double t = double(i) / kRate;
            double attack = std::min(1.0, t / 0.006);
            double release = t > length ? std::exp(-(t - length) * 14) : 1;
            out[first + i] += amp * attack * release * std::exp(-t * decay) * std::sin(step * i);
        }
    }
}

// A little room: three feedback echoes, spread so they do not ring as one pitch.
void AddRoom(std::vector<double>& sound) {
    std::vector<double> wet(sound.size(), 0);
    for (double delay : {0.0297, 0.0371, 0.0411}) {
        size_t d = static_cast<size_t>(delay * kRate);
        std::vector<double> comb(sound.size(), 0);
        for (size_t i = 0; i < sound.size(); ++i)
            comb[i] = sound[i] + (i >= d ? 0.72 * comb[i - d] : 0);
        for (size_t i = 0; i < sound.size(); ++i)
            wet[i] += comb[i] / 3;
    }
    for (size_t i = 0; i < sound.size(); ++i)
        sound[i] = 0.8 * sound[i] + 0.2 * wet[i];
}

}  // namespace

std::vector<uint8_t> PianoTrackWav() {
    const double seconds = 20, eighth = 60.0 / 72 / 2;
    std::vector<double> sound(static_cast<size_t>(seconds * kRate), 0);
    // Bass key, then the chord's tones from the bottom up, per bar.
    struct Chord {
        int bass;
        int tones[3];
    };
    const Chord bars[] = {{48, {60, 64, 67}}, {45, {57, 60, 64}}, {41, {57, 60, 65}},
                          {43, {55, 59, 62}}, {41, {57, 60, 65}}, {48, {60, 64, 67}}};
    const int pattern[8] = {-1, 0, 1, 2, 3, 2, 1, 0};  // -1 the bass; 3 the root an octave up
    double t = 0;
    for (size_t bar = 0; bar < std::size(bars); ++bar) {
        const Chord& c = bars[bar];
        bool last = bar + 1 == std::size(bars);
        for (int step = 0; step < (last ? 5 : 8); ++step) {
            int p = pattern[step];
            int key = p < 0 ? c.bass : p == 3 ? c.tones[0] + 12 : c.tones[p];
            double hold = last ? seconds - t - 0.5 : eighth * 3;
            AddPianoNote(sound, t, hold, key, p < 0 ? 0.34 : 0.22 + 0.03 * (step % 2));
            t += eighth;
        }
    }
    AddRoom(sound);
    double peak = 1e-9;
    for (double s : sound)
        peak = std::max(peak, std::abs(s));
    std::vector<int16_t> pcm(sound.size());
    for (size_t i = 0; i < sound.size(); ++i) {
        double fade = std::min(1.0, (sound.size() - i) / (1.5 * kRate));
        pcm[i] = ToPcm16(sound[i] / peak * 0.8 * fade);
    }
    return WaveFileBytes(pcm, kRate);
}

std::vector<uint8_t> MelodyTrackMidi() {
    const int quarter = 480, eighth = quarter / 2, bar = 4 * quarter;
    MidiFile midi(quarter);
    int conductor = midi.AddTrack(), melody = midi.AddTrack(), chords = midi.AddTrack();
    midi.Tempo(conductor, 0, 60'000'000 / 88);
    midi.Program(melody, 0, 0, 73);  // flute
    midi.Program(chords, 0, 1, 48);  // strings
    // Key and length in eighths; key 0 rests.
    const int tune[][2] = {{76, 2}, {79, 2}, {81, 2}, {79, 1}, {76, 1},  // bar 1
                           {74, 2}, {72, 2}, {69, 4},                    // 2
                           {72, 2}, {74, 2}, {76, 2}, {79, 2},           // 3
                           {74, 6}, {0, 2},                              // 4
                           {76, 2}, {79, 2}, {81, 2}, {84, 2},           // 5
                           {81, 2}, {79, 1}, {76, 1}, {79, 4},           // 6
                           {76, 2}, {74, 2}, {72, 2}, {74, 2},           // 7
                           {72, 8}};                                     // 8
    int64_t tick = 0;
    for (const auto& [key, eighths] : tune) {
        if (key)
            midi.Note(melody, tick, eighths * eighth - 20, 0, key, 84);
        tick += eighths * eighth;
    }
    const int harmony[][4] = {{48, 60, 64, 67}, {45, 57, 60, 64}, {41, 57, 60, 65},
                              {43, 55, 59, 62}, {48, 60, 64, 67}, {45, 57, 60, 64},
                              {41, 57, 60, 65}, {48, 60, 64, 67}};
    for (int b = 0; b < 8; ++b)
        for (int key : harmony[b])
            midi.Note(chords, b * bar, bar, 1, key, key < 50 ? 70 : 54);
    return midi.Bytes();
}

}  // namespace pagora::sample
