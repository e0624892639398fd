#pragma once
// The image button kind: its stored block (indices 8 to 34), version 1, and
// reads and writes of those properties by index.
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "base/block_builder.h"
#include "widgets/prop_value.h"

namespace widgets {

enum ButtonStyle : std::int32_t { kFlat = 0, kThreeD = 1, kXp = 2 };

// Property indexes of the kind, as reads and writes address them.
enum ButtonProperty : int {
    kBtnStyle = 8, kBtnCheckBox, kBtnChecked, kBtnAlignStyle, kBtnPressStyle, kBtnDrawBorder, kBtnDrawFocus,
    kBtnPicOut, kBtnTransColorOut, kBtnPicIn, kBtnTransColorIn, kBtnPicDisabled, kBtnTransColorDisabled,
    kBtnFont, kBtnCaption, kBtnDefaultColor, kBtnFgColorOut, kBtnBkColorOut, kBtnFgColorIn, kBtnBkColorIn,
    kBtnFgColorFocus, kBtnBkColorFocus, kBtnStandardSound, kBtnOverSound, kBtnClickSound, kBtnToolTip,
    kBtnDefaultStyle,
};

struct ButtonProps {
    std::int32_t style = kFlat;           // 8  BtnStyle
    bool toggle = false;                  // 9  CheckBox
    bool checked = false;                 // 10 Checked
    std::int32_t picture_align = 0;       // 11 AlignStyle: 0 to 3
    std::int32_t press_style = 0;         // 12 PressStyle: 0 moves (1,1), 1 moves (0,2)
    bool draw_border = true;              // 13 DrawBorder
    bool draw_focus = false;              // 14 DrawFocus
    Bytes pic_out;                        // 15 PicOut
    std::uint32_t trans_out = 0;          // 16 TransColorOut
    Bytes pic_in;                         // 17 PicIn
    std::uint32_t trans_in = 0;           // 18 TransColorIn
    Bytes pic_disabled;                   // 19 PicDisabled
    std::uint32_t trans_disabled = 0;     // 20 TransColorDisabled
    Bytes font;                           // 21 font: a 60-byte logical font, or empty
    std::string caption;                  // 22 caption
    bool default_colours = true;          // 23 DefaultColor
    std::uint32_t fg_out = 0, bk_out = 0, fg_in = 0, bk_in = 0, fg_focus = 0, bk_focus = 0;  // 24-29
    bool standard_sound = false;          // 30 StandardSound
    Bytes over_sound;                     // 31 OverSound
    Bytes click_sound;                    // 32 ClickSound
    std::string tooltip;                  // 33 ToolTip
    std::int32_t default_style = 0;       // 34 DefaultStyle: 0 normal, 1 default

    bool operator==(const ButtonProps&) const = default;
};

std::optional<ButtonProps> ParseButtonBlock(std::span<const std::uint8_t> block);

// The value of property `index`; nothing for an index the kind lacks.
std::optional<PropValue> ReadButtonProperty(const ButtonProps& p, int index);
// Stores a written value; false (and nothing changed) for an index the kind
// lacks, a value of the wrong type or a number outside the property's range.
bool WriteButtonProperty(ButtonProps& p, int index, const PropValue& value);

// The board's buttons: flat, no pictures, sounds or toggle, system colours,
// hover and press frame, no focus rectangle, never the default button.
// `caption` is the counted text (base::block::Text or TextOf).
template <std::size_t T>
constexpr auto BoardButtonBlockWith(const base::block::Bytes<T>& caption) {
    using namespace base::block;
    return Cat(U32(1), U32(kFlat), U32(0), U32(0), U32(0), U32(0), U32(1), U32(0),  // 8-14
               None(), U32(0), None(), U32(0), None(), U32(0),                     // 15-20
               None(), caption, U32(1),                                            // 21-23
               U32(0x000080), U32(0xF0F0F0), U32(0x000000), U32(0xFFFFFF),         // 24-27
               U32(0x000000), U32(0xF0F0F0),                                       // 28-29
               U32(0), None(), None(), Text(""), U32(0));                          // 30-34
}
template <std::size_t N>
constexpr auto BoardButtonBlock(const char (&caption)[N]) {
    return BoardButtonBlockWith(base::block::Text(caption));
}

}  // namespace widgets
