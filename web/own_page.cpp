#include "web/own_page.h"

#include <windows.h>

#include <vector>

#include "base/text_win.h"
#include "web/page_address.h"

namespace web {

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
    const auto gbk = shell::GbkFromWideExact(std::wstring_view(path.data(), path.size()));
    if (!gbk) return std::nullopt;
    return ResourcePageAddress(*gbk);
}

}  // namespace web
