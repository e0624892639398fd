#pragma once
// The numbered service entry through which component modules reach the shell.
#include <cstdint>

namespace base {

using ServiceFn = std::intptr_t (*)(std::uint32_t code, std::uintptr_t a, std::uintptr_t b);

enum ServiceCode : std::uint32_t {
    kWindowDestroyed = 2000,  // a: window identifier
    kLoadWindowRequest = 2005,  // a: the shell's LoadRequest*
    kFindObject = 2006,       // a: window id, b: unit id (0 or own unit: the window)
    kFindObjectOrFail = 2007,  // as 2006; a miss is fatal
    kRaiseEvent = 2008,       // a: EventRecord*
    kPlaySound = 2015,        // a: SoundRequest*
    kStopSound = 2016,
};

struct EventRecord {
    std::uint32_t window_id;
    std::uint32_t unit_id;
    std::int32_t event;
    std::int32_t arg_count;
    const std::intptr_t* args;
    std::intptr_t result;
};

}  // namespace base
