// Start-up and exit.
#include <windows.h>
#include <ole2.h>

#include <string>

#include "audio/sound.h"
#include "base/fatal.h"
#include "base/fatal_text.h"
#include "base/text_win.h"
#include "base/window_class.h"
#include "shell/modules.h"
#include "shell/shell.h"
#include "shell/shell_state.h"
#include "skin/foreign.h"
#include "skin/skin_module.h"

namespace shell {
namespace {

constexpr char kOwnerClass[] = "SoundBoardOwner";

LRESULT CALLBACK OwnerProc(HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProcA(h, m, w, l); }

void MakeProgramFolderCurrent() {
    char path[MAX_PATH];
    const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return;
    std::string folder(path, n);
    const auto slash = folder.find_last_of("\\/");
    if (slash == std::string::npos) return;
    folder.resize(slash == 2 && folder[1] == ':' ? slash + 1 : slash);  // keep "C:\"
    SetCurrentDirectoryA(folder.c_str());
}

HWND CreateOwnerWindow() {
    base::RegisterWindowClass(kOwnerClass, {.proc = OwnerProc});
    return CreateWindowExA(WS_EX_TOOLWINDOW, kOwnerClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

void ReadDefinitions(ShellState& s) {
    const auto defs = WindowDefinitions();
    if (!ValidateDefinitions(defs)) base::FatalError(base::kDefinitionsFailed);
    s.windows.clear();
    for (const base::WindowDef& w : defs) {
        WindowSlot slot{&w, {}, nullptr};
        for (const base::UnitDef& u : w.units)
            slot.units.push_back({&u, u.left, u.top, u.width, u.height, std::string(), u.flags});
        s.windows.push_back(std::move(slot));
        for (const base::UnitDef& u : w.units) {
            if (u.on_event0 == base::Action::None) continue;
            if (auto fn = BindAction(u.on_event0, w.id, u.id)) s.bindings[{w.id, u.id, 0}] = std::move(fn);
        }
    }
}

}  // namespace

ShellState& State() {
    static ShellState state;
    return state;
}

void InitShell() {
    ShellState& s = State();
    // Timers may still tick inside the fatal box's loop: run no action; after
    // the box, the rest of the exit sequence without the exit callbacks.
    base::SetFatalHooks({[] { State().ending = true; }, [] { Exit(false); }});
    if (!s.ole) s.ole = SUCCEEDED(OleInitialize(nullptr));
    MakeProgramFolderCurrent();
    s.owner = CreateOwnerWindow();
    base::ProcessForeignCalls().Prepare(skin::sys::Entries());
    for (const base::ComponentModule& m : ComponentModules())
        if (m.connect) m.connect(&ServiceEntry);
    audio::Connect(&ServiceEntry);
    RegisterWindowClasses();
    ReadDefinitions(s);
}

namespace {

// The shell's exit callback: the engine object, then the skin module's images
// and buffer, while the graphics library is still loaded.
void ReleaseSkinEngine(int) {
    ShellState& s = State();
    if (s.skin_engine) s.skin_engine->destroy();
    s.skin_engine.reset();
    skin::EndSkinModule();
}

}  // namespace

void StartSkinEngine() {
    ShellState& s = State();
    s.skin_engine = std::make_unique<skin::CometWindow>();
    RegisterExitCallback(ReleaseSkinEngine);
    skin::InitSkinModule();
}

void Exit(bool run_callbacks) {
    ShellState& s = State();
    if (run_callbacks)
        s.exit_callbacks.RunAll();
    else
        s.exit_callbacks.Discard();
    for (const base::ComponentModule& m : ComponentModules())
        if (m.ending) m.ending();
    base::ProcessForeignCalls().Release();
    if (s.owner) DestroyWindow(s.owner);
    s.owner = nullptr;
    // Every feeder thread ends, unless the device holds one inside a call
    // (a hung driver): then the wait is bounded, and the process ends at once
    // with the code it would have had, leaving those threads, and the engine
    // they use, to the system.
    const bool sound_ended = audio::ShutdownStop();
    if (s.ole) OleUninitialize();
    s.ole = false;
    if (!sound_ended) base::EndProcessNow(run_callbacks ? 0 : -1);  // -1: the fatal path
}

bool RegisterExitCallback(ExitCallback cb) { return State().exit_callbacks.Register(cb); }
HWND OwnerWindow() { return State().owner; }
std::uint32_t ModalSlot() { return State().modal_slot; }

}  // namespace shell
