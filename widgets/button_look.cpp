#include "widgets/button_look.h"

#include <algorithm>

namespace widgets {

Colour HoverBackground(Colour face) {
    const int r = Red(face), g = Green(face), b = Blue(face);
    const int f = std::min({32, 255 - r, 255 - g, 255 - b});
    return MakeColour(std::uint8_t(r + f), std::uint8_t(g + f), std::uint8_t(b + f));
}

ButtonColours SystemButtonColours(Colour face, Colour text) {
    return {text, face, text, HoverBackground(face), text, face};
}

ButtonColours StoredButtonColours(const ButtonProps& p) {
    return {p.fg_out, p.bk_out, p.fg_in, p.bk_in, p.fg_focus, p.bk_focus};
}

Face FaceFor(const ButtonState& s, const ButtonColours& c) {
    if (s.hovering || s.pressed) return {c.back_hot, c.text_hot};
    if (s.focused) return {c.back_focus, c.text_focus};
    return {c.back_normal, c.text_normal};
}

Frame FrameFor(const ButtonState& s, const ButtonProps& p) {
    // The three-dimensional style always stands out of the surface; the
    // flat ones show a thin frame only under the mouse or while pressed.
    if (!IsFlatStyle(p.style)) return s.pressed ? Frame::Sunken : Frame::Raised;
    if (!p.draw_border) return Frame::None;
    if (s.pressed) return Frame::Sunken;
    if (s.hovering) return Frame::Raised;
    return Frame::None;
}

bool DrawsFocusRect(const ButtonState& s, const ButtonProps& p) {
    return s.focused && p.draw_focus && IsFlatStyle(p.style);
}

Offset PressOffset(std::int32_t press_style) { return press_style == 1 ? Offset{0, 2} : Offset{1, 1}; }

Box CentreBlock(const Box& area, int width, int height) {
    const int left = area.left + (area.width() - width) / 2;
    const int top = area.top + (area.height() - height) / 2;
    return {left, top, left + width, top + height};
}

}  // namespace widgets
