#include "base/failure.h"

namespace shell {
namespace {
thread_local std::string t_last;
}

bool ReportFailure(std::string_view line) {
    t_last.assign(line);
    WriteDebugLine("soundboard: " + t_last + "\n");
    return false;
}

const std::string& LastFailure() { return t_last; }
void ClearLastFailure() { t_last.clear(); }

}  // namespace shell
