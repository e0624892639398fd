#pragma once
// The Win32 and COM families of system results, translated in one place:
// the call, what it was about, and the system's own text for the error.
#include <windows.h>

namespace base {

// `subject` (may be null) names what the call was about: a class, a file.
bool ReportWin32Failure(const char* call, const char* subject = nullptr, DWORD error = GetLastError());
bool ReportComFailure(const char* call, HRESULT result);

}  // namespace base
