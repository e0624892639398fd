#pragma once
// Painting of one image button, once per draw request.
#include <windows.h>

#include <string_view>

#include "widgets/button_look.h"

namespace widgets {

struct ButtonDraw {
    HDC dc;
    RECT rect;          // the whole button
    ButtonState state;  // pressed, focused, disabled from the request; hovering from tracking
    HFONT font;
    std::wstring_view caption;
};

void PaintButton(const ButtonDraw& d, const ButtonProps& p);

}  // namespace widgets
