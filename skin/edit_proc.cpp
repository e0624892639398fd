#include "skin/edit_proc.h"

#include "skin/button_proc.h"
#include "skin/foreign.h"
#include "skin/skin_module.h"

namespace skin {

LRESULT CALLBACK EditProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    ModuleState& m = Module();
    switch (message) {
        case WM_SETFOCUS:
            m.caret_phase = 0;
            m.focus_parent = sys::GetParent(window);
            m.focused_edit = window;
            break;  // the composition below becomes the kept bitmap
        case WM_KILLFOCUS:
            m.focused_edit = nullptr;
            m.focus_parent = nullptr;
            break;
        case WM_CHAR:
        case WM_IME_CHAR:
        case WM_SETTEXT:
        case WM_CUT:
        case WM_PASTE:
        case WM_KEYDOWN:
        case WM_LBUTTONUP: break;
        default: return CallPrevious(window, message, wparam, lparam);
    }
    // The edit box acts first, so the new picture shows the changed text.
    const LRESULT result = CallPrevious(window, message, wparam, lparam);
    ComposeWindow(sys::GetParent(window));
    return result;
}

}  // namespace skin
