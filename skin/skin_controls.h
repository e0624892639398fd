#pragma once
// Subclassing a skinned window's PNG buttons and edit boxes.
#include <windows.h>

namespace skin {

// Gives each direct child PNG button and edit box the engine's procedure,
// once per control, then recomposes the window.
void SkinWindowControls(HWND window);

}  // namespace skin
