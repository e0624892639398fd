#pragma once
// Drawing one PNG control into its window's composed bitmap.
#include <windows.h>

#include <cstdint>

#include "skin/gdiplus_types.h"

namespace skin {

// Fill, image, border, text, as the control's properties ask; `graphics`
// draws on the bitmap of `window`, the control's top-level parent.
void DrawControl(HWND window, HWND control, GpGraphics* graphics);

// The button image for a draw state, falling back to the normal image.
GpImage* StateImage(HWND control, std::int32_t state);

}  // namespace skin
