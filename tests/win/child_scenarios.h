#pragma once
#include <string>

namespace wintest {

// Runs one scenario in this child process; returns the exit code when the
// scenario does not end the process itself. An exit callback writes its
// position to `marker`, a file of this child's own.
int RunChildScenario(const std::string& name, const std::string& marker);

}  // namespace wintest
