#pragma once
// The one page the web panel opens.
namespace web {
inline constexpr char kPageAddress[] = "http://127.0.0.1:8000/00.html";
}
