// Builds windows from their definitions; load, unload, close and destroy.
#include <windows.h>
#include <windowsx.h>

#include "base/fatal_text.h"
#include "base/window_class.h"
#include "shell/modules.h"
#include "shell/shell.h"
#include "shell/shell_state.h"
#include "shell/window_frame.h"

namespace shell {
namespace {

constexpr char kFormClass[] = "SoundBoardForm";

void ReEnableDisabled(LoadedWindow& w) {
    for (const auto& [h, was_enabled] : w.disabled)
        if (IsWindow(h)) EnableWindow(h, was_enabled);
    w.disabled.clear();
}

void CloseRequest(LoadedWindow& w) {
    // No close-query event is bound in this program, so the request always goes through.
    if (w.modal) ReEnableDisabled(w);
    DestroyWindow(w.hwnd());
}

void StartDrag(HWND h, LPARAM l) {
    POINT pt{GET_X_LPARAM(l), GET_Y_LPARAM(l)};
    ClientToScreen(h, &pt);
    ReleaseCapture();
    SendMessageA(h, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(pt.x, pt.y));
}

LRESULT CALLBACK FormProc(HWND h, UINT m, WPARAM wp, LPARAM lp) {
    LoadedWindow* w = base::AttachedObject<LoadedWindow>(h, m, lp);
    if (m == WM_NCCREATE) {
        w->set_hwnd(h);
        return DefWindowProcA(h, m, wp, lp);
    }
    if (!w) return DefWindowProcA(h, m, wp, lp);
    // An action run from here may destroy this window; hold it until we return.
    const std::shared_ptr<LoadedWindow> keep = w->shared_from_this();
    switch (m) {
        case WM_COMMAND:
            if (lp) {
                // A child's notification carries its own control id; anything else is not its.
                const auto from = reinterpret_cast<HWND>(lp);
                if (LOWORD(wp) == LOWORD(GetDlgCtrlID(from)))
                    if (auto child = w->FindChild(from)) child->OnParentCommand(HIWORD(wp));
            } else if (LOWORD(wp) == IDCANCEL && w->props().esc_closes) {
                CloseRequest(*w);  // Esc, as the dialog keyboard handling reports it
            }
            return 0;
        case WM_CLOSE:
            CloseRequest(*w);
            return 0;
        case kUnloadRequest:
            HandleUnloadRequest(*w);
            return 0;
        case WM_LBUTTONDOWN:
            if (w->props().drag_anywhere) {
                StartDrag(h, lp);
                return 0;
            }
            break;
        case WM_NCDESTROY: {
            base::DetachObject(h);
            const LRESULT r = DefWindowProcA(h, m, wp, lp);
            ServiceEntry(base::kWindowDestroyed, w->window_id(), 0);
            return r;
        }
        default:
            break;
    }
    return DefWindowProcA(h, m, wp, lp);
}

void LoadIcons(ShellState& s) {
    if (s.icon_big) return;
    HINSTANCE inst = GetModuleHandleA(nullptr);
    // Shared icons: loaded once, never destroyed by the windows that show them.
    s.icon_big = static_cast<HICON>(LoadImageA(inst, "DEFAULT_ICON", IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                                               GetSystemMetrics(SM_CYICON), LR_SHARED));
    s.icon_small = static_cast<HICON>(LoadImageA(inst, "DEFAULT_ICON", IMAGE_ICON,
                                                 GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
                                                 LR_SHARED));
}

DWORD StyleFor(const Frame& f) {
    DWORD style = WS_CLIPCHILDREN | (f.title_bar ? WS_OVERLAPPED | WS_CAPTION : WS_POPUP);
    if (f.system_menu) style |= WS_SYSMENU;
    if (f.min_box) style |= WS_MINIMIZEBOX;
    if (f.max_box) style |= WS_MAXIMIZEBOX;
    if (f.sizable) style |= WS_THICKFRAME;
    return style;
}

DWORD ExStyleFor(const Frame& f, bool own_taskbar_button) {
    DWORD ex = WS_EX_CONTROLPARENT;
    if (f.tool_window) ex |= WS_EX_TOOLWINDOW;
    if (f.client_edge) ex |= WS_EX_CLIENTEDGE;
    if (own_taskbar_button) ex |= WS_EX_APPWINDOW;
    return ex;
}

bool CreateForm(WindowSlot& slot, LoadedWindow& w, HWND owner) {
    ShellState& s = State();
    const base::UnitState& self = slot.units[0];
    const WindowProps& p = w.props();
    const Frame frame = FrameFor(p);
    Point at{self.left, self.top};
    if (p.start_position == kCentred)
        at = Centre(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), self.width, self.height);
    HWND h = CreateWindowExA(ExStyleFor(frame, owner == nullptr && p.in_taskbar), kFormClass, p.caption.c_str(),
                             StyleFor(frame), at.x, at.y, self.width, self.height, owner, nullptr,
                             GetModuleHandleA(nullptr), &w);
    if (!h) return false;
    if (self.flags & base::kDisabled) EnableWindow(h, FALSE);
    // The system may have adjusted the size; the stored outer size is exact.
    RECT r;
    GetWindowRect(h, &r);
    if (r.right - r.left != self.width || r.bottom - r.top != self.height)
        SetWindowPos(h, nullptr, at.x, at.y, self.width, self.height, SWP_NOZORDER | SWP_NOACTIVATE);
    if (p.topmost) SetWindowPos(h, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (!p.movable) DeleteMenu(GetSystemMenu(h, FALSE), SC_MOVE, MF_BYCOMMAND);
    if (p.icon.empty()) {
        LoadIcons(s);
        SendMessageA(h, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(s.icon_big));
        SendMessageA(h, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(s.icon_small));
    }
    // Components in stored order, all hidden until every one exists.
    std::vector<std::pair<HWND, bool>> created;  // (component, visible flag)
    for (std::size_t i = 1; i < slot.units.size(); ++i) {
        const base::UnitState& u = slot.units[i];
        for (const base::ComponentModule& mod : ComponentModules()) {
            if (mod.kind != u.def->kind || !mod.create) continue;
            // A component the system refuses (no browser control, say) is left
            // out; the rest of the window works without it.
            if (auto c = mod.create(base::CreateContext{h, w.window_id(), u})) {
                created.emplace_back(c->hwnd(), (u.flags & base::kVisible) != 0);
                w.components.push_back(std::move(c));
            }
        }
    }
    for (const auto& [child, visible] : created)
        if (visible) ShowWindow(child, SW_SHOWNA);
    return true;
}

int ShowCommand(const WindowProps& p) {
    switch (p.start_position) {
        case kMinimized: return SW_SHOWMINIMIZED;
        case kMaximized: return SW_SHOWMAXIMIZED;
        default: return SW_SHOW;
    }
}

}  // namespace

void RegisterWindowClasses() {
    base::RegisterWindowClass(kFormClass, {.proc = FormProc, .style = CS_DBLCLKS,
                                     .background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)});  // the system default
}

