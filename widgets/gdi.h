#pragma once
// What the components paint with: fonts from their blocks, plain fills.
#include <windows.h>

#include "base/owners.h"

#include <cstdint>
#include <span>

namespace widgets {

using base::GdiObject;
using base::OwnedFont;
using base::Selection;

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
