#pragma once
// Compile-time builders for the stored property blocks: 32-bit little-endian
// numbers and length-prefixed byte strings, concatenated into one array.
#include <array>
#include <cstddef>
#include <cstdint>

namespace base::block {

template <std::size_t N>
using Bytes = std::array<std::uint8_t, N>;

constexpr Bytes<4> U32(std::uint32_t v) {
    return {std::uint8_t(v), std::uint8_t(v >> 8), std::uint8_t(v >> 16), std::uint8_t(v >> 24)};
}

// Length-prefixed text without its terminating zero.
template <std::size_t N>
constexpr Bytes<N + 3> Text(const char (&s)[N]) {
    Bytes<N + 3> out{};
    const auto len = U32(N - 1);
    for (std::size_t i = 0; i < 4; ++i) out[i] = len[i];
    for (std::size_t i = 0; i + 1 < N; ++i) out[4 + i] = static_cast<std::uint8_t>(s[i]);
    return out;
}

// Length-prefixed text of exactly N bytes from a table's pointer, for texts
// that share one length; evaluated at compile time, a text of another length
// stops the build.
template <std::size_t N>
constexpr Bytes<N + 4> TextOf(const char* s) {
    Bytes<N + 4> out{};
    const auto len = U32(N);
    for (std::size_t i = 0; i < 4; ++i) out[i] = len[i];
    for (std::size_t i = 0; i < N; ++i) {
        if (s[i] == 0) throw "text shorter than its field";
        out[4 + i] = static_cast<std::uint8_t>(s[i]);
    }
    if (s[N] != 0) throw "text longer than its field";
    return out;
}

// An empty counted field (no picture, no font, no sound).
constexpr Bytes<4> None() { return U32(0); }

template <std::size_t... Ns>
constexpr Bytes<(Ns + ... + 0)> Cat(const Bytes<Ns>&... parts) {
    Bytes<(Ns + ... + 0)> out{};
    std::size_t at = 0;
    ((
         [&] {
             for (std::size_t i = 0; i < Ns; ++i) out[at + i] = parts[i];
             at += Ns;
         }()),
     ...);
    return out;
}

}  // namespace base::block
