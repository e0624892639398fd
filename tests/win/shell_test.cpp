// Loading, unloading and property writes on the real windows.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <utility>

#include "shell/definitions.h"
#include "base/foreign_calls.h"
#include "shell/shell.h"
#include "shell/shell_state.h"
#include "base/text_win.h"
#include "tests/win/win_test_util.h"
#include "widgets/timer.h"

namespace {

using namespace shell;

class ShellTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        static bool initialised = false;
        if (!initialised) InitShell();
        initialised = true;
    }
    void TearDown() override { wintest::ResetShell(); }
};

RECT ClientOnScreen(HWND h) {
    RECT r;
    GetClientRect(h, &r);
    MapWindowPoints(h, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

RECT ChildRect(HWND child) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

widgets::Timer* TimerObject(std::uint32_t unit) {
    auto* o = reinterpret_cast<base::UnitObject*>(ServiceEntry(base::kFindObject, ids::kStartWindow, unit));
    return dynamic_cast<widgets::Timer*>(static_cast<base::Component*>(o));
}

TEST_F(ShellTest, StartWindowIsCentredBorderlessWithItsOwnTaskbarButton) {
    LoadStartWindow(ids::kStartWindow);
    HWND h = GetWindowHandle(ids::kStartWindow);
    ASSERT_TRUE(IsWindow(h));
    EXPECT_TRUE(IsWindowVisible(h));
    const RECT c = ClientOnScreen(h);
    EXPECT_EQ(c.right - c.left, 600);
    EXPECT_EQ(c.bottom - c.top, 400);
    EXPECT_EQ(c.left, (GetSystemMetrics(SM_CXSCREEN) - 600) / 2);
    EXPECT_EQ(c.top, (GetSystemMetrics(SM_CYSCREEN) - 400) / 2);
    const LONG style = GetWindowLongA(h, GWL_STYLE), ex = GetWindowLongA(h, GWL_EXSTYLE);
    EXPECT_EQ(style & (WS_CAPTION | WS_THICKFRAME | WS_BORDER), 0);
    EXPECT_EQ(GetWindow(h, GW_OWNER), nullptr);
    EXPECT_TRUE(ex & WS_EX_APPWINDOW);
    EXPECT_FALSE(ex & (WS_EX_TOOLWINDOW | WS_EX_TOPMOST));
    EXPECT_NE(SendMessageA(h, WM_GETICON, ICON_BIG, 0), 0);
    EXPECT_NE(SendMessageA(h, WM_GETICON, ICON_SMALL, 0), 0);
    // Both timers live as hidden children, counting from creation.
    for (std::uint32_t unit : {ids::kTimer1, ids::kTimer2}) {
        HWND t = GetWindowHandle(ids::kStartWindow, unit);
        EXPECT_EQ(GetParent(t), h);
        EXPECT_FALSE(IsWindowVisible(t));
        ASSERT_NE(TimerObject(unit), nullptr);
        EXPECT_TRUE(TimerObject(unit)->running());
    }
    EXPECT_EQ(TimerObject(ids::kTimer1)->interval(), 5000);
    EXPECT_EQ(TimerObject(ids::kTimer2)->interval(), 5500);
}

BOOL CALLBACK CountForms(HWND h, LPARAM l) {
    char cls[32];
    if (GetClassNameA(h, cls, 32) && std::strcmp(cls, "SoundBoardForm") == 0) ++*reinterpret_cast<int*>(l);
    return TRUE;
}

TEST_F(ShellTest, LoadingALoadedWindowBringsItBackAndCreatesNoSecond) {
    LoadStartWindow(ids::kStartWindow);
    HWND first = GetWindowHandle(ids::kStartWindow);
    ShowWindow(first, SW_MINIMIZE);
    EXPECT_TRUE(LoadWindow(ids::kStartWindow, 0, false));
    EXPECT_EQ(GetWindowHandle(ids::kStartWindow), first);
    EXPECT_FALSE(IsIconic(first));
    int forms = 0;
    EnumThreadWindows(GetCurrentThreadId(), CountForms, reinterpret_cast<LPARAM>(&forms));
    EXPECT_EQ(forms, 1);
}

TEST_F(ShellTest, ParentThatIsNotLoadedRefusesTheLoad) {
    EXPECT_FALSE(LoadWindow(ids::kBoardWindow, ids::kStartWindow, false));
    EXPECT_EQ(ServiceEntry(base::kFindObject, ids::kBoardWindow, 0), 0);
    EXPECT_EQ(ServiceEntry(base::kLoadWindowRequest, 0, 0), -1);
    LoadRequest unknown{0x52FFFFFF, nullptr, 0};
    EXPECT_EQ(ServiceEntry(base::kLoadWindowRequest, reinterpret_cast<std::uintptr_t>(&unknown), 0), -1);
}

TEST_F(ShellTest, PostedUnloadWaitsForTheLoopAndNowUnloadsAtOnce) {
    LoadStartWindow(ids::kStartWindow);
    HWND h = GetWindowHandle(ids::kStartWindow);
    UnloadWindow(ids::kStartWindow);
    EXPECT_TRUE(IsWindow(h));  // only posted
    EXPECT_TRUE(wintest::PumpUntil([&] { return !IsWindow(h); }, 2000));
    EXPECT_EQ(ServiceEntry(base::kFindObject, ids::kStartWindow, 0), 0);

    LoadStartWindow(ids::kStartWindow);
    h = GetWindowHandle(ids::kStartWindow);
    UnloadWindow(ids::kStartWindow, true);
    EXPECT_FALSE(IsWindow(h));
    // A stray request after the unload has nothing to act on.
    LoadStartWindow(ids::kStartWindow);
    HWND again = GetWindowHandle(ids::kStartWindow);
    SendMessageA(again, kUnloadRequest, 0, 0);
    EXPECT_TRUE(IsWindow(again));
}

TEST_F(ShellTest, PendingUnloadIsCompletedBeforeAReload) {
    LoadStartWindow(ids::kStartWindow);
    HWND old = GetWindowHandle(ids::kStartWindow);
    UnloadWindow(ids::kStartWindow);  // posted, not yet dispatched
    EXPECT_TRUE(LoadWindow(ids::kStartWindow, 0, false));
    EXPECT_FALSE(IsWindow(old));
    HWND fresh = GetWindowHandle(ids::kStartWindow);
    EXPECT_NE(fresh, old);
    wintest::PumpFor(50);  // the old posted request finds no window
    EXPECT_TRUE(IsWindow(fresh));
}

TEST_F(ShellTest, VisiblePropertyHidesTheWindowButKeepsItLoaded) {
    LoadStartWindow(ids::kStartWindow);
    HWND h = GetWindowHandle(ids::kStartWindow);
    SetComponentProperty(ids::kStartWindow, ids::kStartUnit, kPropVisible, 0);
    EXPECT_FALSE(IsWindowVisible(h));
    EXPECT_TRUE(IsWindow(h));
    EXPECT_EQ(GetWindowHandle(ids::kStartWindow), h);
}

TEST_F(ShellTest, CommonPropertyOfAnUnloadedWindowChangesItsNextLoad) {
    SetComponentProperty(ids::kBoardWindow, ids::kWebPanel, kPropWidth, 300);
    SetComponentProperty(ids::kBoardWindow, ids::kWebPanel, kPropTop, 20);
    LoadStartWindow(ids::kStartWindow);  // the board's created action unloads it
    ASSERT_TRUE(LoadWindow(ids::kBoardWindow, 0, false));
    const RECT r = ChildRect(GetWindowHandle(ids::kBoardWindow, ids::kWebPanel));
    EXPECT_EQ(r.left, 8);
    EXPECT_EQ(r.top, 20);
    EXPECT_EQ(r.right - r.left, 300);
    EXPECT_EQ(r.bottom - r.top, 160);
    // Live writes move the live component.
    SetComponentProperty(ids::kBoardWindow, ids::kWebPanel, kPropLeft, 30);
    EXPECT_EQ(ChildRect(GetWindowHandle(ids::kBoardWindow, ids::kWebPanel)).left, 30);
}

TEST_F(ShellTest, TimerIntervalWritesFollowTheRules) {
    LoadStartWindow(ids::kStartWindow);
    widgets::Timer* t = TimerObject(ids::kTimer2);
    ASSERT_NE(t, nullptr);
    SetComponentProperty(ids::kStartWindow, ids::kTimer2, 8, -20);
    EXPECT_EQ(t->interval(), 0);
    EXPECT_FALSE(t->running());
    SetComponentProperty(ids::kStartWindow, ids::kTimer2, 8, 0);  // same value: nothing happens
    EXPECT_FALSE(t->running());
    SetComponentProperty(ids::kStartWindow, ids::kTimer2, 8, 7000);
    EXPECT_TRUE(t->running());
    EXPECT_EQ(t->interval(), 7000);
    // The system timer is id 1000 on the timer's own window.
    EXPECT_TRUE(KillTimer(GetWindowHandle(ids::kStartWindow, ids::kTimer2), widgets::kSystemTimerId));
}

int g_timer_messages = 0;

LRESULT CALLBACK CountTimerMessages(int code, WPARAM wp, LPARAM lp) {
    if (code == HC_ACTION && wp == PM_REMOVE && reinterpret_cast<MSG*>(lp)->message == WM_TIMER) ++g_timer_messages;
    return CallNextHookEx(nullptr, code, wp, lp);
}

TEST_F(ShellTest, TimerTickRunsItsBoundActionAndStopsWithItsWindow) {
    LoadStartWindow(ids::kStartWindow);
    HWND h = GetWindowHandle(ids::kStartWindow);
    SetComponentProperty(ids::kStartWindow, ids::kTimer1, 8, 30);  // 时钟1 hides the start window
    EXPECT_TRUE(wintest::PumpUntil([&] { return !IsWindowVisible(h); }, 2000));
    ShowWindow(h, SW_SHOWNA);
    EXPECT_TRUE(wintest::PumpUntil([&] { return !IsWindowVisible(h); }, 2000)) << "fires on every period";
    HWND timer = GetWindowHandle(ids::kStartWindow, ids::kTimer1);
    UnloadWindow(ids::kStartWindow, true);
    EXPECT_FALSE(IsWindow(timer));
    g_timer_messages = 0;
    HHOOK hook = SetWindowsHookExA(WH_GETMESSAGE, CountTimerMessages, nullptr, GetCurrentThreadId());
    wintest::PumpFor(100);  // three of its periods
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(g_timer_messages, 0) << "ticks arrived for the destroyed timer";
}

// Whether the process heap holds `p` as a block in use.
bool HeapBlockInUse(const void* p) {
    HANDLE heap = GetProcessHeap();
    HeapLock(heap);
    PROCESS_HEAP_ENTRY e{};
    bool busy = false;
    while (HeapWalk(heap, &e))
        busy = busy || (e.lpData == p && (e.wFlags & PROCESS_HEAP_ENTRY_BUSY));
    HeapUnlock(heap);
    return busy;
}

TEST_F(ShellTest, FreeMemoryLeavesConstantDataAndFreesHeap) {
    static const unsigned char kConstant[16] = {1, 2, 3, 4};
    SetLastError(0xdeadbeef);
    base::FreeMemory(const_cast<unsigned char*>(kConstant));
    base::FreeMemory(nullptr);
    EXPECT_EQ(GetLastError(), 0xdeadbeefu) << "the heap was asked to free constant data";
    void* p = base::AllocMemory(307840);
    ASSERT_NE(p, nullptr);
    std::memset(p, 0xAB, 307840);
    EXPECT_TRUE(HeapBlockInUse(p));
    base::FreeMemory(p);
    EXPECT_FALSE(HeapBlockInUse(p));
}

TEST_F(ShellTest, ForeignCallsResolveOnceAndCallTheRealEntry) {
    static const base::ForeignEntry kEntries[] = {{"user32.dll", "GetSystemMetrics"}, {"GDI32.DLL", "GetStockObject"}};
    base::ForeignCallTable table;
    table.Prepare(kEntries);
    using Metrics = int(WINAPI*)(int);
    EXPECT_EQ(table.Get<Metrics>(0)(SM_CXSCREEN), GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(table.Resolve(0), table.Resolve(0));
    using Stock = HGDIOBJ(WINAPI*)(int);
    EXPECT_EQ(table.Get<Stock>(1)(WHITE_BRUSH), GetStockObject(WHITE_BRUSH));
    table.Release();
    EXPECT_EQ(table.Get<Metrics>(0)(SM_CYSCREEN), GetSystemMetrics(SM_CYSCREEN));
}

#pragma pack(push, 2)
struct IconDirEntry {
    BYTE width, height, colours, reserved;
    WORD planes, bits;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)

TEST(Resources, DefaultIconHoldsFifteenImagesFrom16To256) {
    HRSRC r = FindResourceA(nullptr, "DEFAULT_ICON", reinterpret_cast<LPCSTR>(RT_GROUP_ICON));
    ASSERT_NE(r, nullptr);
    const auto* dir = static_cast<const WORD*>(LockResource(LoadResource(nullptr, r)));
    ASSERT_NE(dir, nullptr);
    ASSERT_EQ(dir[2], 15);  // idReserved, idType, idCount
    const auto* e = reinterpret_cast<const IconDirEntry*>(dir + 3);
    int smallest = 1000, largest = 0;
    for (int i = 0; i < 15; ++i) {
        const int size = e[i].width ? e[i].width : 256;
        EXPECT_EQ(e[i].width, e[i].height);
        EXPECT_EQ(e[i].bits, 32);
        smallest = std::min(smallest, size);
        largest = std::max(largest, size);
    }
    EXPECT_EQ(smallest, 16);
    EXPECT_EQ(largest, 256);
    HICON small = static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), "DEFAULT_ICON", IMAGE_ICON, 16, 16, 0));
    EXPECT_NE(small, nullptr);
    DestroyIcon(small);
}

