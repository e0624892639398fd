// The main message loop, the modal window's nested loop and idle work.
#include <windows.h>

#include "shell/shell.h"
#include "shell/shell_state.h"

namespace shell {
namespace {

void RunIdle() {
    auto& idle = State().idle;
    std::erase_if(idle, [](const auto& e) { return !IsWindow(e.first); });
    // A callback may register another; walk a copy.
    const auto work = idle;
    for (const auto& [owner, fn] : work)
        if (IsWindow(owner)) fn();
}

// Tab among tab stops and Esc as a close request, for the program's windows.
bool TranslateDialogKeys(MSG& m) {
    if (m.message < WM_KEYFIRST || m.message > WM_KEYLAST || !m.hwnd) return false;
    HWND root = GetAncestor(m.hwnd, GA_ROOT);
    return root && IsFormWindow(root) && IsDialogMessageA(root, &m);
}

void Dispatch(MSG& m) {
    if (TranslateDialogKeys(m)) return;
    TranslateMessage(&m);
    DispatchMessageA(&m);
}

}  // namespace

void RegisterIdleCallback(HWND owner, std::function<void()> work) {
    State().idle.emplace_back(owner, std::move(work));
}

void RunMessageLoop() {
    ShellState& s = State();
    s.loop_started = true;
    if (!AnyLiveWindow()) return;
    MSG m;
    for (;;) {
        if (!PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
            RunIdle();
            WaitMessage();
            continue;
        }
        if (m.message == WM_QUIT) break;
        Dispatch(m);
    }
}

void RunNestedLoop(std::uint32_t window_id) {
    MSG m;
    while (State().modal_slot == window_id) {
        if (!PeekMessageA(&m, nullptr, 0, 0, PM_NOREMOVE)) {
            RunIdle();
            WaitMessage();
            continue;
        }
        if (m.message == WM_QUIT) return;  // left in the queue for the outer loop
        if (!PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) continue;
        if (m.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(m.wParam));
            return;
        }
        Dispatch(m);
    }
}

}  // namespace shell
