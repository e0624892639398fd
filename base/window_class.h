#pragma once
// Window classes and the object each window is created for: one way to
// register a class, one way to find a window's object.
#include <windows.h>

namespace base {

struct WindowClassInfo {
    WNDPROC proc;
    UINT style = 0;
    bool arrow_cursor = true;
    HBRUSH background = nullptr;  // none: the window paints all of itself
};

// Registers a class of this module; false when the system refuses (which
// leaves a line on the debugger output).
bool RegisterWindowClass(const char* name, const WindowClassInfo& info);
bool RegisterWindowClass(const wchar_t* name, const WindowClassInfo& info);

// The object a window was created for: taken from the create parameter at
// WM_NCCREATE and kept with the window, until DetachObject (at WM_NCDESTROY).
template <class T>
T* AttachedObject(HWND h, UINT message, LPARAM lp) {
    if (message == WM_NCCREATE) {
        // lpCreateParams stands first in both the ANSI and the wide form.
        auto* created = static_cast<T*>(reinterpret_cast<const CREATESTRUCTW*>(lp)->lpCreateParams);
        SetWindowLongPtrW(h, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
        return created;
    }
    return reinterpret_cast<T*>(GetWindowLongPtrW(h, GWLP_USERDATA));
}
inline void DetachObject(HWND h) { SetWindowLongPtrW(h, GWLP_USERDATA, 0); }

}  // namespace base
