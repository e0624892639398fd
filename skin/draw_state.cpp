#include "skin/draw_state.h"

namespace skin {

StateChange NextDrawState(std::int32_t state, ButtonEvent event) {
    switch (event) {
        case ButtonEvent::MouseMove:
            // Already hovering or held down: the move changes nothing and
            // the leave request made on entry still stands.
            if (state == kStateHover || state == kStatePressed) return {state, false, false};
            return {kStateHover, true, true};
        case ButtonEvent::MouseLeave: return {kStateNormal, true, false};
        case ButtonEvent::LeftDown: return {kStatePressed, true, false};
        case ButtonEvent::LeftUp: return {state == kStatePressed ? kStateHover : kStateNormal, true, false};
        case ButtonEvent::Enabled: return {kStateNormal, true, false};
        case ButtonEvent::Disabled: return {kStateDisabled, true, false};
    }
    return {state, false, false};
}

}  // namespace skin