TEST(Text, GbkConvertsWhateverTheAnsiCodePage) {
    EXPECT_EQ(base::WideFromGbk("\xB4\xF3\xD6\xDA\xD0\xA6\xC9\xF9"), L"大众笑声");
    EXPECT_EQ(base::WideFromGbk("Karvon笑"), L"Karvon笑");
    EXPECT_EQ(base::GbkFromWide(L"口哨声音"), "口哨声音");
    EXPECT_EQ(base::WideFromGbk(""), L"");
}

TEST_F(ShellTest, AChildsCommandReachesItOnlyWithItsOwnId) {
    LoadStartWindow(ids::kStartWindow);  // the board's creation unloads it
    ASSERT_TRUE(LoadWindow(ids::kBoardWindow, 0, false));
    HWND board = GetWindowHandle(ids::kBoardWindow);
    HWND button = FindWindowExA(board, nullptr, "Button", nullptr);
    ASSERT_NE(button, nullptr);
    const int id = GetDlgCtrlID(button);
    auto& bindings = State().bindings;
    const auto it = std::find_if(bindings.begin(), bindings.end(), [&](const auto& b) {
        const auto& [window, unit, event] = b.first;
        return window == ids::kBoardWindow && LOWORD(unit) == LOWORD(id) && event == 0;
    });
    ASSERT_NE(it, bindings.end());
    int clicks = 0;
    auto action = std::exchange(it->second, [&] { ++clicks; });
    SendMessageA(board, WM_COMMAND, MAKEWPARAM(id + 1, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    EXPECT_EQ(clicks, 0) << "another id with this button's handle";
    SendMessageA(board, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    EXPECT_EQ(clicks, 1);
    it->second = std::move(action);
}

}  // namespace
