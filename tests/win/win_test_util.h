#pragma once
// Helpers for the Win32 tests: pumping, waiting with a bound, child processes.
#include <windows.h>

#include <functional>
#include <string>

namespace wintest {

// Dispatches messages until `done` holds or `ms` pass; true when it held.
bool PumpUntil(const std::function<bool()>& done, DWORD ms);
void PumpFor(DWORD ms);

// Starts this test exe again as `--child=<scenario>`, its exit callbacks
// writing to `marker`; returns the process.
HANDLE StartChild(const char* scenario, const std::string& marker);

// An empty file no other test process holds (the system makes it in the
// temp folder with a name of its own); removed at the end.
class UniqueFile {
public:
    UniqueFile();
    ~UniqueFile();
    UniqueFile(const UniqueFile&) = delete;
    UniqueFile& operator=(const UniqueFile&) = delete;
    const std::string& path() const { return path_; }
    bool written() const;  // holds any bytes

private:
    std::string path_;
};

struct FatalBox {
    bool found = false;
    std::wstring title;
    std::wstring text;     // the message text control
    bool has_icon = false;
    DWORD exit_code = 0;   // after the box was closed
};
// Waits for the child's message box, reads and closes it, waits for exit.
FatalBox ReadFatalBoxAndClose(HANDLE process, DWORD timeout_ms = 20000);

// Starts the shell and the skin engine (GDI+) once for this process.
void StartShellAndSkinOnce();

// Resets the shell between tests that share a process: destroys every live
// window and clears the loop state.
void ResetShell();

}  // namespace wintest
