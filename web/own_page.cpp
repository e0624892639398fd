#include "web/own_page.h"

#include <windows.h>

#include <vector>

#include "base/failure_win.h"
#include "base/text_win.h"
#include "web/page_address.h"

namespace web {
namespace {

// The 8.3 form, when the volume keeps one that differs from the path.
std::optional<std::wstring> ShortForm(const std::wstring& path) {
    const DWORD need = GetShortPathNameW(path.c_str(), nullptr, 0);
    if (need == 0) {
        base::ReportWin32Failure("GetShortPathNameW");
        return std::nullopt;
    }
    std::vector<wchar_t> out(need);
    const DWORD n = GetShortPathNameW(path.c_str(), out.data(), need);
    if (n == 0 || n >= need) return std::nullopt;
    std::wstring short_form(out.data(), n);
    if (short_form == path) return std::nullopt;
    return short_form;
}

}  // namespace

std::optional<std::string> PageAddressOf(std::wstring_view module_path) {
    const std::wstring path(module_path);
    ModulePathForms forms;
    forms.full = base::GbkFromWideExact(path);
    if (const auto short_form = ShortForm(path)) forms.short_form = base::GbkFromWideExact(*short_form);
    const auto slash = path.find_last_of(L"\\/");
    forms.name = base::GbkFromWideExact(slash == std::wstring::npos ? path : path.substr(slash + 1));
    return PageAddressFor(forms);
}

std::optional<std::string> OwnPageAddress() {
    // Grows past MAX_PATH: a path is cut only when the buffer was too small.
    std::vector<wchar_t> path(MAX_PATH);
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()));
        if (n == 0) return std::nullopt;
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        if (path.size() >= 32768) return std::nullopt;
        path.resize(path.size() * 2);
    }
    return PageAddressOf(std::wstring_view(path.data(), path.size()));
}

}  // namespace web
