#include "web/browser_calls.h"

#include <utility>

#include "base/owners.h"
#include "base/text_win.h"

namespace web {
namespace {

// An owned BSTR made from text, read back as GBK.
class Bstr : public base::OwnedBstr {
public:
    Bstr() = default;
    explicit Bstr(std::wstring_view text) : base::OwnedBstr(SysAllocStringLen(text.data(), UINT(text.size()))) {}
    std::string Gbk() const { return get() ? base::GbkFromWide({get(), SysStringLen(get())}) : std::string(); }
};

// A variant that holds nothing or a borrowed value; never owns.
VARIANT Empty() {
    VARIANT v;
    VariantInit(&v);
    return v;
}

VARIANT Int(std::int32_t n) {
    VARIANT v = Empty();
    V_VT(&v) = VT_I4;
    V_I4(&v) = n;
    return v;
}

VARIANT Text(const Bstr& s) {
    VARIANT v = Empty();
    V_VT(&v) = VT_BSTR;
    V_BSTR(&v) = s.get();
    return v;
}

VARIANT_BOOL Flag(bool on) { return on ? VARIANT_TRUE : VARIANT_FALSE; }

}  // namespace

HRESULT ApplyOffline(IWebBrowser2& browser, bool offline) { return browser.put_Offline(Flag(offline)); }

HRESULT ApplySilent(IWebBrowser2& browser, bool silent) { return browser.put_Silent(Flag(silent)); }

HRESULT ApplyTextSize(IWebBrowser2& browser, std::int32_t size) {
    VARIANT in = Int(size);
    return browser.ExecWB(OLECMDID_ZOOM, OLECMDEXECOPT_DONTPROMPTUSER, &in, nullptr);
}

HRESULT NavigateTo(IWebBrowser2& browser, std::string_view address) {
    const Bstr url(base::WideFromGbk(address));
    const Bstr none(L"");
    VARIANT flags = Int(0), target = Text(none), post_data = Empty(), headers = Text(none);
    return browser.Navigate(url.get(), &flags, &target, &post_data, &headers);
}

std::string StatusTextOf(IWebBrowser2& browser) {
    Bstr text;
    if (FAILED(browser.get_StatusText(text.put()))) return {};
    return text.Gbk();
}

std::string TitleOf(IWebBrowser2& browser) {
    Bstr text;
    if (FAILED(browser.get_LocationName(text.put()))) return {};
    return text.Gbk();
}

}  // namespace web
