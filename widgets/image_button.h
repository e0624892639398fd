#pragma once
#include <optional>
#include <string>

#include "base/component_module.h"
#include "widgets/button_look.h"
#include "widgets/button_props.h"
#include "widgets/gdi.h"

namespace widgets {

// Events of the kind. Event 0 is its own; the focus events are common to
// every kind and numbered below 0 so they never meet a kind's own numbers.
enum ButtonEvent : int { kEventClicked = 0, kEventFocusGained = -1, kEventFocusLost = -2 };

// The board's push button: a system push button switched to owner drawing,
// so the system keeps its press tracking, capture, Space key and click
// notification and only the painting and hover lighting are ours.
class ImageButton final : public base::Component {
public:
    ImageButton(std::uint32_t window_id, std::uint32_t unit_id, ButtonProps props);
    ~ImageButton() override;

    static std::shared_ptr<base::Component> Create(const base::CreateContext& ctx);
    bool SetProperty(int index, const base::PropertyValue& value) override;
    std::optional<base::PropertyValue> GetProperty(int index) const;
    void OnParentCommand(WORD code) override;

    const ButtonProps& props() const { return props_; }
    bool hovering() const { return hovering_; }

private:
    static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM wp, LPARAM lp);
    void Attach(HWND button);
    LRESULT Handle(UINT m, WPARAM wp, LPARAM lp);
    LRESULT CallSystem(UINT m, WPARAM wp, LPARAM lp);
    void Paint(HDC dc);
    void TrackHover(WPARAM keys, LPARAM at);
    void ClearHover();
    void Repaint();
    void Raise(int event);

    ButtonProps props_;
    std::wstring caption_;  // the caption as drawn, converted once per write
    OwnedFont font_;        // from property 21; empty: the default GUI font
    WNDPROC system_proc_ = nullptr;
    bool hovering_ = false;
};

extern const base::ComponentModule kImageButtonModule;

}  // namespace widgets
