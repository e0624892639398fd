#pragma once
// The page address of the running program's own file.
#include <optional>
#include <string>
#include <string_view>

namespace web {

// The address made from the file at `module_path` (long form, UTF-16): the
// path itself, its short form or its bare name, as PageAddressFor chooses.
std::optional<std::string> PageAddressOf(std::wstring_view module_path);

// The same for the running program. nullopt when its path cannot be read
// whole, or not even its file name has a GBK form: the panel then stays
// blank rather than open a wrong address.
std::optional<std::string> OwnPageAddress();

}  // namespace web
