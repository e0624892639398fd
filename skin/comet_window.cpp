#include "skin/comet_window.h"

#include "skin/caret.h"
#include "skin/foreign.h"
#include "skin/move_request.h"
#include "skin/skin_controls.h"
#include "skin/skin_module.h"

namespace skin {
namespace {

void Destroy(CometWindow*) {}  // the owner frees the record

std::unique_ptr<CometWindow> Copy(const CometWindow* w) {
    auto c = std::make_unique<CometWindow>();
    c->window = w->window;
    return c;
}

bool Attach(CometWindow* w, HWND window) {
    if (!sys::IsWindow(window)) return false;
    w->window = window;
    sys::SetWindowLongA(window, GWL_EXSTYLE, WS_EX_LAYERED);  // exactly layered, nothing else
    sys::CreateCaret(window, nullptr, 1, 12);
    if (sys::GetPropA(window, kPropTime)) return true;  // one blink timer per window
    sys::SetTimer(window, kCaretTimerId, 500, CaretBlinkProc);
    sys::SetPropA(window, kPropTime, reinterpret_cast<HANDLE>(kCaretTimerId));
    return true;
}

bool SetBackImage(CometWindow* w, GpImage* image) {
    if (!sys::IsWindow(w->window) || !image) return false;
    // The caller keeps ownership of the image: it is never disposed here.
    sys::SetPropA(w->window, kPropBackImage, image);
    ComposeWindow(w->window);
    return true;
}

bool LoadBackImage(CometWindow* w, const ByteBlob* bytes) { return SetBackImage(w, LoadImageFromBytes(bytes)); }

void SkinControls(CometWindow* w) { SkinWindowControls(w->window); }

void Move(CometWindow* w, std::optional<std::int32_t> left, std::optional<std::int32_t> top,
          std::optional<std::int32_t> width, std::optional<std::int32_t> height, bool no_redraw) {
    RECT r{};
    sys::GetWindowRect(w->window, &r);
    const MoveRequest m = ComputeMove(left, top, width, height, no_redraw, {r.left, r.top, r.right, r.bottom});
    sys::SetWindowPos(w->window, nullptr, m.x, m.y, m.width, m.height, m.flags);
}

HWND GetHandle(const CometWindow* w) { return w->window; }
bool IsValid(const CometWindow* w) { return sys::IsWindow(w->window) == 1; }
void Send(CometWindow* w, UINT message, WPARAM wp, LPARAM lp) { sys::SendMessageA(w->window, message, wp, lp); }

const CometWindowOps kOps{Destroy, Copy, Attach, SetBackImage, LoadBackImage, SkinControls, Move, GetHandle, IsValid,
                          Send};

}  // namespace

CometWindow::CometWindow() : ops(&kOps) {}

}  // namespace skin
