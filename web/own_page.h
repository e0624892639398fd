#pragma once
// The page address of the running program's own file.
#include <optional>
#include <string>

namespace web {

// nullopt when the module path cannot be read whole or has a character
// that 8-bit text cannot hold: the panel then stays blank rather than
// open a wrong address.
std::optional<std::string> OwnPageAddress();

}  // namespace web
