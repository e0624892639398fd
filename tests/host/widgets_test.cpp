// The image button's and the label's portable rules: the hover colour, the
// look of each state, caption placement, the label's effects, and property
// reads and writes by index.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "widgets/button_look.h"
#include "widgets/button_props.h"
#include "widgets/label_look.h"
#include "widgets/label_props.h"

namespace {

using namespace widgets;

// A block written field by field, for values the board's own blocks lack.
struct BlockWriter {
    Bytes bytes;
    BlockWriter& u32(std::uint32_t v) {
        for (int i = 0; i < 4; ++i) bytes.push_back(std::uint8_t(v >> (8 * i)));
        return *this;
    }
    BlockWriter& counted(const std::string& s) {
        u32(std::uint32_t(s.size()));
        bytes.insert(bytes.end(), s.begin(), s.end());
        return *this;
    }
};

template <std::size_t N>
Bytes ToVec(const std::array<std::uint8_t, N>& a) {
    return Bytes(a.begin(), a.end());
}

// Every field different from the board's, in stored order.
BlockWriter OddButtonBlock(std::int32_t style = kXp, std::int32_t align = 3, std::int32_t press = 1,
                           std::int32_t default_style = 1) {
    BlockWriter w;
    w.u32(1).u32(std::uint32_t(style)).u32(1).u32(1).u32(std::uint32_t(align)).u32(std::uint32_t(press));
    w.u32(0).u32(1);                                               // 13, 14
    w.counted("PNG1").u32(0x010203).counted("PNG2").u32(0x040506);  // 15-18
    w.counted("PNG3").u32(0x070809);                               // 19, 20
    w.counted(std::string(60, 'F')).counted("Caption").u32(0);     // 21-23
    for (std::uint32_t c = 0x11; c <= 0x66; c += 0x11) w.u32(c);    // 24-29
    w.u32(1).counted("RIFF-over").counted("RIFF-click").counted("tip").u32(std::uint32_t(default_style));
    return w;
}

TEST(HoverColour, AddsOneAmountToEveryChannelWithoutPassing255) {
    EXPECT_EQ(HoverBackground(MakeColour(240, 240, 240)), MakeColour(255, 255, 255));
    EXPECT_EQ(HoverBackground(MakeColour(192, 192, 192)), MakeColour(224, 224, 224));
    EXPECT_EQ(HoverBackground(MakeColour(245, 245, 245)), MakeColour(255, 255, 255));  // Wine's face: f = 10
    // Mixed channels: the channel nearest 255 decides, and all rise by as much.
    EXPECT_EQ(HoverBackground(MakeColour(200, 100, 250)), MakeColour(205, 105, 255));
    EXPECT_EQ(HoverBackground(MakeColour(10, 250, 30)), MakeColour(15, 255, 35));
    EXPECT_EQ(HoverBackground(MakeColour(10, 20, 30)), MakeColour(42, 52, 62));
    EXPECT_EQ(HoverBackground(MakeColour(0, 0, 0)), MakeColour(32, 32, 32));
    EXPECT_EQ(HoverBackground(MakeColour(255, 0, 0)), MakeColour(255, 0, 0));
    EXPECT_EQ(HoverBackground(MakeColour(223, 222, 0)), MakeColour(255, 254, 32));
}

TEST(ButtonLook, SystemColoursAndTheFaceOfEachState) {
    const ButtonColours c = SystemButtonColours(MakeColour(192, 192, 192), MakeColour(1, 2, 3));
    const Colour face = MakeColour(192, 192, 192), hot = MakeColour(224, 224, 224), text = MakeColour(1, 2, 3);
    struct Case {
        ButtonState s;
        Colour back;
    } cases[] = {
        {{}, face},
        {{.hovering = true}, hot},
        {{.pressed = true}, hot},
        {{.focused = true}, face},
        {{.hovering = true, .focused = true}, hot},
        {{.focused = true, .disabled = true}, face},
    };
    for (const Case& k : cases) {
        const Face f = FaceFor(k.s, c);
        EXPECT_EQ(f.back, k.back);
        EXPECT_EQ(f.text, text);
    }
    // Stored colours, used when system colours are off, keep their roles.
    auto p = *ParseButtonBlock(OddButtonBlock().bytes);
    const ButtonColours stored = StoredButtonColours(p);
    EXPECT_EQ(FaceFor({}, stored).text, 0x11u);
    EXPECT_EQ(FaceFor({}, stored).back, 0x22u);
    EXPECT_EQ(FaceFor({.pressed = true}, stored).text, 0x33u);
    EXPECT_EQ(FaceFor({.hovering = true}, stored).back, 0x44u);
    EXPECT_EQ(FaceFor({.focused = true}, stored).text, 0x55u);
    EXPECT_EQ(FaceFor({.focused = true}, stored).back, 0x66u);
}

TEST(ButtonLook, FrameFocusRectangleAndPressOffsetByStyle) {
    ButtonProps flat;  // the board's: flat with the thin frame, no focus rectangle
    EXPECT_EQ(FrameFor({}, flat), Frame::None);
    EXPECT_EQ(FrameFor({.focused = true}, flat), Frame::None);
    EXPECT_EQ(FrameFor({.hovering = true}, flat), Frame::Raised);
    EXPECT_EQ(FrameFor({.pressed = true}, flat), Frame::Sunken);
    EXPECT_EQ(FrameFor({.hovering = true, .pressed = true}, flat), Frame::Sunken);
    EXPECT_FALSE(DrawsFocusRect({.focused = true}, flat));

    ButtonProps no_border = flat;
    no_border.draw_border = false;
    EXPECT_EQ(FrameFor({.hovering = true}, no_border), Frame::None);
    EXPECT_EQ(FrameFor({.pressed = true}, no_border), Frame::None);

    ButtonProps xp = flat;
    xp.style = kXp;
    xp.draw_focus = true;
    EXPECT_TRUE(IsFlatStyle(kXp));
    EXPECT_EQ(FrameFor({.hovering = true}, xp), Frame::Raised);
    EXPECT_TRUE(DrawsFocusRect({.focused = true}, xp));
    EXPECT_FALSE(DrawsFocusRect({}, xp));

    ButtonProps solid = xp;
    solid.style = kThreeD;
    EXPECT_FALSE(IsFlatStyle(kThreeD));
    EXPECT_EQ(FrameFor({}, solid), Frame::Raised);
    EXPECT_EQ(FrameFor({.pressed = true}, solid), Frame::Sunken);
    EXPECT_FALSE(DrawsFocusRect({.focused = true}, solid));

    EXPECT_EQ(PressOffset(0).dx, 1);
    EXPECT_EQ(PressOffset(0).dy, 1);
    EXPECT_EQ(PressOffset(1).dx, 0);
    EXPECT_EQ(PressOffset(1).dy, 2);
}

TEST(ButtonLook, CaptionBlockIsCentredBothWays) {
    EXPECT_EQ(CentreBlock({0, 0, 80, 16}, 48, 12), (Box{16, 2, 64, 14}));
    EXPECT_EQ(CentreBlock({1, 1, 81, 17}, 48, 12), (Box{17, 3, 65, 15}));  // moved by the press offset
    EXPECT_EQ(CentreBlock({0, 0, 80, 16}, 47, 13), (Box{16, 1, 63, 14}));  // odd spare pixel goes right and down
    // Two wrapped lines taller than the button overhang it evenly.
    EXPECT_EQ(CentreBlock({0, 0, 60, 16}, 50, 26), (Box{5, -5, 55, 21}));
}

TEST(ButtonBlock, EveryStoredFieldIsReadInOrder) {
    const auto p = ParseButtonBlock(OddButtonBlock().bytes);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->style, kXp);
    EXPECT_TRUE(p->toggle && p->checked);
    EXPECT_EQ(p->picture_align, 3);
    EXPECT_EQ(p->press_style, 1);
    EXPECT_FALSE(p->draw_border);
    EXPECT_TRUE(p->draw_focus);
    EXPECT_EQ(TextFromBytes(p->pic_out), "PNG1");
    EXPECT_EQ(p->trans_out, 0x010203u);
    EXPECT_EQ(TextFromBytes(p->pic_in), "PNG2");
    EXPECT_EQ(p->trans_in, 0x040506u);
    EXPECT_EQ(TextFromBytes(p->pic_disabled), "PNG3");
    EXPECT_EQ(p->trans_disabled, 0x070809u);
    EXPECT_EQ(p->font.size(), 60u);
    EXPECT_EQ(p->caption, "Caption");
    EXPECT_FALSE(p->default_colours);
    EXPECT_EQ(p->bk_focus, 0x66u);
    EXPECT_TRUE(p->standard_sound);
    EXPECT_EQ(TextFromBytes(p->over_sound), "RIFF-over");
    EXPECT_EQ(TextFromBytes(p->click_sound), "RIFF-click");
    EXPECT_EQ(p->tooltip, "tip");
    EXPECT_EQ(p->default_style, 1);
}

