#pragma once
// The program's 8-bit text is GBK: code page 936, named here once, used
// wherever 8-bit text meets a wide API whatever the system's ANSI code page.
namespace base {
inline constexpr unsigned kTextCodePage = 936;
}
