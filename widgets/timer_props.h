#pragma once
// The timer kind: its stored block and the interval rules.
#include <cstdint>
#include <optional>
#include <span>

#include "base/block_builder.h"

namespace widgets {

struct TimerProps {
    std::int32_t interval_ms = 0;  // 8; 0 or less: stopped
};

std::optional<TimerProps> ParseTimerBlock(std::span<const std::uint8_t> block);

constexpr auto TimerBlock(std::int32_t interval_ms) {
    using namespace base::block;
    return Cat(U32(1), U32(std::uint32_t(interval_ms)));
}

// What a write of the interval asks of the system timer.
struct IntervalChange {
    bool changed = false;     // false: same value, nothing to do
    bool stop = false;        // kill the running system timer first
    std::int32_t start = 0;   // > 0: start a new system timer with this period
};

// `running` tells whether a system timer is running now.
IntervalChange ChangeInterval(std::int32_t current, bool running, std::int32_t requested);

}  // namespace widgets
