#pragma once
// Declaring PNG controls: the properties the compositor and the control
// procedures read, set on a direct child of a skinned window. The images stay
// the caller's; run the engine's SkinControls afterwards.
#include <windows.h>

#include <cstdint>

#include "skin/control_props.h"
#include "skin/gdiplus_types.h"

namespace skin {

void DeclarePicture(HWND control, GpImage* image, std::int32_t back_type = kBackNatural);

struct ButtonImages {
    GpImage* normal = nullptr;
    GpImage* hover = nullptr;     // falls back to normal
    GpImage* pressed = nullptr;   // falls back to normal
    GpImage* disabled = nullptr;  // falls back to normal
};
void DeclareButton(HWND control, const ButtonImages& images, std::int32_t back_type = kBackNatural);

struct EditLook {
    GpImage* image = nullptr;
    std::int32_t back_type = kBackNatural;
    std::int32_t back_color = kNoColour;  // COLORREF, or kNoColour for no fill
    std::int32_t back_alpha = 255;
    std::int32_t border_color = kNoColour;  // COLORREF, or kNoColour for no border
    std::int32_t border_alpha = 255;
    std::int32_t text_color = 0;  // COLORREF, always opaque
};
void DeclareEdit(HWND control, const EditLook& look);

}  // namespace skin
