#pragma once
// Where a control's image goes in the window's bitmap, by back type.
#include <cstdint>

namespace skin {

struct Size32 {
    std::int32_t width, height;
    bool operator==(const Size32&) const = default;
};

// Shrinks (iw, ih) to fit a bw by bh box, keeping the aspect ratio; an image
// that fits keeps its own size. Never enlarges.
Size32 FitSize(std::int32_t iw, std::int32_t ih, std::int32_t bw, std::int32_t bh);

struct ImagePlacement {
    // Cut: the image's top-left width by height part at natural scale, and
    // nothing after it (no border, no text). Otherwise the whole image is
    // drawn into the rectangle.
    bool cut;
    double left, top, width, height;
    bool operator==(const ImagePlacement&) const = default;
};

// The image is iw by ih; the control is w by h at (x, y) in the bitmap.
ImagePlacement PlaceImage(std::int32_t back_type, double iw, double ih, std::int32_t x, std::int32_t y,
                          std::int32_t w, std::int32_t h);

// Double to 32-bit by truncation toward zero, saturating; NaN gives 0.
std::int32_t TruncToInt(double v);

}  // namespace skin
