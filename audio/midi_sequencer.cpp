#include "audio/midi_sequencer.h"

#include <cstring>
#include <utility>

#include "audio/midi_device.h"

namespace audio {

void MidiSequencer::Load(MidiFile&& file) {
    file_ = std::move(file);
    flags_ = 0;
    selected_ = -1;
    pending_ = MidiEvent{};
    current_time_ = 0;
    span_limit_ = 0;
    tempo_ = 0;
    speed_percent_ = 100;
    insert_tempo_ = false;
}

void MidiSequencer::Unload() { Load(MidiFile{}); }

void MidiSequencer::StartAfresh() {
    flags_ = 0;
    pending_.bytes.clear();
}

void MidiSequencer::Rewind() {
    for (TrackCursor& t : file_.tracks) RewindTrack(t);
    current_time_ = 0;
}

int MidiSequencer::SelectTrack() const {
    int best = -1;
    for (std::size_t i = 0; i < file_.tracks.size(); ++i) {
        const TrackCursor& t = file_.tracks[i];
        // Strictly smaller: the lowest-numbered track wins a tie.
        if (!t.ended() && (best < 0 || t.next_time < file_.tracks[std::size_t(best)].next_time)) best = int(i);
    }
    return best;
}

MidiSequencer::Filled MidiSequencer::Fill(EventBuffer& b, bool loop) {
    bool rewound = false;
    if (flags_ & kEndOfSong) {
        // A song whose every event sits at tick 0 takes no time: looping it
        // would only spin, so it ends instead.
        if (!loop || current_time_ == 0) return {FillResult::kEndOfSong, false};
        Rewind();
        flags_ = 0;
        rewound = true;
    }
    if (flags_ & kReadError) return {FillResult::kReadError, rewound};
    if (flags_ & kPending) {
        if (Convert(b, pending_) == Converted::kFull) return {FillResult::kComplete, rewound};
        flags_ &= ~kPending;
        pending_.bytes.clear();
    }
    for (;;) {
        selected_ = SelectTrack();
        if (selected_ < 0) {
            flags_ |= kEndOfSong;
            return {FillResult::kComplete, rewound};
        }
        if (!ReadEvent(file_.tracks[std::size_t(selected_)], pending_)) {
            flags_ |= kReadError;
            return {FillResult::kReadError, rewound};
        }
        if (pending_.is_meta(kMetaEndOfTrack)) continue;
        if (Convert(b, pending_) == Converted::kFull) {
            flags_ |= kPending;
            return {FillResult::kComplete, rewound};
        }
        pending_.bytes.clear();
    }
}

void MidiSequencer::Write(EventBuffer& b, std::uint32_t delta, std::uint32_t word) {
    const std::uint32_t event[3] = {delta, 0, word};
    std::memcpy(b.data + b.write_base + b.used, event, sizeof event);
    b.used += kStreamEventBytes;
}

std::uint32_t MidiSequencer::TempoWord(std::uint32_t tempo) const {
    return kMidiEventTempo << 24 | ((tempo * 100 / speed_percent_) & 0xFFFFFF);
}

MidiSequencer::Converted MidiSequencer::Convert(EventBuffer& b, const MidiEvent& e) {
    if (b.used == 0) b.start_time = current_time_;
    // Close the buffer soon after it covers the span limit, so that tempo and
    // volume changes reach the device promptly.
    if (current_time_ - b.start_time > span_limit_) {
        if (b.span_flag) {
            b.span_flag = false;
            return Converted::kFull;
        }
        b.span_flag = true;
    }
    const std::uint32_t delta = e.time - current_time_;
    if (insert_tempo_) {
        // A full buffer keeps the request for the next one.
        if (b.free_bytes() < kStreamEventBytes) return Converted::kFull;
        insert_tempo_ = false;
        if (tempo_ != 0) Write(b, 0, TempoWord(tempo_));
    }
    if (e.is_channel()) {
        if (b.free_bytes() < kStreamEventBytes) return Converted::kFull;
        std::uint32_t word = e.status | std::uint32_t(e.data1) << 8 | std::uint32_t(e.data2) << 16;
        // Channel volume: the volume handler hears it when it plays.
        if ((e.status & 0xF0) == 0xB0 && e.data1 == 7) word |= kMidiEventCallback;
        Write(b, delta, word);
        current_time_ = e.time;
        return Converted::kWritten;
    }
    if (e.is_meta(kMetaTempo) && e.bytes.size() >= 3) {
        const std::uint32_t tempo = std::uint32_t(e.bytes[0]) << 16 | std::uint32_t(e.bytes[1]) << 8 | e.bytes[2];
        if (tempo == 0) return Converted::kDropped;  // no such tempo; it would divide by zero
        if (b.free_bytes() < kStreamEventBytes) return Converted::kFull;
        tempo_ = tempo;
        Write(b, delta, TempoWord(tempo));
        span_limit_ = file_.division * kBufferSpanMicroseconds / tempo;
        current_time_ = e.time;
        return Converted::kWritten;
    }
    // System exclusive and other meta events are not sent; the next written
    // event carries their time.
    return Converted::kDropped;
}

}  // namespace audio
