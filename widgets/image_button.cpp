#include "widgets/image_button.h"

#include "shell/text_win.h"

namespace widgets {
namespace {

shell::ServiceFn g_service = nullptr;
void Connect(shell::ServiceFn service) { g_service = service; }

}  // namespace

const shell::ComponentModule kImageButtonModule{shell::Kind::SuperBtn, Connect, ImageButton::Create, nullptr};

std::shared_ptr<shell::Component> ImageButton::Create(const shell::CreateContext& ctx) {
    auto props = ParseButtonBlock(ctx.unit.def->block);
    if (!props) return nullptr;
    auto b = std::make_shared<ImageButton>(ctx.window_id, ctx.unit.def->id, std::move(*props));
    const std::wstring caption = shell::WideFromGbk(b->props_.caption);
    b->hwnd_ = CreateWindowExW(0, L"BUTTON", caption.c_str(), shell::ChildStyle(ctx.unit) | BS_PUSHBUTTON | BS_NOTIFY,
                               ctx.unit.left, ctx.unit.top, ctx.unit.width, ctx.unit.height, ctx.parent,
                               reinterpret_cast<HMENU>(static_cast<UINT_PTR>(ctx.unit.def->id)),
                               GetModuleHandleA(nullptr), nullptr);
    if (!b->hwnd_) return nullptr;
    SendMessageW(b->hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return b;
}

bool ImageButton::SetProperty(int index, const shell::PropertyValue& value) {
    if (index != 22) return false;
    const auto* text = std::get_if<std::string>(&value);
    if (!text) return false;
    props_.caption = *text;
    SetWindowTextW(hwnd_, shell::WideFromGbk(*text).c_str());
    return true;
}

void ImageButton::OnParentCommand(WORD code) {
    if (code == BN_CLICKED) shell::RaiseEvent(g_service, window_id_, unit_id_, 0);
}

}  // namespace widgets
