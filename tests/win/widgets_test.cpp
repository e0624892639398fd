// The image button and the transparent label on real windows: what they
// paint, read back from a memory DC, and how the button answers real input.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "shell/definitions.h"
#include "shell/shell.h"
#include "shell/shell_state.h"
#include "tests/win/widgets_support.h"
#include "tests/win/win_test_util.h"
#include "widgets/button_look.h"
#include "widgets/image_button.h"
#include "widgets/label_look.h"
#include "widgets/trans_label.h"

namespace {

using namespace wintest;
using widgets::ImageButton;
using widgets::TransLabel;

// Each test that shows a host has a place of its own on the screen.
enum Slot {
    kSlotRest, kSlotDisabled, kSlotFocus, kSlotWrap,
    kSlotHover, kSlotPress, kSlotMoveOff, kSlotEnterHeld, kSlotHoverEnds, kSlotDoubleClick,
    kSlotFocusEvents,
    kSlotGlyphs, kSlotEffects, kSlotAlign, kSlotNoClip, kSlotBeneath,
};

constexpr COLORREF kMagenta = RGB(255, 0, 255);
constexpr std::uint32_t kUnit = 0x1601F001, kOtherUnit = 0x1601F002;
constexpr auto kBoardBlock = widgets::BoardButtonBlock("大众笑声");
constexpr auto kLabelBlock = widgets::LabelBlock(0, 0x00FF8800, 0, 1, false, "Label text");
constexpr RECT kButtonAt{20, 20, 100, 36};  // 80 by 16, as on the board
constexpr RECT kInterior{1, 1, 79, 15};     // inside the thin frame
constexpr RECT kLabelAt{10, 10, 170, 34};   // 160 by 24
constexpr COLORREF kLabelBlue = 0x00FF8800;

COLORREF Face() { return GetSysColor(COLOR_BTNFACE); }
COLORREF Hot() { return widgets::HoverBackground(Face()); }
COLORREF Light() { return GetSysColor(COLOR_BTNHIGHLIGHT); }
COLORREF Dark() { return GetSysColor(COLOR_BTNSHADOW); }

auto Not(COLORREF c) {
    return [c](COLORREF p) { return p != c; };
}
auto Is(COLORREF c) {
    return [c](COLORREF p) { return p == c; };
}

class Widgets : public testing::Test {
protected:
    static void SetUpTestSuite() {
        static bool initialised = false;
        if (!initialised) shell::InitShell();
        initialised = true;
    }
    void TearDown() override {
        if (LeftHeld()) LeftUp();
        wintest::ResetShell();
    }

    std::shared_ptr<ImageButton> AddButton(WidgetHost& host, RECT at = kButtonAt, std::uint32_t unit = kUnit) {
        return std::dynamic_pointer_cast<ImageButton>(
            host.Add(widgets::kImageButtonModule, base::Kind::SuperBtn, unit, kBoardBlock, at));
    }
    // Counts the raises of `event` of a host component.
    int* Count(std::uint32_t unit, int event) {
        counters_.push_back(std::make_unique<int>(0));
        int* n = counters_.back().get();
        shell::State().bindings[{kHostWindowId, unit, event}] = [n] { ++*n; };
        return n;
    }

