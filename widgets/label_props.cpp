#include "widgets/label_props.h"

#include <algorithm>

#include "base/byte_reader.h"

namespace widgets {

std::int32_t ClampEffect(std::int32_t v) { return std::clamp(v, std::int32_t(kNoEffect), std::int32_t(kBlackShadow)); }
std::int32_t ClampAlign(std::int32_t v) { return std::clamp(v, 0, 2); }

std::optional<LabelProps> ParseLabelBlock(std::span<const std::uint8_t> block) {
    base::ByteReader r(block);
    if (r.u32() != 1) return std::nullopt;
    LabelProps p;
    p.effect = ClampEffect(r.i32());
    p.colour = r.u32();
    p.h_align = ClampAlign(r.i32());
    p.v_align = ClampAlign(r.i32());
    p.word_wrap = r.u32() != 0;
    const auto font = r.counted();
    p.font.assign(font.begin(), font.end());
    p.caption = r.text();
    if (!r.at_end()) return std::nullopt;
    return p;
}

std::optional<PropValue> ReadLabelProperty(const LabelProps& p, int index) {
    switch (index) {
        case kLabelCaption: return TextValue(p.caption);
        case kLabelEffect: return NumberValue(p.effect);
        case kLabelFont: return TextValue(TextFromBytes(p.font));
        case kLabelColour: return NumberValue(std::int32_t(p.colour));
        case kLabelAlign: return NumberValue(p.h_align);
        case kLabelWordWrap: return NumberValue(std::int32_t(p.word_wrap));
        case kLabelVAlign: return NumberValue(p.v_align);
        default: return std::nullopt;
    }
}

bool WriteLabelProperty(LabelProps& p, int index, const PropValue& value) {
    const std::int32_t* n = AsNumber(value);
    const std::string* text = AsText(value);
    const bool wants_text = index == kLabelCaption || index == kLabelFont;
    if (wants_text ? !text : !n) return false;
    switch (index) {
        case kLabelCaption: p.caption = *text; return true;
        case kLabelEffect: p.effect = ClampEffect(*n); return true;
        case kLabelFont: p.font = BytesFromText(*text); return true;
        case kLabelColour: p.colour = std::uint32_t(*n); return true;
        case kLabelAlign: p.h_align = ClampAlign(*n); return true;
        case kLabelWordWrap: p.word_wrap = *n != 0; return true;
        case kLabelVAlign: p.v_align = ClampAlign(*n); return true;
        default: return false;
    }
}

}  // namespace widgets
