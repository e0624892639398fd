#pragma once
// The one page the web panel opens: the HTML resource "00.html" of the
// program's own file, through the browser control's res: protocol, so it
// needs no server and no network and follows the exe wherever it is.
#include <string>
#include <string_view>

namespace web {

inline constexpr char kPageName[] = "00.html";

// res://<module path>/00.html, the path as given (8-bit text, spaces and
// Chinese characters kept). The characters the protocol would take for an
// escape, a query or a fragment are escaped.
std::string ResourcePageAddress(std::string_view module_path);

}  // namespace web