    std::vector<std::unique_ptr<int>> counters_;
};

// The four edges of a one-pixel frame, as drawn: the top and left edges stop
// one short of the far corners, which belong to the bottom and right ones.
void ExpectFrame(const Canvas& c, COLORREF top_left, COLORREF bottom_right, const char* what) {
    const int w = c.width(), h = c.height();
    for (int x = 0; x < w - 1; ++x) EXPECT_EQ(c.At(x, 0), top_left) << what << ": top edge at x " << x;
    for (int y = 0; y < h - 1; ++y) EXPECT_EQ(c.At(0, y), top_left) << what << ": left edge at y " << y;
    for (int y = 0; y < h; ++y) EXPECT_EQ(c.At(w - 1, y), bottom_right) << what << ": right edge at y " << y;
    for (int x = 0; x < w; ++x) EXPECT_EQ(c.At(x, h - 1), bottom_right) << what << ": bottom edge at x " << x;
}

bool Pushed(HWND b) { return (SendMessageW(b, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0; }

// ---- painting at rest, disabled, focused, wrapped ----------------------

using WidgetPaint = Widgets;

TEST_F(WidgetPaint, RestingButtonIsAFlatFaceWithItsCaptionCentred) {
    WidgetHost host(kSlotRest, Face());
    auto b = AddButton(host);
    ASSERT_TRUE(b);
    const Canvas rest = PrintClient(b->hwnd(), kMagenta);
    ExpectFrame(rest, Face(), Face(), "no frame at rest");
    EXPECT_EQ(CountOf(rest, Is(kMagenta), {0, 0, 80, 16}), 0) << "one fill covers the whole button";
    const PixelBox ink = BoxOf(rest, Not(Face()), kInterior);
    ASSERT_FALSE(ink.empty()) << "caption drawn";
    EXPECT_GT(CountOf(rest, Is(GetSysColor(COLOR_BTNTEXT)), kInterior), 0) << "in the button-text colour";
    EXPECT_LE(std::abs(ink.left - (80 - ink.right)), 2) << "centred across: " << ink.left << ".." << ink.right;
    EXPECT_GT(ink.width(), 30) << "four characters on one line";
}

TEST_F(WidgetPaint, DisabledCaptionIsEngravedInHighlightAndShadow) {
    WidgetHost host(kSlotDisabled, Face());
    auto b = AddButton(host);
    ASSERT_TRUE(b);
    const PixelBox rest = BoxOf(PrintClient(b->hwnd(), kMagenta), Not(Face()), kInterior);
    EnableWindow(b->hwnd(), FALSE);
    const Canvas off = PrintClient(b->hwnd(), kMagenta);
    ExpectFrame(off, Face(), Face(), "no frame while disabled");
    EXPECT_GT(CountOf(off, Is(Light()), kInterior), 0) << "the light copy";
    EXPECT_GT(CountOf(off, Is(Dark()), kInterior), 0) << "the shadow copy";
    EXPECT_EQ(CountOf(off, Is(GetSysColor(COLOR_BTNTEXT)), kInterior), 0) << "no normal caption";
    // The shadow copy sits where the caption rests; the light one a pixel right and down.
    const PixelBox engraved = BoxOf(off, Not(Face()), kInterior);
    EXPECT_EQ(engraved.left, rest.left);
    EXPECT_EQ(engraved.top, rest.top);
    EXPECT_EQ(engraved.right, rest.right + 1);
    EXPECT_EQ(engraved.bottom, std::min(rest.bottom + 1, int(kInterior.bottom)));
}

TEST_F(WidgetPaint, FocusDrawsNoRectangleUnlessAskedFor) {
    WidgetHost host(kSlotFocus, Face());
    auto b = AddButton(host);
    ASSERT_TRUE(b);
    const Canvas rest = PrintClient(b->hwnd(), kMagenta);
    SetFocus(b->hwnd());
    ASSERT_EQ(GetFocus(), b->hwnd());
    ASSERT_TRUE(SendMessageW(b->hwnd(), BM_GETSTATE, 0, 0) & BST_FOCUS);
    EXPECT_TRUE(PrintClient(b->hwnd(), kMagenta) == rest) << "focus must not change the look";
    ASSERT_TRUE(b->SetProperty(widgets::kBtnDrawFocus, 1));
    EXPECT_FALSE(PrintClient(b->hwnd(), kMagenta) == rest) << "with the focus rectangle asked for";
}

TEST_F(WidgetPaint, CaptionWiderThanTheButtonWrapsToTwoCentredLines) {
    WidgetHost host(kSlotWrap, Face());
    auto b = AddButton(host, RECT{10, 10, 70, 50});  // 60 by 40
    ASSERT_TRUE(b->SetProperty(widgets::kBtnCaption, std::string("Wide caption")));
    wchar_t text[32] = {};
    GetWindowTextW(b->hwnd(), text, 32);
    EXPECT_STREQ(text, L"Wide caption");
    const Canvas c = PrintClient(b->hwnd(), kMagenta);
    // Rows with ink, grouped into lines.
    std::vector<std::pair<int, int>> lines;  // first row, row past the last
    for (int y = 1; y < 39; ++y) {
        const bool inked = CountOf(c, Not(Face()), RECT{1, y, 59, y + 1}) > 0;
        if (inked && (lines.empty() || lines.back().second != y)) lines.emplace_back(y, y + 1);
        else if (inked) lines.back().second = y + 1;
    }
    ASSERT_EQ(lines.size(), 2u);
    for (const auto& [top, bottom] : lines) {
        const PixelBox line = BoxOf(c, Not(Face()), RECT{1, top, 59, bottom});
        EXPECT_LE(std::abs(line.left - (60 - line.right)), 2) << "line at " << top << ": " << line.left << ".."
                                                              << line.right;
    }
    EXPECT_LE(std::abs(lines.front().first - (40 - lines.back().second)), 4)
        << "the block is centred down: " << lines.front().first << ".." << lines.back().second;
}

// ---- the real pointer ---------------------------------------------------

using ButtonPointer = Widgets;

POINT Middle(HWND b, int dx = 0) { return OnScreen(b, 40 + dx, 8); }
POINT Background(const WidgetHost& host) { return OnScreen(host.hwnd(), 150, 70); }

void HoverOver(HWND b, const std::shared_ptr<ImageButton>& button, int dx = 0) {
    PointerTo(Middle(b, dx));
    ASSERT_TRUE(PumpUntil([&] { return button->hovering(); }, 2000)) << "the pointer should light the button";
}

TEST_F(ButtonPointer, HoverBrightensTheFaceAndRaisesTheFrame) {
    WidgetHost host(kSlotHover, Face());
    auto b = AddButton(host);
    ASSERT_TRUE(b);
    HoverOver(b->hwnd(), b);
    const Canvas hot = PrintClient(b->hwnd(), kMagenta);
    EXPECT_EQ(hot.At(3, 3), Hot()) << "face brightened by f = min(32, 255 - r, 255 - g, 255 - b)";
    ExpectFrame(hot, Light(), Dark(), "raised frame");
    // With its own colours the face differs from the highlight, and the
    // raised frame's light edges show.
    const COLORREF green = RGB(0, 160, 0);
    ASSERT_TRUE(b->SetProperty(widgets::kBtnDefaultColor, 0));
    ASSERT_TRUE(b->SetProperty(widgets::kBtnBkColorIn, std::int32_t(green)));
    const Canvas own = PrintClient(b->hwnd(), kMagenta);
    EXPECT_EQ(own.At(3, 3), green);
    ExpectFrame(own, Light(), Dark(), "raised frame over the stored colour");
    EXPECT_GT(CountOf(own, Is(RGB(0, 0, 0)), kInterior), 0) << "the stored hover text colour, black";
}

TEST_F(ButtonPointer, PressSinksTheFrameAndMovesTheCaptionRightAndDown) {
    WidgetHost host(kSlotPress, Face());
    auto b = AddButton(host);
    ASSERT_TRUE(b);
    int* clicks = Count(kUnit, widgets::kEventClicked);
    HoverOver(b->hwnd(), b);
    const Canvas hot = PrintClient(b->hwnd(), kMagenta);
    LeftDown();
    ASSERT_TRUE(PumpUntil([&] { return Pushed(b->hwnd()); }, 2000));
    const Canvas pressed = PrintClient(b->hwnd(), kMagenta);
    EXPECT_EQ(pressed.At(3, 3), Hot());
    ExpectFrame(pressed, Dark(), Light(), "sunken frame");
    const PixelBox up = BoxOf(hot, Not(Hot()), kInterior), down = BoxOf(pressed, Not(Hot()), kInterior);
    ASSERT_FALSE(up.empty());
    EXPECT_EQ(down.left, up.left + 1);
    EXPECT_EQ(down.top, up.top + 1);
    EXPECT_EQ(down.right, up.right + 1);
    EXPECT_EQ(*clicks, 0) << "no click while held";
    LeftUp();
    EXPECT_TRUE(PumpUntil([&] { return *clicks == 1; }, 2000)) << "release inside clicks once";
    PumpFor(50);
    EXPECT_EQ(*clicks, 1);
    EXPECT_FALSE(Pushed(b->hwnd()));
    // Risen again: the caption back in place and no sunken frame. (Whether it
    // is still lit depends on keeping the focus, which another program's
    // window may take meanwhile.)
    const Canvas after = PrintClient(b->hwnd(), kMagenta);
    const COLORREF back = after.At(3, 3);
    const PixelBox risen = BoxOf(after, Not(back), kInterior);
    EXPECT_EQ(risen.left, up.left);
    EXPECT_EQ(risen.top, up.top);
    EXPECT_NE(after.At(0, 0), Dark());
}

TEST_F(ButtonPointer, PressMoveOffAndReleaseGivesNoClickAndTheFlatFace) {
    WidgetHost host(kSlotMoveOff, Face());
    auto b = AddButton(host);
    ASSERT_TRUE(b);
    int* clicks = Count(kUnit, widgets::kEventClicked);
    const Canvas rest = PrintClient(b->hwnd(), kMagenta);
    HoverOver(b->hwnd(), b);
    LeftDown();
    ASSERT_TRUE(PumpUntil([&] { return Pushed(b->hwnd()); }, 2000));
    PointerTo(Background(host));
    EXPECT_TRUE(PumpUntil([&] { return !Pushed(b->hwnd()) && !b->hovering(); }, 2000));
    LeftUp();
    PumpFor(100);
    EXPECT_EQ(*clicks, 0);
    EXPECT_NE(GetCapture(), b->hwnd());
    EXPECT_TRUE(PrintClient(b->hwnd(), kMagenta) == rest) << "the flat face again";
}

TEST_F(ButtonPointer, EnteringWithTheButtonHeldDoesNotLightIt) {
    WidgetHost host(kSlotEnterHeld, Face());
    auto b = AddButton(host);
    ASSERT_TRUE(b);
    int* clicks = Count(kUnit, widgets::kEventClicked);
    const Canvas rest = PrintClient(b->hwnd(), kMagenta);
    PointerTo(Background(host));
    LeftDown();
    PointerTo(Middle(b->hwnd()));
    PointerTo(Middle(b->hwnd(), 3));
    PumpFor(100);
    EXPECT_FALSE(b->hovering());
    EXPECT_TRUE(PrintClient(b->hwnd(), kMagenta) == rest);
    LeftUp();
    PumpFor(50);
    EXPECT_EQ(*clicks, 0) << "a press that began elsewhere is no click";
    // Once the button is up, the next movement lights it.
    HoverOver(b->hwnd(), b, -3);
}

TEST_F(ButtonPointer, HoverEndsOnLeaveFocusLossCancelModeAndDisable) {
    WidgetHost host(kSlotHoverEnds, Face());
    auto b = AddButton(host);
    ASSERT_TRUE(b);
    auto other = AddButton(host, RECT{20, 50, 100, 66}, kOtherUnit);
    ASSERT_TRUE(other);
    HWND h = b->hwnd();

    HoverOver(h, b);
    PointerTo(Background(host));
    EXPECT_TRUE(PumpUntil([&] { return !b->hovering(); }, 3000)) << "mouse leave";

    HoverOver(h, b, 1);
    SetFocus(h);
    EXPECT_TRUE(b->hovering());
    SetFocus(other->hwnd());
    EXPECT_FALSE(b->hovering()) << "focus loss";

    HoverOver(h, b, 2);
    SendMessageW(h, WM_CANCELMODE, 0, 0);
    EXPECT_FALSE(b->hovering()) << "cancel mode";

    HoverOver(h, b, 3);
    EnableWindow(h, FALSE);
    EXPECT_FALSE(b->hovering()) << "disabled";
    EXPECT_EQ(PrintClient(h, kMagenta).At(3, 3), Face());
}

TEST_F(ButtonPointer, QuickSecondClickIsAClickToo) {
    WidgetHost host(kSlotDoubleClick, Face());
    auto b = AddButton(host);
    ASSERT_TRUE(b);
    int* clicks = Count(kUnit, widgets::kEventClicked);
    HoverOver(b->hwnd(), b);
    LeftDown();
    LeftUp();
    LeftDown();  // within the double-click time
    LeftUp();
    EXPECT_TRUE(PumpUntil([&] { return *clicks == 2; }, 2000)) << "clicks: " << *clicks;
}

// ---- focus events -------------------------------------------------------

using ButtonEvents = Widgets;

TEST_F(ButtonEvents, FocusGainedAndLostAreRaised) {
    WidgetHost host(kSlotFocusEvents, Face());
    auto a = AddButton(host);
    ASSERT_TRUE(a);
    auto b = AddButton(host, RECT{20, 50, 100, 66}, kOtherUnit);
    ASSERT_TRUE(b);
    int* a_gained = Count(kUnit, widgets::kEventFocusGained);
    int* a_lost = Count(kUnit, widgets::kEventFocusLost);
    int* b_gained = Count(kOtherUnit, widgets::kEventFocusGained);
    int* a_clicks = Count(kUnit, widgets::kEventClicked);
    SetFocus(a->hwnd());
    EXPECT_EQ(*a_gained, 1);
    EXPECT_EQ(*a_lost, 0);
    SetFocus(b->hwnd());
    EXPECT_EQ(*a_lost, 1);
    EXPECT_EQ(*b_gained, 1);
    EXPECT_EQ(*a_gained, 1);
    EXPECT_EQ(*a_clicks, 0);
}

// ---- the board's own buttons and label ----------------------------------

using BoardWidgets = Widgets;

TEST_F(BoardWidgets, EveryButtonAndTheLabelAreTheRealComponents) {
    using namespace shell;
    LoadStartWindow(ids::kStartWindow);  // the board's created action unloads it
    ASSERT_TRUE(LoadWindow(ids::kBoardWindow, 0, false));
    int buttons = 0;
    for (const base::UnitDef& u : FindWindowDef(ids::kBoardWindow)->components()) {
        auto* o = reinterpret_cast<base::UnitObject*>(ServiceEntry(base::kFindObject, ids::kBoardWindow, u.id));
        ASSERT_NE(o, nullptr) << u.name;
        HWND h = o->hwnd();
        if (u.kind == base::Kind::SuperBtn) {
            ++buttons;
            auto* b = dynamic_cast<ImageButton*>(static_cast<base::Component*>(o));
            ASSERT_NE(b, nullptr) << u.name;
            char cls[16] = {};
            GetClassNameA(h, cls, 16);
            EXPECT_STREQ(cls, "Button");
            EXPECT_EQ(GetWindowLongW(h, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW) << u.name;
            EXPECT_EQ(SendMessageW(h, WM_GETDLGCODE, 0, 0), DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON) << u.name;
            EXPECT_EQ(b->GetProperty(widgets::kBtnCaption), base::PropertyValue(widgets::ParseButtonBlock(u.block)->caption));
            EXPECT_EQ(b->GetProperty(widgets::kBtnStyle), base::PropertyValue(widgets::kFlat));
            EXPECT_EQ(b->GetProperty(widgets::kBtnDefaultStyle), base::PropertyValue(0));
            EXPECT_EQ(b->GetProperty(widgets::kBtnDefaultColor), base::PropertyValue(1));
            EXPECT_FALSE(b->GetProperty(35));
        } else if (u.kind == base::Kind::TransLabel) {
            auto* l = dynamic_cast<TransLabel*>(static_cast<base::Component*>(o));
            ASSERT_NE(l, nullptr);
            wchar_t cls[32] = {};
            GetClassNameW(h, cls, 32);
            EXPECT_STREQ(cls, widgets::kTransLabelClass);
            EXPECT_TRUE(GetWindowLongW(h, GWL_EXSTYLE) & WS_EX_TRANSPARENT);
            EXPECT_EQ(GetClassLongW(h, GCL_STYLE) & (CS_HREDRAW | CS_VREDRAW), DWORD(CS_HREDRAW | CS_VREDRAW));
            EXPECT_EQ(GetClassLongPtrW(h, GCLP_HBRBACKGROUND), 0);
            EXPECT_EQ(l->GetProperty(widgets::kLabelColour), base::PropertyValue(std::int32_t(kLabelBlue)));
            EXPECT_EQ(l->GetProperty(widgets::kLabelVAlign), base::PropertyValue(1));
            EXPECT_EQ(l->GetProperty(widgets::kLabelEffect), base::PropertyValue(0));
            RECT r;
            GetWindowRect(h, &r);
            MapWindowPoints(nullptr, GetParent(h), reinterpret_cast<POINT*>(&r), 2);
            EXPECT_EQ(r.left, 156);
            EXPECT_EQ(r.top, 549);
            EXPECT_EQ(r.right - r.left, 228);
            EXPECT_EQ(r.bottom - r.top, 24);
            // The title as the user reads it, whatever the system's code page.
            wchar_t text[64] = {};
            GetWindowTextW(h, text, 64);
            EXPECT_STREQ(text, L"直播音效板 v1.0 晨声工作室 2026.12");
            // Blue glyphs of the default GUI font and nothing else.
            const Canvas c = PrintClient(h, kMagenta);
            EXPECT_GT(CountOf(c, Is(kLabelBlue), RECT{0, 0, 228, 24}), 20);
            EXPECT_GT(CountOf(c, Is(kMagenta), RECT{0, 0, 228, 24}), 228 * 24 / 2);
        }
    }
    EXPECT_EQ(buttons, 44);
}

struct KeyRun {
    int clicks = 0;
    int step = 0;   // ticks of the test's timer
    int stage = 0;  // keys sent so far
    HWND button = nullptr;
    std::vector<int> clicks_after;  // after Space, the mouse, Enter, Enter on a default button
    bool esc_sent = false;
};
KeyRun g_keys;
constexpr std::uint32_t kBoardButton = 0x16010143;  // 超级按钮38, first in tab order

void PostKey(HWND h, WPARAM key, UINT scan) {
    PostMessageW(h, WM_KEYDOWN, key, LPARAM(1 | scan << 16));
    PostMessageW(h, WM_KEYUP, key, LPARAM(1 | scan << 16 | 0xC0000000u));
}

void CALLBACK DriveTheBoardByKeys(HWND, UINT, UINT_PTR, DWORD) {
    using namespace shell;
    auto* o = reinterpret_cast<base::UnitObject*>(ServiceEntry(base::kFindObject, ids::kBoardWindow, 0));
    if (!o || !IsWindowVisible(o->hwnd())) return;
    if (g_keys.step++ > 150) {  // stuck: end the run rather than hang
        PostMessageW(o->hwnd(), WM_CLOSE, 0, 0);
        return;
    }
    // Keys go where the focus is; another program's window may have taken
    // the activation meanwhile, so put the focus back before each step.
    g_keys.button = GetWindowHandle(ids::kBoardWindow, kBoardButton);
    SetFocus(g_keys.button);
    if (GetFocus() != g_keys.button) return;  // try again on the next tick
    switch (g_keys.stage++) {
        case 0:
            PostKey(g_keys.button, VK_SPACE, 0x39);
            break;
        case 1:
            g_keys.clicks_after.push_back(g_keys.clicks);
            PostMessageW(g_keys.button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(40, 8));
            PostMessageW(g_keys.button, WM_LBUTTONUP, 0, MAKELPARAM(40, 8));
            break;
        case 2:
            g_keys.clicks_after.push_back(g_keys.clicks);
            PostKey(g_keys.button, VK_RETURN, 0x1C);
            break;
        case 3:
            g_keys.clicks_after.push_back(g_keys.clicks);
            // The same key on a button marked as default does click it.
            SetComponentProperty(ids::kBoardWindow, kBoardButton, widgets::kBtnDefaultStyle, 1);
            PostKey(g_keys.button, VK_RETURN, 0x1C);
            break;
        case 4:
            g_keys.clicks_after.push_back(g_keys.clicks);
            g_keys.esc_sent = true;
            PostKey(g_keys.button, VK_ESCAPE, 0x01);
            break;
        default:
            break;
    }
}

TEST_F(BoardWidgets, SpaceClicksAsTheMouseDoesAndEnterOnlyOnADefaultButton) {
    using namespace shell;
    g_keys = KeyRun{};
    State().bindings[{ids::kBoardWindow, kBoardButton, 0}] = [] { ++g_keys.clicks; };
    LoadStartWindow(ids::kStartWindow);
    SetComponentProperty(ids::kStartWindow, ids::kTimer2, 8, 50);
    const UINT_PTR t = SetTimer(nullptr, 0, 30, DriveTheBoardByKeys);
    RunMessageLoop();  // the program's own loop, with its dialog keyboard handling
    KillTimer(nullptr, t);
    ASSERT_TRUE(g_keys.esc_sent) << "the board never took the keys (stage " << g_keys.stage << ")";
    EXPECT_LE(g_keys.step, 150) << "Esc did not close the board";
    ASSERT_EQ(g_keys.clicks_after.size(), 4u);
    EXPECT_EQ(g_keys.clicks_after[0], 1) << "Space on the focused button";
    EXPECT_EQ(g_keys.clicks_after[1], 2) << "a mouse click";
    EXPECT_EQ(g_keys.clicks_after[2], 2) << "Enter on a button that is not the default";
    EXPECT_EQ(g_keys.clicks_after[3], 3) << "Enter on the default button";
}

// ---- the transparent label ---------------------------------------------

using WidgetLabel = Widgets;

// A bitmap font look: every pixel is the ink or what was there.
std::string CrispFont() {
    LOGFONTA lf{};
    lf.lfHeight = -13;
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = NONANTIALIASED_QUALITY;
    std::strcpy(lf.lfFaceName, "Tahoma");
    return std::string(reinterpret_cast<const char*>(&lf), sizeof lf);
}

std::shared_ptr<TransLabel> AddLabel(WidgetHost& host, RECT at = kLabelAt) {
    auto l = std::dynamic_pointer_cast<TransLabel>(
        host.Add(widgets::kTransLabelModule, base::Kind::TransLabel, kUnit, kLabelBlock, at, base::kVisible));
    if (l) l->SetProperty(widgets::kLabelFont, CrispFont());
    return l;
}

constexpr int kPast = 8;  // canvas beyond the label, for what runs past its edges

TEST_F(WidgetLabel, DrawsOnlyGlyphsInItsColour) {
    WidgetHost host(kSlotGlyphs, RGB(0, 128, 0));
    auto l = AddLabel(host);
    ASSERT_TRUE(l);
    const Canvas c = PrintClient(l->hwnd(), kMagenta, kPast, kPast);
    const RECT all{0, 0, c.width(), c.height()};
    const int ink = CountOf(c, Is(kLabelBlue), all);
    EXPECT_GT(ink, 30);
    EXPECT_EQ(ink + CountOf(c, Is(kMagenta), all), c.width() * c.height()) << "glyphs and what lay beneath only";
    // The default GUI font, when the font block is empty, draws the same way.
    ASSERT_TRUE(l->SetProperty(widgets::kLabelFont, std::string()));
    EXPECT_GT(CountOf(PrintClient(l->hwnd(), kMagenta), Is(kMagenta), RECT{0, 0, 160, 24}), 160 * 24 / 2);
}

TEST_F(WidgetLabel, EachEffectPutsItsCopyWhereItBelongs) {
    WidgetHost host(kSlotEffects, RGB(0, 128, 0));
    auto l = AddLabel(host);
    ASSERT_TRUE(l);
    const Canvas plain = PrintClient(l->hwnd(), kMagenta, kPast, kPast);
    for (std::int32_t effect : {1, 2, 3}) {
        ASSERT_TRUE(l->SetProperty(widgets::kLabelEffect, effect));
        const Canvas got = PrintClient(l->hwnd(), kMagenta, kPast, kPast);
        Canvas want(got.width(), got.height(), kMagenta);
        for (const widgets::TextPass& pass : widgets::EffectPasses(effect)) {
            const COLORREF ink = pass.ink == widgets::Ink::White   ? RGB(255, 255, 255)
                                 : pass.ink == widgets::Ink::Black ? RGB(0, 0, 0)
                                                                   : kLabelBlue;
            for (int y = 0; y + pass.dy < want.height(); ++y)
                for (int x = 0; x + pass.dx < want.width(); ++x)
                    if (plain.At(x, y) == kLabelBlue) want.Set(x + pass.dx, y + pass.dy, ink);
        }
        EXPECT_TRUE(got == want) << "effect " << effect;
    }
    EXPECT_GT(CountOf(PrintClient(l->hwnd(), kMagenta), Is(RGB(0, 0, 0)), RECT{0, 0, 160, 24}), 0)
        << "the black drop shadow shows";
}

TEST_F(WidgetLabel, AlignmentAndWordWrapPlaceTheCaption) {
    WidgetHost host(kSlotAlign, RGB(0, 128, 0));
    auto l = AddLabel(host);
    ASSERT_TRUE(l);
    auto ink = [&] { return BoxOf(PrintClient(l->hwnd(), kMagenta, kPast, kPast), Is(kLabelBlue)); };
    const PixelBox left = ink();
    EXPECT_LE(left.left, 2);
    EXPECT_LE(std::abs(left.top - (24 - left.bottom)), 4) << "middle: " << left.top << ".." << left.bottom;
    l->SetProperty(widgets::kLabelAlign, 2);
    EXPECT_GE(ink().right, 157);
    EXPECT_LE(ink().right, 160);
    l->SetProperty(widgets::kLabelAlign, 1);
    EXPECT_LE(std::abs(ink().left - (160 - ink().right)), 2);
    l->SetProperty(widgets::kLabelVAlign, 0);
    EXPECT_LE(ink().top, 4);
    l->SetProperty(widgets::kLabelVAlign, 2);
    EXPECT_GE(ink().bottom, 20);
    EXPECT_LE(ink().bottom, 24);
    // Wrapped, the caption runs from the top in lines within the width.
    l->SetProperty(widgets::kLabelCaption, std::string("one two three four five six seven eight"));
    l->SetProperty(widgets::kLabelWordWrap, 1);
    const PixelBox wrapped = ink();
    EXPECT_LE(wrapped.right, 160);
    EXPECT_GT(wrapped.height(), 20) << "more than one line";
    wchar_t text[64] = {};
    GetWindowTextW(l->hwnd(), text, 64);
    EXPECT_STREQ(text, L"one two three four five six seven eight");
}

TEST_F(WidgetLabel, LongCaptionIsNotClippedAtTheEdge) {
    WidgetHost host(kSlotNoClip, RGB(0, 128, 0));
    auto l = AddLabel(host);
    ASSERT_TRUE(l);
    l->SetProperty(widgets::kLabelCaption, std::string("A caption much longer than the label it sits in"));
    const Canvas c = PrintClient(l->hwnd(), kMagenta, 200, 0);
    EXPECT_GT(CountOf(c, Is(kLabelBlue), RECT{160, 0, c.width(), 24}), 0);
    ASSERT_TRUE(l->SetProperty(widgets::kLabelCaption, std::string()));
    EXPECT_EQ(CountOf(PrintClient(l->hwnd(), kMagenta), Is(kMagenta), RECT{0, 0, 160, 24}), 160 * 24)
        << "an empty caption draws nothing";
}

TEST_F(WidgetLabel, WritesAndMovesRepaintWhatLiesBeneath) {
    WidgetHost host(kSlotBeneath, RGB(0, 128, 0));
    int over = 0, apart = 0;
    HWND overlapping = CreatePaintCounter(host.hwnd(), RECT{120, 20, 150, 60}, &over);
    HWND far_away = CreatePaintCounter(host.hwnd(), RECT{10, 50, 40, 80}, &apart);
    ASSERT_TRUE(overlapping && far_away);
    auto l = AddLabel(host);
    ASSERT_TRUE(l);
    PumpFor(50);
    ASSERT_FALSE(GetUpdateRect(l->hwnd(), nullptr, FALSE));
    const int host_before = host.paints(), over_before = over, apart_before = apart;

    ASSERT_TRUE(l->SetProperty(widgets::kLabelColour, std::int32_t(RGB(200, 0, 0))));
    // At once, before any message is dispatched: beneath, then what overlaps.
    EXPECT_EQ(host.paints(), host_before + 1);
    EXPECT_EQ(over, over_before + 1);
    EXPECT_EQ(apart, apart_before);
    EXPECT_TRUE(GetUpdateRect(l->hwnd(), nullptr, FALSE)) << "the label itself is left to repaint";
    PumpFor(50);

    SetWindowPos(l->hwnd(), nullptr, 14, 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(host.paints(), host_before + 2);
    EXPECT_EQ(over, over_before + 2);
    EXPECT_EQ(apart, apart_before);
    EXPECT_FALSE(l->SetProperty(widgets::kLabelColour, std::string("red")));
    EXPECT_EQ(host.paints(), host_before + 2) << "a refused write repaints nothing";
}

}  // namespace
