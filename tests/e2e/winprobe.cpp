// A small console probe for the end-to-end tests. Run under Wine in the same
// prefix as the program, it sees the program's windows through the shared
// wineserver and reports them as JSON (UTF-8):
//   winprobe dump  [--image NAME] [--pid N]  the program's top-level windows and their children
//   winprobe watch [--image NAME] [--pid N] [--ms N] [--gone-ms N]
//                                            one line per change until the windows are gone
//   winprobe hittest HWND X,Y [X,Y ...]      WM_NCHITTEST and the windows at screen points
// --image and --pid keep windows of processes with that image file name or
// id (other tests may have windows of the same classes open in the prefix).
// A window's x11_window is the X window Wine made for it, for xwininfo.
#include <windows.h>
#include <shellapi.h>
#include <tlhelp32.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <cwchar>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "base/owners.h"

namespace {

// The program's own windows, and dialogs (its fatal error box).
constexpr const wchar_t* kClasses[] = {L"SoundBoardForm", L"SoundBoardOwner", L"#32770"};
constexpr wchar_t kFormClass[] = L"SoundBoardForm";

std::string Utf8(const std::wstring& w) {
    if (w.empty()) return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), int(w.size()), nullptr, 0, nullptr, nullptr);
    std::string s(std::size_t(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.data(), int(w.size()), s.data(), n, nullptr, nullptr);
    return s;
}

std::string Json(const std::string& s) {
    std::string out = "\"";
    for (const unsigned char c : s) {
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                if (c < 0x20) {
                    char buf[8];
                    std::snprintf(buf, sizeof buf, "\\u%04x", c);
                    out += buf;
                } else {
                    out += char(c);
                }
        }
    }
    return out + "\"";
}

std::string Num(long long v) { return std::to_string(v); }
std::string Bool(bool b) { return b ? "true" : "false"; }
std::string Handle(HWND h) { return Num(static_cast<long long>(reinterpret_cast<std::uintptr_t>(h))); }
std::string Rect(const RECT& r) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "[%ld,%ld,%ld,%ld]", r.left, r.top, r.right, r.bottom);
    return buf;
}

std::wstring ClassOf(HWND h) {
    wchar_t buf[256] = {};
    const int n = GetClassNameW(h, buf, 256);
    return std::wstring(buf, n > 0 ? std::size_t(n) : 0);
}

std::wstring TextOf(HWND h) {
    // Another process's windows: GetWindowTextW reads the stored text, no message is sent.
    const int len = GetWindowTextLengthW(h);
    std::wstring s(std::size_t(len) + 1, L'\0');
    const int n = GetWindowTextW(h, s.data(), len + 1);
    s.resize(n > 0 ? std::size_t(n) : 0);
    return s;
}

std::wstring BaseName(const std::wstring& path) {
    const auto slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

std::wstring ImageOf(DWORD pid) {
    static std::map<DWORD, std::wstring> cache;  // a pid is not reused while its windows exist
    if (auto it = cache.find(pid); it != cache.end()) return it->second;
    std::wstring name;
    if (HANDLE p = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid)) {
        wchar_t buf[MAX_PATH * 2] = {};
        DWORD n = MAX_PATH * 2;
        if (QueryFullProcessImageNameW(p, 0, buf, &n)) name = BaseName(std::wstring(buf, n));
        CloseHandle(p);
    }
    if (!name.empty()) cache[pid] = name;
    return name;
}

struct Filter {
    std::wstring image;  // empty: any process
    DWORD pid = 0;       // 0: any process

    bool Wants(HWND h) const {
        const std::wstring cls = ClassOf(h);
        bool known = false;
        for (const wchar_t* c : kClasses) known = known || cls == c;
        if (!known) return false;
        DWORD owner_pid = 0;
        GetWindowThreadProcessId(h, &owner_pid);
        if (pid && owner_pid != pid) return false;
        return image.empty() || _wcsicmp(ImageOf(owner_pid).c_str(), image.c_str()) == 0;
    }
};

struct EnumContext {
    const Filter* filter;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND h, LPARAM lp) {
    auto* c = reinterpret_cast<EnumContext*>(lp);
    if (c->filter->Wants(h)) c->found.push_back(h);
    return TRUE;
}

