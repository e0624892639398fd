#pragma once
// A stand-in for the browser control's IWebBrowser2 that writes down every
// call the web panel makes, with its arguments, as one line of text each.
#include <ole2.h>
#include <oaidl.h>
#include <ocidl.h>
#include <exdisp.h>
#include <oleidl.h>

#include <set>
#include <string>
#include <vector>

namespace webtest {

class FakeBrowser final : public IWebBrowser2, public IOleInPlaceActiveObject {
public:
    // One line per call, for instance
    //   Navigate(L"http://x/00.html", flags=I4:0, target=BSTR:"", post=EMPTY, headers=BSTR:"")
    std::vector<std::wstring> calls;
    // Virtual keys that the control's accelerators take (S_OK).
    std::set<WPARAM> takes_keys;
    // Texts the control reports for the status bar and the page title.
    std::wstring status_text = L"状态", title = L"标题";

    ULONG refs() const { return refs_; }
    // The calls whose line starts with `name`.
    std::vector<std::wstring> CallsTo(const std::wstring& name) const;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs_; }  // the test owns the object

    // IDispatch
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        return E_NOTIMPL;
    }

    // IWebBrowser: what the panel uses is recorded, the rest is refused.
    HRESULT STDMETHODCALLTYPE GoBack() override { return Refuse(L"GoBack"); }
    HRESULT STDMETHODCALLTYPE GoForward() override { return Refuse(L"GoForward"); }
    HRESULT STDMETHODCALLTYPE GoHome() override { return Refuse(L"GoHome"); }
    HRESULT STDMETHODCALLTYPE GoSearch() override { return Refuse(L"GoSearch"); }
    HRESULT STDMETHODCALLTYPE Navigate(BSTR url, VARIANT* flags, VARIANT* target, VARIANT* post,
                                       VARIANT* headers) override;
    HRESULT STDMETHODCALLTYPE Refresh() override { return Refuse(L"Refresh"); }
    HRESULT STDMETHODCALLTYPE Refresh2(VARIANT*) override { return Refuse(L"Refresh2"); }
    HRESULT STDMETHODCALLTYPE Stop() override { return Refuse(L"Stop"); }
    HRESULT STDMETHODCALLTYPE get_Application(IDispatch**) override { return Refuse(L"get_Application"); }
    HRESULT STDMETHODCALLTYPE get_Parent(IDispatch**) override { return Refuse(L"get_Parent"); }
    HRESULT STDMETHODCALLTYPE get_Container(IDispatch**) override { return Refuse(L"get_Container"); }
    HRESULT STDMETHODCALLTYPE get_Document(IDispatch**) override { return Refuse(L"get_Document"); }
    HRESULT STDMETHODCALLTYPE get_TopLevelContainer(VARIANT_BOOL*) override {
        return Refuse(L"get_TopLevelContainer");
    }
    HRESULT STDMETHODCALLTYPE get_Type(BSTR*) override { return Refuse(L"get_Type"); }
    HRESULT STDMETHODCALLTYPE get_Left(LONG*) override { return Refuse(L"get_Left"); }
    HRESULT STDMETHODCALLTYPE put_Left(LONG) override { return Refuse(L"put_Left"); }
    HRESULT STDMETHODCALLTYPE get_Top(LONG*) override { return Refuse(L"get_Top"); }
    HRESULT STDMETHODCALLTYPE put_Top(LONG) override { return Refuse(L"put_Top"); }
    HRESULT STDMETHODCALLTYPE get_Width(LONG*) override { return Refuse(L"get_Width"); }
    HRESULT STDMETHODCALLTYPE put_Width(LONG) override { return Refuse(L"put_Width"); }
    HRESULT STDMETHODCALLTYPE get_Height(LONG*) override { return Refuse(L"get_Height"); }
    HRESULT STDMETHODCALLTYPE put_Height(LONG) override { return Refuse(L"put_Height"); }
    HRESULT STDMETHODCALLTYPE get_LocationName(BSTR* out) override;
    HRESULT STDMETHODCALLTYPE get_LocationURL(BSTR*) override { return Refuse(L"get_LocationURL"); }
    HRESULT STDMETHODCALLTYPE get_Busy(VARIANT_BOOL*) override { return Refuse(L"get_Busy"); }

    // IWebBrowserApp
    HRESULT STDMETHODCALLTYPE Quit() override { return Refuse(L"Quit"); }
    HRESULT STDMETHODCALLTYPE ClientToWindow(int*, int*) override { return Refuse(L"ClientToWindow"); }
    HRESULT STDMETHODCALLTYPE PutProperty(BSTR, VARIANT) override { return Refuse(L"PutProperty"); }
    HRESULT STDMETHODCALLTYPE GetProperty(BSTR, VARIANT*) override { return Refuse(L"GetProperty"); }
    HRESULT STDMETHODCALLTYPE get_Name(BSTR*) override { return Refuse(L"get_Name"); }
    HRESULT STDMETHODCALLTYPE get_HWND(SHANDLE_PTR*) override { return Refuse(L"get_HWND"); }
    HRESULT STDMETHODCALLTYPE get_FullName(BSTR*) override { return Refuse(L"get_FullName"); }
    HRESULT STDMETHODCALLTYPE get_Path(BSTR*) override { return Refuse(L"get_Path"); }
    HRESULT STDMETHODCALLTYPE get_Visible(VARIANT_BOOL*) override { return Refuse(L"get_Visible"); }
    HRESULT STDMETHODCALLTYPE put_Visible(VARIANT_BOOL) override { return Refuse(L"put_Visible"); }
    HRESULT STDMETHODCALLTYPE get_StatusBar(VARIANT_BOOL*) override { return Refuse(L"get_StatusBar"); }
    HRESULT STDMETHODCALLTYPE put_StatusBar(VARIANT_BOOL) override { return Refuse(L"put_StatusBar"); }
    HRESULT STDMETHODCALLTYPE get_StatusText(BSTR* out) override;
    HRESULT STDMETHODCALLTYPE put_StatusText(BSTR) override { return Refuse(L"put_StatusText"); }
    HRESULT STDMETHODCALLTYPE get_ToolBar(int*) override { return Refuse(L"get_ToolBar"); }
    HRESULT STDMETHODCALLTYPE put_ToolBar(int) override { return Refuse(L"put_ToolBar"); }
    HRESULT STDMETHODCALLTYPE get_MenuBar(VARIANT_BOOL*) override { return Refuse(L"get_MenuBar"); }
    HRESULT STDMETHODCALLTYPE put_MenuBar(VARIANT_BOOL) override { return Refuse(L"put_MenuBar"); }
    HRESULT STDMETHODCALLTYPE get_FullScreen(VARIANT_BOOL*) override { return Refuse(L"get_FullScreen"); }
    HRESULT STDMETHODCALLTYPE put_FullScreen(VARIANT_BOOL) override { return Refuse(L"put_FullScreen"); }

    // IWebBrowser2
    HRESULT STDMETHODCALLTYPE Navigate2(VARIANT*, VARIANT*, VARIANT*, VARIANT*, VARIANT*) override {
        return Refuse(L"Navigate2");
    }
    HRESULT STDMETHODCALLTYPE QueryStatusWB(OLECMDID, OLECMDF*) override { return Refuse(L"QueryStatusWB"); }
    HRESULT STDMETHODCALLTYPE ExecWB(OLECMDID cmd, OLECMDEXECOPT option, VARIANT* in, VARIANT* out) override;
    HRESULT STDMETHODCALLTYPE ShowBrowserBar(VARIANT*, VARIANT*, VARIANT*) override {
        return Refuse(L"ShowBrowserBar");
    }
    HRESULT STDMETHODCALLTYPE get_ReadyState(READYSTATE*) override { return Refuse(L"get_ReadyState"); }
    HRESULT STDMETHODCALLTYPE get_Offline(VARIANT_BOOL*) override { return Refuse(L"get_Offline"); }
    HRESULT STDMETHODCALLTYPE put_Offline(VARIANT_BOOL on) override { return Flag(L"put_Offline", on); }
    HRESULT STDMETHODCALLTYPE get_Silent(VARIANT_BOOL*) override { return Refuse(L"get_Silent"); }
    HRESULT STDMETHODCALLTYPE put_Silent(VARIANT_BOOL on) override { return Flag(L"put_Silent", on); }
    HRESULT STDMETHODCALLTYPE get_RegisterAsBrowser(VARIANT_BOOL*) override {
        return Refuse(L"get_RegisterAsBrowser");
    }
    HRESULT STDMETHODCALLTYPE put_RegisterAsBrowser(VARIANT_BOOL) override {
        return Refuse(L"put_RegisterAsBrowser");
    }
    HRESULT STDMETHODCALLTYPE get_RegisterAsDropTarget(VARIANT_BOOL*) override {
        return Refuse(L"get_RegisterAsDropTarget");
    }
    HRESULT STDMETHODCALLTYPE put_RegisterAsDropTarget(VARIANT_BOOL) override {
        return Refuse(L"put_RegisterAsDropTarget");
    }
    HRESULT STDMETHODCALLTYPE get_TheaterMode(VARIANT_BOOL*) override { return Refuse(L"get_TheaterMode"); }
    HRESULT STDMETHODCALLTYPE put_TheaterMode(VARIANT_BOOL) override { return Refuse(L"put_TheaterMode"); }
    HRESULT STDMETHODCALLTYPE get_AddressBar(VARIANT_BOOL*) override { return Refuse(L"get_AddressBar"); }
    HRESULT STDMETHODCALLTYPE put_AddressBar(VARIANT_BOOL) override { return Refuse(L"put_AddressBar"); }
    HRESULT STDMETHODCALLTYPE get_Resizable(VARIANT_BOOL*) override { return Refuse(L"get_Resizable"); }
    HRESULT STDMETHODCALLTYPE put_Resizable(VARIANT_BOOL) override { return Refuse(L"put_Resizable"); }

    // IOleWindow, IOleInPlaceActiveObject: only the accelerators matter.
    HRESULT STDMETHODCALLTYPE GetWindow(HWND*) override { return Refuse(L"GetWindow"); }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return Refuse(L"ContextSensitiveHelp"); }
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(MSG* msg) override;
    HRESULT STDMETHODCALLTYPE OnFrameWindowActivate(BOOL) override { return Refuse(L"OnFrameWindowActivate"); }
    HRESULT STDMETHODCALLTYPE OnDocWindowActivate(BOOL) override { return Refuse(L"OnDocWindowActivate"); }
    HRESULT STDMETHODCALLTYPE ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override {
        return Refuse(L"ResizeBorder");
    }
    HRESULT STDMETHODCALLTYPE EnableModeless(BOOL) override { return Refuse(L"EnableModeless"); }

private:
    HRESULT Refuse(const wchar_t* name);
    HRESULT Flag(const wchar_t* name, VARIANT_BOOL on);

    ULONG refs_ = 1;
};

// A variant as the fake writes it down: "I4:0", "BSTR:\"\"", "EMPTY", "null".
std::wstring Describe(const VARIANT* v);

}  // namespace webtest
