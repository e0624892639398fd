#include "widgets/trans_label.h"

#include "shell/text_win.h"

namespace widgets {

const shell::ComponentModule kTransLabelModule{shell::Kind::TransLabel, nullptr, TransLabel::Create, nullptr};

std::shared_ptr<shell::Component> TransLabel::Create(const shell::CreateContext& ctx) {
    auto props = ParseLabelBlock(ctx.unit.def->block);
    if (!props) return nullptr;
    auto l = std::make_shared<TransLabel>(ctx.window_id, ctx.unit.def->id, std::move(*props));
    const std::wstring caption = shell::WideFromGbk(l->props_.caption);
    l->hwnd_ = CreateWindowExW(0, L"STATIC", caption.c_str(), shell::ChildStyle(ctx.unit) | SS_LEFT | SS_NOPREFIX,
                               ctx.unit.left, ctx.unit.top, ctx.unit.width, ctx.unit.height, ctx.parent,
                               reinterpret_cast<HMENU>(static_cast<UINT_PTR>(ctx.unit.def->id)),
                               GetModuleHandleA(nullptr), nullptr);
    if (!l->hwnd_) return nullptr;
    SendMessageW(l->hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return l;
}

bool TransLabel::SetProperty(int index, const shell::PropertyValue& value) {
    const auto* n = std::get_if<std::int32_t>(&value);
    switch (index) {
        case 9: if (!n) return false; props_.effect = ClampEffect(*n); break;
        case 11: if (!n) return false; props_.colour = std::uint32_t(*n); break;
        case 12: if (!n) return false; props_.h_align = ClampAlign(*n); break;
        case 13: if (!n) return false; props_.word_wrap = *n != 0; break;
        case 14: if (!n) return false; props_.v_align = ClampAlign(*n); break;
        default: return false;
    }
    InvalidateRect(hwnd_, nullptr, TRUE);
    return true;
}

}  // namespace widgets
