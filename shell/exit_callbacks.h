#pragma once
// Ordered list of callbacks run once at exit, each given its position.
#include <vector>

namespace shell {

using ExitCallback = void (*)(int position);

class ExitCallbacks {
public:
    // Appends unless already listed; false when it was.
    bool Register(ExitCallback cb);
    // Runs every callback in registration order, then empties the list.
    void RunAll();
    // Empties the list without running anything (the fatal path).
    void Discard() { list_.clear(); }
    std::size_t size() const { return list_.size(); }

private:
    std::vector<ExitCallback> list_;
};

}  // namespace shell
