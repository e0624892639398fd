#pragma once
#include <optional>
#include <string>

#include "base/component_module.h"
#include "widgets/gdi.h"
#include "widgets/label_props.h"

namespace widgets {

inline constexpr wchar_t kTransLabelClass[] = L"SoundBoardTransLabel";

// The title label: draws only the glyphs of its caption, so whatever lies
// beneath it shows through; it repaints what lies beneath when it moves or
// a property changes.
class TransLabel final : public base::Component {
public:
    TransLabel(std::uint32_t window_id, std::uint32_t unit_id, LabelProps props);
    ~TransLabel() override;

    static std::shared_ptr<base::Component> Create(const base::CreateContext& ctx);
    bool SetProperty(int index, const base::PropertyValue& value) override;
    std::optional<base::PropertyValue> GetProperty(int index) const;
    const LabelProps& props() const { return props_; }

    static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM wp, LPARAM lp);

private:
    void Paint(HDC dc);
    void RepaintBeneath();

    LabelProps props_;
    std::wstring caption_;  // the caption as drawn, converted once per write
    OwnedFont font_;        // from property 10; empty: the default GUI font
    bool created_ = false;  // creation's own first placement is not a move
};

extern const base::ComponentModule kTransLabelModule;

}  // namespace widgets
