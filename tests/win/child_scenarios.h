#pragma once
#include <string>

namespace wintest {

// Runs one scenario in this child process; returns the exit code when the
// scenario does not end the process itself.
int RunChildScenario(const std::string& name);

// The file an exit callback leaves next to the test exe.
std::string ExitMarkerPath();

}  // namespace wintest
