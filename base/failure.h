#pragma once
// Why something the program asked of the system failed, in one line. The
// program's behaviour does not change (its actions still ignore failures and
// show nothing), but each failure is written to the debugger output, where a
// standard debug viewer shows it ("no sound on my machine" can then be told
// apart), and the latest one is kept per thread, so that a tool can say why
// beside its "false".
#include <string>
#include <string_view>

namespace base {

// Writes the line and keeps it as this thread's last failure; returns false,
// so a failing result can be reported where it is tested.
bool ReportFailure(std::string_view line);
const std::string& LastFailure();
void ClearLastFailure();

// Also hands every line, from whatever thread reports it, to `observer`
// (null: none): a tool prints what its players' threads report, a test
// counts lines. It is called on the reporting thread.
using FailureObserver = void (*)(const std::string& line);
void SetFailureObserver(FailureObserver observer);

// Where the lines go: the debugger output on Windows, nowhere on the host.
void WriteDebugLine(const std::string& line);

}  // namespace base
