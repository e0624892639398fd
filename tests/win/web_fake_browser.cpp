#include "tests/win/web_fake_browser.h"

#include <cwchar>

namespace webtest {
namespace {

std::wstring Quoted(BSTR s) {
    if (!s) return L"null";
    return L"\"" + std::wstring(s, SysStringLen(s)) + L"\"";
}

std::wstring Hex(unsigned long v) {
    wchar_t buf[16];
    std::swprintf(buf, 16, L"%lX", v);
    return buf;
}

}  // namespace

std::wstring Describe(const VARIANT* v) {
    if (!v) return L"null";
    switch (V_VT(v)) {
        case VT_EMPTY: return L"EMPTY";
        case VT_I4: return L"I4:" + std::to_wstring(V_I4(v));
        case VT_BSTR: return L"BSTR:" + Quoted(V_BSTR(v));
        default: return L"VT" + Hex(V_VT(v));
    }
}

std::vector<std::wstring> FakeBrowser::CallsTo(const std::wstring& name) const {
    std::vector<std::wstring> out;
    for (const auto& c : calls)
        if (c.compare(0, name.size(), name) == 0) out.push_back(c);
    return out;
}

HRESULT FakeBrowser::QueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_IWebBrowser || iid == IID_IWebBrowserApp ||
        iid == IID_IWebBrowser2)
        *out = static_cast<IWebBrowser2*>(this);
    else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceActiveObject)
        *out = static_cast<IOleInPlaceActiveObject*>(this);
    else {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

HRESULT FakeBrowser::Refuse(const wchar_t* name) {
    calls.push_back(std::wstring(name) + L"(...)");
    return E_NOTIMPL;
}

HRESULT FakeBrowser::Flag(const wchar_t* name, VARIANT_BOOL on) {
    calls.push_back(std::wstring(name) + (on == VARIANT_TRUE ? L"(true)" : on == VARIANT_FALSE ? L"(false)" : L"(?)"));
    return S_OK;
}

HRESULT FakeBrowser::Navigate(BSTR url, VARIANT* flags, VARIANT* target, VARIANT* post, VARIANT* headers) {
    calls.push_back(L"Navigate(" + Quoted(url) + L", flags=" + Describe(flags) + L", target=" + Describe(target) +
                    L", post=" + Describe(post) + L", headers=" + Describe(headers) + L")");
    return S_OK;
}

HRESULT FakeBrowser::ExecWB(OLECMDID cmd, OLECMDEXECOPT option, VARIANT* in, VARIANT* out) {
    calls.push_back(L"ExecWB(" + std::to_wstring(int(cmd)) + L", " + std::to_wstring(int(option)) + L", " +
                    Describe(in) + L", " + (out ? L"out" : L"null") + L")");
    return S_OK;
}

HRESULT FakeBrowser::get_StatusText(BSTR* out) {
    calls.push_back(L"get_StatusText()");
    *out = SysAllocString(status_text.c_str());
    return S_OK;
}

HRESULT FakeBrowser::get_LocationName(BSTR* out) {
    calls.push_back(L"get_LocationName()");
    *out = SysAllocString(title.c_str());
    return S_OK;
}

HRESULT FakeBrowser::TranslateAccelerator(MSG* msg) {
    calls.push_back(L"TranslateAccelerator(" + Hex(msg->message) + L", " + Hex(ULONG(msg->wParam)) + L")");
    return takes_keys.count(msg->wParam) ? S_OK : S_FALSE;
}

}  // namespace webtest