std::vector<HWND> TopLevelWindows(const Filter& f) {
    EnumContext ctx{&f, {}};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&ctx));
    return ctx.found;
}

// Children in z-order (creation order for child windows), each with its
// rectangle in the parent's client coordinates.
std::string ChildrenJson(HWND parent) {
    std::string out = "[";
    bool first = true;
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        RECT r{};
        GetWindowRect(c, &r);
        MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
        if (!first) out += ",";
        first = false;
        out += "{\"hwnd\":" + Handle(c) + ",\"class\":" + Json(Utf8(ClassOf(c))) +
               ",\"id\":" + Num(GetDlgCtrlID(c)) + ",\"text\":" + Json(Utf8(TextOf(c))) + ",\"rect\":" + Rect(r) +
               ",\"style\":" + Num(DWORD(GetWindowLongW(c, GWL_STYLE))) +
               ",\"exstyle\":" + Num(DWORD(GetWindowLongW(c, GWL_EXSTYLE))) +
               ",\"visible\":" + Bool(IsWindowVisible(c)) + ",\"enabled\":" + Bool(IsWindowEnabled(c)) +
               ",\"children\":" + ChildrenJson(c) + "}";
    }
    return out + "]";
}

std::string WindowJson(HWND h) {
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    RECT wr{}, cr{};
    GetWindowRect(h, &wr);
    GetClientRect(h, &cr);
    POINT origin{0, 0};
    ClientToScreen(h, &origin);
    HWND owner = GetWindow(h, GW_OWNER);
    return "{\"hwnd\":" + Handle(h) + ",\"pid\":" + Num(pid) + ",\"image\":" + Json(Utf8(ImageOf(pid))) +
           ",\"class\":" + Json(Utf8(ClassOf(h))) + ",\"title\":" + Json(Utf8(TextOf(h))) +
           ",\"visible\":" + Bool(IsWindowVisible(h)) + ",\"enabled\":" + Bool(IsWindowEnabled(h)) +
           ",\"iconic\":" + Bool(IsIconic(h)) + ",\"rect\":" + Rect(wr) + ",\"client\":" + Rect(cr) +
           ",\"client_origin\":[" + Num(origin.x) + "," + Num(origin.y) + "]" +
           ",\"style\":" + Num(DWORD(GetWindowLongW(h, GWL_STYLE))) +
           ",\"exstyle\":" + Num(DWORD(GetWindowLongW(h, GWL_EXSTYLE))) + ",\"owner\":" + Handle(owner) +
           ",\"owner_class\":" + Json(owner ? Utf8(ClassOf(owner)) : std::string()) +
           ",\"x11_window\":" + Handle(static_cast<HWND>(GetPropW(h, L"__wine_x11_whole_window"))) +
           ",\"children\":" + ChildrenJson(h) + "}";
}

std::string MetricsJson() {
    const struct {
        const char* name;
        int index;
    } m[] = {{"cx_screen", SM_CXSCREEN},   {"cy_screen", SM_CYSCREEN},     {"cy_caption", SM_CYCAPTION},
             {"cx_size", SM_CXSIZE},       {"cy_size", SM_CYSIZE},         {"cx_fixedframe", SM_CXFIXEDFRAME},
             {"cy_fixedframe", SM_CYFIXEDFRAME}, {"cx_sizeframe", SM_CXSIZEFRAME}, {"cx_border", SM_CXBORDER}};
    std::string out = "{";
    for (const auto& e : m) {
        if (out.size() > 1) out += ",";
        out += std::string("\"") + e.name + "\":" + Num(GetSystemMetrics(e.index));
    }
    return out + "}";
}

