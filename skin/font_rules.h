#pragma once
// How a GDI font's description becomes a GDI+ font's style and em size.
#include <cstdint>

namespace skin {

inline constexpr std::int32_t kFontStyleBold = 1, kFontStyleItalic = 2, kFontStyleUnderline = 4,
                              kFontStyleStrikeout = 8;

// Only the weights 600 and 700 count as bold; each flag counts only when it is exactly 1.
std::int32_t FontStyleOf(std::int32_t weight, std::uint8_t italic, std::uint8_t underline, std::uint8_t strike_out);

// A negative height is a character height in pixels; a positive one is used unchanged.
float EmSizeOf(std::int32_t height);

}  // namespace skin
