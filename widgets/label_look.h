#pragma once
// How the transparent label lays out its caption: the copies each effect
// draws, in order, and whether a font block describes a font. Pure data; the
// painting is Win32.
#include <cstddef>
#include <cstdint>
#include <span>

namespace widgets {

enum class Ink { White, Black, Text };

// One drawing of the caption: offset from its place and its colour.
struct TextPass {
    int dx, dy;
    Ink ink;
    bool operator==(const TextPass&) const = default;
};

// The copies of the caption for an effect (clamped to 0 to 3), back to front.
std::span<const TextPass> EffectPasses(std::int32_t effect);

// A font block describes a font when it holds a complete logical font.
inline constexpr std::size_t kLogicalFontBytes = 60;
constexpr bool HoldsLogicalFont(std::span<const std::uint8_t> block) { return block.size() >= kLogicalFontBytes; }

}  // namespace widgets
