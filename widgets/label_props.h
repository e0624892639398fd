#pragma once
// The transparent label kind: its stored block, version 1, and reads and
// writes of its properties by index.
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "base/block_builder.h"
#include "widgets/prop_value.h"

namespace widgets {

// Property indexes of the kind. The caption has no number of its own in the
// stored block's description; it takes the first kind-specific index, 8.
enum LabelProperty : int {
    kLabelCaption = 8, kLabelEffect, kLabelFont, kLabelColour, kLabelAlign, kLabelWordWrap, kLabelVAlign,
};

enum LabelEffect : std::int32_t { kNoEffect = 0, kWhiteShadow = 1, kWhiteEngrave = 2, kBlackShadow = 3 };

struct LabelProps {
    std::int32_t effect = kNoEffect;   // 9: 0 none .. 3 black drop shadow
    Bytes font;                        // 10: a 60-byte logical font, or empty
    std::uint32_t colour = 0;          // 11: 0x00BBGGRR
    std::int32_t h_align = 0;          // 12: 0 left, 1 centre, 2 right
    bool word_wrap = false;            // 13
    std::int32_t v_align = 0;          // 14: 0 top, 1 middle, 2 bottom (single line only)
    std::string caption;               // 8

    bool operator==(const LabelProps&) const = default;
};

// Out-of-range effect and alignments are clamped, as on a property write.
std::int32_t ClampEffect(std::int32_t v);
std::int32_t ClampAlign(std::int32_t v);

std::optional<LabelProps> ParseLabelBlock(std::span<const std::uint8_t> block);

// The value of property `index`; nothing for an index the kind lacks.
std::optional<PropValue> ReadLabelProperty(const LabelProps& p, int index);
// Stores a written value, clamping the effect and alignments; false (and
// nothing changed) for an index the kind lacks or a value of the wrong type.
bool WriteLabelProperty(LabelProps& p, int index, const PropValue& value);

template <std::size_t N>
constexpr auto LabelBlock(std::int32_t effect, std::uint32_t colour, std::int32_t h_align,
                          std::int32_t v_align, bool word_wrap, const char (&caption)[N]) {
    using namespace base::block;
    return Cat(U32(1), U32(std::uint32_t(effect)), U32(colour), U32(std::uint32_t(h_align)),
               U32(std::uint32_t(v_align)), U32(word_wrap), None(), Text(caption));
}

}  // namespace widgets
