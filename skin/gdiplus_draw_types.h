#pragma once
// GDI+ flat-API types for drawing controls: fills, lines, text.
#include <windows.h>

#include "skin/gdiplus_types.h"

namespace skin {

struct GpBrush;
struct GpSolidFill;  // a kind of GpBrush
struct GpPen;
struct GpFont;
struct GpFontFamily;
struct GpFontCollection;
struct GpStringFormat;

struct RectF {
    REAL X, Y, Width, Height;
};

inline constexpr INT kUnitWorld = 0, kUnitPixel = 2;
inline constexpr INT kStringAlignmentNear = 0, kStringAlignmentCenter = 1;
inline constexpr INT kStringFormatFlagsNoFitBlackBox = 0x4, kStringFormatFlagsNoWrap = 0x1000;
inline constexpr GpStatus kStatusOk = 0, kStatusInvalidParameter = 2;

}  // namespace skin
