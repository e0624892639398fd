#pragma once
// Texts of the fatal-error box, in the program's 8-bit (GBK) encoding.
#include <cstddef>
#include <string>
#include <string_view>

namespace base {

inline constexpr char kFatalTitle[] = "错误";
inline constexpr char kStartWindowFailed[] = "载入启动窗口失败";
inline constexpr char kDefinitionsFailed[] = "载入窗口模板数据段出错!";
inline constexpr char kNotLoaded[] = "指定窗口或窗口组件不存在或尚未载入";
inline constexpr char kUnknownWindow[] = "未载入欲访问窗口组件所在的窗口";
inline constexpr char kWindowNotLoaded[] = "指定窗口尚未载入";
inline constexpr char kStackMismatch[] = "调用DLL命令后发现堆栈错误";

// "运行时出错!" then the code (when not 0) and the message (when not empty),
// each block closed by its CR LF pairs.
std::string FatalText(std::string_view message, int code);

std::string AllocFailedMessage(std::size_t bytes);
std::string MissingEntryMessage(std::string_view library, std::string_view entry);

}  // namespace base
