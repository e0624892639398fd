// The window-definition table against the values the two windows must have.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "shell/definitions.h"
#include "shell/window_props.h"
#include "widgets/button_props.h"
#include "widgets/label_props.h"
#include "widgets/timer_props.h"

namespace {

using namespace shell;

std::string Hex(const std::string& s) {
    std::string out;
    char buf[4];
    for (unsigned char c : s) {
        std::snprintf(buf, sizeof buf, "%02X ", c);
        out += buf;
    }
    return out;
}

TEST(Definitions, TableReadsBackAndLooksUp) {
    EXPECT_TRUE(ValidateDefinitions(WindowDefinitions()));
    ASSERT_EQ(WindowDefinitions().size(), 2u);
    EXPECT_EQ(FindWindowDef(ids::kStartWindow)->units.size(), 3u);
    EXPECT_EQ(FindWindowDef(ids::kBoardWindow)->units.size(), 47u);
    EXPECT_EQ(FindWindowDef(0x12345678), nullptr);
    EXPECT_EQ(FindUnitDef(ids::kBoardWindow, 0)->id, ids::kBoardUnit);
    EXPECT_EQ(FindUnitDef(ids::kBoardWindow, ids::kBoardUnit)->kind, base::Kind::Window);
    EXPECT_EQ(FindUnitDef(ids::kStartWindow, ids::kWebPanel), nullptr);  // not on that window
    EXPECT_EQ(FindUnitDef(0, ids::kWebPanel), nullptr);
}

TEST(Definitions, StartWindowUnitsInStoredOrder) {
    const auto& units = FindWindowDef(ids::kStartWindow)->units;
    const base::UnitDef& w = units[0];
    EXPECT_EQ(w.id, ids::kStartUnit);
    EXPECT_EQ(std::vector<int>({w.left, w.top, w.width, w.height}), std::vector<int>({50, 50, 600, 400}));
    EXPECT_EQ(w.flags, std::uint32_t(base::kVisible));
    EXPECT_EQ(w.on_event0, base::Action::StartCreated);
    const auto props = ParseWindowBlock(w.block);
    ASSERT_TRUE(props);
    EXPECT_EQ(props->border, kBorderNone);
    EXPECT_FALSE(props->topmost);
    EXPECT_TRUE(props->in_taskbar && props->drag_anywhere && props->esc_closes && props->min_box);

    EXPECT_EQ(units[1].id, ids::kTimer2);  // 时钟2 is stored first
    EXPECT_STREQ(units[1].name, "时钟2");
    EXPECT_EQ(units[1].flags, 0u);
    EXPECT_EQ(units[1].on_event0, base::Action::OpenBoard);
    EXPECT_EQ(widgets::ParseTimerBlock(units[1].block)->interval_ms, 5500);
    EXPECT_EQ(std::vector<int>({units[1].left, units[1].top, units[1].width, units[1].height}),
              std::vector<int>({288, 40, 48, 32}));
    EXPECT_EQ(units[2].id, ids::kTimer1);
    EXPECT_EQ(units[2].on_event0, base::Action::HideStart);
    EXPECT_EQ(widgets::ParseTimerBlock(units[2].block)->interval_ms, 5000);
    EXPECT_EQ(std::vector<int>({units[2].left, units[2].top, units[2].width, units[2].height}),
              std::vector<int>({192, 80, 88, 72}));
}

TEST(Definitions, BoardWindowAndItsFixedComponents) {
    const auto& units = FindWindowDef(ids::kBoardWindow)->units;
    const auto props = ParseWindowBlock(units[0].block);
    ASSERT_TRUE(props);
    EXPECT_EQ(props->border, kBorderFixedSingle);
    EXPECT_TRUE(props->topmost && props->control_box && props->min_box);
    EXPECT_FALSE(props->max_box);
    EXPECT_EQ(props->caption, "");
    EXPECT_EQ(units[0].width, 400);
    EXPECT_EQ(units[0].height, 600);
    EXPECT_EQ(units[0].on_event0, base::Action::BoardCreated);

    EXPECT_EQ(units[1].kind, base::Kind::HtmlViewer);
    EXPECT_EQ(units[1].id, ids::kWebPanel);
    EXPECT_EQ(std::vector<int>({units[1].left, units[1].top, units[1].width, units[1].height}),
              std::vector<int>({8, 8, 376, 160}));
    EXPECT_EQ(units[1].flags, std::uint32_t(base::kVisible | base::kTabStop));

    EXPECT_EQ(units[2].kind, base::Kind::TransLabel);
    EXPECT_EQ(std::vector<int>({units[2].left, units[2].top, units[2].width, units[2].height}),
              std::vector<int>({156, 549, 228, 24}));
    EXPECT_EQ(units[2].flags, std::uint32_t(base::kVisible));
    const auto label = widgets::ParseLabelBlock(units[2].block);
    ASSERT_TRUE(label);
    EXPECT_EQ(label->colour, 0x00FF8800u);
    EXPECT_EQ(label->v_align, 1);
    EXPECT_FALSE(label->caption.empty());
}

TEST(Definitions, ButtonsAreFortyFourUniqueTabStopsWithGbkCaptions) {
    const auto& units = FindWindowDef(ids::kBoardWindow)->units;
    std::set<std::uint32_t> unit_ids;
    std::map<std::string, std::string> caption_by_name;
    for (std::size_t i = 3; i < units.size(); ++i) {
        const base::UnitDef& u = units[i];
        ASSERT_EQ(u.kind, base::Kind::SuperBtn);
        EXPECT_EQ(u.width, 80);
        EXPECT_EQ(u.height, 16);
        EXPECT_EQ(u.flags, std::uint32_t(base::kVisible | base::kTabStop));
        EXPECT_EQ(u.on_event0, base::Action::PlayClip);
        unit_ids.insert(u.id);
        const auto b = widgets::ParseButtonBlock(u.block);
        ASSERT_TRUE(b);
        EXPECT_EQ(b->caption.size(), 8u) << u.name;
        caption_by_name[u.name] = b->caption;
    }
    EXPECT_EQ(unit_ids.size(), 44u);
    EXPECT_EQ(caption_by_name.count("超级按钮6"), 0u);
    EXPECT_EQ(Hex(caption_by_name["超级按钮1"]), "B4 F3 D6 DA D0 A6 C9 F9 ");  // 大众笑声
    EXPECT_EQ(caption_by_name["超级按钮24"], "Karvon笑");
    EXPECT_EQ(caption_by_name["超级按钮45"], "我是大海");
    EXPECT_EQ(caption_by_name["超级按钮5"], "口哨声音");
}

TEST(Definitions, ButtonsFormElevenRowsOfFour) {
    // Rows top to bottom, each left to right, by designer number.
    const std::vector<std::vector<int>> rows{{1, 2, 3, 4},     {5, 9, 8, 7},     {13, 10, 11, 12},
                                             {17, 14, 15, 16}, {21, 18, 19, 20}, {25, 22, 23, 24},
                                             {29, 26, 27, 28}, {37, 34, 35, 36}, {33, 30, 31, 32},
                                             {45, 42, 43, 44}, {41, 38, 39, 40}};
    std::map<int, const base::UnitDef*> by_number;
    for (const base::UnitDef& u : FindWindowDef(ids::kBoardWindow)->components())
        if (u.kind == base::Kind::SuperBtn) by_number[std::stoi(std::string(u.name).substr(8))] = &u;
    ASSERT_EQ(by_number.size(), 44u);
    int previous_row_top = -1;
    for (const auto& row : rows) {
        int row_top = 1000;
        for (std::size_t c = 0; c < row.size(); ++c) {
            const base::UnitDef* u = by_number.at(row[c]);
            row_top = std::min(row_top, u->top);
            if (c > 0) {
                EXPECT_GT(u->left, by_number.at(row[c - 1])->left);
                EXPECT_LE(std::abs(u->top - by_number.at(row[c - 1])->top), 3);
            }
        }
        if (previous_row_top >= 0) {
            EXPECT_GE(row_top - previous_row_top, 30);
            EXPECT_LE(row_top - previous_row_top, 37);
        }
        previous_row_top = row_top;
    }
    EXPECT_EQ(by_number.at(1)->left, 8);
    EXPECT_EQ(by_number.at(1)->top, 178);
    EXPECT_EQ(by_number.at(5)->left, 7);
    EXPECT_EQ(by_number.at(41)->top, 522);
}

}  // namespace
