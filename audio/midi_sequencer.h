#pragma once
// Merges the tracks of a MIDI file by time and writes them as stream events
// (delta ticks, stream id 0, event word) into buffers of 1,024 bytes.
#include <cstdint>

#include "audio/midi_file.h"

namespace audio {

inline constexpr std::uint32_t kStreamBufferBytes = 1024;
inline constexpr std::uint32_t kStreamEventBytes = 12;
// A buffer closes once it covers about this much music at the current tempo.
inline constexpr std::uint32_t kBufferSpanMicroseconds = 60000;

// The fill bookkeeping of one stream buffer.
struct EventBuffer {
    std::uint8_t* data = nullptr;
    std::uint32_t write_base = 0;
    std::uint32_t capacity = kStreamBufferBytes;
    std::uint32_t used = 0;
    std::uint32_t start_time = 0;  // current time when its first event went in
    bool span_flag = false;

    void Clear() {
        used = 0;
        start_time = 0;
        span_flag = false;
    }
    std::uint32_t free_bytes() const { return capacity - used; }
};

enum class FillResult { kComplete, kEndOfSong, kReadError };

class MidiSequencer {
public:
    static constexpr std::uint32_t kEndOfSong = 0x1;
    static constexpr std::uint32_t kReadError = 0x2;
    static constexpr std::uint32_t kPending = 0x4;

    // Takes the file's cursors; everything else starts over.
    void Load(MidiFile&& file);
    // Forgets the file.
    void Unload();

    // Merge flags cleared, no pending event.
    void StartAfresh();
    // Every track back to its first event, the current time to 0.
    void Rewind();
    // Write the current tempo again before the next event (after a restart,
    // the device has forgotten it).
    void InsertTempo() { insert_tempo_ = true; }

    struct Filled {
        FillResult result;
        bool rewound;  // the song looped during this fill
    };
    // Fills `b` (its bookkeeping already cleared or partly used).
    Filled Fill(EventBuffer& b, bool loop);

    const MidiFile& file() const { return file_; }
    std::uint32_t flags() const { return flags_; }
    const MidiEvent& pending() const { return pending_; }
    std::uint32_t current_time() const { return current_time_; }
    std::uint32_t tempo() const { return tempo_; }
    std::uint32_t span_limit() const { return span_limit_; }
    std::uint32_t speed_percent() const { return speed_percent_; }
    bool insert_tempo() const { return insert_tempo_; }

private:
    enum class Converted { kWritten, kDropped, kFull };

    Converted Convert(EventBuffer& b, const MidiEvent& e);
    void Write(EventBuffer& b, std::uint32_t delta, std::uint32_t word);
    std::uint32_t TempoWord(std::uint32_t tempo) const;
    int SelectTrack() const;  // -1 when every track has ended

    MidiFile file_;
    std::uint32_t flags_ = 0;
    int selected_ = -1;
    MidiEvent pending_;
    std::uint32_t current_time_ = 0;  // of the last event written
    std::uint32_t span_limit_ = 0;    // ticks; 0 until the first tempo event
    std::uint32_t tempo_ = 0;         // microseconds per quarter note; 0 until known
    std::uint32_t speed_percent_ = 100;
    bool insert_tempo_ = false;
};

}  // namespace audio
