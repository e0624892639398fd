#pragma once
// The program's 8-bit text is GBK whatever the system's ANSI code page.
#include <optional>
#include <string>
#include <string_view>

namespace base {

std::wstring WideFromGbk(std::string_view gbk);
std::string GbkFromWide(std::wstring_view wide);
// nullopt when some character has no GBK form (rather than a stand-in).
std::optional<std::string> GbkFromWideExact(std::wstring_view wide);

}  // namespace base
