#include "base/failure_win.h"

#include <cstdio>
#include <string>

#include "base/failure.h"

namespace shell {
namespace {

// The system's message for a code, on one line; empty when it has none.
std::string SystemText(DWORD code) {
    char* text = nullptr;
    const DWORD n = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                       FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_MAX_WIDTH_MASK,
                                   nullptr, code, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US),
                                   reinterpret_cast<char*>(&text), 0, nullptr);
    std::string out(text ? text : "", n);
    if (text) LocalFree(text);
    while (!out.empty() && (out.back() == ' ' || out.back() == '\r' || out.back() == '\n')) out.pop_back();
    return out;
}

std::string Line(const char* call, const char* subject, const char* kind, unsigned long code,
                 const std::string& text) {
    char number[32];
    std::snprintf(number, sizeof number, kind[0] == 'H' ? "0x%08lX" : "%lu", code);
    std::string line = std::string(call) + " failed";
    if (subject && *subject) line += std::string(" (") + subject + ")";
    line += std::string(": ") + kind + " " + number;
    if (!text.empty()) line += " " + text;
    return line;
}

}  // namespace

void WriteDebugLine(const std::string& line) { OutputDebugStringA(line.c_str()); }

bool ReportWin32Failure(const char* call, const char* subject, DWORD error) {
    return ReportFailure(Line(call, subject, "error", error, SystemText(error)));
}

bool ReportComFailure(const char* call, HRESULT result) {
    return ReportFailure(Line(call, nullptr, "HRESULT", static_cast<unsigned long>(result),
                              SystemText(static_cast<DWORD>(result))));
}

}  // namespace shell
