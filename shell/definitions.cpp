#include "shell/definitions.h"

#include <array>

#include "shell/window_props.h"
#include "web/html_props.h"
#include "widgets/button_props.h"
#include "widgets/label_props.h"
#include "widgets/timer_props.h"

namespace shell {
namespace {

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

struct ButtonRow {
    std::uint32_t id;
    const char* name;
    std::int32_t left, top;
};

// Stored order of the board's buttons; captions follow in the same order.
constexpr std::array<ButtonRow, 44> kButtonRows{{
    {0x16010143, "超级按钮38", 102, 521}, {0x16010144, "超级按钮39", 195, 520},
    {0x16010145, "超级按钮40", 291, 519}, {0x16010146, "超级按钮41", 8, 522},
    {0x16010147, "超级按钮42", 102, 487}, {0x16010148, "超级按钮43", 195, 486},
    {0x16010149, "超级按钮44", 291, 485}, {0x1601014A, "超级按钮45", 8, 488},
    {0x16010120, "超级按钮30", 102, 457}, {0x16010121, "超级按钮31", 195, 456},
    {0x16010122, "超级按钮32", 291, 455}, {0x16010123, "超级按钮33", 8, 458},
    {0x16010124, "超级按钮34", 102, 423}, {0x16010125, "超级按钮35", 195, 422},
    {0x16010126, "超级按钮36", 291, 421}, {0x16010127, "超级按钮37", 8, 424},
    {0x1601010E, "超级按钮26", 102, 392}, {0x1601010F, "超级按钮27", 195, 391},
    {0x16010110, "超级按钮28", 291, 390}, {0x16010111, "超级按钮29", 8, 393},
    {0x16010100, "超级按钮22", 102, 358}, {0x16010101, "超级按钮23", 195, 357},
    {0x16010102, "超级按钮24", 291, 356}, {0x16010103, "超级按钮25", 8, 359},
    {0x160100EE, "超级按钮18", 102, 323}, {0x160100EF, "超级按钮19", 195, 322},
    {0x160100F0, "超级按钮20", 291, 321}, {0x160100F1, "超级按钮21", 8, 324},
    {0x160100E1, "超级按钮14", 102, 289}, {0x160100E2, "超级按钮15", 195, 288},
    {0x160100E3, "超级按钮16", 291, 287}, {0x160100E4, "超级按钮17", 8, 290},
    {0x160100D7, "超级按钮10", 102, 252}, {0x160100D8, "超级按钮11", 195, 251},
    {0x160100D9, "超级按钮12", 291, 250}, {0x160100DA, "超级按钮13", 8, 253},
    {0x160100CE, "超级按钮9", 101, 215}, {0x160100CD, "超级按钮8", 194, 214},
    {0x160100CC, "超级按钮7", 290, 213}, {0x160100CA, "超级按钮5", 7, 216},
    {0x160100C6, "超级按钮4", 288, 178}, {0x160100C3, "超级按钮3", 194, 178},
    {0x160100C0, "超级按钮2", 101, 178}, {0x160100BB, "超级按钮1", 8, 178},
}};

// Every caption is four characters, eight GBK bytes, so the blocks share one size.
constexpr std::array kButtonBlocks{
    widgets::BoardButtonBlock("吐得习惯"), widgets::BoardButtonBlock("爱拍马屁"),
    widgets::BoardButtonBlock("后果严重"), widgets::BoardButtonBlock("有没天理"),
    widgets::BoardButtonBlock("我会回来"), widgets::BoardButtonBlock("他们来了"),
    widgets::BoardButtonBlock("我很忙啊"), widgets::BoardButtonBlock("我是大海"),
    widgets::BoardButtonBlock("我太有才"), widgets::BoardButtonBlock("不要逼我"),
    widgets::BoardButtonBlock("老折磨我"), widgets::BoardButtonBlock("一会再说"),
    widgets::BoardButtonBlock("葵花点穴"), widgets::BoardButtonBlock("我是胡侃"),
    widgets::BoardButtonBlock("回家吃吧"), widgets::BoardButtonBlock("我要走了"),
    widgets::BoardButtonBlock("猪快出来"), widgets::BoardButtonBlock("你快来呀"),
    widgets::BoardButtonBlock("真的是猪"), widgets::BoardButtonBlock("各种狂笑"),
    widgets::BoardButtonBlock("手枪声音"), widgets::BoardButtonBlock("心跳声音"),
    widgets::BoardButtonBlock("Karvon笑"), widgets::BoardButtonBlock("打碎玻璃"),
    widgets::BoardButtonBlock("我鄙视你"), widgets::BoardButtonBlock("震撼屁声"),
    widgets::BoardButtonBlock("做人厚道"), widgets::BoardButtonBlock("乌鸦飞过"),
    widgets::BoardButtonBlock("笑声鼓掌"), widgets::BoardButtonBlock("尖叫鼓掌"),
    widgets::BoardButtonBlock("稍微鼓掌"), widgets::BoardButtonBlock("正常鼓掌"),
    widgets::BoardButtonBlock("女人砍刀"), widgets::BoardButtonBlock("机枪枪毙"),
    widgets::BoardButtonBlock("送去医院"), widgets::BoardButtonBlock("撒娇摇头"),
    widgets::BoardButtonBlock("接吻声音"), widgets::BoardButtonBlock("女生尖叫"),
    widgets::BoardButtonBlock("女生媚笑"), widgets::BoardButtonBlock("口哨声音"),
    widgets::BoardButtonBlock("小孩哭笑"), widgets::BoardButtonBlock("邪恶地笑"),
    widgets::BoardButtonBlock("男人奸笑"), widgets::BoardButtonBlock("大众笑声"),
};
static_assert(kButtonBlocks.size() == kButtonRows.size());

constexpr std::array<UnitDef, 47> MakeBoardUnits() {
    std::array<UnitDef, 47> u{{
        {Kind::Window, ids::kBoardUnit, "", 50, 50, 400, 600, kVisible, Action::BoardCreated,
         kBoardBlock},
        {Kind::HtmlViewer, ids::kWebPanel, "超文本浏览框1", 8, 8, 376, 160, kVisible | kTabStop,
         Action::None, kWebBlock},
        {Kind::TransLabel, ids::kTitleLabel, "透明标签1", 156, 549, 228, 24, kVisible, Action::None,
         kLabelBlock},
    }};
    for (std::size_t i = 0; i < kButtonRows.size(); ++i) {
        const ButtonRow& b = kButtonRows[i];
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
