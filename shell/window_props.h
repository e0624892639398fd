#pragma once
// The window kind's stored properties (index 8 onwards) and their block.
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "base/block_builder.h"

namespace shell {

inline constexpr std::uint32_t kDefaultColour = 0xFF000000;  // "use the system colour"

enum Border : std::int32_t {
    kBorderNone = 0,
    kBorderResizable = 1,
    kBorderFixedSingle = 2,
    kBorderResizableTool = 3,
    kBorderFixedTool = 4,
    kBorderResizableSunken = 5,
    kBorderFixedSunken = 6,
};

enum StartPosition : std::int32_t { kAsStored = 0, kCentred = 1, kMinimized = 2, kMaximized = 3 };

struct WindowProps {
    std::string caption;                      // 8
    std::int32_t border = kBorderFixedSingle; // 9
    std::uint32_t back_colour = kDefaultColour;  // 10
    std::span<const std::uint8_t> picture;    // 11
    std::int32_t picture_layout = 0;          // 12
    std::span<const std::uint8_t> music;      // 13
    std::int32_t music_mode = 0;              // 14
    bool control_box = true;                  // 15
    bool max_box = false;                     // 16
    bool min_box = true;                      // 17
    std::int32_t start_position = kCentred;   // 18
    bool movable = true;                      // 19
    std::span<const std::uint8_t> icon;       // 20
    bool enter_moves_focus = false;           // 21
    bool esc_closes = true;                   // 22
    std::string help_file;                    // 23
    std::int32_t help_context = 0;            // 24
    std::string help_keyword;                 // 25
    bool in_taskbar = true;                   // 26
    bool drag_anywhere = true;                // 27
    std::int32_t shape = 0;                   // 28
    bool topmost = false;                     // 29
    bool keep_title_active = false;           // 30
    std::string class_name;                   // 31
};

// Reads a version-1 window block; nullopt when it is short, of another
// version, or has bytes left over.
std::optional<WindowProps> ParseWindowBlock(std::span<const std::uint8_t> block);

// The switches that differ between windows; texts, picture, music, icon and
// help settings are stored empty.
struct WindowSwitches {
    std::int32_t border;
    bool control_box, max_box, min_box;
    std::int32_t start_position;
    bool movable, enter_moves_focus, esc_closes, in_taskbar, drag_anywhere;
    std::int32_t shape;
    bool topmost, keep_title_active;
};

constexpr auto WindowBlock(const WindowSwitches& s) {
    using namespace base::block;
    return Cat(U32(1), Text(""), U32(std::uint32_t(s.border)), U32(kDefaultColour), None(), U32(0),
               None(), U32(0), U32(s.control_box), U32(s.max_box), U32(s.min_box),
               U32(std::uint32_t(s.start_position)), U32(s.movable), None(), U32(s.enter_moves_focus),
               U32(s.esc_closes), Text(""), U32(0), Text(""), U32(s.in_taskbar), U32(s.drag_anywhere),
               U32(std::uint32_t(s.shape)), U32(s.topmost), U32(s.keep_title_active), Text(""));
}

}  // namespace shell
