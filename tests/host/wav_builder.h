#pragma once
// Builds RIFF/WAVE bytes chunk by chunk, quirks included.
#include <cstdint>
#include <string>
#include <vector>

namespace wav {

using Bytes = std::vector<std::uint8_t>;

inline void Put32(Bytes& b, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(std::uint8_t(v >> (8 * i)));
}
inline void Put16(Bytes& b, std::uint16_t v) {
    b.push_back(std::uint8_t(v));
    b.push_back(std::uint8_t(v >> 8));
}

inline Bytes PcmFormat(std::uint16_t channels = 2, std::uint32_t rate = 44100, std::uint16_t bits = 16) {
    Bytes f;
    const std::uint16_t align = std::uint16_t(channels * bits / 8);
    Put16(f, 1);
    Put16(f, channels);
    Put32(f, rate);
    Put32(f, rate * align);
    Put16(f, align);
    Put16(f, bits);
    return f;
}

inline Bytes Samples(std::size_t n, std::uint8_t seed = 1) {
    Bytes s(n);
    for (std::size_t i = 0; i < n; ++i) s[i] = std::uint8_t(seed + i * 7 + i / 251);
    return s;
}

class Builder {
public:
    Builder& Chunk(const char* id, const Bytes& body, std::uint32_t declared = UINT32_MAX) {
        body_.insert(body_.end(), id, id + 4);
        Put32(body_, declared == UINT32_MAX ? std::uint32_t(body.size()) : declared);
        body_.insert(body_.end(), body.begin(), body.end());
        return *this;
    }
    Builder& Raw(const Bytes& bytes) {
        body_.insert(body_.end(), bytes.begin(), bytes.end());
        return *this;
    }
    // riff_size_delta adjusts the RIFF size field from its true value.
    Bytes Build(const char* form = "WAVE", std::int64_t riff_size_delta = 0) const {
        Bytes b{'R', 'I', 'F', 'F'};
        Put32(b, std::uint32_t(std::int64_t(4 + body_.size()) + riff_size_delta));
        b.insert(b.end(), form, form + 4);
        b.insert(b.end(), body_.begin(), body_.end());
        return b;
    }

private:
    Bytes body_;
};

inline Bytes SimpleWav(const Bytes& samples) { return Builder().Chunk("fmt ", PcmFormat()).Chunk("data", samples).Build(); }

}  // namespace wav
