#pragma once
// The web panel: a host window at its place on the board with the system
// web-browser control inside it, and the panel's properties 8 to 14.
#include <functional>
#include <memory>
#include <optional>
#include <type_traits>

#include "base/component_module.h"
#include "web/browser_embed.h"
#include "web/html_props.h"

namespace web {

// Property indexes of the web panel kind.
enum HtmlViewerProperty : int {
    kPropTextSize = 8,
    kPropOffline = 9,
    kPropSilent = 10,
    kPropUrl = 11,
    kPropStatusText = 12,  // read-only, from the control
    kPropCaption = 13,     // read-only, the page title
    kPropPreview = 14,     // design-time only
};

class WebPanel final : public base::Component {
public:
    // Makes the browser control inside the host window; null when it cannot.
    using BrowserFactory = std::function<ComPtr<IWebBrowser2>(HWND host)>;

    WebPanel(std::uint32_t window_id, std::uint32_t unit_id, HtmlViewerProps props);
    ~WebPanel() override;

    // The module's create: the system control. Null when the host or the
    // control cannot be made; no host window is left behind then.
    static std::shared_ptr<base::Component> Create(const base::CreateContext& ctx);
    // The same with the control made by `make` (tests give a stand-in).
    static std::shared_ptr<WebPanel> CreateWith(const base::CreateContext& ctx, const BrowserFactory& make);

    bool SetProperty(int index, const base::PropertyValue& value) override;
    // Properties 8 to 14 as a program reads them; nullopt for other indexes.
    std::optional<base::PropertyValue> GetProperty(int index) const;

    const HtmlViewerProps& props() const { return props_; }
    // Null once the host window is gone.
    IWebBrowser2* browser() const { return browser_.get(); }

    // The host window's procedure (its class is registered by the module).
    static LRESULT CALLBACK HostProc(HWND h, UINT m, WPARAM wp, LPARAM lp);

private:
    using Hook = base::OwnedHook;

    // Offers a key message aimed inside a panel's browser to the control's
    // own accelerators; true when the control used it.
    static bool TranslateBrowserKey(const MSG& msg);
    static LRESULT CALLBACK KeyHookProc(int code, WPARAM wp, LPARAM lp);
    void ApplyAll();
    void ReleaseBrowser();

    HtmlViewerProps props_;
    ComPtr<IWebBrowser2> browser_;
    Hook key_hook_;
};

extern const base::ComponentModule kWebPanelModule;

}  // namespace web
