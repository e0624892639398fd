#include "skin/image_place.h"

#include <cmath>
#include <limits>

#include "skin/control_props.h"

namespace skin {

std::int32_t TruncToInt(double v) {
    if (std::isnan(v)) return 0;
    constexpr double lo = std::numeric_limits<std::int32_t>::min(), hi = std::numeric_limits<std::int32_t>::max();
    if (v <= lo) return std::numeric_limits<std::int32_t>::min();
    if (v >= hi) return std::numeric_limits<std::int32_t>::max();
    return std::int32_t(v);  // truncates toward zero
}

namespace {

// a * b / c in double precision, truncated; a zero divisor gives 0.
std::int32_t Scale(std::int32_t a, std::int32_t b, std::int32_t c) {
    return c == 0 ? 0 : TruncToInt(double(a) * double(b) / double(c));
}

}  // namespace

Size32 FitSize(std::int32_t iw, std::int32_t ih, std::int32_t bw, std::int32_t bh) {
    Size32 f{iw, ih};
    if (iw > bw) f = {bw, Scale(ih, bw, iw)};
    if (f.height > bh) f = {Scale(f.width, bh, f.height), bh};
    return f;
}

ImagePlacement PlaceImage(std::int32_t back_type, double iw, double ih, std::int32_t x, std::int32_t y,
                          std::int32_t w, std::int32_t h) {
    switch (back_type) {
        case kBackStretch: return {false, double(x), double(y), double(w), double(h)};
        case kBackFit: {
            const Size32 f = FitSize(TruncToInt(iw), TruncToInt(ih), w, h);
            // Integer halves truncate toward zero, as the centring must.
            const std::int32_t dx = TruncToInt((double(w) - f.width) / 2), dy = TruncToInt((double(h) - f.height) / 2);
            return {false, double(x) + dx, double(y) + dy, double(f.width), double(f.height)};
        }
        default:
            // Natural size: larger than the control in either direction is cut.
            if (iw - w > 1e-7 || ih - h > 1e-7) return {true, double(x), double(y), double(w), double(h)};
            return {false, double(x), double(y), iw, ih};
    }
}

}  // namespace skin
