#include "MidiFile.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace pagora::sample {

namespace {

void AppendBigEndian(std::vector<uint8_t>& out, uint32_t value, int bytes) {
    for (int i = bytes - 1; i >= 0; --i)
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

void Check(bool ok, const char* what) {
    if (!ok)
        throw std::invalid_argument(std::string("MIDI note or event out of range: ") + what);
}

// Delta times are at most 28 bits.
constexpr int64_t kMaxTick = (int64_t{1} << 28) - 1;

}  // namespace

MidiFile::MidiFile(int ticksPerQuarter) : ticksPerQuarter_(ticksPerQuarter) {
    Check(ticksPerQuarter > 0 && ticksPerQuarter < 0x8000, "ticks per quarter");
}

int MidiFile::AddTrack() {
    tracks_.emplace_back();
    return static_cast<int>(tracks_.size()) - 1;
}

void MidiFile::Add(int track, Event event) {
    Check(track >= 0 && track < static_cast<int>(tracks_.size()), "track");
    Check(event.Tick >= 0 && event.Tick <= kMaxTick, "tick");
    tracks_[track].push_back(std::move(event));
}

void MidiFile::Tempo(int track, int64_t tick, int microsecondsPerQuarter) {
    Check(microsecondsPerQuarter > 0 && microsecondsPerQuarter < (1 << 24), "tempo");
    std::vector<uint8_t> data = {0xFF, 0x51, 0x03};
    AppendBigEndian(data, static_cast<uint32_t>(microsecondsPerQuarter), 3);
    Add(track, {tick, 1, data});
}

void MidiFile::Program(int track, int64_t tick, int channel, int program) {
    Check(channel >= 0 && channel < 16, "channel");
    Check(program >= 0 && program < 128, "program");
    Add(track, {tick, 1, {static_cast<uint8_t>(0xC0 | channel), static_cast<uint8_t>(program)}});
}

void MidiFile::Note(int track, int64_t tick, int64_t length, int channel, int key, int velocity) {
    Check(channel >= 0 && channel < 16, "channel");
    Check(key >= 0 && key < 128, "key");
    Check(velocity > 0 && velocity < 128, "velocity");
    Check(length > 0 && tick <= kMaxTick - length, "length");
    auto k = static_cast<uint8_t>(key);
    Add(track,
        {tick, 2, {static_cast<uint8_t>(0x90 | channel), k, static_cast<uint8_t>(velocity)}});
    Add(track, {tick + length, 0, {static_cast<uint8_t>(0x80 | channel), k, 64}});
}

void MidiFile::AppendVarLength(std::vector<uint8_t>& out, uint32_t value) {
    Check(value <= kMaxTick, "variable-length value");
    uint8_t bytes[4];
    int n = 0;
    do {
        bytes[n++] = value & 0x7F;
        value >>= 7;
    } while (value);
    while (n > 1)
        out.push_back(bytes[--n] | 0x80);
    out.push_back(bytes[0]);
}

std::vector<uint8_t> MidiFile::Bytes() const {
    std::vector<uint8_t> out = {'M', 'T', 'h', 'd', 0, 0, 0, 6};
    AppendBigEndian(out, tracks_.size() == 1 ? 0 : 1, 2);
    AppendBigEndian(out, static_cast<uint32_t>(tracks_.size()), 2);
    AppendBigEndian(out, static_cast<uint32_t>(ticksPerQuarter_), 2);
    for (std::vector<Event> events : tracks_) {
        // A note ending where the same key starts again must end first.
        std::stable_sort(events.begin(), events.end(), [](const Event& a, const Event& b) {
            return a.Tick != b.Tick ? a.Tick < b.Tick : a.Order < b.Order;
        });
        std::vector<uint8_t> body;
        int64_t now = 0;
        for (const Event& e : events) {
            AppendVarLength(body, static_cast<uint32_t>(e.Tick - now));
            body.insert(body.end(), e.Data.begin(), e.Data.end());
            now = e.Tick;
        }
        body.insert(body.end(), {0x00, 0xFF, 0x2F, 0x00});
        out.insert(out.end(), {'M', 'T', 'r', 'k'});
        AppendBigEndian(out, static_cast<uint32_t>(body.size()), 4);
        out.insert(out.end(), body.begin(), body.end());
    }
    return out;
}

}  // namespace pagora::sample
