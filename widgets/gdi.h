#pragma once
// Owners for the GDI objects and DC selections the components paint with.
#include <windows.h>

#include <cstdint>
#include <span>
#include <utility>

namespace widgets {

// Owns one GDI object and deletes it once.
template <class Handle>
class GdiObject {
public:
    GdiObject() = default;
    explicit GdiObject(Handle h) : h_(h) {}
    ~GdiObject() { reset(); }
    GdiObject(GdiObject&& o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
    GdiObject& operator=(GdiObject&& o) noexcept {
        if (this != &o) {
            reset();
            h_ = std::exchange(o.h_, nullptr);
        }
        return *this;
    }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;

    Handle get() const { return h_; }
    explicit operator bool() const { return h_ != nullptr; }
    void reset() {
        if (h_) DeleteObject(h_);
        h_ = nullptr;
    }

private:
    Handle h_ = nullptr;
};

using OwnedFont = GdiObject<HFONT>;

// Selects an object into a DC and puts the previous one back.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ obj) : dc_(dc), old_(SelectObject(dc, obj)) {}
    ~Selection() {
        if (old_ && old_ != HGDI_ERROR) SelectObject(dc_, old_);
    }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

// The font a font property describes; empty when the block holds no
// complete logical font, and the caller then uses the default GUI font.
OwnedFont FontFromBlock(std::span<const std::uint8_t> block);

// The given font, or the system's default GUI font when there is none.
inline HFONT FontOrDefault(const OwnedFont& f) {
    return f ? f.get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

// Fills a rectangle with a colour, without a brush to own.
inline void FillColour(HDC dc, const RECT& r, COLORREF c) {
    const COLORREF old = SetDCBrushColor(dc, c);
    FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    SetDCBrushColor(dc, old);
}

}  // namespace widgets
