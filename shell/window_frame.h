#pragma once
// How a window's stored properties become its frame and placement.
#include <cstdint>

#include "shell/window_props.h"

namespace shell {

struct Frame {
    bool title_bar = false;     // caption area
    bool system_menu = false;   // control box with close button
    bool min_box = false, max_box = false;
    bool sizable = false;       // thick frame
    bool thin_border = false;   // fixed single line
    bool tool_window = false;
    bool client_edge = false;   // sunken client edge
};

Frame FrameFor(const WindowProps& p);

struct Point { std::int32_t x, y; };

// Centred on a screen of the given size, integer division.
constexpr Point Centre(std::int32_t screen_w, std::int32_t screen_h, std::int32_t w, std::int32_t h) {
    return {(screen_w - w) / 2, (screen_h - h) / 2};
}

}  // namespace shell
