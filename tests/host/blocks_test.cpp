// Stored property blocks: what the table writes reads back, and malformed
// blocks are refused rather than read past their end.
#include <gtest/gtest.h>

#include <vector>

#include "base/byte_reader.h"
#include "shell/window_props.h"
#include "web/html_props.h"
#include "widgets/button_props.h"
#include "widgets/label_props.h"
#include "widgets/timer_props.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

template <std::size_t N>
Bytes ToVec(const std::array<std::uint8_t, N>& a) {
    return Bytes(a.begin(), a.end());
}

TEST(ByteReader, FailureIsStickyAndNothingIsReadPastTheEnd) {
    const Bytes b{1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0x7F, 2};
    base::ByteReader r(b);
    EXPECT_EQ(r.u32(), 1u);
    EXPECT_EQ(r.i32(), 0x7FFFFFFF);
    EXPECT_EQ(r.u32(), 0u);  // only one byte left
    EXPECT_FALSE(r.ok());
    EXPECT_EQ(r.remaining(), 0u);
    EXPECT_TRUE(r.counted().empty());
}

TEST(ByteReader, CountedLengthPastTheEndFails) {
    const Bytes b{0xF0, 0xFF, 0xFF, 0xFF, 'a', 'b'};  // huge length must not wrap
    base::ByteReader r(b);
    EXPECT_TRUE(r.counted().empty());
    EXPECT_FALSE(r.ok());
}

TEST(Blocks, TimerRoundTripAndRefusals) {
    const auto t = widgets::ParseTimerBlock(ToVec(widgets::TimerBlock(5500)));
    ASSERT_TRUE(t);
    EXPECT_EQ(t->interval_ms, 5500);
    Bytes b = ToVec(widgets::TimerBlock(5000));
    b[0] = 2;  // unknown version
    EXPECT_FALSE(widgets::ParseTimerBlock(b));
    b[0] = 1;
    b.push_back(0);  // trailing byte
    EXPECT_FALSE(widgets::ParseTimerBlock(b));
    b.resize(6);  // truncated interval
    EXPECT_FALSE(widgets::ParseTimerBlock(b));
}

TEST(Blocks, LabelFieldsInStoredOrderAndClamped) {
    const auto l = widgets::ParseLabelBlock(ToVec(widgets::LabelBlock(7, 0x00FF8800, -3, 9, true, "标题")));
    ASSERT_TRUE(l);
    EXPECT_EQ(l->effect, 3);
    EXPECT_EQ(l->colour, 0x00FF8800u);
    EXPECT_EQ(l->h_align, 0);
    EXPECT_EQ(l->v_align, 2);
    EXPECT_TRUE(l->word_wrap);
    EXPECT_TRUE(l->font.empty());
    EXPECT_EQ(l->caption, "标题");
    EXPECT_EQ(l->caption.size(), 4u);  // GBK: two bytes a character
}

TEST(Blocks, HtmlViewerTextSizeClamped) {
    auto p = web::ParseHtmlViewerBlock(ToVec(web::HtmlViewerBlock(2, false, true, "http://x/00.html")));
    ASSERT_TRUE(p);
    EXPECT_EQ(p->text_size, 2);
    EXPECT_FALSE(p->offline);
    EXPECT_TRUE(p->silent);
    EXPECT_EQ(p->url, "http://x/00.html");
    EXPECT_EQ(web::ParseHtmlViewerBlock(ToVec(web::HtmlViewerBlock(9, 0, 0, "")))->text_size, 4);
    EXPECT_EQ(web::ParseHtmlViewerBlock(ToVec(web::HtmlViewerBlock(-1, 0, 0, "")))->text_size, 0);
}

TEST(Blocks, BoardButtonBlockHoldsEveryStoredValue) {
    const auto b = widgets::ParseButtonBlock(ToVec(widgets::BoardButtonBlock("口哨声音")));
    ASSERT_TRUE(b);
    EXPECT_EQ(b->style, widgets::kFlat);
    EXPECT_FALSE(b->toggle);
    EXPECT_FALSE(b->checked);
    EXPECT_EQ(b->press_style, 0);
    EXPECT_TRUE(b->draw_border);
    EXPECT_FALSE(b->draw_focus);
    EXPECT_TRUE(b->pic_out.empty() && b->pic_in.empty() && b->pic_disabled.empty());
    EXPECT_TRUE(b->font.empty());
    EXPECT_EQ(b->caption, "口哨声音");
    EXPECT_TRUE(b->default_colours);
    EXPECT_EQ(b->fg_out, 0x000080u);
    EXPECT_EQ(b->bk_out, 0xF0F0F0u);
    EXPECT_EQ(b->fg_in, 0u);
    EXPECT_EQ(b->bk_in, 0xFFFFFFu);
    EXPECT_EQ(b->fg_focus, 0u);
    EXPECT_EQ(b->bk_focus, 0xF0F0F0u);
    EXPECT_FALSE(b->standard_sound);
    EXPECT_TRUE(b->over_sound.empty() && b->click_sound.empty());
    EXPECT_EQ(b->tooltip, "");
    EXPECT_EQ(b->default_style, 0);
}

TEST(Blocks, EveryTruncationOfAButtonBlockIsRefused) {
    const Bytes full = ToVec(widgets::BoardButtonBlock("大众笑声"));
    for (std::size_t n = 0; n < full.size(); ++n) {
        const Bytes cut(full.begin(), full.begin() + std::ptrdiff_t(n));
        EXPECT_FALSE(widgets::ParseButtonBlock(cut)) << "length " << n;
    }
}

TEST(Blocks, WindowBlockSwitchesAndRefusals) {
    shell::WindowSwitches s{.border = shell::kBorderFixedSingle, .control_box = true, .max_box = false,
                            .min_box = true, .start_position = shell::kCentred, .movable = true,
                            .enter_moves_focus = false, .esc_closes = true, .in_taskbar = true,
                            .drag_anywhere = true, .shape = 0, .topmost = true, .keep_title_active = false};
    const Bytes good = ToVec(shell::WindowBlock(s));
    const auto p = shell::ParseWindowBlock(good);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->border, shell::kBorderFixedSingle);
    EXPECT_EQ(p->back_colour, shell::kDefaultColour);
    EXPECT_TRUE(p->topmost);
    EXPECT_TRUE(p->min_box);
    EXPECT_FALSE(p->max_box);
    EXPECT_EQ(p->caption, "");
    s.border = 7;  // no such border
    EXPECT_FALSE(shell::ParseWindowBlock(ToVec(shell::WindowBlock(s))));
    for (std::size_t n : {std::size_t(0), std::size_t(3), good.size() / 2, good.size() - 1})
        EXPECT_FALSE(shell::ParseWindowBlock(Bytes(good.begin(), good.begin() + std::ptrdiff_t(n))));
}

}  // namespace
