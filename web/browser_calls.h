#pragma once
// The web panel's calls into IWebBrowser2, with the argument shapes the
// control expects. 8-bit text is GBK; it becomes UTF-16 only here.
#include <ole2.h>
#include <oaidl.h>
#include <ocidl.h>
#include <exdisp.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace web {

HRESULT ApplyOffline(IWebBrowser2& browser, bool offline);
HRESULT ApplySilent(IWebBrowser2& browser, bool silent);
// The text size (0 smallest to 4 largest) as the zoom command, without a prompt.
HRESULT ApplyTextSize(IWebBrowser2& browser, std::int32_t size);
// Starts loading `address`: flags 0, no target frame, no post data, no extra
// headers. Returns at once; the control loads in the background.
HRESULT NavigateTo(IWebBrowser2& browser, std::string_view address);

// The control's status bar text and the page title; empty when it has none.
std::string StatusTextOf(IWebBrowser2& browser);
std::string TitleOf(IWebBrowser2& browser);

}  // namespace web