void Emit(const std::string& line) {
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

int Dump(const Filter& f) {
    std::string out = "{\"tick\":" + Num(GetTickCount()) + ",\"metrics\":" + MetricsJson() +
                      ",\"foreground\":" + Handle(GetForegroundWindow()) + ",\"windows\":[";
    bool first = true;
    for (HWND h : TopLevelWindows(f)) {
        if (!first) out += ",";
        first = false;
        out += WindowJson(h);
    }
    Emit(out + "]}");
    return 0;
}

struct Seen {
    std::wstring cls;
    DWORD pid;
    bool visible;
    RECT rect;
};

std::string EventJson(const char* what, HWND h, const Seen& s) {
    return "{\"tick\":" + Num(GetTickCount()) + ",\"event\":" + Json(what) + ",\"hwnd\":" + Handle(h) +
           ",\"pid\":" + Num(s.pid) + ",\"class\":" + Json(Utf8(s.cls)) + ",\"visible\":" + Bool(s.visible) +
           ",\"rect\":" + Rect(s.rect) + "}";
}

// Polls and prints each change: created, shown, hidden, moved, destroyed,
// and the followed process's end with the exit code Windows recorded for it
// ("exited"). Windows that exist before the watch starts belong to someone
// else; without --pid it follows the first process to create one after that.
// Ends after `ms`, or `gone_ms` after the last form window went and the
// process has ended (or 10 s more at most).
int Watch(Filter f, DWORD ms, DWORD gone_ms) {
    std::map<HWND, Seen> seen;
    std::set<HWND> earlier;
    for (HWND h : TopLevelWindows(f)) earlier.insert(h);
    const DWORD start = GetTickCount();
    Emit("{\"tick\":" + Num(start) + ",\"event\":\"ready\",\"ignored\":" + Num(std::ssize(earlier)) + "}");
    bool had_form = false;
    DWORD forms_gone_at = 0;
    base::OwnedHandle process;
    bool exited = false;
    for (;;) {
        std::map<HWND, Seen> now;
        for (HWND h : TopLevelWindows(f)) {
            if (earlier.count(h)) continue;
            Seen s{ClassOf(h), 0, IsWindowVisible(h) != FALSE, {}};
            GetWindowThreadProcessId(h, &s.pid);
            if (!f.pid) {
                f.pid = s.pid;
                Emit("{\"tick\":" + Num(GetTickCount()) + ",\"event\":\"process\",\"pid\":" + Num(s.pid) +
                     ",\"image\":" + Json(Utf8(ImageOf(s.pid))) + "}");
            }
            if (s.pid != f.pid) continue;
            GetWindowRect(h, &s.rect);
            now[h] = s;
        }
        for (const auto& [h, s] : now) {
            auto it = seen.find(h);
            if (it == seen.end()) {
                Emit(EventJson("created", h, s));
            } else {
                if (s.visible != it->second.visible) Emit(EventJson(s.visible ? "shown" : "hidden", h, s));
                if (!EqualRect(&s.rect, &it->second.rect)) Emit(EventJson("moved", h, s));
            }
        }
        for (const auto& [h, s] : seen)
            if (!now.count(h)) Emit(EventJson("destroyed", h, s));
        seen = std::move(now);

        if (f.pid && !process) process.reset(OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, f.pid));
        DWORD code = 0;
        if (process && !exited && WaitForSingleObject(process.get(), 0) == WAIT_OBJECT_0 &&
            GetExitCodeProcess(process.get(), &code)) {
            exited = true;
            Emit("{\"tick\":" + Num(GetTickCount()) + ",\"event\":\"exited\",\"pid\":" + Num(f.pid) +
                 ",\"code\":" + Num(static_cast<std::int32_t>(code)) + "}");
        }

        bool form = false;
        for (const auto& [h, s] : seen) form = form || s.cls == kFormClass;
        const DWORD t = GetTickCount();
        if (form) {
            had_form = true;
            forms_gone_at = 0;
        } else if (had_form) {
            if (!forms_gone_at) forms_gone_at = t;
            if (t - forms_gone_at >= gone_ms && (exited || !process || t - forms_gone_at >= gone_ms + 10000)) {
                Emit("{\"tick\":" + Num(t) + ",\"event\":\"end\",\"reason\":\"gone\"}");
                return 0;
            }
        }
        if (t - start >= ms) {
            Emit("{\"tick\":" + Num(t) + ",\"event\":\"end\",\"reason\":\"time\"}");
            return 0;
        }
        // Each pass asks the server about every window: 25 ms is fine enough
        // for timers checked to 200 ms and leaves more of this two-core machine
        // to the sound server the sound cases listen to.
        Sleep(25);
    }
}

