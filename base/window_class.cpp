#include "base/window_class.h"

#include "base/failure_win.h"

namespace base {
namespace {

template <class Wc, class Char>
Wc ClassFrom(const Char* name, const WindowClassInfo& info) {
    Wc wc{};
    wc.cbSize = sizeof wc;
    wc.style = info.style;
    wc.lpfnWndProc = info.proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = info.arrow_cursor ? LoadCursorA(nullptr, IDC_ARROW) : nullptr;
    wc.hbrBackground = info.background;
    wc.lpszClassName = name;
    return wc;
}

}  // namespace

bool RegisterWindowClass(const char* name, const WindowClassInfo& info) {
    const WNDCLASSEXA wc = ClassFrom<WNDCLASSEXA>(name, info);
    return RegisterClassExA(&wc) != 0 || ReportWin32Failure("RegisterClassExA", name);
}

bool RegisterWindowClass(const wchar_t* name, const WindowClassInfo& info) {
    const WNDCLASSEXW wc = ClassFrom<WNDCLASSEXW>(name, info);
    return RegisterClassExW(&wc) != 0 || ReportWin32Failure("RegisterClassExW");
}

}  // namespace base
