#pragma once
// The shell's operations, as the program's actions and modules use them.
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>

#include "base/component.h"
#include "base/fatal.h"
#include "base/memory.h"
#include "shell/exit_callbacks.h"
#include "base/service.h"

namespace shell {

inline constexpr UINT kUnloadRequest = 0x8065;

// Start-up step 1: OLE, current directory, hidden owner window, foreign-call
// table, component modules, definitions read and bound. Fatal on failure.
void InitShell();
// Start-up steps 2 to 4: the skin engine object, the exit callback that
// releases it, and the skin module's initialiser (GDI+).
void StartSkinEngine();
// The exit sequence; `run_callbacks` false on the fatal path. When a stuck
// sound device outlasts the bounded wait for the feeder threads, it ends the
// process itself (0, or -1 on the fatal path) rather than return.
void Exit(bool run_callbacks);

std::intptr_t ServiceEntry(std::uint32_t code, std::uintptr_t a, std::uintptr_t b);

void LoadStartWindow(std::uint32_t window_id);
// parent_id 0: none.
bool LoadWindow(std::uint32_t window_id, std::uint32_t parent_id, bool modal);
void UnloadWindow(std::uint32_t window_id, bool now = false);
HWND GetWindowHandle(std::uint32_t window_id, std::uint32_t unit_id = 0);
void SetComponentProperty(std::uint32_t window_id, std::uint32_t unit_id, int index,
                          const base::PropertyValue& value);
bool RegisterExitCallback(ExitCallback cb);
void RunMessageLoop();
// Work done whenever the main loop finds its queue empty, while `owner` lives.
void RegisterIdleCallback(HWND owner, std::function<void()> work);

HWND OwnerWindow();
std::uint32_t ModalSlot();

}  // namespace shell
