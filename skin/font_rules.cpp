#include "skin/font_rules.h"

namespace skin {

std::int32_t FontStyleOf(std::int32_t weight, std::uint8_t italic, std::uint8_t underline, std::uint8_t strike_out) {
    std::int32_t style = (weight == 600 || weight == 700) ? kFontStyleBold : 0;
    if (italic == 1) style |= kFontStyleItalic;
    if (underline == 1) style |= kFontStyleUnderline;
    if (strike_out == 1) style |= kFontStyleStrikeout;
    return style;
}

float EmSizeOf(std::int32_t height) { return height < 0 ? -float(height) : float(height); }

}  // namespace skin
