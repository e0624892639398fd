#include "web/web_panel.h"

namespace web {
namespace {

constexpr char kClass[] = "SoundBoardWebHost";

void Connect(shell::ServiceFn) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = kClass;
    RegisterClassExA(&wc);
}

}  // namespace

const shell::ComponentModule kWebPanelModule{shell::Kind::HtmlViewer, Connect, WebPanel::Create, nullptr};

std::shared_ptr<shell::Component> WebPanel::Create(const shell::CreateContext& ctx) {
    auto props = ParseHtmlViewerBlock(ctx.unit.def->block);
    if (!props) return nullptr;
    auto p = std::make_shared<WebPanel>(ctx.window_id, ctx.unit.def->id, std::move(*props));
    p->hwnd_ = CreateWindowExA(0, kClass, "", shell::ChildStyle(ctx.unit) | WS_CLIPCHILDREN, ctx.unit.left,
                               ctx.unit.top, ctx.unit.width, ctx.unit.height, ctx.parent,
                               reinterpret_cast<HMENU>(static_cast<UINT_PTR>(ctx.unit.def->id)),
                               GetModuleHandleA(nullptr), nullptr);
    if (!p->hwnd_) return nullptr;
    return p;
}

bool WebPanel::SetProperty(int index, const shell::PropertyValue& value) {
    const auto* n = std::get_if<std::int32_t>(&value);
    const auto* text = std::get_if<std::string>(&value);
    switch (index) {
        case 8: if (!n) return false; props_.text_size = ClampTextSize(*n); return true;
        case 9: if (!n) return false; props_.offline = *n != 0; return true;
        case 10: if (!n) return false; props_.silent = *n != 0; return true;
        case 11: if (!text) return false; props_.url = *text; return true;
        default: return false;
    }
}

}  // namespace web
