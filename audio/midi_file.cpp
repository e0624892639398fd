#include "audio/midi_file.h"

#include <cstring>
#include <new>

namespace audio {
namespace {

std::uint32_t Be32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
}
std::uint16_t Be16(const std::uint8_t* p) { return std::uint16_t(p[0] << 8 | p[1]); }

bool ReadByte(TrackCursor& t, std::uint8_t& b) {
    if (t.position >= t.length) return false;
    b = t.start[t.position++];
    return true;
}

// A counted body: the count, then that many bytes, copied.
bool ReadBody(TrackCursor& t, MidiEvent& e) {
    std::uint32_t n = 0;
    if (!ReadVarLen(t, n) || n > t.length - t.position) return false;
    e.length = n;
    try {
        e.bytes.assign(t.start + t.position, t.start + t.position + n);
    } catch (const std::bad_alloc&) {
        return false;
    }
    t.position += n;
    return true;
}

}  // namespace

bool LooksLikeMidi(std::span<const std::uint8_t> bytes) {
    return bytes.size() > 4 && std::memcmp(bytes.data(), "MThd", 4) == 0;
}

bool ReadMidiFile(std::span<const std::uint8_t> bytes, MidiFile& out) {
    // "MThd", a header length of 6, then format, track count and division.
    if (!LooksLikeMidi(bytes) || bytes.size() < 14) return false;
    const std::uint8_t* p = bytes.data();
    if (Be32(p + 4) != 6) return false;
    out.format = Be16(p + 8);
    out.track_count = Be16(p + 10);
    out.division = Be16(p + 12);
    out.tracks.assign(out.track_count, TrackCursor{});
    std::size_t at = 14;
    for (TrackCursor& t : out.tracks) {
        if (bytes.size() - at < 8 || std::memcmp(p + at, "MTrk", 4) != 0) return false;
        const std::uint32_t length = Be32(p + at + 4);
        at += 8;
        if (length > bytes.size() - at) return false;  // the body must lie inside the data
        t.start = p + at;
        t.length = length;
        t.position = 0;
        t.running_status = 0;
        if (length == 0) {
            t.flags = TrackCursor::kEnded;
        } else if (!ReadVarLen(t, t.next_time)) {
            return false;
        }
        at += length;
    }
    return true;
}

bool ReadVarLen(TrackCursor& t, std::uint32_t& value) {
    if (t.ended()) return false;
    value = 0;
    std::uint8_t b = 0;
    do {
        if (!ReadByte(t, b)) return false;
        value = (value << 7) + (b & 0x7F);  // no limit on the count: wider values wrap
    } while (b & 0x80);
    return true;
}

void RewindTrack(TrackCursor& t) {
    t.position = 0;
    t.running_status = 0;
    t.next_time = 0;
    t.flags = 0;
    // The first delta read when the file was opened; it reads the same again.
    if (t.length == 0 || !ReadVarLen(t, t.next_time)) t.flags = TrackCursor::kEnded;
}

bool ReadEvent(TrackCursor& t, MidiEvent& e) {
    if (t.ended()) return false;
    e.time = t.next_time;
    e.data1 = e.data2 = 0;
    e.length = 0;
    e.bytes.clear();
    std::uint8_t b = 0;
    if (!ReadByte(t, b)) return false;
    const auto one_data_byte = [](std::uint8_t status) { return status >= 0xC0 && status <= 0xDF; };
    if (b >= 0x80 && b <= 0xEF) {
        e.status = b;
        t.running_status = b;
        if (!ReadByte(t, e.data1)) return false;
        if (!one_data_byte(b) && !ReadByte(t, e.data2)) return false;
    } else if (b < 0x80) {
        if (t.running_status == 0) return false;  // a data byte with no status in force
        e.status = t.running_status;
        e.data1 = b;
        if (!one_data_byte(e.status) && !ReadByte(t, e.data2)) return false;
    } else if (b == 0xF0 || b == 0xF7) {
        e.status = b;
        if (!ReadBody(t, e)) return false;
    } else if (b == kMetaEvent) {
        e.status = b;
        if (!ReadByte(t, e.data1) || !ReadBody(t, e)) return false;
        if (e.data1 == kMetaEndOfTrack) t.flags |= TrackCursor::kEnded;
    } else {
        return false;  // system common and real-time bytes have no place in a file
    }
    if (!t.ended()) {
        std::uint32_t delta = 0;
        if (!ReadVarLen(t, delta)) return false;
        t.next_time += delta;
    }
    return true;
}

}  // namespace audio
