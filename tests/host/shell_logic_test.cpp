// Shell logic that needs no window: fatal texts, exit callbacks, timer
// interval rules, frame and placement.
#include <gtest/gtest.h>

#include <vector>

#include "shell/exit_callbacks.h"
#include "base/fatal_text.h"
#include "shell/window_frame.h"
#include "widgets/timer_props.h"

namespace {

using namespace shell;

TEST(FatalText, LayoutWithAndWithoutCodeAndMessage) {
    EXPECT_EQ(base::FatalText("载入启动窗口失败", 0), "运行时出错!\r\n\r\n错误信息：载入启动窗口失败\r\n");
    EXPECT_EQ(base::FatalText(base::kStackMismatch, 6),
              "运行时出错!\r\n\r\n错误代码：6\r\n\r\n错误信息：调用DLL命令后发现堆栈错误\r\n");
    EXPECT_EQ(base::FatalText("", -5), "运行时出错!\r\n\r\n错误代码：-5\r\n\r\n");
    EXPECT_EQ(base::FatalText("", 0), "运行时出错!\r\n\r\n");
}

TEST(FatalText, MessagesCarryTheirNumbersAndNames) {
    EXPECT_EQ(base::AllocFailedMessage(307840), "分配 307840 字节内存失败!");
    EXPECT_EQ(base::MissingEntryMessage("GdiPlus.dll", "GdipFoo"), "无法找到指定DLL库文件“GdiPlus.dll”中的输出命令“GdipFoo”");
    EXPECT_EQ(base::MissingEntryMessage("", "GdipFoo"), "无法找到指定DLL库文件中的输出命令“GdipFoo”");
}

std::vector<int> g_calls;
void First(int pos) { g_calls.push_back(100 + pos); }
void Second(int pos) { g_calls.push_back(200 + pos); }

TEST(ExitCallbacks, RunOnceInOrderWithPositionsAndNoDuplicates) {
    g_calls.clear();
    ExitCallbacks list;
    EXPECT_TRUE(list.Register(First));
    EXPECT_TRUE(list.Register(Second));
    EXPECT_FALSE(list.Register(First));
    EXPECT_FALSE(list.Register(nullptr));
    list.RunAll();
    EXPECT_EQ(g_calls, (std::vector<int>{100, 201}));
    EXPECT_EQ(list.size(), 0u);
    list.RunAll();
    EXPECT_EQ(g_calls.size(), 2u);
}

TEST(ExitCallbacks, DiscardRunsNothing) {
    g_calls.clear();
    ExitCallbacks list;
    list.Register(First);
    list.Discard();
    list.RunAll();
    EXPECT_TRUE(g_calls.empty());
}

TEST(TimerInterval, NegativeIsZeroAndSameValueIsANoOp) {
    using widgets::ChangeInterval;
    auto c = ChangeInterval(5000, true, 5000);
    EXPECT_FALSE(c.changed);
    c = ChangeInterval(5000, true, -7);
    EXPECT_TRUE(c.changed);
    EXPECT_TRUE(c.stop);
    EXPECT_EQ(c.start, 0);
    c = ChangeInterval(0, false, -1);  // negative taken as 0: same as the stopped state
    EXPECT_FALSE(c.changed);
    c = ChangeInterval(0, false, 250);
    EXPECT_TRUE(c.changed);
    EXPECT_FALSE(c.stop);
    EXPECT_EQ(c.start, 250);
    c = ChangeInterval(100, true, 300);
    EXPECT_TRUE(c.stop);
    EXPECT_EQ(c.start, 300);
}

TEST(WindowFrame, BorderStylesAndCentring) {
    WindowProps p;
    p.border = kBorderNone;
    Frame f = FrameFor(p);
    EXPECT_FALSE(f.title_bar || f.system_menu || f.sizable || f.thin_border);
    EXPECT_TRUE(f.min_box);
    p.border = kBorderFixedSingle;
    f = FrameFor(p);
    EXPECT_TRUE(f.title_bar && f.system_menu && f.thin_border && f.min_box);
    EXPECT_FALSE(f.sizable || f.max_box || f.tool_window);
    p.border = kBorderResizableTool;
    f = FrameFor(p);
    EXPECT_TRUE(f.sizable && f.tool_window);
    constexpr Point c = Centre(1025, 767, 400, 600);
    EXPECT_EQ(c.x, 312);  // 625 / 2, rounded down
    EXPECT_EQ(c.y, 83);
    EXPECT_EQ(Centre(300, 200, 600, 400).x, -150);
}

}  // namespace
