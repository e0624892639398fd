#pragma once
// The program's 8-bit text is GBK whatever the system's ANSI code page.
#include <string>
#include <string_view>

namespace shell {

std::wstring WideFromGbk(std::string_view gbk);
std::string GbkFromWide(std::wstring_view wide);

}  // namespace shell
