#include "shell/window_frame.h"

namespace shell {

Frame FrameFor(const WindowProps& p) {
    Frame f;
    if (p.border == kBorderNone) {
        // Just the client area; the minimize box still goes into the style so
        // the taskbar can minimize the window.
        f.min_box = p.min_box;
        return f;
    }
    f.title_bar = true;
    f.system_menu = p.control_box;
    f.min_box = p.min_box;
    f.max_box = p.max_box;
    switch (p.border) {
        case kBorderResizable: f.sizable = true; break;
        case kBorderFixedSingle: f.thin_border = true; break;
        case kBorderResizableTool: f.sizable = f.tool_window = true; break;
        case kBorderFixedTool: f.thin_border = f.tool_window = true; break;
        case kBorderResizableSunken: f.sizable = f.client_edge = true; break;
        case kBorderFixedSunken: f.thin_border = f.client_edge = true; break;
        default: break;
    }
    return f;
}

}  // namespace shell
