#pragma once
// What the shell knows of each component kind's module.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "base/component.h"
#include "base/service.h"
#include "base/unit_def.h"

namespace base {

// Common properties of a unit as the shell holds them: start from the table,
// changed by writes made while the window is not loaded.
struct UnitState {
    const UnitDef* def;
    std::int32_t left, top, width, height;
    std::string tag;
    std::uint32_t flags;
};

struct CreateContext {
    HWND parent;
    std::uint32_t window_id;
    const UnitState& unit;
};

struct ComponentModule {
    Kind kind;
    void (*connect)(ServiceFn service);
    // Creates the component hidden; null when the system refuses.
    std::shared_ptr<Component> (*create)(const CreateContext& ctx);
    void (*ending)();  // the program is ending
};

// Raises event `event` of (window, unit) through a module's service entry;
// true when a bound action ran. Safe before the module is connected.
inline bool RaiseEvent(ServiceFn service, std::uint32_t window_id, std::uint32_t unit_id, int event) {
    if (!service) return false;
    EventRecord rec{window_id, unit_id, event, 0, nullptr, 0};
    return service(kRaiseEvent, reinterpret_cast<std::uintptr_t>(&rec), 0) == 1;
}

// Window styles every child component shares: clipped siblings, the tab stop
// and disabled flags from its definition; created hidden, shown by the loader.
inline DWORD ChildStyle(const UnitState& u) {
    DWORD s = WS_CHILD | WS_CLIPSIBLINGS;
    if (u.flags & kTabStop) s |= WS_TABSTOP;
    if (u.flags & kDisabled) s |= WS_DISABLED;
    return s;
}

}  // namespace base