TEST(ButtonBlock, ChoicesOutsideTheirRangeAreRefused) {
    EXPECT_FALSE(ParseButtonBlock(OddButtonBlock(3).bytes)) << "style";
    EXPECT_FALSE(ParseButtonBlock(OddButtonBlock(-1).bytes)) << "style";
    EXPECT_FALSE(ParseButtonBlock(OddButtonBlock(kXp, 4).bytes)) << "picture position";
    EXPECT_FALSE(ParseButtonBlock(OddButtonBlock(kXp, 3, 2).bytes)) << "press style";
    EXPECT_FALSE(ParseButtonBlock(OddButtonBlock(kXp, 3, 1, 2).bytes)) << "default style";
    Bytes late_version = OddButtonBlock().bytes;
    late_version[0] = 2;
    EXPECT_FALSE(ParseButtonBlock(late_version));
    // A counted field whose length runs past the end.
    Bytes b = ToVec(BoardButtonBlock("大众笑声"));
    b[32] = 0xFF;  // 15 PicOut's length
    EXPECT_FALSE(ParseButtonBlock(b));
}

TEST(ButtonProperties, EveryIndexOfTheKindReadsBackWhatWasWritten) {
    ButtonProps p = *ParseButtonBlock(ToVec(BoardButtonBlock("口哨声音")));
    EXPECT_EQ(ReadButtonProperty(p, kBtnCaption), PropValue(std::string("口哨声音")));
    EXPECT_EQ(ReadButtonProperty(p, kBtnBkColorOut), PropValue(0xF0F0F0));
    EXPECT_EQ(ReadButtonProperty(p, kBtnDrawBorder), PropValue(1));
    EXPECT_EQ(ReadButtonProperty(p, kBtnPicIn), PropValue(std::string()));
    EXPECT_FALSE(ReadButtonProperty(p, 7));
    EXPECT_FALSE(ReadButtonProperty(p, 35));

    const ButtonProps odd = *ParseButtonBlock(OddButtonBlock().bytes);
    for (int i = kBtnStyle; i <= kBtnDefaultStyle; ++i) {
        const auto v = ReadButtonProperty(odd, i);
        ASSERT_TRUE(v) << i;
        EXPECT_TRUE(WriteButtonProperty(p, i, *v)) << i;
        EXPECT_EQ(ReadButtonProperty(p, i), v) << i;
    }
    EXPECT_EQ(p, odd);  // written one by one, the board's set became the other
}

