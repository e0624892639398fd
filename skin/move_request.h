#pragma once
// What the engine's Move asks of the window: omitted values keep the
// window's current ones, and the flags say what changes.
#include <cstdint>
#include <optional>

namespace skin {

struct MoveRequest {
    std::int32_t x, y, width, height;
    std::uint32_t flags;
};

inline constexpr std::uint32_t kNoSize = 0x1, kNoMove = 0x2, kNoZOrder = 0x4, kNoRedraw = 0x8;

struct Rect32 {
    std::int32_t left, top, right, bottom;
};

MoveRequest ComputeMove(std::optional<std::int32_t> left, std::optional<std::int32_t> top,
                        std::optional<std::int32_t> width, std::optional<std::int32_t> height, bool no_redraw,
                        const Rect32& current);

}  // namespace skin
