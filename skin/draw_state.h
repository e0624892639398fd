#pragma once
// A PNG button's draw state and how the button's messages change it.
#include <cstdint>

namespace skin {

inline constexpr std::int32_t kStateNormal = 0, kStateHover = 1, kStatePressed = 2, kStateDisabled = 3;

enum class ButtonEvent { MouseMove, MouseLeave, LeftDown, LeftUp, Enabled, Disabled };

struct StateChange {
    std::int32_t state;  // the new "Comet_DrawState"
    bool recompose;      // the window's bitmap is rebuilt
    bool track_leave;    // a mouse-leave notification is requested
};

// The state is whatever the property holds, known values or not.
StateChange NextDrawState(std::int32_t state, ButtonEvent event);

}  // namespace skin
