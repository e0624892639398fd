#pragma once
// CometFont: holds one GDI+ font (0 when empty), made from a family name, a
// device context, a window's font or a GDI font.
#include <windows.h>

#include "skin/holder.h"

namespace skin {

struct CometFont;

// Operations in their fixed order, after destroy, copy and Release.
struct CometFontOps : HolderOps<CometFont> {
    GpStatus (*CreateFromName)(CometFont*, const char* family, REAL em_size, INT style, INT unit);
    GpStatus (*CreateFromDC)(CometFont*, HDC dc);
    GpStatus (*CreateFromWindow)(CometFont*, HWND window);
    GpStatus (*CreateFromHFont)(CometFont*, HFONT font);
    GpFont* (*GetHandle)(const CometFont*);
    void (*SetHandle)(CometFont*, GpFont*);
    GpStatus (*GetStyle)(const CometFont*, INT* style);
    GpStatus (*GetSize)(const CometFont*, REAL* size);
    GpStatus (*GetUnit)(const CometFont*, INT* unit);
    GpStatus (*GetHeight)(const CometFont*, GpGraphics* graphics, REAL* height);
};

struct CometFont : HolderRecord<CometFont, CometFontOps> {
    OwnedFont handle;

    CometFont();
    ~CometFont();

    GpStatus CreateFromName(const char* family, REAL em_size, INT style, INT unit) {
        return ops->CreateFromName(this, family, em_size, style, unit);
    }
    GpStatus CreateFromDC(HDC dc) { return ops->CreateFromDC(this, dc); }
    GpStatus CreateFromWindow(HWND window) { return ops->CreateFromWindow(this, window); }
    GpStatus CreateFromHFont(HFONT font) { return ops->CreateFromHFont(this, font); }
    GpFont* GetHandle() const { return ops->GetHandle(this); }
    void SetHandle(GpFont* h) { ops->SetHandle(this, h); }
    GpStatus GetStyle(INT* style) const { return ops->GetStyle(this, style); }
    GpStatus GetSize(REAL* size) const { return ops->GetSize(this, size); }
    GpStatus GetUnit(INT* unit) const { return ops->GetUnit(this, unit); }
    GpStatus GetHeight(GpGraphics* g, REAL* height) const { return ops->GetHeight(this, g, height); }
};

}  // namespace skin
