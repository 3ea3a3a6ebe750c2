#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <stdexcept>

#include "MidiFile.h"
#include "Music.h"
#include "archive/WaveFile.h"
#include "archive/LittleEndian.h"

namespace pagora::sample {
namespace {

using Bytes = std::vector<uint8_t>;

// --- WAV -------------------------------------------------------------------

struct WaveInfo {
    int Format, Channels, Rate, ByteRate, Align, Bits;
    std::vector<int16_t> Samples;
};

// Walks the RIFF chunks as a player would and fails on any size that disagrees.
WaveInfo ReadWave(const Bytes& file) {
    if (file.size() < 12 || std::string(file.begin(), file.begin() + 4) != "RIFF" ||
        std::string(file.begin() + 8, file.begin() + 12) != "WAVE")
        throw std::runtime_error("not a RIFF WAVE file");
    if (LoadLE(file.data() + 4, 4) + 8 != file.size())
        throw std::runtime_error("RIFF size disagrees with the file");
    WaveInfo info{};
    bool haveFormat = false, haveData = false;
    for (size_t at = 12; at < file.size();) {
        if (at + 8 > file.size())
            throw std::runtime_error("truncated chunk header");
        std::string id(file.begin() + at, file.begin() + at + 4);
        size_t size = LoadLE(file.data() + at + 4, 4);
        if (at + 8 + size > file.size())
            throw std::runtime_error("chunk " + id + " runs past the end");
        const uint8_t* p = file.data() + at + 8;
        if (id == "fmt ") {
            if (size != 16)
                throw std::runtime_error("fmt chunk of an unexpected size");
            info.Format = static_cast<int>(LoadLE(p, 2));
            info.Channels = static_cast<int>(LoadLE(p + 2, 2));
            info.Rate = static_cast<int>(LoadLE(p + 4, 4));
            info.ByteRate = static_cast<int>(LoadLE(p + 8, 4));
            info.Align = static_cast<int>(LoadLE(p + 12, 2));
            info.Bits = static_cast<int>(LoadLE(p + 14, 2));
            haveFormat = true;
        } else if (id == "data") {
            for (size_t i = 0; i + 1 < size; i += 2)
                info.Samples.push_back(static_cast<int16_t>(LoadLE(p + i, 2)));
            haveData = true;
        }
        at += 8 + size + (size & 1);
    }
    if (!haveFormat || !haveData)
        throw std::runtime_error("fmt or data chunk missing");
    return info;
}

TEST(WaveFile, HeaderDescribesMonoSixteenBitPcm) {
    std::vector<int16_t> samples = {0, 1, -2, 32767, -32768};
    Bytes file = WaveFileBytes(samples, 22050);
    ASSERT_EQ(file.size(), 44u + 10u);
    WaveInfo info = ReadWave(file);
    EXPECT_EQ(info.Format, 1);
    EXPECT_EQ(info.Channels, 1);
    EXPECT_EQ(info.Rate, 22050);
    EXPECT_EQ(info.ByteRate, 44100);
    EXPECT_EQ(info.Align, 2);
    EXPECT_EQ(info.Bits, 16);
    EXPECT_EQ(info.Samples, samples);
    // Negative samples are two's complement, low byte first.
    EXPECT_EQ(file[48], 0xFE);
    EXPECT_EQ(file[49], 0xFF);
}

TEST(WaveFile, EmptySoundStillHasAllChunks) {
    WaveInfo info = ReadWave(WaveFileBytes({}, 8000));
    EXPECT_EQ(info.Rate, 8000);
    EXPECT_TRUE(info.Samples.empty());
}

struct PcmCase {
    double In;
    int16_t Out;
};
class Pcm16 : public ::testing::TestWithParam<PcmCase> {};

TEST_P(Pcm16, RoundsAndClipsWithoutWrapping) {
    EXPECT_EQ(ToPcm16(GetParam().In), GetParam().Out) << "input " << GetParam().In;
}

INSTANTIATE_TEST_SUITE_P(Values, Pcm16,
                         ::testing::Values(PcmCase{0, 0}, PcmCase{1, 32767}, PcmCase{-1, -32767},
                                           PcmCase{0.5, 16384}, PcmCase{1.5, 32767},
                                           PcmCase{-1.5, -32768}, PcmCase{1e9, 32767},
                                           PcmCase{-1e9, -32768}));

TEST(SampleMusic, PianoTrackIsTwentySecondsOfUnclippedSound) {
    WaveInfo info = ReadWave(PianoTrackWav());
    EXPECT_EQ(info.Rate, 22050);
    EXPECT_EQ(info.Channels, 1);
    EXPECT_EQ(info.Bits, 16);
    ASSERT_EQ(info.Samples.size(), 20u * 22050u);
    int peak = 0;
    for (int16_t s : info.Samples)
        peak = std::max(peak, std::abs(static_cast<int>(s)));
    EXPECT_LT(peak, 32000);  // normalised below full scale
    // No silent gap anywhere before the fade-out.
    for (size_t second = 0; second < 18; ++second) {
        int loudest = 0;
        for (size_t i = second * 22050; i < (second + 1) * 22050; ++i)
            loudest = std::max(loudest, std::abs(static_cast<int>(info.Samples[i])));
        EXPECT_GT(loudest, 3000) << "second " << second;
    }
}

// --- MIDI ------------------------------------------------------------------

struct VarLengthCase {
    uint32_t Value;
    Bytes Encoded;
};
class MidiVarLength : public ::testing::TestWithParam<VarLengthCase> {};

TEST_P(MidiVarLength, SevenBitsPerByteHighBytesFlagged) {
    Bytes out;
    MidiFile::AppendVarLength(out, GetParam().Value);
    EXPECT_EQ(out, GetParam().Encoded) << "value " << GetParam().Value;
}

INSTANTIATE_TEST_SUITE_P(Boundaries, MidiVarLength,
                         ::testing::Values(VarLengthCase{0, {0x00}}, VarLengthCase{0x40, {0x40}},
                                           VarLengthCase{0x7F, {0x7F}},
                                           VarLengthCase{0x80, {0x81, 0x00}},
                                           VarLengthCase{0x2000, {0xC0, 0x00}},
                                           VarLengthCase{0x3FFF, {0xFF, 0x7F}},
                                           VarLengthCase{0x4000, {0x81, 0x80, 0x00}},
                                           VarLengthCase{0x1FFFFF, {0xFF, 0xFF, 0x7F}},
                                           VarLengthCase{0x200000, {0x81, 0x80, 0x80, 0x00}},
                                           VarLengthCase{0x0FFFFFFF, {0xFF, 0xFF, 0xFF, 0x7F}}));

TEST(MidiFile, VarLengthBeyondTwentyEightBitsIsRefused) {
    Bytes out;
    EXPECT_THROW(MidiFile::AppendVarLength(out, 0x10000000), std::invalid_argument);
}

struct MidiEvent {
    int64_t Tick;
    Bytes Data;
};
struct ParsedMidi {
    int Format, Division;
    std::vector<std::vector<MidiEvent>> Tracks;
};

uint32_t BigEndian(const uint8_t* p, int bytes) {
    uint32_t v = 0;
    for (int i = 0; i < bytes; ++i)
        v = (v << 8) | p[i];
    return v;
}

// Reads the file as a sequencer would: each chunk's length must cover its
// events exactly, and each track must end with the end-of-track event.
ParsedMidi ReadMidi(const Bytes& file) {
    auto need = [&](bool ok, const char* what) {
        if (!ok)
            throw std::runtime_error(what);
    };
    need(file.size() >= 14 && std::string(file.begin(), file.begin() + 4) == "MThd" &&
             BigEndian(file.data() + 4, 4) == 6,
         "header chunk");
    ParsedMidi midi{static_cast<int>(BigEndian(file.data() + 8, 2)), 0, {}};
    int tracks = static_cast<int>(BigEndian(file.data() + 10, 2));
    midi.Division = static_cast<int>(BigEndian(file.data() + 12, 2));
    size_t at = 14;
    for (int t = 0; t < tracks; ++t) {
        need(at + 8 <= file.size() &&
                 std::string(file.begin() + at, file.begin() + at + 4) == "MTrk",
             "track chunk");
        size_t end = at + 8 + BigEndian(file.data() + at + 4, 4);
        need(end <= file.size(), "track length past the end");
        at += 8;
        std::vector<MidiEvent> events;
        int64_t tick = 0;
        bool ended = false;
        while (at < end) {
            need(!ended, "events after end of track");
            uint32_t delta = 0;
            do {
                need(at < end, "truncated delta");
                delta = (delta << 7) | (file[at] & 0x7F);
            } while (file[at++] & 0x80);
            tick += delta;
            need(at < end, "truncated event");
            uint8_t status = file[at];
            size_t length;
            if (status == 0xFF) {
                need(at + 2 < end, "truncated meta event");
                length = 3 + file[at + 2];
                ended = file[at + 1] == 0x2F;
            } else {
                need(status & 0x80, "running status is not written");
                length = (status & 0xF0) == 0xC0 || (status & 0xF0) == 0xD0 ? 2 : 3;
            }
            need(at + length <= end, "event past the chunk");
            events.push_back({tick, Bytes(file.begin() + at, file.begin() + at + length)});
            at += length;
        }
        need(ended, "no end of track");
        midi.Tracks.push_back(std::move(events));
    }
    need(at == file.size(), "bytes after the last track");
    return midi;
}

TEST(MidiFile, OneTrackIsTypeZeroAndNotesComeOutInTimeOrder) {
    MidiFile midi(96);
    int track = midi.AddTrack();
    midi.Note(track, 200, 50, 0, 64, 90);  // added before the earlier notes
    midi.Note(track, 0, 96, 0, 60, 100);
    midi.Program(track, 0, 0, 73);
    ParsedMidi parsed = ReadMidi(midi.Bytes());
    EXPECT_EQ(parsed.Format, 0);
    EXPECT_EQ(parsed.Division, 96);
    ASSERT_EQ(parsed.Tracks.size(), 1u);
    std::vector<std::pair<int64_t, Bytes>> got;
    for (const MidiEvent& e : parsed.Tracks[0])
        got.emplace_back(e.Tick, e.Data);
    std::vector<std::pair<int64_t, Bytes>> want = {
        {0, {0xC0, 73}},       {0, {0x90, 60, 100}},  {96, {0x80, 60, 64}},
        {200, {0x90, 64, 90}}, {250, {0x80, 64, 64}}, {250, {0xFF, 0x2F, 0x00}}};
    EXPECT_EQ(got, want);
}

TEST(MidiFile, RepeatedKeyEndsBeforeItStrikesAgain) {
    MidiFile midi(480);
    int track = midi.AddTrack();
    midi.Note(track, 480, 480, 2, 67, 80);
    midi.Note(track, 0, 480, 2, 67, 80);
    ParsedMidi parsed = ReadMidi(midi.Bytes());
    const auto& e = parsed.Tracks[0];
    ASSERT_GE(e.size(), 4u);
    EXPECT_EQ(e[1].Tick, 480);
    EXPECT_EQ(e[1].Data[0], 0x82);  // off first, else the new note would be cut at once
    EXPECT_EQ(e[2].Tick, 480);
    EXPECT_EQ(e[2].Data[0], 0x92);
}

TEST(MidiFile, SeveralTracksMakeTypeOneWithTempo) {
    MidiFile midi(480);
    int conductor = midi.AddTrack(), voice = midi.AddTrack();
    midi.Tempo(conductor, 0, 500000);
    midi.Note(voice, 0, 10, 9, 36, 127);
    ParsedMidi parsed = ReadMidi(midi.Bytes());
    EXPECT_EQ(parsed.Format, 1);
    ASSERT_EQ(parsed.Tracks.size(), 2u);
    EXPECT_EQ(parsed.Tracks[0][0].Data, (Bytes{0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20}));
    EXPECT_EQ(parsed.Tracks[1][0].Data, (Bytes{0x99, 36, 127}));
}

TEST(MidiFile, RefusesValuesAMidiByteCannotHold) {
    MidiFile midi(480);
    int track = midi.AddTrack();
    EXPECT_THROW(midi.Note(track, 0, 10, 16, 60, 80), std::invalid_argument);
    EXPECT_THROW(midi.Note(track, 0, 10, 0, 128, 80), std::invalid_argument);
    EXPECT_THROW(midi.Note(track, 0, 10, 0, 60, 0), std::invalid_argument);
    EXPECT_THROW(midi.Note(track, 0, 10, 0, 60, 128), std::invalid_argument);
    EXPECT_THROW(midi.Note(track, 0, 0, 0, 60, 80), std::invalid_argument);
    EXPECT_THROW(midi.Note(track, -1, 10, 0, 60, 80), std::invalid_argument);
    EXPECT_THROW(midi.Note(track + 1, 0, 10, 0, 60, 80), std::invalid_argument);
    EXPECT_THROW(midi.Program(track, 0, 0, 128), std::invalid_argument);
    EXPECT_THROW(MidiFile(0), std::invalid_argument);
}

TEST(SampleMusic, MelodyTrackParsesWithEveryNoteEnded) {
    ParsedMidi parsed = ReadMidi(MelodyTrackMidi());
    EXPECT_EQ(parsed.Format, 1);
    ASSERT_EQ(parsed.Tracks.size(), 3u);
    EXPECT_EQ(parsed.Tracks[0][0].Data[1], 0x51);  // the tempo leads
    int notes = 0;
    for (const auto& track : parsed.Tracks) {
        std::map<std::pair<int, int>, int> sounding;  // (channel, key) -> count
        for (const MidiEvent& e : track) {
            int kind = e.Data[0] & 0xF0, channel = e.Data[0] & 0x0F;
            if (kind == 0x90) {
                ++sounding[std::make_pair(channel, int{e.Data[1]})];
                ++notes;
            } else if (kind == 0x80) {
                int& count = sounding[std::make_pair(channel, int{e.Data[1]})];
                ASSERT_GT(count, 0) << "note-off without note-on";
                --count;
            }
        }
        for (const auto& [note, count] : sounding)
            EXPECT_EQ(count, 0) << "key " << note.second << " never ends";
    }
    EXPECT_GT(notes, 40);
}

}  // namespace
}  // namespace pagora::sample
