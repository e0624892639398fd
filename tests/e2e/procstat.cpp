// A console probe for the soak run: what one process holds, as one JSON line.
// Run under Wine in the same prefix as the program.
//   procstat --image NAME | --pid N
// Prints {"tick","pid","threads","handles","gdi","user","windows","private_bytes",
// "working_set"}; a count the system cannot give is null, with the call's error
// in "<name>_error". Exits 1 when no such process is found.
// Where the direct call answers 0 (Wine fills in neither), handles come from
// the system's handle table and private bytes from a walk of the process's
// committed private pages; "handles_from" and "private_from" say which.
// "windows" counts the process's windows (top-level and every descendant):
// USER objects it surely holds, for systems that give no USER count.
// "handle_types" counts the handles by the kind of object ("Event", "Key",
// ...), read from the system's handle table, so a count that grows says what.
#include <windows.h>
#include <psapi.h>
#include <winternl.h>
#include <tlhelp32.h>

#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <map>
#include <string>

namespace {

std::string Num(unsigned long long v) { return std::to_string(v); }

// A process id by image file name (the first one found), 0 when none runs.
DWORD FindByImage(const wchar_t* image) {
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snap == INVALID_HANDLE_VALUE) return 0;
    PROCESSENTRY32W e{};
    e.dwSize = sizeof e;
    DWORD pid = 0;
    for (BOOL ok = Process32FirstW(snap, &e); ok && !pid; ok = Process32NextW(snap, &e))
        if (_wcsicmp(e.szExeFile, image) == 0) pid = e.th32ProcessID;
    CloseHandle(snap);
    return pid;
}

long CountThreads(DWORD pid) {
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snap == INVALID_HANDLE_VALUE) return -1;
    THREADENTRY32 t{};
    t.dwSize = sizeof t;
    long n = 0;
    for (BOOL ok = Thread32First(snap, &t); ok; ok = Thread32Next(snap, &t))
        if (t.th32OwnerProcessID == pid) ++n;
    CloseHandle(snap);
    return n;
}

// The process's entries in the system's handle table; -1 when it cannot be read.
struct HandleEntry {
    PVOID object;
    ULONG_PTR pid;
    ULONG_PTR value;
    ULONG access;
    USHORT backtrace;
    USHORT type;
    ULONG attributes;
    ULONG reserved;
};
struct HandleTable {
    ULONG_PTR count;
    ULONG_PTR reserved;
    HandleEntry entries[1];
};
using QuerySystem = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);
constexpr ULONG kExtendedHandleInformation = 64;
constexpr LONG kLengthMismatch = LONG(0xC0000004);

using QueryObject = LONG(WINAPI*)(HANDLE, ULONG, PVOID, ULONG, PULONG);
constexpr ULONG kObjectTypeInformation = 2;

// The kind of object behind one of another process's handles ("Event",
// "Thread", ...), read from a copy of it; "?" when it cannot be copied.
std::string TypeName(HANDLE owner, ULONG_PTR value) {
    static const auto query = reinterpret_cast<QueryObject>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryObject")));
    HANDLE copy = nullptr;
    if (!query || !DuplicateHandle(owner, reinterpret_cast<HANDLE>(value), GetCurrentProcess(), &copy, 0, FALSE,
                                   DUPLICATE_SAME_ACCESS))
        return "?";
    alignas(8) char info[1024] = {};
    std::string name;
    if (query(copy, kObjectTypeInformation, info, sizeof info - 2, nullptr) >= 0) {
        const auto* type = reinterpret_cast<const UNICODE_STRING*>(info);  // TypeName comes first
        for (USHORT i = 0; type->Buffer && i < type->Length / 2; ++i)
            name += char(type->Buffer[i] < 128 ? type->Buffer[i] : '?');
    }
    CloseHandle(copy);
    return name.empty() ? "?" : name;
}

// The process's entries in the system's handle table: how many, and how many
// of each kind as a JSON object. Left at -1 and "{}" when it cannot be read.
struct HandleCount {
    long total = -1;
    std::string kinds = "{}";
};

HandleCount CountHandles(DWORD pid, HANDLE owner) {
    auto query = reinterpret_cast<QuerySystem>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
    if (!query) return {};
    std::string buf(1 << 16, '\0');
    for (int tries = 0; tries < 8; ++tries) {
        ULONG need = 0;
        const LONG status = query(kExtendedHandleInformation, buf.data(), ULONG(buf.size()), &need);
        if (status == kLengthMismatch) {
            buf.assign(std::max<std::size_t>(need + 4096, buf.size() * 2), '\0');
            continue;
        }
        if (status < 0) break;
        const auto* table = reinterpret_cast<const HandleTable*>(buf.data());
        std::map<USHORT, std::pair<ULONG_PTR, long>> by_type;  // type index: (one handle, count)
        HandleCount count{0, ""};
        for (ULONG_PTR i = 0; i < table->count; ++i) {
            const HandleEntry& e = table->entries[i];
            if (e.pid != pid) continue;
            ++count.total;
            ++by_type.try_emplace(e.type, e.value, 0).first->second.second;
        }
        std::map<std::string, long> named;
        for (const auto& [type, t] : by_type) named[TypeName(owner, t.first)] += t.second;
        for (const auto& [name, n] : named) count.kinds += (count.kinds.empty() ? "\"" : ",\"") + name + "\":" + Num(n);
        count.kinds = "{" + count.kinds + "}";
        return count;
    }
    return {};
}

