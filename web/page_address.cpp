#include "web/page_address.h"

#include <algorithm>

namespace web {
namespace {

// Control characters, and those the protocol reads as an escape, a query or
// a fragment. GBK trail bytes start at 0x40, so no character of a Chinese
// name is mistaken for one of these.
bool Unsafe(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u < 0x20 || u == 0x7F || c == '%' || c == '#' || c == '?';
}

bool CarriedAsItIs(std::string_view path) { return std::none_of(path.begin(), path.end(), Unsafe); }

}  // namespace

std::string ResourcePageAddress(std::string_view module_path) {
    std::string address = "res://";
    address.reserve(address.size() + module_path.size() + sizeof kPageName + 8);
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

std::optional<std::string> PageAddressFor(const ModulePathForms& forms) {
    const std::optional<std::string>* in_order[] = {&forms.full, &forms.short_form, &forms.name};
    for (const auto* form : in_order)
        if (*form && !(*form)->empty() && CarriedAsItIs(**form)) return ResourcePageAddress(**form);
    for (const auto* form : in_order)
        if (*form && !(*form)->empty()) return ResourcePageAddress(**form);
    return std::nullopt;
}

}  // namespace web
