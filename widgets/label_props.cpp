#include "widgets/label_props.h"

#include <algorithm>

#include "shell/byte_reader.h"

namespace widgets {

std::int32_t ClampEffect(std::int32_t v) { return std::clamp(v, 0, 3); }
std::int32_t ClampAlign(std::int32_t v) { return std::clamp(v, 0, 2); }

std::optional<LabelProps> ParseLabelBlock(std::span<const std::uint8_t> block) {
    shell::ByteReader r(block);
    if (r.u32() != 1) return std::nullopt;
    LabelProps p;
    p.effect = ClampEffect(r.i32());
    p.colour = r.u32();
    p.h_align = ClampAlign(r.i32());
    p.v_align = ClampAlign(r.i32());
    p.word_wrap = r.u32() != 0;
    p.font = r.counted();
    p.caption = r.text();
    if (!r.at_end()) return std::nullopt;
    return p;
}

}  // namespace widgets
