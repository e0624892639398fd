// Host benchmark of the MIDI hot path: reading a large multi-track file and
// merging it into stream events, buffer after buffer, as the player does
// while a song plays.
#include <benchmark/benchmark.h>

#include <array>

#include "audio/midi_file.h"
#include "audio/midi_sequencer.h"
#include "tests/host/midi_builder.h"

namespace {

constexpr int kTracks = 16;
constexpr int kNotesPerTrack = 2000;  // a note on and a note off each
constexpr int kEvents = kTracks * kNotesPerTrack * 2 + 64;

// Sixteen tracks of notes at staggered times, a conductor track with tempo
// changes, and a volume change now and then: 64,000 channel events.
const midi::Bytes& LargeSong() {
    static const midi::Bytes file = [] {
        std::vector<midi::Track> tracks;
        midi::Track conductor;
        for (int i = 0; i < 64; ++i) conductor.Tempo(i == 0 ? 0 : 960, 400000 + (i % 8) * 25000);
        tracks.push_back(conductor.End());
        for (int t = 0; t < kTracks; ++t) {
            midi::Track track;
            track.Program(0, t, t * 8);
            for (int n = 0; n < kNotesPerTrack; ++n) {
                if (n % 200 == 0) track.Control(0, t, 7, 60 + n % 60);
                track.NoteOn(n == 0 ? t : 7 + (n + t) % 5, t, 36 + (n * 7 + t) % 48, 64 + n % 60);
                track.NoteOff(5 + (n + t) % 3, t, 36 + (n * 7 + t) % 48);
            }
            tracks.push_back(track.End());
        }
        return midi::File(1, 480, tracks);
    }();
    return file;
}

void BM_MidiMergeAndEncode(benchmark::State& state) {
    const midi::Bytes& song = LargeSong();
    std::array<std::uint8_t, audio::kStreamBufferBytes> block{};
    std::int64_t events = 0, buffers = 0;
    for (auto _ : state) {
        audio::MidiFile file;
        if (!audio::ReadMidiFile(song, file)) state.SkipWithError("unreadable");
        audio::MidiSequencer seq;
        seq.Load(std::move(file));
        for (;;) {
            audio::EventBuffer b;
            b.data = block.data();
            if (seq.Fill(b, false).result != audio::FillResult::kComplete) break;
            events += b.used / audio::kStreamEventBytes;
            ++buffers;
            benchmark::DoNotOptimize(block.data());
        }
    }
    state.SetItemsProcessed(events);
    state.counters["events_per_song"] = double(events) / double(state.iterations());
    state.counters["buffers_per_song"] = double(buffers) / double(state.iterations());
    state.SetBytesProcessed(std::int64_t(state.iterations() * song.size()));
}
BENCHMARK(BM_MidiMergeAndEncode)->Unit(benchmark::kMillisecond);

void BM_MidiReadTrackTable(benchmark::State& state) {
    const midi::Bytes& song = LargeSong();
    for (auto _ : state) {
        audio::MidiFile file;
        benchmark::DoNotOptimize(audio::ReadMidiFile(song, file));
    }
}
BENCHMARK(BM_MidiReadTrackTable);

}  // namespace

BENCHMARK_MAIN();
