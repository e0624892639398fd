#include "web/page_address.h"

namespace web {

std::string ResourcePageAddress(std::string_view module_path) {
    std::string address = "res://";
    address.reserve(address.size() + module_path.size() + sizeof kPageName + 8);
    // GBK trail bytes start at 0x40, so no character of a Chinese name is
    // mistaken for one of these.
    for (const char c : module_path) {
        switch (c) {
            case '%': address += "%25"; break;
            case '#': address += "%23"; break;
            case '?': address += "%3F"; break;
            default: address += c;
        }
    }
    address += '/';
    address += kPageName;
    return address;
}

}  // namespace web
