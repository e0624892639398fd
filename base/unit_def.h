#pragma once
// What a window definition says of one unit (a window's own unit or a
// component): what every component module is created from.
#include <cstdint>
#include <span>

namespace base {

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

}  // namespace base
