#include "shell/exit_callbacks.h"

#include <algorithm>

namespace shell {

bool ExitCallbacks::Register(ExitCallback cb) {
    if (!cb || std::find(list_.begin(), list_.end(), cb) != list_.end()) return false;
    list_.push_back(cb);
    return true;
}

void ExitCallbacks::RunAll() {
    // Take the list first so a callback that registers or exits cannot
    // disturb the walk.
    std::vector<ExitCallback> run;
    run.swap(list_);
    for (std::size_t i = 0; i < run.size(); ++i) run[i](static_cast<int>(i));
}

}  // namespace shell
