#include "base/failure.h"

namespace base {

// The host build has no debugger output; tests read LastFailure instead.
void WriteDebugLine(const std::string&) {}

}  // namespace base
