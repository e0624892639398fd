#include "shell/definitions.h"

#include <array>

#include "board/buttons.h"
#include "shell/window_props.h"
#include "web/html_props.h"
#include "widgets/button_props.h"
#include "widgets/label_props.h"
#include "widgets/timer_props.h"

namespace shell {
namespace {

// The tables below are written in the base's unit vocabulary.
using base::Action;
using base::Kind;
using base::kTabStop;
using base::kVisible;
using base::UnitDef;
using base::WindowDef;

constexpr auto kStartBlock = WindowBlock({.border = kBorderNone, .control_box = true, .max_box = false,
                                          .min_box = true, .start_position = kCentred, .movable = true,
                                          .enter_moves_focus = false, .esc_closes = true,
                                          .in_taskbar = true, .drag_anywhere = true, .shape = 0,
                                          .topmost = false, .keep_title_active = false});
constexpr auto kBoardBlock = WindowBlock({.border = kBorderFixedSingle, .control_box = true,
                                          .max_box = false, .min_box = true,
                                          .start_position = kCentred, .movable = true,
                                          .enter_moves_focus = false, .esc_closes = true,
                                          .in_taskbar = true, .drag_anywhere = true, .shape = 0,
                                          .topmost = true, .keep_title_active = false});
constexpr auto kTimer1Block = widgets::TimerBlock(5000);
constexpr auto kTimer2Block = widgets::TimerBlock(5500);
constexpr auto kWebBlock = web::HtmlViewerBlock(2, false, false, "");
constexpr auto kLabelBlock =
    widgets::LabelBlock(0, 0x00FF8800, 0, 1, false, "直播音效板 v1.0 晨声工作室 2026.12");

constexpr std::array kStartUnits{
    UnitDef{Kind::Window, ids::kStartUnit, "", 50, 50, 600, 400, kVisible, Action::StartCreated,
            kStartBlock},
    UnitDef{Kind::Timer, ids::kTimer2, "时钟2", 288, 40, 48, 32, 0, Action::OpenBoard, kTimer2Block},
    UnitDef{Kind::Timer, ids::kTimer1, "时钟1", 192, 80, 88, 72, 0, Action::HideStart, kTimer1Block},
};

// The buttons' blocks, from the board's one table of buttons.
using ButtonBlock = decltype(widgets::BoardButtonBlockWith(base::block::TextOf<board::kCaptionBytes>("")));
constexpr std::array<ButtonBlock, board::kButtons.size()> MakeButtonBlocks() {
    std::array<ButtonBlock, board::kButtons.size()> out{};
    for (std::size_t i = 0; i < out.size(); ++i)
        out[i] = widgets::BoardButtonBlockWith(base::block::TextOf<board::kCaptionBytes>(board::kButtons[i].caption));
    return out;
}
constexpr auto kButtonBlocks = MakeButtonBlocks();

constexpr std::array<UnitDef, 47> MakeBoardUnits() {
    std::array<UnitDef, 47> u{{
        {Kind::Window, ids::kBoardUnit, "", 50, 50, 400, 600, kVisible, Action::BoardCreated,
         kBoardBlock},
        {Kind::HtmlViewer, ids::kWebPanel, "超文本浏览框1", 8, 8, 376, 160, kVisible | kTabStop,
         Action::None, kWebBlock},
        {Kind::TransLabel, ids::kTitleLabel, "透明标签1", 156, 549, 228, 24, kVisible, Action::None,
         kLabelBlock},
    }};
    for (std::size_t i = 0; i < board::kButtons.size(); ++i) {
        const board::ButtonRow& b = board::kButtons[i];
        u[3 + i] = UnitDef{Kind::SuperBtn, b.id,    b.name,          b.left,           b.top,
                           80,             16,      kVisible | kTabStop, Action::PlayClip,
                           kButtonBlocks[i]};
    }
    return u;
}
constexpr auto kBoardUnits = MakeBoardUnits();

constexpr std::array kWindows{
    WindowDef{ids::kStartWindow, kStartUnits},
    WindowDef{ids::kBoardWindow, kBoardUnits},
};

bool ValidBlock(const UnitDef& u) {
    switch (u.kind) {
        case Kind::Window: return ParseWindowBlock(u.block).has_value();
        case Kind::Timer: return widgets::ParseTimerBlock(u.block).has_value();
        case Kind::SuperBtn: return widgets::ParseButtonBlock(u.block).has_value();
        case Kind::TransLabel: return widgets::ParseLabelBlock(u.block).has_value();
        case Kind::HtmlViewer: return web::ParseHtmlViewerBlock(u.block).has_value();
    }
    return false;
}

}  // namespace

std::span<const WindowDef> WindowDefinitions() { return kWindows; }

const WindowDef* FindWindowDef(std::uint32_t window_id) {
    for (const WindowDef& w : kWindows)
        if (w.id == window_id) return &w;
    return nullptr;
}

const UnitDef* FindUnitDef(std::uint32_t window_id, std::uint32_t unit_id) {
    const WindowDef* w = FindWindowDef(window_id);
    if (!w) return nullptr;
    if (unit_id == 0) return &w->self();
    for (const UnitDef& u : w->units)
        if (u.id == unit_id) return &u;
    return nullptr;
}

bool ValidateDefinitions(std::span<const WindowDef> windows) {
    for (const WindowDef& w : windows) {
        if (w.units.empty() || w.self().kind != Kind::Window) return false;
        for (const UnitDef& u : w.units)
            if (!ValidBlock(u)) return false;
    }
    return true;
}

}  // namespace shell
