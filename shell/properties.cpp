// Property writes and handle look-ups addressed by (window, unit).
#include <windows.h>

#include "base/fatal_text.h"
#include "shell/shell.h"
#include "shell/shell_state.h"

namespace shell {
namespace {

base::UnitState* FindUnitState(WindowSlot& slot, std::uint32_t unit_id) {
    if (unit_id == 0) return &slot.units[0];
    for (base::UnitState& u : slot.units)
        if (u.def->id == unit_id) return &u;
    return nullptr;
}

const std::int32_t* Number(const base::PropertyValue& v) { return std::get_if<std::int32_t>(&v); }

void WriteStored(base::UnitState& u, int index, const base::PropertyValue& v) {
    if (index == kPropTag) {
        if (auto* t = std::get_if<std::string>(&v)) u.tag = *t;
        return;
    }
    const std::int32_t* n = Number(v);
    if (!n) return;
    switch (index) {
        case kPropLeft: u.left = *n; break;
        case kPropTop: u.top = *n; break;
        case kPropWidth: u.width = *n; break;
        case kPropHeight: u.height = *n; break;
        case kPropVisible: u.flags = *n ? u.flags | base::kVisible : u.flags & ~base::kVisible; break;
        case kPropDisabled: u.flags = *n ? u.flags | base::kDisabled : u.flags & ~base::kDisabled; break;
        default: break;
    }
}

void WriteLive(HWND h, bool is_window, base::UnitState& u, int index, const base::PropertyValue& v) {
    if (index == kPropTag) return WriteStored(u, index, v);
    const std::int32_t* n = Number(v);
    if (!n) return;
    if (index <= kPropHeight) {
        RECT r;
        GetWindowRect(h, &r);
        if (!is_window) MapWindowPoints(nullptr, GetParent(h), reinterpret_cast<POINT*>(&r), 2);
        LONG x = r.left, y = r.top, cx = r.right - r.left, cy = r.bottom - r.top;
        (index == kPropLeft ? x : index == kPropTop ? y : index == kPropWidth ? cx : cy) = *n;
        SetWindowPos(h, nullptr, x, y, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE);
    } else if (index == kPropVisible) {
        ShowWindow(h, *n ? (is_window ? SW_SHOW : SW_SHOWNA) : SW_HIDE);
    } else if (index == kPropDisabled) {
        EnableWindow(h, *n == 0);
    }
}

}  // namespace

HWND GetWindowHandle(std::uint32_t window_id, std::uint32_t unit_id) {
    auto* o = reinterpret_cast<base::UnitObject*>(ServiceEntry(base::kFindObjectOrFail, window_id, unit_id));
    return o->hwnd();
}

void SetComponentProperty(std::uint32_t window_id, std::uint32_t unit_id, int index,
                          const base::PropertyValue& value) {
    WindowSlot* slot = FindSlot(window_id);
    if (!slot) base::FatalError(base::kUnknownWindow);
    if (!slot->IsLive()) {
        if (index > kPropMousePointer) base::FatalError(base::kWindowNotLoaded);
        base::UnitState* u = FindUnitState(*slot, unit_id);
        if (!u) base::FatalError(base::kNotLoaded);
        WriteStored(*u, index, value);  // takes effect at the next load
        return;
    }
    auto* o = reinterpret_cast<base::UnitObject*>(ServiceEntry(base::kFindObjectOrFail, window_id, unit_id));
    const bool is_window = o == slot->loaded.get();
    if (index > kPropMousePointer) {
        if (!is_window)
            static_cast<base::Component*>(o)->SetProperty(index, value);
        else if (auto* caption = std::get_if<std::string>(&value); caption && index == 8)
            SetWindowTextA(o->hwnd(), caption->c_str());
        return;
    }
    WriteLive(o->hwnd(), is_window, *FindUnitState(*slot, o->unit_id()), index, value);
}

}  // namespace shell
