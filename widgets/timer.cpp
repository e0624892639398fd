#include "widgets/timer.h"

#include "base/window_class.h"
#include "widgets/timer_props.h"

namespace widgets {
namespace {

constexpr char kClass[] = "SoundBoardTimer";
base::ServiceFn g_service = nullptr;

void Connect(base::ServiceFn service) {
    g_service = service;
    base::RegisterWindowClass(kClass, {.proc = Timer::Proc, .arrow_cursor = false});
}

}  // namespace

const base::ComponentModule kTimerModule{base::Kind::Timer, Connect, Timer::Create, nullptr};

Timer::Timer(std::uint32_t window_id, std::uint32_t unit_id, std::int32_t interval)
    : Component(window_id, unit_id), interval_(interval < 0 ? 0 : interval) {}

Timer::~Timer() {
    if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
}

std::shared_ptr<base::Component> Timer::Create(const base::CreateContext& ctx) {
    const auto props = ParseTimerBlock(ctx.unit.def->block);
    if (!props) return nullptr;
    auto t = std::make_shared<Timer>(ctx.window_id, ctx.unit.def->id, props->interval_ms);
    // Never shown and never drawn: geometry is the designer's only.
    t->hwnd_ = CreateWindowExA(0, kClass, "", WS_CHILD, ctx.unit.left, ctx.unit.top, ctx.unit.width,
                               ctx.unit.height, ctx.parent, nullptr, GetModuleHandleA(nullptr), t.get());
    if (!t->hwnd_) return nullptr;
    if (t->interval_ > 0) t->running_ = SetTimer(t->hwnd_, kSystemTimerId, UINT(t->interval_), nullptr) != 0;
    return t;
}

bool Timer::SetProperty(int index, const base::PropertyValue& value) {
    const auto* n = std::get_if<std::int32_t>(&value);
    if (index != 8 || !n) return false;
    const IntervalChange c = ChangeInterval(interval_, running_, *n);
    if (!c.changed) return true;
    if (c.stop) Stop();
    interval_ = c.start;
    if (c.start > 0 && hwnd_) running_ = SetTimer(hwnd_, kSystemTimerId, UINT(c.start), nullptr) != 0;
    return true;
}

void Timer::Stop() {
    if (running_ && hwnd_) KillTimer(hwnd_, kSystemTimerId);
    running_ = false;
}

void Timer::Tick() {
    // The action may destroy this timer's window (the board's load unloads
    // the start window); stay alive until it returns.
    const auto keep = shared_from_this();
    base::RaiseEvent(g_service, window_id_, unit_id_, 0);
}

LRESULT CALLBACK Timer::Proc(HWND h, UINT m, WPARAM wp, LPARAM lp) {
    Timer* t = base::AttachedObject<Timer>(h, m, lp);
    if (t) {
        if (m == WM_TIMER && wp == kSystemTimerId) {
            t->Tick();
            return 0;
        }
        if (m == WM_DESTROY) {
            t->Stop();
        } else if (m == WM_NCDESTROY) {
            base::DetachObject(h);
            t->hwnd_ = nullptr;
        }
    }
    return DefWindowProcA(h, m, wp, lp);
}

}  // namespace widgets
