#include "skin/skin_controls.h"

#include "skin/button_proc.h"
#include "skin/control_props.h"
#include "skin/edit_proc.h"
#include "skin/foreign.h"
#include "skin/prop_read.h"
#include "skin/skin_module.h"

namespace skin {
namespace {

void SkinControl(HWND child) {
    const std::int32_t type = PropValue(child, kPropType);
    if (type == 0) return;
    // A procedure the declaring party wants back before the engine's goes on.
    if (HANDLE restore = sys::GetPropA(child, kPropWndProc)) {
        sys::SetWindowLongPtrA(child, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(restore));
        sys::RemovePropA(child, kPropWndProc);
    }
    if (sys::GetPropA(child, kPropChildWndProc)) return;  // subclassed once, never undone
    WNDPROC proc = type == kTypeButton ? ButtonProc : type == kTypeEdit ? EditProc : nullptr;
    if (!proc) return;
    const LONG_PTR previous = sys::SetWindowLongPtrA(child, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc));
    sys::SetPropA(child, kPropChildWndProc, reinterpret_cast<HANDLE>(previous));
}

}  // namespace

void SkinWindowControls(HWND window) {
    if (!sys::IsWindow(window)) return;
    for (HWND child = sys::GetWindow(window, GW_CHILD); child; child = sys::GetWindow(child, GW_HWNDNEXT))
        SkinControl(child);
    ComposeWindow(window);
}

}  // namespace skin
