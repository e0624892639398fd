#include "skin/comet_font.h"

#include <cstring>

#include "skin/comet_font_family.h"
#include "skin/font_rules.h"
#include "skin/foreign.h"

namespace skin {
namespace {

void Release(CometFont* f) {
    if (f->handle) sys::GdipDeleteFont(f->handle);
    f->handle = nullptr;
}

void Destroy(CometFont* f) { Release(f); }

void SetHandle(CometFont* f, GpFont* h) {
    Release(f);
    f->handle = h;
}

std::unique_ptr<CometFont> Copy(const CometFont* f) {
    // A font of its own, so each record deletes only what it holds.
    auto c = std::make_unique<CometFont>();
    GpFont* clone = nullptr;
    if (f->handle && sys::GdipCloneFont(f->handle, &clone) == kStatusOk) c->handle = clone;
    return c;
}

GpStatus CreateFromName(CometFont* f, const char* name, REAL em_size, INT style, INT unit) {
    CometFontFamily family;
    family.CreateFromName(name);
    GpFont* font = nullptr;
    const GpStatus status = sys::GdipCreateFont(family.GetHandle(), em_size, style, unit, &font);
    SetHandle(f, status == kStatusOk ? font : nullptr);
    return status;  // the family goes with `family`
}

GpStatus CreateFromDC(CometFont* f, HDC dc) {
    GpFont* font = nullptr;
    const GpStatus status = sys::GdipCreateFontFromDC(dc, &font);
    SetHandle(f, status == kStatusOk ? font : nullptr);
    return status;
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

GpFont* GetHandle(const CometFont* f) { return f->handle; }
GpStatus GetStyle(const CometFont* f, INT* style) { return sys::GdipGetFontStyle(f->handle, style); }
GpStatus GetSize(const CometFont* f, REAL* size) { return sys::GdipGetFontSize(f->handle, size); }
GpStatus GetUnit(const CometFont* f, INT* unit) { return sys::GdipGetFontUnit(f->handle, unit); }
GpStatus GetHeight(const CometFont* f, GpGraphics* g, REAL* height) {
    return sys::GdipGetFontHeight(f->handle, g, height);
}

const CometFontOps kOps{Destroy,   Copy,    Release, CreateFromName, CreateFromDC, CreateFromWindow, CreateFromHFont,
                        GetHandle, SetHandle, GetStyle, GetSize,       GetUnit,      GetHeight};

}  // namespace

CometFont::CometFont() : ops(&kOps) {}
CometFont::~CometFont() { ops->destroy(this); }

}  // namespace skin