TEST(ButtonProperties, WrongTypesRangesAndIndexesChangeNothing) {
    const ButtonProps board = *ParseButtonBlock(ToVec(BoardButtonBlock("口哨声音")));
    ButtonProps p = board;
    EXPECT_FALSE(WriteButtonProperty(p, kBtnCaption, 5));
    EXPECT_FALSE(WriteButtonProperty(p, kBtnPicOut, 5));
    EXPECT_FALSE(WriteButtonProperty(p, kBtnDrawBorder, std::string("1")));
    EXPECT_FALSE(WriteButtonProperty(p, kBtnFgColorIn, std::string("red")));
    EXPECT_FALSE(WriteButtonProperty(p, kBtnStyle, 3));
    EXPECT_FALSE(WriteButtonProperty(p, kBtnPressStyle, -1));
    EXPECT_FALSE(WriteButtonProperty(p, kBtnAlignStyle, 4));
    EXPECT_FALSE(WriteButtonProperty(p, kBtnDefaultStyle, 2));
    EXPECT_FALSE(WriteButtonProperty(p, 7, 0));
    EXPECT_FALSE(WriteButtonProperty(p, 35, 0));
    EXPECT_EQ(p, board);
    // Colours keep all 32 bits through the signed property value.
    EXPECT_TRUE(WriteButtonProperty(p, kBtnBkColorIn, std::int32_t(0xFF000000u)));
    EXPECT_EQ(p.bk_in, 0xFF000000u);
    EXPECT_TRUE(WriteButtonProperty(p, kBtnDrawFocus, 7));
    EXPECT_TRUE(p.draw_focus);
}

