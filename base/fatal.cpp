#include "base/fatal.h"

#include <windows.h>

#include <string>

#include "base/fatal_text.h"
#include "base/text_win.h"

namespace shell {
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

}  // namespace shell