bool IsFormWindow(HWND h) {
    return reinterpret_cast<WNDPROC>(GetWindowLongPtrA(h, GWLP_WNDPROC)) == FormProc;
}

std::intptr_t LoadWindowRequest(const LoadRequest& req) {
    ShellState& s = State();
    WindowSlot* slot = FindSlot(req.window_id);
    if (!slot) return -1;
    if (slot->IsLive()) {
        LoadedWindow& old = *slot->loaded;
        if (!old.unload_pending) {
            if (IsIconic(old.hwnd()))
                ShowWindow(old.hwnd(), SW_RESTORE);
            else
                SetActiveWindow(old.hwnd());
            return 0;
        }
        HandleUnloadRequest(old);
    }
    const bool modal = req.modal != 0;
    HWND parent = !modal && req.parent ? req.parent->hwnd() : nullptr;
    const auto props = ParseWindowBlock(slot->def->self().block);
    if (!props) return -1;
    HWND owner = parent;
    if (!owner && (modal || !props->in_taskbar)) owner = s.owner;  // no taskbar button of its own

    auto w = std::make_shared<LoadedWindow>(*slot->def, *props);
    w->parent = parent;
    slot->loaded = w;
    if (!CreateForm(*slot, *w, owner)) {
        if (slot->loaded == w) slot->loaded.reset();
        return -1;
    }
    const std::uint32_t id = slot->def->id;
    base::RaiseEvent(&ServiceEntry, id, slot->def->self().id, 0);
    if (!w->live()) return 0;  // its created action unloaded it again

    if (modal) {
        w->modal = true;
        for (WindowSlot& other : s.windows) {
            if (&other == slot || !other.IsLive() || other.loaded->parent) continue;
            HWND oh = other.loaded->hwnd();
            w->disabled.emplace_back(oh, IsWindowEnabled(oh) != FALSE);
            EnableWindow(oh, FALSE);
        }
    }
    if (slot->units[0].flags & base::kVisible) {
        ShowWindow(w->hwnd(), ShowCommand(w->props()));
        UpdateWindow(w->hwnd());
        if (modal) {
            const std::uint32_t saved = s.modal_slot;
            s.modal_slot = id;
            RunNestedLoop(id);
            s.modal_slot = saved;
        }
    }
    return 0;
}

void HandleUnloadRequest(LoadedWindow& w) {
    if (!w.unload_pending) return;
    w.unload_pending = false;
    if (w.modal) ReEnableDisabled(w);
    DestroyWindow(w.hwnd());
}

void OnWindowDestroyed(std::uint32_t window_id) {
    ShellState& s = State();
    if (WindowSlot* slot = FindSlot(window_id)) slot->loaded.reset();  // callers hold their own reference
    if (s.modal_slot == window_id) s.modal_slot = 0;
    if (s.loop_started && !AnyLiveWindow()) PostQuitMessage(0);
}

void LoadStartWindow(std::uint32_t window_id) {
    LoadRequest req{window_id, nullptr, 0};
    if (ServiceEntry(base::kLoadWindowRequest, reinterpret_cast<std::uintptr_t>(&req), 0) != 0)
        base::FatalError(base::kStartWindowFailed);
}

bool LoadWindow(std::uint32_t window_id, std::uint32_t parent_id, bool modal) {
    LoadedWindow* parent = nullptr;
    if (parent_id != 0) {
        WindowSlot* ps = LiveSlot(parent_id);
        if (!ps) return false;
        parent = ps->loaded.get();
    }
    LoadRequest req{window_id, parent, modal ? 1u : 0u};
    return ServiceEntry(base::kLoadWindowRequest, reinterpret_cast<std::uintptr_t>(&req), 0) == 0;
}

void UnloadWindow(std::uint32_t window_id, bool now) {
    WindowSlot* slot = LiveSlot(window_id);
    if (!slot) base::FatalError(base::kNotLoaded);
    LoadedWindow& w = *slot->loaded;
    w.unload_pending = true;
    if (now)
        HandleUnloadRequest(w);
    else
        PostMessageA(w.hwnd(), kUnloadRequest, 0, 0);
}

}  // namespace shell
