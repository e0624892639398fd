// soundplay: plays sound files through the board's engine, to try a file
// the way the board would play it.
//   soundplay [--loop] [--seconds N] FILE...
// Prints "<path>: true" or "<path>: false" (play_sound's result) for each
// file, and on standard error why when the engine gave a reason; waits until
// every sound has ended (or N seconds, then stops them) and exits 0; a usage
// error exits 2.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "audio/sound.h"
#include "base/failure.h"
#include "base/fatal.h"
#include "base/text_win.h"

namespace {

int Usage() {
    std::fputs("usage: soundplay [--loop] [--seconds N] FILE...\n", stderr);
    return 2;
}

std::string Utf8(const std::wstring& w) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, w.c_str(), int(w.size()), nullptr, 0, nullptr, nullptr);
    std::string s(std::size_t(n > 0 ? n : 0), '\0');
    if (n > 0) WideCharToMultiByte(CP_UTF8, 0, w.c_str(), int(w.size()), s.data(), n, nullptr, nullptr);
    return s;
}

}  // namespace

int main() {
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv) return Usage();
    bool loop = false;
    double seconds = -1;
    std::vector<std::wstring> files;
    for (int i = 1; i < argc; ++i) {
        const std::wstring a = argv[i];
        if (a == L"--loop") {
            loop = true;
        } else if (a == L"--seconds") {
            if (++i >= argc) return Usage();
            wchar_t* end = nullptr;
            seconds = std::wcstod(argv[i], &end);
            if (!end || *end || seconds < 0) return Usage();
        } else if (a.size() > 1 && a[0] == L'-' && a != L"-") {
            return Usage();
        } else {
            files.push_back(a);
        }
    }
    LocalFree(argv);
    if (files.empty()) return Usage();

    audio::Connect(&audio::ServeSound);  // no shell here: the engine answers its own requests
    // What the players' own threads report (no device, a refused format)
    // comes after the answer; the main thread's reasons are printed with
    // their file below.
    static const DWORD main_thread = GetCurrentThreadId();
    base::SetFailureObserver([](const std::string& line) {
        if (GetCurrentThreadId() == main_thread) return;
        std::fprintf(stderr, "%s\n", line.c_str());
        std::fflush(stderr);
    });
    for (const std::wstring& f : files) {
        base::ClearLastFailure();
        const bool ok = audio::play_sound(base::GbkFromWide(f), loop);
        std::printf("%s: %s\n", Utf8(f).c_str(), ok ? "true" : "false");
        std::fflush(stdout);
        // Why, beside a false (or a true the MIDI player cannot sound).
        if (!base::LastFailure().empty()) {
            std::fprintf(stderr, "%s: %s\n", Utf8(f).c_str(), base::LastFailure().c_str());
            std::fflush(stderr);
        }
    }
    const ULONGLONG deadline = seconds < 0 ? 0 : GetTickCount64() + ULONGLONG(seconds * 1000);
    while (audio::RunningPlayers() > 0 && (deadline == 0 || GetTickCount64() < deadline)) Sleep(20);
    const bool stopped = audio::RunningPlayers() > 0;
    if (!audio::ShutdownStop()) {
        std::fprintf(stderr, "the sound device did not answer; leaving without it\n");
        base::EndProcessNow(0);  // its threads are stuck in the device: nothing may be destroyed under them
    }
    // A player ends when the device has taken its last buffer, which the
    // sound server may still be playing: let it finish before the process
    // (and its audio stream) goes.
    if (!stopped) Sleep(1000);
    return 0;
}
