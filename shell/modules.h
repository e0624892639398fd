#pragma once
// The component modules the shell connects at start-up, one per kind.
#include <span>

#include "base/component_module.h"

namespace shell {

std::span<const base::ComponentModule> ComponentModules();

}  // namespace shell
