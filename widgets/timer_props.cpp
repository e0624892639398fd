#include "widgets/timer_props.h"

#include "base/byte_reader.h"

namespace widgets {

std::optional<TimerProps> ParseTimerBlock(std::span<const std::uint8_t> block) {
    base::ByteReader r(block);
    if (r.u32() != 1) return std::nullopt;
    TimerProps p;
    p.interval_ms = r.i32();
    if (!r.at_end()) return std::nullopt;
    return p;
}

IntervalChange ChangeInterval(std::int32_t current, bool running, std::int32_t requested) {
    const std::int32_t value = requested < 0 ? 0 : requested;
    if (value == current) return {};
    return {true, running, value};
}

}  // namespace widgets
