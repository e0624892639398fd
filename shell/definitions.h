#pragma once
// The window-definition table: both windows, every unit in stored (creation)
// order, with geometry, flags, property blocks and event bindings.
#include <cstdint>
#include <span>

namespace shell {

enum class Kind : std::uint8_t { Window, Timer, SuperBtn, TransLabel, HtmlViewer };

// Actions the bindings name; the shell maps each to the program's code.
enum class Action : std::uint8_t {
    None,
    StartCreated,   // skin the splash, play the start-up sound
    HideStart,      // timer 1: hide the start window
    OpenBoard,      // timer 2: load the board modally
    BoardCreated,   // unload the start window, point the web panel at its page
    PlayClip,       // a board button: stop, then play its clip
};

enum UnitFlags : std::uint32_t { kVisible = 1u << 0, kDisabled = 1u << 1, kTabStop = 1u << 2 };

struct UnitDef {
    Kind kind;
    std::uint32_t id;
    const char* name;  // designer name, GBK; empty for a window's own unit
    std::int32_t left, top, width, height;
    std::uint32_t flags;
    Action on_event0;  // event 0 is the only event any unit binds
    std::span<const std::uint8_t> block;
};

struct WindowDef {
    std::uint32_t id;
    std::span<const UnitDef> units;  // units[0] is the window's own unit

    const UnitDef& self() const { return units[0]; }
    std::span<const UnitDef> components() const { return units.subspan(1); }
};

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

std::span<const WindowDef> WindowDefinitions();
const WindowDef* FindWindowDef(std::uint32_t window_id);
// unit 0 or the window's own unit identifier means the window itself
const UnitDef* FindUnitDef(std::uint32_t window_id, std::uint32_t unit_id);

// Parses every unit's property block; false when any is malformed.
bool ValidateDefinitions(std::span<const WindowDef> windows);

}  // namespace shell
