#pragma once
// The window-definition table: both windows, every unit in stored (creation)
// order, with geometry, flags, property blocks and event bindings.
#include <cstdint>
#include <span>

#include "base/unit_def.h"

namespace shell {

namespace ids {
inline constexpr std::uint32_t kStartWindow = 0x52010001, kStartUnit = 0x06010000;
inline constexpr std::uint32_t kTimer1 = 0x160100AC, kTimer2 = 0x160100B0;
inline constexpr std::uint32_t kBoardWindow = 0x520100A1, kBoardUnit = 0x060100A0;
inline constexpr std::uint32_t kWebPanel = 0x16010164, kTitleLabel = 0x16010165;
}  // namespace ids

// Common property indexes, and the two kind properties the program writes.
enum PropertyIndex : int {
    kPropLeft = 0, kPropTop, kPropWidth, kPropHeight, kPropTag, kPropVisible, kPropDisabled,
    kPropMousePointer, kPropWebUrl = 11,
};

std::span<const base::WindowDef> WindowDefinitions();
const base::WindowDef* FindWindowDef(std::uint32_t window_id);
// unit 0 or the window's own unit identifier means the window itself
const base::UnitDef* FindUnitDef(std::uint32_t window_id, std::uint32_t unit_id);

// Parses every unit's property block; false when any is malformed.
bool ValidateDefinitions(std::span<const base::WindowDef> windows);

}  // namespace shell
