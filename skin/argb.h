#pragma once
// GDI colours (0x00BBGGRR) to GDI+ ARGB (0xAARRGGBB).
#include <cstdint>

namespace skin {

// Byte 3 of the colour is ignored; only the low 8 bits of alpha are kept.
constexpr std::uint32_t ToArgb(std::uint32_t colour, std::int32_t alpha) {
    const std::uint32_t red = colour & 0xFF, green = (colour >> 8) & 0xFF, blue = (colour >> 16) & 0xFF;
    return (std::uint32_t(alpha) << 24) | (red << 16) | (green << 8) | blue;
}

}  // namespace skin
