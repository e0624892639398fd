#include "base/fatal_text.h"

namespace base {

std::string FatalText(std::string_view message, int code) {
    std::string text = "运行时出错!\r\n\r\n";
    if (code != 0) {
        text += "错误代码：";
        text += std::to_string(code);
        text += "\r\n\r\n";
    }
    if (!message.empty()) {
        text += "错误信息：";
        text += message;
        text += "\r\n";
    }
    return text;
}

std::string AllocFailedMessage(std::size_t bytes) {
    return "分配 " + std::to_string(bytes) + " 字节内存失败!";
}

std::string MissingEntryMessage(std::string_view library, std::string_view entry) {
    std::string text = "无法找到指定DLL库文件";
    if (!library.empty()) {
        text += "“";
        text += library;
        text += "”";
    }
    text += "中的输出命令“";
    text += entry;
    text += "”";
    return text;
}

}  // namespace base
