#pragma once
// Window procedure of a subclassed PNG edit box.
#include <windows.h>

namespace skin {

// Recomposes the window after the edit box's own procedure has changed its
// text or focus, and tracks which edit box has the focus for the caret.
LRESULT CALLBACK EditProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

}  // namespace skin
