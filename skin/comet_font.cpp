#include "skin/comet_font.h"

#include <cstring>

#include "skin/comet_font_family.h"
#include "skin/font_rules.h"

namespace skin {
namespace {

using Held = GdipHolder<CometFont>;

GpStatus CreateFromName(CometFont* f, const char* name, REAL em_size, INT style, INT unit) {
    CometFontFamily family;  // released on the way out
    family.CreateFromName(name);
    return Held::Make(f, [&](GpFont** out) {
        return sys::GdipCreateFont(family.GetHandle(), em_size, style, unit, out);
    });
}

GpStatus CreateFromDC(CometFont* f, HDC dc) {
    return Held::Make(f, [&](GpFont** out) { return sys::GdipCreateFontFromDC(dc, out); });
}

GpStatus CreateFromHFont(CometFont* f, HFONT hfont) {
    // No GDI font (the system font): no GDI+ font either, and that is a failure.
    if (!hfont) return kStatusInvalidParameter;
    LOGFONTA lf{};
    static_assert(sizeof lf == 60);
    sys::GetObjectA(hfont, sizeof lf, &lf);
    // The face name need not end in a zero byte within its 32 bytes.
    char face[LF_FACESIZE + 1] = {};
    std::memcpy(face, lf.lfFaceName, LF_FACESIZE);
    return CreateFromName(f, face, EmSizeOf(lf.lfHeight),
                          FontStyleOf(lf.lfWeight, lf.lfItalic, lf.lfUnderline, lf.lfStrikeOut), kUnitPixel);
}

GpStatus CreateFromWindow(CometFont* f, HWND window) {
    const auto font = reinterpret_cast<HFONT>(sys::SendMessageA(window, WM_GETFONT, 0, 0));
    return CreateFromHFont(f, font);
}

GpStatus GetStyle(const CometFont* f, INT* style) { return sys::GdipGetFontStyle(f->handle.get(), style); }
GpStatus GetSize(const CometFont* f, REAL* size) { return sys::GdipGetFontSize(f->handle.get(), size); }
GpStatus GetUnit(const CometFont* f, INT* unit) { return sys::GdipGetFontUnit(f->handle.get(), unit); }
GpStatus GetHeight(const CometFont* f, GpGraphics* g, REAL* height) {
    return sys::GdipGetFontHeight(f->handle.get(), g, height);
}

const CometFontOps kOps{Held::kHead,    CreateFromName, CreateFromDC, CreateFromWindow, CreateFromHFont,
                        Held::GetHandle, Held::SetHandle, GetStyle,    GetSize,          GetUnit,
                        GetHeight};

}  // namespace

CometFont::CometFont() : HolderRecord(&kOps) {}
CometFont::~CometFont() { ops->destroy(this); }

}  // namespace skin
