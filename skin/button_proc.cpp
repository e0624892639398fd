#include "skin/button_proc.h"

#include <optional>

#include "skin/control_props.h"
#include "skin/draw_state.h"
#include "skin/foreign.h"
#include "skin/prop_read.h"
#include "skin/skin_module.h"

namespace skin {
namespace {

std::optional<ButtonEvent> EventOf(UINT message, WPARAM wparam) {
    switch (message) {
        case WM_MOUSEMOVE: return ButtonEvent::MouseMove;
        case WM_MOUSELEAVE: return ButtonEvent::MouseLeave;
        case WM_LBUTTONDOWN: return ButtonEvent::LeftDown;
        case WM_LBUTTONUP: return ButtonEvent::LeftUp;
        case WM_ENABLE: return wparam ? ButtonEvent::Enabled : ButtonEvent::Disabled;
        default: return std::nullopt;
    }
}

}  // namespace

LRESULT CallPrevious(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    const auto previous = reinterpret_cast<WNDPROC>(sys::GetPropA(window, kPropChildWndProc));
    // Without the record of the old procedure the window still gets default handling.
    if (!previous) return sys::DefWindowProcA(window, message, wparam, lparam);
    return sys::CallWindowProcA(previous, window, message, wparam, lparam);
}

LRESULT CALLBACK ButtonProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (const auto event = EventOf(message, wparam)) {
        const StateChange change = NextDrawState(PropValue(window, kPropDrawState), *event);
        if (change.track_leave) {
            TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, window, 0};
            sys::TrackMouseEvent(&track);
        }
        if (change.recompose) {
            SetPropValue(window, kPropDrawState, change.state);
            ComposeWindow(sys::GetParent(window));
        }
    }
    // No capture taken and nothing swallowed: the button's own procedure sees it all.
    return CallPrevious(window, message, wparam, lparam);
}

}  // namespace skin
