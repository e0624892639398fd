#pragma once
// Window procedure of a subclassed PNG button.
#include <windows.h>

namespace skin {

// Moves the button's draw state on mouse and enable messages and recomposes
// its window before the button's own procedure sees the message.
LRESULT CALLBACK ButtonProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

// The procedure the engine replaced; every message ends there.
LRESULT CallPrevious(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

}  // namespace skin
