#include "base/text_win.h"

#include <windows.h>

#include "base/text.h"

namespace shell {

namespace {
constexpr UINT kGbk = kTextCodePage;
}

std::wstring WideFromGbk(std::string_view gbk) {
    if (gbk.empty()) return {};
    const int n = MultiByteToWideChar(kGbk, 0, gbk.data(), int(gbk.size()), nullptr, 0);
    if (n <= 0) return {};
    std::wstring out(std::size_t(n), L'\0');
    MultiByteToWideChar(kGbk, 0, gbk.data(), int(gbk.size()), out.data(), n);
    return out;
}

std::string GbkFromWide(std::wstring_view wide) {
    if (wide.empty()) return {};
    const int n = WideCharToMultiByte(kGbk, 0, wide.data(), int(wide.size()), nullptr, 0, nullptr, nullptr);
    if (n <= 0) return {};
    std::string out(std::size_t(n), '\0');
    WideCharToMultiByte(kGbk, 0, wide.data(), int(wide.size()), out.data(), n, nullptr, nullptr);
    return out;
}

std::optional<std::string> GbkFromWideExact(std::wstring_view wide) {
    if (wide.empty()) return std::string();
    BOOL lossy = FALSE;
    const int n = WideCharToMultiByte(kGbk, WC_NO_BEST_FIT_CHARS, wide.data(), int(wide.size()), nullptr, 0, nullptr,
                                      &lossy);
    if (n <= 0 || lossy) return std::nullopt;
    std::string out(std::size_t(n), '\0');
    WideCharToMultiByte(kGbk, WC_NO_BEST_FIT_CHARS, wide.data(), int(wide.size()), out.data(), n, nullptr, &lossy);
    if (lossy) return std::nullopt;
    return out;
}

}  // namespace shell
