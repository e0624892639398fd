#include "base/fatal.h"

#include <windows.h>

#include <cstdio>
#include <string>

#include "base/fatal_text.h"
#include "base/text_win.h"

namespace base {
namespace {
FatalHooks g_hooks;
}

void SetFatalHooks(FatalHooks hooks) { g_hooks = hooks; }

void FatalError(std::string_view message, int code) {
    if (g_hooks.before_box) g_hooks.before_box();
    const std::wstring text = WideFromGbk(FatalText(message, code));
    const std::wstring title = WideFromGbk(kFatalTitle);
    MessageBoxW(nullptr, text.c_str(), title.c_str(), MB_OK | MB_ICONERROR);
    if (g_hooks.after_box) g_hooks.after_box();
    ExitProcess(static_cast<UINT>(-1));
}

void EndProcessNow(int code) {
    std::fflush(nullptr);
    // Not ExitProcess: msvcrt's detach runs static destructors under the loader lock, where the stuck engine's waits again.
    TerminateProcess(GetCurrentProcess(), static_cast<UINT>(code));
    ExitProcess(static_cast<UINT>(code));  // not reached: TerminateProcess on this process does not return
}

}  // namespace base
