#pragma once
// The one page the web panel opens: the HTML resource "00.html" of the
// program's own file, through the browser control's res: protocol, so it
// needs no server and no network and follows the exe wherever it is.
#include <optional>
#include <string>
#include <string_view>

namespace web {

inline constexpr char kPageName[] = "00.html";

// res://<module path>/00.html, the path as given (8-bit text, spaces and
// Chinese characters kept). The characters the protocol would take for an
// escape, a query or a fragment are escaped.
std::string ResourcePageAddress(std::string_view module_path);

// The program's own path in the forms the address can be made from, each as
// GBK text, or nullopt where GBK cannot hold it (or the volume has no short
// form).
struct ModulePathForms {
    std::optional<std::string> full;
    std::optional<std::string> short_form;  // the 8.3 form
    std::optional<std::string> name;        // the file name alone
};

// The first of the full path, its short form and the bare file name (which
// the protocol looks for in the program's own folder) that GBK holds and the
// address carries as it is; failing that, the first GBK holds, escaped;
// nullopt when GBK holds none.
std::optional<std::string> PageAddressFor(const ModulePathForms& forms);

}  // namespace web
