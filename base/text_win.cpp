#include "base/text_win.h"

#include <windows.h>

#include "base/text.h"

namespace base {

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

namespace {

// GBK from UTF-16; `lossy` (may be null) learns whether a character had no
// GBK form and was replaced.
std::string ToGbk(std::wstring_view wide, DWORD flags, BOOL* lossy) {
    if (wide.empty()) return {};
    const int n = WideCharToMultiByte(kGbk, flags, wide.data(), int(wide.size()), nullptr, 0, nullptr, lossy);
    if (n <= 0) return {};
    std::string out(std::size_t(n), '\0');
    WideCharToMultiByte(kGbk, flags, wide.data(), int(wide.size()), out.data(), n, nullptr, lossy);
    return out;
}

}  // namespace

std::string GbkFromWide(std::wstring_view wide) { return ToGbk(wide, 0, nullptr); }

std::optional<std::string> GbkFromWideExact(std::wstring_view wide) {
    BOOL lossy = FALSE;
    std::string out = ToGbk(wide, WC_NO_BEST_FIT_CHARS, &lossy);
    if (lossy || (out.empty() && !wide.empty())) return std::nullopt;
    return out;
}

}  // namespace base
