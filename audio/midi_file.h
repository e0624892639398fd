#pragma once
// Reading a Standard MIDI File held in memory: the header, a cursor per
// track, variable-length numbers and one event at a time. Every read is
// bounded by the bytes the file actually holds.
#include <cstdint>
#include <span>
#include <vector>

namespace audio {

struct TrackCursor {
    static constexpr std::uint32_t kEnded = 0x1;

    std::uint32_t flags = 0;
    std::uint32_t length = 0;  // of the body
    const std::uint8_t* start = nullptr;
    std::uint32_t position = 0;
    std::uint32_t next_time = 0;  // absolute ticks of the next event
    std::uint8_t running_status = 0;

    bool ended() const { return (flags & kEnded) != 0; }
};

struct MidiFile {
    std::uint32_t format = 0;  // kept, not used: format 2 merges like format 1
    std::uint32_t track_count = 0;
    std::uint32_t division = 0;  // handed to the stream unchanged
    std::vector<TrackCursor> tracks;
};

// The engine's test: more than 4 bytes, starting "MThd".
bool LooksLikeMidi(std::span<const std::uint8_t> bytes);

// Reads the header and the track table, and each track's first delta time.
// False for anything that is not a well-formed file of that shape; the
// cursors then point into `bytes`, which must outlive them.
bool ReadMidiFile(std::span<const std::uint8_t> bytes, MidiFile& out);

// Bytes while the top bit is set, 7 bits each. Fails on an ended track or
// when the body runs out.
bool ReadVarLen(TrackCursor& t, std::uint32_t& value);

// Puts a cursor back at its first event (an empty track ends at once).
void RewindTrack(TrackCursor& t);

inline constexpr std::uint8_t kMetaEvent = 0xFF;
inline constexpr std::uint8_t kMetaEndOfTrack = 0x2F;
inline constexpr std::uint8_t kMetaTempo = 0x51;

struct MidiEvent {
    std::uint32_t time = 0;
    std::uint8_t status = 0;
    std::uint8_t data1 = 0;  // the type of a meta event
    std::uint8_t data2 = 0;
    std::uint32_t length = 0;         // of `bytes`
    std::vector<std::uint8_t> bytes;  // owned body of a system-exclusive or meta event

    bool is_channel() const { return status >= 0x80 && status <= 0xEF; }
    bool is_meta(std::uint8_t type) const { return status == kMetaEvent && data1 == type; }
};

// Reads the cursor's next event into `e` (its time is the track's next
// event time), then the delta time that follows it. False on anything
// malformed or past the body.
bool ReadEvent(TrackCursor& t, MidiEvent& e);

}  // namespace audio
