#pragma once
// Fatal errors: the program's own box ("错误", the error icon, the text of
// base/fatal_text.h), then the process ends with -1. The exit callbacks are
// not run on this path.
#include <string_view>

namespace base {

// What the program does around the box: before it (run no more actions),
// after it (the rest of its exit sequence). Set once, at start-up.
struct FatalHooks {
    void (*before_box)() = nullptr;
    void (*after_box)() = nullptr;
};
void SetFatalHooks(FatalHooks hooks);

[[noreturn]] void FatalError(std::string_view message, int code = 0);

// Ends the process at once with `code`, after flushing the C streams, running
// nothing else: for an exit whose sound threads are still stuck in the device.
[[noreturn]] void EndProcessNow(int code);

}  // namespace base