int HitTest(HWND h, int argc, char** argv) {
    if (!IsWindow(h)) {
        Emit("{\"error\":\"no such window\"}");
        return 1;
    }
    std::string out = "{\"tick\":" + Num(GetTickCount()) + ",\"points\":[";
    for (int i = 0; i < argc; ++i) {
        POINT pt{};
        if (std::sscanf(argv[i], "%ld,%ld", &pt.x, &pt.y) != 2) continue;
        DWORD_PTR hit = 0;
        const bool answered = SendMessageTimeoutW(h, WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y), SMTO_ABORTIFHUNG,
                                                  1000, &hit) != 0;
        POINT client = pt;
        ScreenToClient(h, &client);
        HWND child = ChildWindowFromPointEx(h, client, CWP_ALL);
        HWND at = WindowFromPoint(pt);
        if (out.back() != '[') out += ",";
        out += "{\"x\":" + Num(pt.x) + ",\"y\":" + Num(pt.y) + ",\"hit\":" + (answered ? Num(LONG(hit)) : "null") +
               ",\"child\":" + Handle(child) + ",\"child_class\":" + Json(child ? Utf8(ClassOf(child)) : "") +
               ",\"at\":" + Handle(at) + ",\"at_class\":" + Json(at ? Utf8(ClassOf(at)) : "") + "}";
    }
    Emit(out + "]}");
    return 0;
}

// How many threads a process has now: feeder threads that did not end show here.
int Threads(DWORD pid) {
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snap == INVALID_HANDLE_VALUE) return 1;
    THREADENTRY32 t{};
    t.dwSize = sizeof t;
    long count = 0;
    for (BOOL ok = Thread32First(snap, &t); ok; ok = Thread32Next(snap, &t))
        if (t.th32OwnerProcessID == pid) ++count;
    CloseHandle(snap);
    Emit("{\"tick\":" + Num(GetTickCount()) + ",\"pid\":" + Num(LONG(pid)) + ",\"threads\":" + Num(count) + "}");
    return 0;
}

int Usage() {
    std::fputs("usage: winprobe dump [--image NAME] [--pid N]\n"
               "       winprobe watch [--image NAME] [--pid N] [--ms N] [--gone-ms N]\n"
               "       winprobe hittest HWND X,Y [X,Y ...]\n"
               "       winprobe threads --pid N\n",
               stderr);
    return 2;
}

// Argument i as the system holds it: the narrow argv has it in the ANSI
// code page, which cannot hold every name.
std::wstring WideArg(int i) {
    int n = 0;
    LPWSTR* args = CommandLineToArgvW(GetCommandLineW(), &n);
    std::wstring out = args && i < n ? args[i] : L"";
    LocalFree(args);
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    _setmode(_fileno(stdout), _O_BINARY);  // UTF-8 bytes and bare newlines, as printed
    if (argc < 2) return Usage();
    const std::string cmd = argv[1];
    if (cmd == "hittest") {
        if (argc < 4) return Usage();
        return HitTest(reinterpret_cast<HWND>(std::uintptr_t(std::strtoull(argv[2], nullptr, 0))), argc - 3,
                       argv + 3);
    }
    Filter f;
    DWORD ms = 30000, gone_ms = 500;
    for (int i = 2; i < argc; ++i) {
        const std::string a = argv[i];
        const bool has_value = i + 1 < argc;
        if (a == "--image" && has_value) {
            f.image = WideArg(++i);  // a renamed copy's name may be Chinese
        } else if (a == "--pid" && has_value) {
            f.pid = DWORD(std::strtoul(argv[++i], nullptr, 10));
        } else if (a == "--ms" && has_value) {
            ms = DWORD(std::strtoul(argv[++i], nullptr, 10));
        } else if (a == "--gone-ms" && has_value) {
            gone_ms = DWORD(std::strtoul(argv[++i], nullptr, 10));
        } else {
            return Usage();
        }
    }
    if (cmd == "dump") return Dump(f);
    if (cmd == "threads") return f.pid ? Threads(f.pid) : Usage();
    if (cmd == "watch") return Watch(f, ms, gone_ms);
    return Usage();
}
