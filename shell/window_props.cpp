#include "shell/window_props.h"

#include "base/byte_reader.h"

namespace shell {

std::optional<WindowProps> ParseWindowBlock(std::span<const std::uint8_t> block) {
    base::ByteReader r(block);
    if (r.u32() != 1) return std::nullopt;
    WindowProps p;
    p.caption = r.text();
    p.border = r.i32();
    p.back_colour = r.u32();
    p.picture = r.counted();
    p.picture_layout = r.i32();
    p.music = r.counted();
    p.music_mode = r.i32();
    p.control_box = r.u32() != 0;
    p.max_box = r.u32() != 0;
    p.min_box = r.u32() != 0;
    p.start_position = r.i32();
    p.movable = r.u32() != 0;
    p.icon = r.counted();
    p.enter_moves_focus = r.u32() != 0;
    p.esc_closes = r.u32() != 0;
    p.help_file = r.text();
    p.help_context = r.i32();
    p.help_keyword = r.text();
    p.in_taskbar = r.u32() != 0;
    p.drag_anywhere = r.u32() != 0;
    p.shape = r.i32();
    p.topmost = r.u32() != 0;
    p.keep_title_active = r.u32() != 0;
    p.class_name = r.text();
    if (!r.at_end()) return std::nullopt;
    if (p.border < kBorderNone || p.border > kBorderFixedSunken) return std::nullopt;
    return p;
}

}  // namespace shell
