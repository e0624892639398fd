#pragma once
// Embedding the system web-browser control in a window, and taking it out.
#include <ole2.h>
// exdisp.h needs these without <windows.h>'s lean-and-mean leftovers.
#include <oaidl.h>
#include <ocidl.h>
#include <exdisp.h>

#include "base/owners.h"

namespace web {

using base::ComPtr;

// The control's window number among the host's children.
inline constexpr int kBrowserControlId = 0xE900;

// Creates the control (`clsid`, the system web browser unless a test asks
// for another) inside `host`, in-place active, visible, filling the host's
// client area, its window numbered kBrowserControlId. Null, with nothing
// left behind in the host, when the control cannot be created, cannot be
// activated or does not provide IWebBrowser2.
ComPtr<IWebBrowser2> EmbedBrowser(HWND host, REFCLSID clsid = CLSID_WebBrowser);

// Deactivates the control, detaches it from its site and drops the
// reference. Works on any object: one without IOleObject is just released.
void CloseBrowser(ComPtr<IWebBrowser2>& browser);

// The control's own window (its in-place window), or null.
HWND BrowserWindow(IUnknown* browser);

// Places the control over the whole client area of `host`.
void FitBrowser(IUnknown* browser, HWND host);

}  // namespace web