// Committed private memory: what the system calls a process's private bytes.
unsigned long long CommittedPrivate(HANDLE p) {
    unsigned long long total = 0;
    MEMORY_BASIC_INFORMATION m{};
    for (auto at = static_cast<const char*>(nullptr); VirtualQueryEx(p, at, &m, sizeof m) == sizeof m;) {
        if (m.State == MEM_COMMIT && m.Type == MEM_PRIVATE) total += m.RegionSize;
        const char* next = static_cast<const char*>(m.BaseAddress) + m.RegionSize;
        if (next <= at) break;
        at = next;
    }
    return total;
}

struct WindowCount {
    DWORD pid;
    long n;
};

BOOL CALLBACK CountChild(HWND, LPARAM lp) {
    ++reinterpret_cast<WindowCount*>(lp)->n;
    return TRUE;
}

BOOL CALLBACK CountTop(HWND h, LPARAM lp) {
    auto* c = reinterpret_cast<WindowCount*>(lp);
    DWORD owner = 0;
    GetWindowThreadProcessId(h, &owner);
    if (owner == c->pid) {
        ++c->n;
        EnumChildWindows(h, CountChild, lp);  // every descendant, not only direct children
    }
    return TRUE;
}

// `"name":value` for a count, or `"name":null,"name_error":N` when the call failed.
std::string Field(const char* name, bool ok, unsigned long long value, DWORD error) {
    std::string out = std::string(",\"") + name + "\":";
    if (ok) return out + Num(value);
    return out + "null,\"" + name + "_error\":" + Num(error);
}

int Usage() {
    std::fputs("usage: procstat --image NAME | --pid N\n", stderr);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    _setmode(_fileno(stdout), _O_BINARY);
    if (argc != 3) return Usage();
    const std::string opt = argv[1], value = argv[2];
    DWORD pid = 0;
    if (opt == "--pid") {
        pid = DWORD(std::strtoul(value.c_str(), nullptr, 10));
    } else if (opt == "--image") {
        pid = FindByImage(std::wstring(value.begin(), value.end()).c_str());  // image names here are ASCII
    } else {
        return Usage();
    }
    if (!pid) {
        std::fputs("procstat: no such process\n", stderr);
        return 1;
    }
    HANDLE p = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ | PROCESS_DUP_HANDLE, FALSE, pid);
    if (!p) {
        std::fprintf(stderr, "procstat: OpenProcess(%lu) failed: error %lu\n", pid, GetLastError());
        return 1;
    }
    std::string out = "{\"tick\":" + Num(GetTickCount()) + ",\"pid\":" + Num(pid);

    const long threads = CountThreads(pid);
    out += Field("threads", threads >= 0, threads >= 0 ? threads : 0, GetLastError());

    DWORD handles = 0;
    SetLastError(0);
    const BOOL got_handles = GetProcessHandleCount(p, &handles);
    const DWORD handles_error = got_handles ? 0 : GetLastError();
    const HandleCount table = CountHandles(pid, p);
    if (got_handles && handles) {
        out += ",\"handles\":" + Num(handles) + ",\"handles_from\":\"GetProcessHandleCount\"";
    } else {
        out += Field("handles", table.total > 0, table.total > 0 ? table.total : 0, handles_error);
        out += ",\"handles_from\":\"system handle table\"";
    }
    out += ",\"handle_types\":" + table.kinds;

    // 0 is never a real answer for a process with windows: it is how the call fails.
    SetLastError(0);
    const DWORD gdi = GetGuiResources(p, GR_GDIOBJECTS);
    out += Field("gdi", gdi != 0, gdi, GetLastError());
    SetLastError(0);
    const DWORD user = GetGuiResources(p, GR_USEROBJECTS);
    out += Field("user", user != 0, user, GetLastError());

    WindowCount windows{pid, 0};
    EnumWindows(CountTop, reinterpret_cast<LPARAM>(&windows));
    out += ",\"windows\":" + Num(windows.n);

    PROCESS_MEMORY_COUNTERS_EX mem{};
    mem.cb = sizeof mem;
    SetLastError(0);
    const BOOL got_mem =
        GetProcessMemoryInfo(p, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&mem), sizeof mem);
    const DWORD mem_error = GetLastError();
    if (got_mem && mem.PrivateUsage) {
        out += ",\"private_bytes\":" + Num(mem.PrivateUsage) + ",\"private_from\":\"PrivateUsage\"";
    } else {
        out += ",\"private_bytes\":" + Num(CommittedPrivate(p)) + ",\"private_from\":\"committed private pages\"";
    }
    out += Field("working_set", got_mem, mem.WorkingSetSize, mem_error);
    CloseHandle(p);

    // Still there? A process that ended while it was read gives no figures.
    DWORD code = 0;
    HANDLE again = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    const bool alive = again && GetExitCodeProcess(again, &code) && code == STILL_ACTIVE;
    if (again) CloseHandle(again);
    if (!alive) {
        std::fputs("procstat: the process ended while it was read\n", stderr);
        return 1;
    }
    std::fputs((out + "}\n").c_str(), stdout);
    return 0;
}
