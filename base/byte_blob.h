#pragma once
// A counted byte array as the program stores its built-in data: a 32-bit
// dimension count (always 1), a 32-bit byte length, then the bytes.
#include <cstdint>
#include <span>

struct ByteBlob {
    std::uint32_t dimensions;
    std::uint32_t length;

    // The bytes follow the header directly in memory.
    const std::uint8_t* data() const { return reinterpret_cast<const std::uint8_t*>(this + 1); }
    std::span<const std::uint8_t> bytes() const { return {data(), length}; }
};
static_assert(sizeof(ByteBlob) == 8);
