#pragma once
// How an image button looks in a given state: its colours, frame, caption
// offset and caption placement. Pure arithmetic; the painting is Win32.
#include <cstdint>

#include "widgets/button_props.h"

namespace widgets {

using Colour = std::uint32_t;  // 0x00BBGGRR

constexpr Colour MakeColour(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return Colour(r) | Colour(g) << 8 | Colour(b) << 16;
}
constexpr std::uint8_t Red(Colour c) { return std::uint8_t(c); }
constexpr std::uint8_t Green(Colour c) { return std::uint8_t(c >> 8); }
constexpr std::uint8_t Blue(Colour c) { return std::uint8_t(c >> 16); }

// The hover and pressed background: the face with the same amount added to
// each channel, as much as 32 but never past 255 in any channel.
Colour HoverBackground(Colour face);

struct ButtonColours {
    Colour text_normal, back_normal;
    Colour text_hot, back_hot;  // hovering or pressed
    Colour text_focus, back_focus;
};

// With system colours on: taken from the system's button face and text.
ButtonColours SystemButtonColours(Colour face, Colour text);
// With system colours off: the six stored colours.
ButtonColours StoredButtonColours(const ButtonProps& p);

struct ButtonState {
    bool hovering = false;
    bool pressed = false;
    bool focused = false;
    bool disabled = false;
};

struct Face {
    Colour back, text;
};
Face FaceFor(const ButtonState& s, const ButtonColours& c);

enum class Frame { None, Raised, Sunken };
Frame FrameFor(const ButtonState& s, const ButtonProps& p);

// The flat styles light up under the mouse; the three-dimensional one does not.
constexpr bool IsFlatStyle(std::int32_t style) { return style != kThreeD; }
// A focus rectangle only where a flat style asks for one.
bool DrawsFocusRect(const ButtonState& s, const ButtonProps& p);

struct Offset {
    int dx, dy;
};
// How far the caption moves while pressed.
Offset PressOffset(std::int32_t press_style);

struct Box {
    int left, top, right, bottom;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool operator==(const Box&) const = default;
};
// A width by height block centred both ways in `area` (it may overhang).
Box CentreBlock(const Box& area, int width, int height);

}  // namespace widgets
