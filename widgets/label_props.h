#pragma once
// The transparent label kind: its stored block, version 1.
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "shell/block_builder.h"

namespace widgets {

struct LabelProps {
    std::int32_t effect = 0;           // 9: 0 none .. 3 black drop shadow
    std::span<const std::uint8_t> font;  // 10: a 60-byte logical font, or empty
    std::uint32_t colour = 0;          // 11: 0x00BBGGRR
    std::int32_t h_align = 0;          // 12: 0 left, 1 centre, 2 right
    bool word_wrap = false;            // 13
    std::int32_t v_align = 0;          // 14: 0 top, 1 middle, 2 bottom
    std::string caption;
};

// Out-of-range effect and alignments are clamped, as on a property write.
std::int32_t ClampEffect(std::int32_t v);
std::int32_t ClampAlign(std::int32_t v);

std::optional<LabelProps> ParseLabelBlock(std::span<const std::uint8_t> block);

template <std::size_t N>
constexpr auto LabelBlock(std::int32_t effect, std::uint32_t colour, std::int32_t h_align,
                          std::int32_t v_align, bool word_wrap, const char (&caption)[N]) {
    using namespace shell::block;
    return Cat(U32(1), U32(std::uint32_t(effect)), U32(colour), U32(std::uint32_t(h_align)),
               U32(std::uint32_t(v_align)), U32(word_wrap), None(), Text(caption));
}

}  // namespace widgets
