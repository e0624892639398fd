#include "tests/win/win_test_util.h"

#include <vector>

#include "shell/shell.h"
#include "shell/shell_state.h"

namespace wintest {

bool PumpUntil(const std::function<bool()>& done, DWORD ms) {
    const DWORD start = GetTickCount();
    for (;;) {
        MSG m;
        while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
            if (m.message == WM_QUIT) continue;
            TranslateMessage(&m);
            DispatchMessageA(&m);
        }
        if (done()) return true;
        if (GetTickCount() - start >= ms) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

void PumpFor(DWORD ms) { PumpUntil([] { return false; }, ms); }

HANDLE StartChild(const char* scenario, const std::string& marker) {
    char exe[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string cmd = std::string("\"") + exe + "\" --child=" + scenario + " \"--marker=" + marker + "\"";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(exe, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return nullptr;
    CloseHandle(pi.hThread);
    return pi.hProcess;
}

UniqueFile::UniqueFile() {
    char dir[MAX_PATH], name[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    if (GetTempFileNameA(dir, "sbm", 0, name)) path_ = name;
}

UniqueFile::~UniqueFile() {
    if (!path_.empty()) DeleteFileA(path_.c_str());
}

bool UniqueFile::written() const {
    WIN32_FILE_ATTRIBUTE_DATA d{};
    return GetFileAttributesExA(path_.c_str(), GetFileExInfoStandard, &d) && (d.nFileSizeLow || d.nFileSizeHigh);
}

namespace {

struct Search {
    DWORD pid;
    HWND found;
};

BOOL CALLBACK FindBox(HWND h, LPARAM l) {
    auto* s = reinterpret_cast<Search*>(l);
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    wchar_t cls[64];
    if (pid == s->pid && IsWindowVisible(h) && GetClassNameW(h, cls, 64) && lstrcmpW(cls, L"#32770") == 0) {
        s->found = h;
        return FALSE;
    }
    return TRUE;
}

std::wstring TextOf(HWND h) {
    std::wstring s(std::size_t(GetWindowTextLengthW(h)) + 1, L'\0');
    s.resize(std::size_t(GetWindowTextW(h, s.data(), int(s.size()))));
    return s;
}

}  // namespace

FatalBox ReadFatalBoxAndClose(HANDLE process, DWORD timeout_ms) {
    FatalBox box;
    Search s{GetProcessId(process), nullptr};
    const DWORD start = GetTickCount();
    while (!s.found && GetTickCount() - start < timeout_ms) {
        EnumWindows(FindBox, reinterpret_cast<LPARAM>(&s));
        if (!s.found) {
            if (WaitForSingleObject(process, 50) == WAIT_OBJECT_0) break;  // ended without a box
        }
    }
    if (s.found) {
        box.found = true;
        box.title = TextOf(s.found);
        // The message box's text and icon controls.
        box.text = TextOf(GetDlgItem(s.found, 0xFFFF));
        HWND icon = GetDlgItem(s.found, 0x440);
        box.has_icon = icon && SendMessageW(icon, STM_GETICON, 0, 0) != 0;
        PostMessageW(s.found, WM_COMMAND, IDOK, 0);
    }
    if (WaitForSingleObject(process, 10000) != WAIT_OBJECT_0) TerminateProcess(process, 0xBAD);
    GetExitCodeProcess(process, &box.exit_code);
    CloseHandle(process);
    return box;
}

void StartShellAndSkinOnce() {
    static const bool started = [] {
        shell::InitShell();
        shell::StartSkinEngine();
        return true;
    }();
    (void)started;
}

void ResetShell() {
    shell::ShellState& s = shell::State();
    for (shell::WindowSlot& slot : s.windows)
        if (slot.IsLive()) DestroyWindow(slot.loaded->hwnd());
    PumpFor(0);
    s.modal_slot = 0;
    s.loop_started = false;
    s.idle.clear();
    MSG m;
    while (PeekMessageA(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

}  // namespace wintest
