#include "skin/move_request.h"

namespace skin {

MoveRequest ComputeMove(std::optional<std::int32_t> left, std::optional<std::int32_t> top,
                        std::optional<std::int32_t> width, std::optional<std::int32_t> height, bool no_redraw,
                        const Rect32& r) {
    std::uint32_t flags = kNoZOrder;
    if (no_redraw) flags |= kNoRedraw;
    if (!left && !top) flags |= kNoMove;
    if (!width && !height) flags |= kNoSize;
    return {left.value_or(r.left), top.value_or(r.top), width.value_or(r.right - r.left),
            height.value_or(r.bottom - r.top), flags};
}

}  // namespace skin
