#include "widgets/button_props.h"

#include "shell/byte_reader.h"

namespace widgets {

std::optional<ButtonProps> ParseButtonBlock(std::span<const std::uint8_t> block) {
    shell::ByteReader r(block);
    if (r.u32() != 1) return std::nullopt;
    ButtonProps p;
    p.style = r.i32();
    p.toggle = r.u32() != 0;
    p.checked = r.u32() != 0;
    p.picture_align = r.i32();
    p.press_style = r.i32();
    p.draw_border = r.u32() != 0;
    p.draw_focus = r.u32() != 0;
    p.pic_out = r.counted();
    p.trans_out = r.u32();
    p.pic_in = r.counted();
    p.trans_in = r.u32();
    p.pic_disabled = r.counted();
    p.trans_disabled = r.u32();
    p.font = r.counted();
    p.caption = r.text();
    p.default_colours = r.u32() != 0;
    p.fg_out = r.u32();
    p.bk_out = r.u32();
    p.fg_in = r.u32();
    p.bk_in = r.u32();
    p.fg_focus = r.u32();
    p.bk_focus = r.u32();
    p.standard_sound = r.u32() != 0;
    p.over_sound = r.counted();
    p.click_sound = r.counted();
    p.tooltip = r.text();
    p.default_style = r.i32();
    if (!r.at_end()) return std::nullopt;
    if (p.style < kFlat || p.style > kXp || p.press_style < 0 || p.press_style > 1) return std::nullopt;
    return p;
}

}  // namespace widgets
