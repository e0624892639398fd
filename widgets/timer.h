#pragma once
#include "base/component_module.h"

namespace widgets {

inline constexpr UINT_PTR kSystemTimerId = 1000;

// Timer component: a hidden child window whose system timer raises event 0.
class Timer final : public base::Component {
public:
    Timer(std::uint32_t window_id, std::uint32_t unit_id, std::int32_t interval);
    ~Timer() override;

    static std::shared_ptr<base::Component> Create(const base::CreateContext& ctx);
    bool SetProperty(int index, const base::PropertyValue& value) override;

    std::int32_t interval() const { return interval_; }
    bool running() const { return running_; }

    static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM wp, LPARAM lp);

private:
    void Tick();
    void Stop();

    std::int32_t interval_;
    bool running_ = false;
};

extern const base::ComponentModule kTimerModule;

}  // namespace widgets
