#include "base/window_class.h"

#include "base/failure_win.h"

namespace shell {
namespace {

template <class Wc, class Char>
Wc ClassFrom(const Char* name, const WindowClassSpec& spec) {
    Wc wc{};
    wc.cbSize = sizeof wc;
    wc.style = spec.style;
    wc.lpfnWndProc = spec.proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = spec.arrow_cursor ? LoadCursorA(nullptr, IDC_ARROW) : nullptr;
    wc.hbrBackground = spec.background;
    wc.lpszClassName = name;
    return wc;
}

}  // namespace

bool RegisterWindowClass(const char* name, const WindowClassSpec& spec) {
    const WNDCLASSEXA wc = ClassFrom<WNDCLASSEXA>(name, spec);
    return RegisterClassExA(&wc) != 0 || ReportWin32Failure("RegisterClassExA", name);
}

bool RegisterWindowClass(const wchar_t* name, const WindowClassSpec& spec) {
    const WNDCLASSEXW wc = ClassFrom<WNDCLASSEXW>(name, spec);
    return RegisterClassExW(&wc) != 0 || ReportWin32Failure("RegisterClassExW");
}

}  // namespace shell
