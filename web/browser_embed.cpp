#include "web/browser_embed.h"

#include "web/browser_site.h"

namespace web {
namespace {

RECT ClientOf(HWND host) {
    RECT r{};
    GetClientRect(host, &r);
    return r;
}

// Undoes a half-made embedding: the control lets go of the site it was given.
void Discard(const ComPtr<IOleObject>& ole) {
    ole->Close(OLECLOSE_NOSAVE);
    ole->SetClientSite(nullptr);
}

}  // namespace

ComPtr<IWebBrowser2> EmbedBrowser(HWND host, REFCLSID clsid) {
    if (!IsWindow(host)) return nullptr;
    ComPtr<IOleObject> ole;
    if (FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject, ole.put_void()))) return nullptr;
    ComPtr<IWebBrowser2> browser = ole.As<IWebBrowser2>();
    if (!browser) return nullptr;  // not activated yet: releasing is all it takes

    const ComPtr<BrowserSite> site = BrowserSite::Make(host);
    IOleClientSite* client = site.get();
    if (FAILED(ole->SetClientSite(client))) {
        Discard(ole);
        return nullptr;
    }
    RECT area = ClientOf(host);
    if (FAILED(ole->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, client, 0, host, &area))) {
        Discard(ole);
        return nullptr;
    }
    HWND window = BrowserWindow(browser.get());
    if (window) {
        SetWindowLongPtrA(window, GWLP_ID, kBrowserControlId);
        if (!IsWindowVisible(window)) ShowWindow(window, SW_SHOWNA);
    }
    FitBrowser(browser.get(), host);
    return browser;
}

void CloseBrowser(ComPtr<IWebBrowser2>& browser) {
    if (!browser) return;
    if (const auto ole = browser.As<IOleObject>()) Discard(ole);
    browser.reset();
}

HWND BrowserWindow(IUnknown* browser) {
    if (!browser) return nullptr;
    const auto in_place = ComPtr<IUnknown>(browser).As<IOleInPlaceObject>();
    HWND h = nullptr;
    if (!in_place || FAILED(in_place->GetWindow(&h))) return nullptr;
    return h;
}

void FitBrowser(IUnknown* browser, HWND host) {
    if (!browser) return;
    const auto in_place = ComPtr<IUnknown>(browser).As<IOleInPlaceObject>();
    if (!in_place) return;
    const RECT area = ClientOf(host);
    in_place->SetObjectRects(&area, &area);
}

}  // namespace web
