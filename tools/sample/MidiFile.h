#pragma once

#include <cstdint>
#include <vector>

namespace pagora::sample {

// A Standard MIDI File built from notes placed on tracks in any order. One
// track makes a type 0 file, several a type 1 file.
class MidiFile {
  public:
    explicit MidiFile(int ticksPerQuarter);

    // Returns the new track's index.
    int AddTrack();
    void Tempo(int track, int64_t tick, int microsecondsPerQuarter);
    void Program(int track, int64_t tick, int channel, int program);
    // A note from `tick` lasting `length` ticks. Throws std::invalid_argument
    // for a channel, key, velocity, tick or length out of range.
    void Note(int track, int64_t tick, int64_t length, int channel, int key, int velocity);

    std::vector<uint8_t> Bytes() const;

    // The variable-length quantity of delta times and lengths, 7 bits a byte.
    static void AppendVarLength(std::vector<uint8_t>& out, uint32_t value);

  private:
    struct Event {
        int64_t Tick;
        int Order;  // at one tick: note-offs, then settings, then note-ons
        std::vector<uint8_t> Data;
    };
    void Add(int track, Event event);

    int ticksPerQuarter_;
    std::vector<std::vector<Event>> tracks_;
};

}  // namespace pagora::sample
