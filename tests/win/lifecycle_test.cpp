// The run as the two timers drive it, shortened: splash, hide, modal board,
// the deferred unload, keyboard handling, and the end of the program.
#include <gtest/gtest.h>

#include <algorithm>

#include <cstring>
#include <string>
#include <vector>

#include "shell/definitions.h"
#include "shell/shell.h"
#include "shell/shell_state.h"
#include "base/text_win.h"
#include "tests/win/win_test_util.h"
#include "widgets/button_props.h"

namespace {

using namespace shell;

// What the hooks and the test's own timer saw, in order.
struct Observed {
    HWND start = nullptr;
    DWORD start_hidden_at = 0, board_seen_at = 0;
    std::uint32_t slot_when_start_destroyed = 0xFFFFFFFF;
    int start_enabled_when_destroyed = -1;  // -1: not destroyed while watched
    bool deadline_passed = false;
    int forms_created = 0;
    HWND board = nullptr;
    RECT board_rect{};
    LONG board_style = 0, board_ex = 0;
    HWND board_owner = nullptr;
    int board_title_length = -1;
    std::vector<std::wstring> captions;
    std::vector<RECT> button_rects;
    HWND focus_before_tab = nullptr, focus_after_tab = nullptr, next_tab_stop = nullptr;
    int step = 0;
};
Observed g;
HHOOK g_hook = nullptr;

LRESULT CALLBACK CbtHook(int code, WPARAM wp, LPARAM lp) {
    if (code == HCBT_DESTROYWND && reinterpret_cast<HWND>(wp) == g.start) {
        g.slot_when_start_destroyed = ModalSlot();
        g.start_enabled_when_destroyed = IsWindowEnabled(g.start) ? 1 : 0;
    }
    if (code == HCBT_CREATEWND) {
        auto* cs = reinterpret_cast<CBT_CREATEWNDA*>(lp)->lpcs;
        if (!IS_INTRESOURCE(cs->lpszClass) && std::strcmp(cs->lpszClass, "SoundBoardForm") == 0) ++g.forms_created;
    }
    return CallNextHookEx(g_hook, code, wp, lp);
}

class Lifecycle : public testing::Test {
protected:
    static void SetUpTestSuite() {
        static bool initialised = false;
        if (!initialised) InitShell();
        initialised = true;
    }
    void SetUp() override {
        g = Observed{};
        g_hook = SetWindowsHookExA(WH_CBT, CbtHook, nullptr, GetCurrentThreadId());
    }
    void TearDown() override {
        UnhookWindowsHookEx(g_hook);
        KillTimer(nullptr, timer_);
        KillTimer(nullptr, deadline_);
        wintest::ResetShell();
    }
    // A loop of the program's that never ends is ended by a quit message
    // after 20 s, and the test fails with that, not at CTest's time-out.
    void ArmDeadline() {
        deadline_ = SetTimer(nullptr, 0, 20000, EndAtTheDeadline);
    }
    static void CALLBACK EndAtTheDeadline(HWND, UINT, UINT_PTR, DWORD) {
        g.deadline_passed = true;
        PostQuitMessage(0);
    }
    // Runs the program's loop with a watchdog timer of the test's own;
    // `tick` runs on it every 20 ms.
    void RunLoop(TIMERPROC tick) {
        timer_ = SetTimer(nullptr, 0, 20, tick);
        ArmDeadline();
        const DWORD start = GetTickCount();
        RunMessageLoop();
        elapsed_ = GetTickCount() - start;
        EXPECT_FALSE(g.deadline_passed) << "the loop was still running after 20 s";
    }
    UINT_PTR timer_ = 0, deadline_ = 0;
    DWORD elapsed_ = 0;
};

HWND BoardHandle() {
    auto* o = reinterpret_cast<base::UnitObject*>(ServiceEntry(base::kFindObject, ids::kBoardWindow, 0));
    return o ? o->hwnd() : nullptr;
}

void CALLBACK WatchAndClose(HWND, UINT, UINT_PTR, DWORD) {
    if (!g.start_hidden_at && g.start && !IsWindowVisible(g.start)) g.start_hidden_at = GetTickCount();
    HWND board = BoardHandle();
    if (!board || !IsWindowVisible(board) || g.board) return;
    g.board_seen_at = GetTickCount();
    g.board = board;
    GetWindowRect(board, &g.board_rect);
    g.board_style = GetWindowLongA(board, GWL_STYLE);
    g.board_ex = GetWindowLongA(board, GWL_EXSTYLE);
    g.board_owner = GetWindow(board, GW_OWNER);
    g.board_title_length = GetWindowTextLengthA(board);
    for (const base::UnitDef& u : FindWindowDef(ids::kBoardWindow)->components()) {
        if (u.kind != base::Kind::SuperBtn) continue;
        HWND b = GetWindowHandle(ids::kBoardWindow, u.id);
        wchar_t text[32] = {};
        GetWindowTextW(b, text, 32);
        g.captions.emplace_back(text);
        RECT r;
        GetWindowRect(b, &r);
        MapWindowPoints(nullptr, board, reinterpret_cast<POINT*>(&r), 2);
        g.button_rects.push_back(r);
    }
    PostMessageA(board, WM_CLOSE, 0, 0);  // the close box
}

TEST_F(Lifecycle, TimersHideTheSplashOpenTheBoardAndClosingItEndsTheLoop) {
    LoadStartWindow(ids::kStartWindow);
    g.start = GetWindowHandle(ids::kStartWindow);
    SetComponentProperty(ids::kStartWindow, ids::kTimer1, 8, 100);
    SetComponentProperty(ids::kStartWindow, ids::kTimer2, 8, 300);
    RunLoop(WatchAndClose);

    ASSERT_NE(g.board, nullptr) << "the board never showed";
    EXPECT_LT(elapsed_, 5000u);
    EXPECT_NE(g.start_hidden_at, 0u);
    EXPECT_LT(g.start_hidden_at, g.board_seen_at);
    // The start window went inside the board's nested loop, not during the load.
    EXPECT_EQ(g.slot_when_start_destroyed, ids::kBoardWindow);
    EXPECT_EQ(g.start_enabled_when_destroyed, 0) << "the modal board disables the start window";
    EXPECT_FALSE(IsWindow(g.start));
    EXPECT_FALSE(IsWindow(g.board));
    EXPECT_EQ(ModalSlot(), 0u);
    EXPECT_EQ(g.forms_created, 2);

    EXPECT_EQ(g.board_rect.right - g.board_rect.left, 400);
    EXPECT_EQ(g.board_rect.bottom - g.board_rect.top, 600);
    EXPECT_EQ(g.board_rect.left, (GetSystemMetrics(SM_CXSCREEN) - 400) / 2);
    EXPECT_EQ(g.board_rect.top, (GetSystemMetrics(SM_CYSCREEN) - 600) / 2);
    EXPECT_TRUE(g.board_ex & WS_EX_TOPMOST);
    EXPECT_TRUE(g.board_style & WS_MINIMIZEBOX);
    EXPECT_TRUE(g.board_style & WS_SYSMENU);
    EXPECT_EQ(g.board_style & WS_CAPTION, WS_CAPTION);
    EXPECT_FALSE(g.board_style & (WS_MAXIMIZEBOX | WS_THICKFRAME));
    EXPECT_EQ(g.board_owner, OwnerWindow());
    EXPECT_EQ(g.board_title_length, 0);

    ASSERT_EQ(g.captions.size(), 44u);
    std::size_t i = 0;
    for (const base::UnitDef& u : FindWindowDef(ids::kBoardWindow)->components()) {
        if (u.kind != base::Kind::SuperBtn) continue;
        EXPECT_EQ(g.captions[i], base::WideFromGbk(widgets::ParseButtonBlock(u.block)->caption)) << u.name;
        EXPECT_EQ(g.button_rects[i].left, u.left) << u.name;
        EXPECT_EQ(g.button_rects[i].top, u.top) << u.name;
        EXPECT_EQ(g.button_rects[i].right - g.button_rects[i].left, 80);
        EXPECT_EQ(g.button_rects[i].bottom - g.button_rects[i].top, 16);
        ++i;
    }
    // As the user reads them, written out here: right whatever the system's
    // ANSI code page (this test also runs under 1252).
    for (const wchar_t* caption : {L"大众笑声", L"男人奸笑", L"Karvon笑", L"我是大海"})
        EXPECT_NE(std::find(g.captions.begin(), g.captions.end(), caption), g.captions.end()) << caption;
}

void CALLBACK CloseStartEarly(HWND, UINT, UINT_PTR, DWORD) {
    if (g.step++ == 2) PostMessageA(g.start, WM_CLOSE, 0, 0);
}

TEST_F(Lifecycle, ClosingTheSplashBeforeTheBoardEndsTheProgramWithoutIt) {
    LoadStartWindow(ids::kStartWindow);
    g.start = GetWindowHandle(ids::kStartWindow);
    SetComponentProperty(ids::kStartWindow, ids::kTimer2, 8, 400);
    RunLoop(CloseStartEarly);
    EXPECT_FALSE(IsWindow(g.start));
    EXPECT_EQ(g.forms_created, 1);
    EXPECT_LT(elapsed_, 400u) << "the loop should end as the last window goes";
}

void CALLBACK TabThenEsc(HWND, UINT, UINT_PTR, DWORD) {
    HWND board = BoardHandle();
    if (!board || !IsWindowVisible(board)) return;
    switch (g.step++) {
        case 0: {
            g.focus_before_tab = GetWindowHandle(ids::kBoardWindow, 0x16010143);  // 超级按钮38, stored first
            g.next_tab_stop = GetWindowHandle(ids::kBoardWindow, 0x16010144);     // 超级按钮39, stored next
            SetFocus(g.focus_before_tab);
            PostMessageA(g.focus_before_tab, WM_KEYDOWN, VK_TAB, 0);
            break;
        }
        case 1:
            g.focus_after_tab = GetFocus();
            // Keys go to the button that should have the focus, so another
            // program taking the activation cannot swallow them.
            PostMessageA(g.next_tab_stop, WM_KEYDOWN, VK_RETURN, 0);  // no default button: nothing happens
            break;
        case 2:
            g.board = board;
            PostMessageA(g.next_tab_stop, WM_KEYDOWN, VK_ESCAPE, 0);
            break;
        default: break;
    }
}

TEST_F(Lifecycle, TabMovesAmongTabStopsAndEscClosesTheBoard) {
    LoadStartWindow(ids::kStartWindow);
    g.start = GetWindowHandle(ids::kStartWindow);
    SetComponentProperty(ids::kStartWindow, ids::kTimer2, 8, 50);
    RunLoop(TabThenEsc);
    ASSERT_NE(g.focus_before_tab, nullptr);
    EXPECT_EQ(g.focus_after_tab, g.next_tab_stop);
    EXPECT_NE(g.board, nullptr);
    EXPECT_FALSE(IsWindow(g.board)) << "Esc should have closed the board";
    EXPECT_GE(g.step, 3);
}

}  // namespace

namespace {

void CALLBACK QuitInsideTheBoard(HWND, UINT, UINT_PTR, DWORD) {
    HWND board = BoardHandle();
    if (board && IsWindowVisible(board) && g.step++ == 0) {
        g.board = board;
        PostQuitMessage(0);
    }
}

TEST_F(Lifecycle, AWaitingQuitEndsTheNestedLoopAndStaysQueued) {
    LoadStartWindow(ids::kStartWindow);
    const UINT_PTR t = SetTimer(nullptr, 0, 20, QuitInsideTheBoard);
    const std::uint32_t outer_slot = 0x5201ABCD;
    State().modal_slot = outer_slot;  // as if loaded from another modal window
    ArmDeadline();
    EXPECT_TRUE(LoadWindow(ids::kBoardWindow, 0, true));
    KillTimer(nullptr, t);
    ASSERT_FALSE(g.deadline_passed) << "the nested loop was still running after 20 s";
    EXPECT_EQ(ModalSlot(), outer_slot) << "the saved slot comes back";
    EXPECT_TRUE(IsWindow(g.board)) << "the board itself was not closed";
    MSG m;
    EXPECT_TRUE(PeekMessageA(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "quit left for the outer loop";
}

}  // namespace
