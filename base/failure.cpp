#include "base/failure.h"

#include <atomic>

namespace base {
namespace {
thread_local std::string t_last;
std::atomic<FailureObserver> g_observer{nullptr};
}  // namespace

bool ReportFailure(std::string_view line) {
    t_last.assign(line);
    WriteDebugLine("soundboard: " + t_last + "\n");
    if (const FailureObserver observer = g_observer.load()) observer(t_last);
    return false;
}

void SetFailureObserver(FailureObserver observer) { g_observer.store(observer); }

const std::string& LastFailure() { return t_last; }
void ClearLastFailure() { t_last.clear(); }

}  // namespace base
