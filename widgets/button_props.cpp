#include "widgets/button_props.h"

#include "base/byte_reader.h"

namespace widgets {
namespace {

Bytes Counted(base::ByteReader& r) {
    const auto s = r.counted();
    return Bytes(s.begin(), s.end());
}

bool InRange(std::int32_t v, std::int32_t lo, std::int32_t hi) { return v >= lo && v <= hi; }

// The numbered fields that share one shape, so reads and writes agree.
template <class P>
auto Switch(P& p, int index) -> decltype(&p.toggle) {
    switch (index) {
        case kBtnCheckBox: return &p.toggle;
        case kBtnChecked: return &p.checked;
        case kBtnDrawBorder: return &p.draw_border;
        case kBtnDrawFocus: return &p.draw_focus;
        case kBtnDefaultColor: return &p.default_colours;
        case kBtnStandardSound: return &p.standard_sound;
        default: return nullptr;
    }
}

template <class P>
auto Colour(P& p, int index) -> decltype(&p.trans_out) {
    switch (index) {
        case kBtnTransColorOut: return &p.trans_out;
        case kBtnTransColorIn: return &p.trans_in;
        case kBtnTransColorDisabled: return &p.trans_disabled;
        case kBtnFgColorOut: return &p.fg_out;
        case kBtnBkColorOut: return &p.bk_out;
        case kBtnFgColorIn: return &p.fg_in;
        case kBtnBkColorIn: return &p.bk_in;
        case kBtnFgColorFocus: return &p.fg_focus;
        case kBtnBkColorFocus: return &p.bk_focus;
        default: return nullptr;
    }
}

template <class P>
auto Data(P& p, int index) -> decltype(&p.pic_out) {
    switch (index) {
        case kBtnPicOut: return &p.pic_out;
        case kBtnPicIn: return &p.pic_in;
        case kBtnPicDisabled: return &p.pic_disabled;
        case kBtnFont: return &p.font;
        case kBtnOverSound: return &p.over_sound;
        case kBtnClickSound: return &p.click_sound;
        default: return nullptr;
    }
}

template <class P>
auto Choice(P& p, int index, std::int32_t& max) -> decltype(&p.style) {
    switch (index) {
        case kBtnStyle: max = kXp; return &p.style;
        case kBtnAlignStyle: max = 3; return &p.picture_align;
        case kBtnPressStyle: max = 1; return &p.press_style;
        case kBtnDefaultStyle: max = 1; return &p.default_style;
        default: return nullptr;
    }
}

template <class P>
auto Words(P& p, int index) -> decltype(&p.caption) {
    switch (index) {
        case kBtnCaption: return &p.caption;
        case kBtnToolTip: return &p.tooltip;
        default: return nullptr;
    }
}

bool ChoicesInRange(const ButtonProps& p) {
    for (int index : {kBtnStyle, kBtnAlignStyle, kBtnPressStyle, kBtnDefaultStyle}) {
        std::int32_t max = 0;
        const std::int32_t value = *Choice(p, index, max);
        if (!InRange(value, 0, max)) return false;
    }
    return true;
}

}  // namespace

std::optional<ButtonProps> ParseButtonBlock(std::span<const std::uint8_t> block) {
    base::ByteReader r(block);
    if (r.u32() != 1) return std::nullopt;
    ButtonProps p;
    p.style = r.i32();
    p.toggle = r.u32() != 0;
    p.checked = r.u32() != 0;
    p.picture_align = r.i32();
    p.press_style = r.i32();
    p.draw_border = r.u32() != 0;
    p.draw_focus = r.u32() != 0;
    p.pic_out = Counted(r);
    p.trans_out = r.u32();
    p.pic_in = Counted(r);
    p.trans_in = r.u32();
    p.pic_disabled = Counted(r);
    p.trans_disabled = r.u32();
    p.font = Counted(r);
    p.caption = r.text();
    p.default_colours = r.u32() != 0;
    p.fg_out = r.u32();
    p.bk_out = r.u32();
    p.fg_in = r.u32();
    p.bk_in = r.u32();
    p.fg_focus = r.u32();
    p.bk_focus = r.u32();
    p.standard_sound = r.u32() != 0;
    p.over_sound = Counted(r);
    p.click_sound = Counted(r);
    p.tooltip = r.text();
    p.default_style = r.i32();
    if (!r.at_end() || !ChoicesInRange(p)) return std::nullopt;
    return p;
}

std::optional<PropValue> ReadButtonProperty(const ButtonProps& p, int index) {
    std::int32_t max = 0;
    if (const bool* b = Switch(p, index)) return NumberValue(std::int32_t(*b));
    if (const std::uint32_t* c = Colour(p, index)) return NumberValue(std::int32_t(*c));
    if (const Bytes* d = Data(p, index)) return TextValue(TextFromBytes(*d));
    if (const std::int32_t* n = Choice(p, index, max)) return NumberValue(*n);
    if (const std::string* s = Words(p, index)) return TextValue(*s);
    return std::nullopt;
}

bool WriteButtonProperty(ButtonProps& p, int index, const PropValue& value) {
    const std::int32_t* n = AsNumber(value);
    const std::string* text = AsText(value);
    std::int32_t max = 0;
    if (bool* b = Switch(p, index)) {
        if (!n) return false;
        *b = *n != 0;
    } else if (std::uint32_t* c = Colour(p, index)) {
        if (!n) return false;
        *c = std::uint32_t(*n);
    } else if (Bytes* d = Data(p, index)) {
        if (!text) return false;
        *d = BytesFromText(*text);
    } else if (std::int32_t* choice = Choice(p, index, max)) {
        if (!n || !InRange(*n, 0, max)) return false;
        *choice = *n;
    } else if (std::string* s = Words(p, index)) {
        if (!text) return false;
        *s = *text;
    } else {
        return false;
    }
    return true;
}

}  // namespace widgets