TEST(LabelLook, EachEffectDrawsItsCopiesBackToFront) {
    using P = std::vector<TextPass>;
    auto passes = [](std::int32_t e) {
        const auto s = EffectPasses(e);
        return P(s.begin(), s.end());
    };
    EXPECT_EQ(passes(0), (P{{0, 0, Ink::Text}}));
    EXPECT_EQ(passes(1), (P{{1, 1, Ink::White}, {0, 0, Ink::Text}}));
    EXPECT_EQ(passes(2), (P{{0, 0, Ink::White}, {1, 1, Ink::Text}}));
    EXPECT_EQ(passes(3), (P{{2, 2, Ink::Black}, {0, 0, Ink::Text}}));
    EXPECT_EQ(passes(-4), passes(0));
    EXPECT_EQ(passes(9), passes(3));
    EXPECT_FALSE(HoldsLogicalFont(Bytes(59)));
    EXPECT_TRUE(HoldsLogicalFont(Bytes(60)));
    EXPECT_FALSE(HoldsLogicalFont({}));
}

TEST(LabelBlock, FontBytesAndRefusals) {
    BlockWriter w;
    w.u32(1).u32(2).u32(0x00FF8800).u32(1).u32(2).u32(0).counted(std::string(60, 'L')).counted("title");
    const auto l = ParseLabelBlock(w.bytes);
    ASSERT_TRUE(l);
    EXPECT_EQ(l->effect, 2);
    EXPECT_EQ(l->h_align, 1);
    EXPECT_EQ(l->v_align, 2);
    EXPECT_FALSE(l->word_wrap);
    EXPECT_EQ(l->font, Bytes(60, 'L'));
    EXPECT_EQ(l->caption, "title");

    Bytes b = w.bytes;
    b[0] = 2;
    EXPECT_FALSE(ParseLabelBlock(b)) << "unknown version";
    b = w.bytes;
    b.push_back(0);
    EXPECT_FALSE(ParseLabelBlock(b)) << "trailing byte";
    for (std::size_t n = 0; n < w.bytes.size(); ++n)
        EXPECT_FALSE(ParseLabelBlock(Bytes(w.bytes.begin(), w.bytes.begin() + std::ptrdiff_t(n)))) << n;
}

TEST(LabelProperties, WritesClampLikeTheBlockAndReadBack) {
    LabelProps p = *ParseLabelBlock(ToVec(LabelBlock(0, 0x00FF8800, 0, 1, false, "标题")));
    EXPECT_EQ(ReadLabelProperty(p, kLabelCaption), PropValue(std::string("标题")));
    EXPECT_EQ(ReadLabelProperty(p, kLabelColour), PropValue(0x00FF8800));
    EXPECT_EQ(ReadLabelProperty(p, kLabelVAlign), PropValue(1));
    EXPECT_EQ(ReadLabelProperty(p, kLabelFont), PropValue(std::string()));
    EXPECT_FALSE(ReadLabelProperty(p, 7));
    EXPECT_FALSE(ReadLabelProperty(p, 15));

    struct Case {
        int index;
        std::int32_t written, stored;
    } cases[] = {
        {kLabelEffect, 7, 3}, {kLabelEffect, -2, 0}, {kLabelEffect, 1, 1},   {kLabelAlign, 3, 2},
        {kLabelAlign, -1, 0}, {kLabelVAlign, 9, 2},  {kLabelWordWrap, 5, 1}, {kLabelColour, 0x123456, 0x123456},
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(WriteLabelProperty(p, c.index, c.written)) << c.index;
        EXPECT_EQ(ReadLabelProperty(p, c.index), PropValue(c.stored)) << c.index << " <- " << c.written;
    }
    EXPECT_TRUE(WriteLabelProperty(p, kLabelFont, std::string(60, 'x')));
    EXPECT_EQ(p.font.size(), 60u);
    EXPECT_TRUE(WriteLabelProperty(p, kLabelCaption, std::string("新")));
    EXPECT_EQ(p.caption, "新");

    const LabelProps before = p;
    EXPECT_FALSE(WriteLabelProperty(p, kLabelCaption, 1));
    EXPECT_FALSE(WriteLabelProperty(p, kLabelEffect, std::string("1")));
    EXPECT_FALSE(WriteLabelProperty(p, 15, 1));
    EXPECT_FALSE(WriteLabelProperty(p, 15, std::string("x")));
    EXPECT_EQ(p, before);
}

}  // namespace
