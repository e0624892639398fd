#include "web/web_panel.h"

#include <oleidl.h>

#include "base/window_class.h"
#include "web/browser_calls.h"

namespace web {
namespace {

constexpr char kClass[] = "SoundBoardWebHost";

void Connect(base::ServiceFn) {
    base::RegisterWindowClass(kClass, {.proc = &WebPanel::HostProc,
                                        .background = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH))});
}

WebPanel* FromHost(HWND h) { return reinterpret_cast<WebPanel*>(GetWindowLongPtrW(h, GWLP_USERDATA)); }

}  // namespace

const base::ComponentModule kWebPanelModule{base::Kind::HtmlViewer, Connect, WebPanel::Create, nullptr};

WebPanel::WebPanel(std::uint32_t window_id, std::uint32_t unit_id, HtmlViewerProps props)
    : Component(window_id, unit_id), props_(std::move(props)) {}

WebPanel::~WebPanel() {
    if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);  // releases the control on the way
    ReleaseBrowser();
}

std::shared_ptr<base::Component> WebPanel::Create(const base::CreateContext& ctx) {
    return CreateWith(ctx, [](HWND host) { return EmbedBrowser(host); });
}

std::shared_ptr<WebPanel> WebPanel::CreateWith(const base::CreateContext& ctx, const BrowserFactory& make) {
    auto props = ParseHtmlViewerBlock(ctx.unit.def->block);
    if (!props) return nullptr;
    auto p = std::make_shared<WebPanel>(ctx.window_id, ctx.unit.def->id, std::move(*props));
    HWND host = CreateWindowExA(0, kClass, "", base::ChildStyle(ctx.unit) | WS_CLIPCHILDREN, ctx.unit.left,
                                ctx.unit.top, ctx.unit.width, ctx.unit.height, ctx.parent,
                                reinterpret_cast<HMENU>(static_cast<UINT_PTR>(ctx.unit.def->id)),
                                GetModuleHandleA(nullptr), p.get());
    if (!host) return nullptr;

    p->browser_ = make ? make(host) : nullptr;
    if (!p->browser_) {
        // No browser, no panel: the board goes on without it.
        DestroyWindow(host);
        return nullptr;
    }
    p->key_hook_.reset(SetWindowsHookExA(WH_GETMESSAGE, &KeyHookProc, nullptr, GetCurrentThreadId()));
    p->ApplyAll();
    return p;
}

void WebPanel::ApplyAll() {
    // Results are not observed: a setting the control refuses leaves it as it was.
    ApplyOffline(*browser_, props_.offline);
    ApplySilent(*browser_, props_.silent);
    ApplyTextSize(*browser_, props_.text_size);
    if (!props_.url.empty()) NavigateTo(*browser_, props_.url);
}

void WebPanel::ReleaseBrowser() {
    key_hook_.reset();
    CloseBrowser(browser_);
}

bool WebPanel::SetProperty(int index, const base::PropertyValue& value) {
    const auto* n = std::get_if<std::int32_t>(&value);
    const auto* text = std::get_if<std::string>(&value);
    switch (index) {
        case kPropTextSize:
            if (!n) return false;
            props_.text_size = ClampTextSize(*n);
            if (browser_) ApplyTextSize(*browser_, props_.text_size);
            return true;
        case kPropOffline:
            if (!n) return false;
            props_.offline = *n != 0;
            if (browser_) ApplyOffline(*browser_, props_.offline);
            return true;
        case kPropSilent:
            if (!n) return false;
            props_.silent = *n != 0;
            if (browser_) ApplySilent(*browser_, props_.silent);
            return true;
        case kPropUrl:
            if (!text) return false;
            props_.url = *text;
            if (browser_) NavigateTo(*browser_, props_.url);  // returns at once; loading goes on inside
            return true;
        case kPropPreview:
            return n != nullptr;  // a designer's switch: accepted, nothing to do at run time
        default:
            return false;  // status text and caption are read-only
    }
}

std::optional<base::PropertyValue> WebPanel::GetProperty(int index) const {
    switch (index) {
        case kPropTextSize: return props_.text_size;
        case kPropOffline: return std::int32_t{props_.offline};
        case kPropSilent: return std::int32_t{props_.silent};
        case kPropUrl: return props_.url;
        case kPropStatusText: return browser_ ? StatusTextOf(*browser_) : std::string();
        case kPropCaption: return browser_ ? TitleOf(*browser_) : std::string();
        case kPropPreview: return std::int32_t{0};
        default: return std::nullopt;
    }
}

bool WebPanel::TranslateBrowserKey(const MSG& msg) {
    if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST || !msg.hwnd) return false;
    // Only keys for a window inside a host, that is, the control has the focus.
    HWND w = msg.hwnd;
    while (GetWindowLongA(w, GWL_STYLE) & WS_CHILD) {
        HWND parent = GetParent(w);
        if (!parent) return false;
        if (reinterpret_cast<WNDPROC>(GetWindowLongPtrA(parent, GWLP_WNDPROC)) == &HostProc) {
            const WebPanel* p = FromHost(parent);
            if (!p || !p->browser_) return false;
            const auto active = p->browser_.As<IOleInPlaceActiveObject>();
            MSG copy = msg;
            return active && active->TranslateAccelerator(&copy) == S_OK;
        }
        w = parent;
    }
    return false;
}

LRESULT CALLBACK WebPanel::KeyHookProc(int code, WPARAM wp, LPARAM lp) {
    // Runs inside every PeekMessage of this thread, before the shell's loop
    // sees the message: a key the control takes is turned into WM_NULL.
    if (code == HC_ACTION && wp == PM_REMOVE) {
        auto* msg = reinterpret_cast<MSG*>(lp);
        if (TranslateBrowserKey(*msg)) msg->message = WM_NULL;
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}

LRESULT CALLBACK WebPanel::HostProc(HWND h, UINT m, WPARAM wp, LPARAM lp) {
    WebPanel* p = base::AttachedObject<WebPanel>(h, m, lp);
    if (p && m == WM_NCCREATE) p->hwnd_ = h;
    if (p) {
        switch (m) {
            case WM_SIZE:
                FitBrowser(p->browser_.get(), h);
                break;
            case WM_SETFOCUS:
                // The panel is a tab stop; the focus belongs to the control inside.
                if (HWND inner = BrowserWindow(p->browser_.get())) SetFocus(inner);
                return 0;
            case WM_DESTROY:
                p->ReleaseBrowser();
                break;
            case WM_NCDESTROY:
                base::DetachObject(h);
                p->hwnd_ = nullptr;
                break;
            default:
                break;
        }
    }
    return DefWindowProcA(h, m, wp, lp);
}

}  // namespace web
