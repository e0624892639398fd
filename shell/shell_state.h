#pragma once
// The shell's own state: one instance for the run, reached through State().
#include <windows.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <tuple>
#include <utility>
#include <vector>

#include "base/component_module.h"
#include "shell/definitions.h"
#include "shell/exit_callbacks.h"
#include "base/foreign_calls.h"
#include "shell/window_props.h"
#include "skin/comet_window.h"

namespace shell {

class LoadedWindow : public base::UnitObject, public std::enable_shared_from_this<LoadedWindow> {
public:
    LoadedWindow(const base::WindowDef& def, WindowProps props)
        : base::UnitObject(def.id, def.self().id), def_(def), props_(std::move(props)) {}

    const base::WindowDef& def() const { return def_; }
    const WindowProps& props() const { return props_; }
    void set_hwnd(HWND h) { hwnd_ = h; }
    bool live() const { return hwnd_ && IsWindow(hwnd_); }

    base::Component* FindComponent(std::uint32_t unit_id) const;
    std::shared_ptr<base::Component> FindChild(HWND child) const;

    bool unload_pending = false;
    bool modal = false;
    HWND parent = nullptr;  // null for a top-level window without parent
    std::vector<std::pair<HWND, bool>> disabled;  // (window, was enabled)
    std::vector<std::shared_ptr<base::Component>> components;

private:
    const base::WindowDef& def_;
    WindowProps props_;
};

// What the service's load-window code points at.
struct LoadRequest {
    std::uint32_t window_id;
    LoadedWindow* parent;  // null: none
    std::uint32_t modal;
};

struct WindowSlot {
    const base::WindowDef* def;
    std::vector<base::UnitState> units;         // units[0]: the window's own unit
    std::shared_ptr<LoadedWindow> loaded;  // null while not loaded

    bool IsLive() const { return loaded && loaded->live(); }
};

using BindingKey = std::tuple<std::uint32_t, std::uint32_t, int>;  // window, unit, event

struct ShellState {
    ExitCallbacks exit_callbacks;
    std::uint32_t modal_slot = 0;
    bool loop_started = false;
    bool ending = false;  // a fatal error is being shown: no action runs
    bool ole = false;
    HWND owner = nullptr;
    HICON icon_big = nullptr, icon_small = nullptr;
    std::vector<WindowSlot> windows;
    std::map<BindingKey, std::function<void()>> bindings;
    std::vector<std::pair<HWND, std::function<void()>>> idle;
    std::unique_ptr<skin::CometWindow> skin_engine;  // the one engine object
};

ShellState& State();
WindowSlot* FindSlot(std::uint32_t window_id);
// The slot of a live window, or null.
WindowSlot* LiveSlot(std::uint32_t window_id);
bool AnyLiveWindow();

// Builds the binding of one action for one unit; empty when the program has
// nothing to run for it yet.
std::function<void()> BindAction(base::Action action, std::uint32_t window_id, std::uint32_t unit_id);

// Window loader internals shared by the service entry and the loop.
std::intptr_t LoadWindowRequest(const LoadRequest& req);
void HandleUnloadRequest(LoadedWindow& w);
void OnWindowDestroyed(std::uint32_t window_id);
void RunNestedLoop(std::uint32_t window_id);
void RegisterWindowClasses();
bool IsFormWindow(HWND h);

}  // namespace shell
