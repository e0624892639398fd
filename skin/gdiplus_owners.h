#pragma once
// Owners of everything the skin engine makes: GDI+ images, graphics, brushes,
// pens, fonts, families and string formats, and the GDI and kernel objects
// behind a push or a decode. All are the shell's one owner template; each
// kind's release goes through the engine's foreign-call table, here and
// nowhere else.
#include "base/byte_blob.h"
#include "base/memory.h"
#include "base/owners.h"
#include "skin/foreign.h"
#include "skin/gdiplus_draw_types.h"

namespace skin {

// How each kind is let go of, and how a holder's object is copied.
namespace gdip {
inline void Free(GpImage* h) { sys::GdipDisposeImage(h); }
inline void Free(GpGraphics* h) { sys::GdipDeleteGraphics(h); }
inline void Free(GpSolidFill* h) { sys::GdipDeleteBrush(reinterpret_cast<GpBrush*>(h)); }
inline void Free(GpPen* h) { sys::GdipDeletePen(h); }
inline void Free(GpFont* h) { sys::GdipDeleteFont(h); }
inline void Free(GpFontFamily* h) { sys::GdipDeleteFontFamily(h); }
inline void Free(GpStringFormat* h) { sys::GdipDeleteStringFormat(h); }

inline GpStatus Clone(GpFont* h, GpFont** out) { return sys::GdipCloneFont(h, out); }
inline GpStatus Clone(GpFontFamily* h, GpFontFamily** out) { return sys::GdipCloneFontFamily(h, out); }
inline GpStatus Clone(GpStringFormat* h, GpStringFormat** out) { return sys::GdipCloneStringFormat(h, out); }
}  // namespace gdip

// Kinds whose "none" is null and whose release takes the handle alone.
template <class H>
struct GdipTraits {
    using Handle = H*;
    static Handle None() { return nullptr; }
    static void Free(Handle h) { gdip::Free(h); }
};
template <class H>
using Gdip = base::Owned<GdipTraits<H>>;

using OwnedImage = Gdip<GpImage>;
using OwnedGraphics = Gdip<GpGraphics>;
using OwnedFont = Gdip<GpFont>;
using OwnedFontFamily = Gdip<GpFontFamily>;
using OwnedStringFormat = Gdip<GpStringFormat>;

namespace sysfree {
inline void Global(HGLOBAL h) { sys::GlobalFree(h); }
inline void Kernel(HANDLE h) { sys::CloseHandle(h); }
inline void Dc(HDC h) { sys::DeleteDC(h); }
inline void Bitmap(HBITMAP h) { sys::DeleteObject(h); }
inline void Block(ByteBlob* p) { base::FreeMemory(p); }
}  // namespace sysfree

using OwnedGlobal = base::Owned<base::NullHandleTraits<HGLOBAL, &sysfree::Global>>;
using OwnedKernelHandle = base::Owned<base::NullHandleTraits<HANDLE, &sysfree::Kernel>>;
using OwnedMemoryDc = base::Owned<base::NullHandleTraits<HDC, &sysfree::Dc>>;
using OwnedDibSection = base::Owned<base::NullHandleTraits<HBITMAP, &sysfree::Bitmap>>;
using OwnedBlock = base::Owned<base::NullHandleTraits<ByteBlob*, &sysfree::Block>>;  // from AllocMemory

// A solid fill of one colour, for as long as the drawing step lasts.
class SolidBrush {
public:
    explicit SolidBrush(ARGB colour) { sys::GdipCreateSolidFill(colour, fill_.put()); }
    GpBrush* get() const { return reinterpret_cast<GpBrush*>(fill_.get()); }

private:
    Gdip<GpSolidFill> fill_;
};

class Pen {
public:
    Pen(ARGB colour, REAL width, INT unit) { sys::GdipCreatePen1(colour, width, unit, pen_.put()); }
    GpPen* get() const { return pen_.get(); }

private:
    Gdip<GpPen> pen_;
};

// A window's own DC, given back to the window with the owner.
class WindowDc {
public:
    explicit WindowDc(HWND window) : window_(window), dc_(sys::GetWindowDC(window)) {}
    ~WindowDc() { sys::ReleaseDC(window_, dc_); }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// An object selected into a DC, the previous one put back with the owner.
class DcSelection {
public:
    DcSelection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(dc ? sys::SelectObject(dc, object) : nullptr) {}
    ~DcSelection() {
        if (dc_) sys::SelectObject(dc_, previous_);
    }
    DcSelection(const DcSelection&) = delete;
    DcSelection& operator=(const DcSelection&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

}  // namespace skin
