#include "skin/draw_control.h"

#include <vector>

#include "skin/argb.h"
#include "skin/comet_font.h"
#include "skin/comet_string_format.h"
#include "skin/control_props.h"
#include "skin/draw_state.h"
#include "skin/foreign.h"
#include "skin/gdiplus_owners.h"
#include "skin/image_place.h"
#include "skin/prop_read.h"
#include "skin/skin_module.h"

namespace skin {
namespace {

struct Box {
    int x, y, w, h;
};

void FillBack(HWND control, GpGraphics* g, const Box& b) {
    const std::int32_t colour = PropValue(control, kPropBackColor);
    if (colour == kNoColour) return;
    SolidBrush brush(ToArgb(std::uint32_t(colour), PropValue(control, kPropBackAlpha)));
    sys::GdipFillRectangle(g, brush.get(), REAL(b.x), REAL(b.y), REAL(b.w), REAL(b.h));
}

// Draws the image as the back type places it; false when it was cut to the
// control, which ends the control's drawing.
bool DrawImage(GpGraphics* g, GpImage* image, std::int32_t back_type, const Box& b) {
    REAL iw = 0, ih = 0;
    sys::GdipGetImageDimension(image, &iw, &ih);
    const ImagePlacement p = PlaceImage(back_type, iw, ih, b.x, b.y, b.w, b.h);
    if (p.cut) {
        sys::GdipDrawImagePointRect(g, image, REAL(p.left), REAL(p.top), 0.0f, 0.0f, REAL(p.width), REAL(p.height),
                                    kUnitPixel);
        return false;
    }
    sys::GdipDrawImageRect(g, image, REAL(p.left), REAL(p.top), REAL(p.width), REAL(p.height));
    return true;
}

void DrawBorder(HWND control, GpGraphics* g, const Box& b) {
    const std::int32_t colour = PropValue(control, kPropOrderColor);
    if (colour == kNoColour) return;
    Pen pen(ToArgb(std::uint32_t(colour), PropValue(control, kPropOrderAlpha)), 1.0f, kUnitWorld);
    // Over (x, y, w, h): the line reaches column x + w and row y + h.
    sys::GdipDrawRectangle(g, pen.get(), REAL(b.x), REAL(b.y), REAL(b.w), REAL(b.h));
}

void DrawText(HWND control, GpGraphics* g, const Box& b, CometFont& font, CometStringFormat& format) {
    const int n = sys::GetWindowTextLengthA(control);
    if (n <= 0) return;
    std::vector<char> text(std::size_t(n) + 1, '\0');
    sys::GetWindowTextA(control, text.data(), n + 1);
    if (text[0] == '\0') return;
    const WideBlob wide = ToWide(text.data());
    const RectF layout{REAL(b.x + 2), REAL(b.y + 2), REAL(b.w - 4), REAL(b.h - 4)};
    font.CreateFromWindow(control);  // no font of its own: no text
    format.Create(kStringFormatFlagsNoWrap | kStringFormatFlagsNoFitBlackBox, 0);
    format.SetAlignment(kStringAlignmentNear, kStringAlignmentCenter);  // one line, left, centred
    SolidBrush brush(ToArgb(std::uint32_t(PropValue(control, kPropTextColor)), 255));
    sys::GdipDrawString(g, wide.text(), INT(wide.blob()->length / 2 - 1), font.GetHandle(), &layout,
                        format.GetHandle(), brush.get());
}

}  // namespace

GpImage* StateImage(HWND control, std::int32_t state) {
    GpImage* image = nullptr;
    switch (state) {
        case kStateHover: image = PropImage(control, kPropOverImage); break;
        case kStatePressed: image = PropImage(control, kPropDownImage); break;
        case kStateDisabled: image = PropImage(control, kPropDisableImage); break;
        default: break;
    }
    return image ? image : PropImage(control, kPropNormalImage);
}

void DrawControl(HWND window, HWND control, GpGraphics* g) {
    RECT r{};
    sys::GetWindowRect(control, &r);
    POINT corner{r.left, r.top};
    sys::ScreenToClient(window, &corner);
    const Box box{corner.x, corner.y, r.right - r.left, r.bottom - r.top};

    // Released when the control is done, however it ends.
    CometFont font;
    CometStringFormat format;

    const std::int32_t type = PropValue(control, kPropType);
    const std::int32_t back_type = PropValue(control, kPropBackType);
    GpImage* image = nullptr;
    switch (type) {
        case kTypePicture: image = PropImage(control, kPropBackImage); break;
        case kTypeButton: image = StateImage(control, PropValue(control, kPropDrawState)); break;
        case kTypeEdit:
            image = PropImage(control, kPropBackImage);
            FillBack(control, g, box);
            break;
        default: return;  // visited, but nothing to draw
    }
    if (image && !DrawImage(g, image, back_type, box)) return;
    if (type != kTypeEdit) return;
    DrawBorder(control, g, box);
    DrawText(control, g, box, font, format);
}

}  // namespace skin
