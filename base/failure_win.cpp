#include "base/failure_win.h"

#include <cstdio>
#include <string>

#include "base/failure.h"

namespace base {
namespace {

// The system's message for a code, on one line; empty when it has none.
// Language 0 lets the system choose: the user's language, then the neutral
// and English texts. A Windows without English resources has no text under
// a fixed US-English id, and the line would carry only the number.
std::string SystemText(DWORD code) {
    char* text = nullptr;
    const DWORD n = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                       FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_MAX_WIDTH_MASK,
                                   nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string out(text ? text : "", n);
    if (text) LocalFree(text);
    while (!out.empty() && (out.back() == ' ' || out.back() == '\r' || out.back() == '\n')) out.pop_back();
    return out;
}

// "<call> failed (<subject>): <code> <system text>"
std::string Line(const char* call, const char* subject, const std::string& code, const std::string& text) {
    std::string line = std::string(call) + " failed";
    if (subject && *subject) line += std::string(" (") + subject + ")";
    line += ": " + code;
    if (!text.empty()) line += " " + text;
    return line;
}

}  // namespace

void WriteDebugLine(const std::string& line) { OutputDebugStringA(line.c_str()); }

bool ReportWin32Failure(const char* call, const char* subject, DWORD error) {
    return ReportFailure(Line(call, subject, "error " + std::to_string(error), SystemText(error)));
}

bool ReportComFailure(const char* call, HRESULT result) {
    char code[24];
    std::snprintf(code, sizeof code, "HRESULT 0x%08lX", static_cast<unsigned long>(result));
    return ReportFailure(Line(call, nullptr, code, SystemText(static_cast<DWORD>(result))));
}

}  // namespace base
