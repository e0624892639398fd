// Fuzz target: the MIDI file reader and the merge into stream events, run to
// the end of the song (and some way round a loop), then the player itself
// opened, started and played through against a stream that gives every
// buffer back as soon as it is queued.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <thread>
#include <vector>

#include "audio/midi_file.h"
#include "audio/midi_player.h"
#include "audio/midi_sequencer.h"

namespace {

class InstantStream final : public audio::MidiDevice {
public:
    audio::MidiHandle Open(audio::MidiCallback cb, void* inst) override {
        cb_ = cb;
        inst_ = inst;
        return ++last_;
    }
    bool SetTimeDivision(audio::MidiHandle, std::uint32_t) override { return true; }
    bool Prepare(audio::MidiHandle, audio::MidiHeader* h) override {
        h->flags |= audio::kMidiHeaderPrepared;
        return true;
    }
    bool Unprepare(audio::MidiHandle, audio::MidiHeader* h) override {
        h->flags &= ~audio::kMidiHeaderPrepared;
        return true;
    }
    bool Out(audio::MidiHandle s, audio::MidiHeader* h) override {
        // Read every event as the device would, and report volume changes.
        if (h->bytes_recorded > h->buffer_length || h->bytes_recorded % 12) __builtin_trap();
        volatile std::uint8_t sink = 0;
        for (std::uint32_t i = 0; i < h->bytes_recorded; ++i) sink = sink ^ h->data[i];
        for (std::uint32_t at = 0; at + 12 <= h->bytes_recorded; at += 12) {
            std::uint32_t word;
            std::memcpy(&word, h->data + at + 8, 4);
            if (word & audio::kMidiEventCallback) {
                h->offset = at;
                cb_(inst_, s, audio::kMidiPositionCallback, h);
            }
        }
        cb_(inst_, s, audio::kMidiDone, h);
        return true;
    }
    bool Restart(audio::MidiHandle) override { return true; }
    bool Stop(audio::MidiHandle) override { return true; }
    bool Reset(audio::MidiHandle) override { return true; }
    bool Close(audio::MidiHandle) override { return true; }
    void Notify(std::uintptr_t, std::uint32_t, std::uintptr_t, std::uintptr_t) override {}

private:
    audio::MidiCallback cb_ = nullptr;
    void* inst_ = nullptr;
    audio::MidiHandle last_ = 0;
};

void CheckCursors(const audio::MidiSequencer& seq) {
    for (const audio::TrackCursor& t : seq.file().tracks)
        if (t.position > t.length) __builtin_trap();
}

// Fills buffers until the song ends, fails or `most` buffers are done.
void Merge(audio::MidiSequencer& seq, bool loop, int most) {
    std::vector<std::uint8_t> block(audio::kStreamBufferBytes);
    for (int n = 0; n < most; ++n) {
        audio::EventBuffer b;
        b.data = block.data();
        const auto filled = seq.Fill(b, loop);
        if (b.used > b.capacity || b.used % 12) __builtin_trap();
        CheckCursors(seq);
        if (filled.result != audio::FillResult::kComplete) return;
        // A fresh buffer always takes at least one event, or the song ends.
        if (b.used == 0 && !(seq.flags() & audio::MidiSequencer::kEndOfSong)) __builtin_trap();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    audio::MidiFile file;
    if (!audio::ReadMidiFile(bytes, file)) return 0;
    for (const audio::TrackCursor& t : file.tracks)
        if (t.start < data || t.start + t.length > data + size) __builtin_trap();

    audio::MidiSequencer seq;
    seq.Load(std::move(file));
    seq.StartAfresh();
    Merge(seq, false, 1 << 20);
    seq.Rewind();
    seq.StartAfresh();
    Merge(seq, true, 64);

    static InstantStream device;
    static audio::SteadyClock clock;
    audio::MidiPlayer player(device, clock);
    if (player.Open(bytes) == audio::MidiOpen::kOpened && player.Start(false)) {
        // Played once, the song ends by itself and the player re-arms.
        while (player.Sounding()) std::this_thread::yield();
    }
    player.Close();
    return 0;
}
