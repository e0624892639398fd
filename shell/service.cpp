// The service entry and the look-ups behind it.
#include <windows.h>

#include "audio/sound.h"
#include "base/fatal_text.h"
#include "shell/shell.h"
#include "shell/shell_state.h"

namespace shell {

base::Component* LoadedWindow::FindComponent(std::uint32_t unit_id) const {
    for (const auto& c : components)
        if (c->unit_id() == unit_id) return c.get();
    return nullptr;
}

std::shared_ptr<base::Component> LoadedWindow::FindChild(HWND child) const {
    for (const auto& c : components)
        if (c->hwnd() == child) return c;
    return nullptr;
}

WindowSlot* FindSlot(std::uint32_t window_id) {
    for (WindowSlot& s : State().windows)
        if (s.def->id == window_id) return &s;
    return nullptr;
}

WindowSlot* LiveSlot(std::uint32_t window_id) {
    WindowSlot* s = FindSlot(window_id);
    return s && s->IsLive() ? s : nullptr;
}

bool AnyLiveWindow() {
    for (const WindowSlot& s : State().windows)
        if (s.IsLive()) return true;
    return false;
}

namespace {

base::UnitObject* FindObject(std::uint32_t window_id, std::uint32_t unit_id) {
    WindowSlot* slot = LiveSlot(window_id);
    if (!slot) return nullptr;
    if (unit_id == 0 || unit_id == slot->def->self().id) return slot->loaded.get();
    base::Component* c = slot->loaded->FindComponent(unit_id);
    return c && c->hwnd() && IsWindow(c->hwnd()) ? c : nullptr;
}

std::intptr_t RaiseEventRequest(base::EventRecord& rec) {
    ShellState& s = State();
    if (s.ending) return 0;
    const auto it = s.bindings.find({rec.window_id, rec.unit_id, rec.event});
    if (it == s.bindings.end()) return 0;
    // Copy: the action may unload the window whose binding this is.
    const std::function<void()> action = it->second;
    action();
    rec.result = 0;
    return 1;
}

}  // namespace

std::intptr_t ServiceEntry(std::uint32_t code, std::uintptr_t a, std::uintptr_t b) {
    switch (code) {
        case base::kWindowDestroyed:
            OnWindowDestroyed(static_cast<std::uint32_t>(a));
            return 0;
        case base::kLoadWindowRequest:
            return a ? LoadWindowRequest(*reinterpret_cast<const LoadRequest*>(a)) : -1;
        case base::kFindObject:
            return reinterpret_cast<std::intptr_t>(FindObject(std::uint32_t(a), std::uint32_t(b)));
        case base::kFindObjectOrFail: {
            base::UnitObject* o = FindObject(std::uint32_t(a), std::uint32_t(b));
            if (!o) base::FatalError(base::kNotLoaded);
            return reinterpret_cast<std::intptr_t>(o);
        }
        case base::kRaiseEvent:
            return a ? RaiseEventRequest(*reinterpret_cast<base::EventRecord*>(a)) : 0;
        case base::kPlaySound:
        case base::kStopSound:
            return audio::ServeSound(code, a, b);
        default:
            return 0;
    }
}

}  // namespace shell
