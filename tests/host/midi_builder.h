#pragma once
// Builds Standard MIDI Files for tests, and reads stream events back.
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

namespace midi {

using Bytes = std::vector<std::uint8_t>;

inline Bytes VarLen(std::uint32_t v) {
    Bytes out{std::uint8_t(v & 0x7F)};
    while (v >>= 7) out.insert(out.begin(), std::uint8_t(0x80 | (v & 0x7F)));
    return out;
}

inline void PutBe32(Bytes& b, std::uint32_t v) {
    for (int s = 24; s >= 0; s -= 8) b.push_back(std::uint8_t(v >> s));
}
inline void PutBe16(Bytes& b, std::uint32_t v) {
    b.push_back(std::uint8_t(v >> 8));
    b.push_back(std::uint8_t(v));
}

// One track body, event by event; each event is preceded by its delta time.
class Track {
public:
    Track& Raw(std::uint32_t delta, std::initializer_list<std::uint8_t> bytes) {
        Append(VarLen(delta));
        body.insert(body.end(), bytes);
        return *this;
    }
    Track& NoteOn(std::uint32_t delta, int ch, int note, int vel = 100) {
        return Raw(delta, {std::uint8_t(0x90 | ch), std::uint8_t(note), std::uint8_t(vel)});
    }
    Track& NoteOff(std::uint32_t delta, int ch, int note) {
        return Raw(delta, {std::uint8_t(0x80 | ch), std::uint8_t(note), 0});
    }
    Track& Control(std::uint32_t delta, int ch, int controller, int value) {
        return Raw(delta, {std::uint8_t(0xB0 | ch), std::uint8_t(controller), std::uint8_t(value)});
    }
    Track& Program(std::uint32_t delta, int ch, int program) {
        return Raw(delta, {std::uint8_t(0xC0 | ch), std::uint8_t(program)});
    }
    Track& Meta(std::uint32_t delta, std::uint8_t type, const Bytes& data) {
        Append(VarLen(delta));
        body.push_back(0xFF);
        body.push_back(type);
        Append(VarLen(std::uint32_t(data.size())));
        Append(data);
        return *this;
    }
    Track& Tempo(std::uint32_t delta, std::uint32_t us_per_quarter) {
        return Meta(delta, 0x51,
                    {std::uint8_t(us_per_quarter >> 16), std::uint8_t(us_per_quarter >> 8), std::uint8_t(us_per_quarter)});
    }
    Track& Text(std::uint32_t delta, const std::string& s) { return Meta(delta, 0x01, Bytes(s.begin(), s.end())); }
    Track& SysEx(std::uint32_t delta, const Bytes& data) {
        Append(VarLen(delta));
        body.push_back(0xF0);
        Append(VarLen(std::uint32_t(data.size())));
        Append(data);
        return *this;
    }
    Track& End(std::uint32_t delta = 0) { return Meta(delta, 0x2F, {}); }
    void Append(const Bytes& b) { body.insert(body.end(), b.begin(), b.end()); }

    Bytes body;
};

inline Bytes Header(std::uint32_t format, std::uint32_t tracks, std::uint32_t division, std::uint32_t length = 6) {
    Bytes b{'M', 'T', 'h', 'd'};
    PutBe32(b, length);
    PutBe16(b, format);
    PutBe16(b, tracks);
    PutBe16(b, division);
    return b;
}

inline Bytes Chunk(const Bytes& body, const char* id = "MTrk") {
    Bytes b(id, id + 4);
    PutBe32(b, std::uint32_t(body.size()));
    b.insert(b.end(), body.begin(), body.end());
    return b;
}

inline Bytes File(std::uint32_t format, std::uint32_t division, const std::vector<Track>& tracks) {
    Bytes f = Header(format, std::uint32_t(tracks.size()), division);
    for (const Track& t : tracks) {
        const Bytes c = Chunk(t.body);
        f.insert(f.end(), c.begin(), c.end());
    }
    return f;
}

// A stream event as the device reads it.
struct Event {
    std::uint32_t delta;
    std::uint32_t stream_id;
    std::uint32_t word;
    bool operator==(const Event&) const = default;
};

inline std::vector<Event> Events(const std::uint8_t* data, std::uint32_t bytes) {
    std::vector<Event> out(bytes / 12);
    for (std::size_t i = 0; i < out.size(); ++i) std::memcpy(&out[i], data + i * 12, 12);
    return out;
}

inline std::uint32_t Short(int status, int d1, int d2 = 0) { return std::uint32_t(status | d1 << 8 | d2 << 16); }
inline std::uint32_t TempoWord(std::uint32_t tempo) { return 0x01000000u | tempo; }
inline bool IsTempo(const Event& e) { return (e.word >> 24) == 0x01; }

// Absolute time and word of every event, deltas summed.
struct Timed {
    std::uint32_t time;
    std::uint32_t word;
    bool operator==(const Timed&) const = default;
};
inline std::vector<Timed> Timeline(const std::vector<Event>& events, bool with_tempo = true) {
    std::vector<Timed> out;
    std::uint32_t t = 0;
    for (const Event& e : events) {
        t += e.delta;
        if (with_tempo || !IsTempo(e)) out.push_back({t, e.word});
    }
    return out;
}

}  // namespace midi
