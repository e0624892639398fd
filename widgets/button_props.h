#pragma once
// The image button kind: its stored block (indices 8 to 34), version 1.
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "shell/block_builder.h"

namespace widgets {

enum ButtonStyle : std::int32_t { kFlat = 0, kThreeD = 1, kXp = 2 };

struct ButtonProps {
    std::int32_t style = kFlat;           // 8  BtnStyle
    bool toggle = false;                  // 9  CheckBox
    bool checked = false;                 // 10 Checked
    std::int32_t picture_align = 0;       // 11 AlignStyle
    std::int32_t press_style = 0;         // 12 PressStyle: 0 moves (1,1), 1 moves (0,2)
    bool draw_border = true;              // 13 DrawBorder
    bool draw_focus = false;              // 14 DrawFocus
    std::span<const std::uint8_t> pic_out;       // 15 PicOut
    std::uint32_t trans_out = 0;                 // 16 TransColorOut
    std::span<const std::uint8_t> pic_in;        // 17 PicIn
    std::uint32_t trans_in = 0;                  // 18 TransColorIn
    std::span<const std::uint8_t> pic_disabled;  // 19 PicDisabled
    std::uint32_t trans_disabled = 0;            // 20 TransColorDisabled
    std::span<const std::uint8_t> font;          // 21 font
    std::string caption;                  // 22 caption
    bool default_colours = true;          // 23 DefaultColor
    std::uint32_t fg_out = 0, bk_out = 0, fg_in = 0, bk_in = 0, fg_focus = 0, bk_focus = 0;  // 24-29
    bool standard_sound = false;          // 30 StandardSound
    std::span<const std::uint8_t> over_sound;   // 31 OverSound
    std::span<const std::uint8_t> click_sound;  // 32 ClickSound
    std::string tooltip;                  // 33 ToolTip
    std::int32_t default_style = 0;       // 34 DefaultStyle: 0 normal, 1 default
};

std::optional<ButtonProps> ParseButtonBlock(std::span<const std::uint8_t> block);

// The board's buttons: flat, no pictures, sounds or toggle, system colours,
// hover and press frame, no focus rectangle, never the default button.
template <std::size_t N>
constexpr auto BoardButtonBlock(const char (&caption)[N]) {
    using namespace shell::block;
    return Cat(U32(1), U32(kFlat), U32(0), U32(0), U32(0), U32(0), U32(1), U32(0),  // 8-14
               None(), U32(0), None(), U32(0), None(), U32(0),                     // 15-20
               None(), Text(caption), U32(1),                                      // 21-23
               U32(0x000080), U32(0xF0F0F0), U32(0x000000), U32(0xFFFFFF),         // 24-27
               U32(0x000000), U32(0xF0F0F0),                                       // 28-29
               U32(0), None(), None(), Text(""), U32(0));                          // 30-34
}

}  // namespace widgets
