// PNG-drawn controls and the skin engine's window procedures against real
// GDI+, real controls and real messages under Wine: what the composed bitmap
// shows for each control property, and how buttons, edit boxes, the caret
// and the load dialog react.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <thread>

#include "shell/shell.h"
#include "skin/button_proc.h"
#include "skin/caret.h"
#include "skin/comet_font.h"
#include "skin/comet_font_family.h"
#include "skin/control_props.h"
#include "skin/draw_state.h"
#include "skin/edit_proc.h"
#include "skin/load_dialog.h"
#include "skin/png_declare.h"
#include "skin/prop_read.h"
#include "skin/skin_module.h"
#include "skin/splash_image.h"
#include "tests/win/skin_demo.h"
#include "tests/win/win_test_util.h"

extern "C" {
int WINAPI GdipCreateFromHDC(HDC, skin::GpGraphics**);
int WINAPI GdipDeleteGraphics(skin::GpGraphics*);
}

namespace {

using namespace skintest;
using skin::PropValue;
using skin::REAL;
using skin::SetPropValue;

class SkinControls : public testing::Test {
protected:
    static void SetUpTestSuite() {
        wintest::StartShellAndSkinOnce();
        static const bool registered = (RegisterTestClasses(), true);
        (void)registered;
    }
    void SetUp() override { Recorded().clear(); }
    void TearDown() override {
        for (HWND h : windows_)
            if (IsWindow(h)) DestroyWindow(h);
    }
    // A frameless window with a solid background, attached to `engine_`.
    HWND Skinned(int w, int h, bool background = true) {
        HWND hwnd = Host(kQuietCorner.x, kQuietCorner.y, w, h);
        windows_.push_back(hwnd);
        engine_.Attach(hwnd);
        if (background) engine_.SetBackImage(back_.get());
        return hwnd;
    }
    static unsigned Compositions() { return skin::Module().compositions; }

    skin::CometWindow engine_;
    TestImage back_{10, 10, kBack};
    std::vector<HWND> windows_;
};

bool Near(ARGB got, ARGB want, int tolerance = 2) {
    for (int shift = 0; shift < 32; shift += 8) {
        const int a = int((got >> shift) & 0xFF), b = int((want >> shift) & 0xFF);
        if (a - b > tolerance || b - a > tolerance) return false;
    }
    return true;
}

struct Extent {
    int count = 0, left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;  // inclusive
};

// Where the composed bitmap has pixels matching `is` within a rectangle.
Extent Find(const Composed& c, RECT area, const std::function<bool(ARGB)>& is) {
    Extent e;
    for (LONG y = area.top; y < area.bottom; ++y)
        for (LONG x = area.left; x < area.right; ++x)
            if (is(c.at(int(x), int(y)))) {
                ++e.count;
                e.left = std::min(e.left, int(x));
                e.right = std::max(e.right, int(x));
                e.top = std::min(e.top, int(y));
                e.bottom = std::max(e.bottom, int(y));
            }
    return e;
}

bool Visible(ARGB p) { return (p >> 24) != 0; }

void SetImage(HWND control, const char* name, const TestImage& image) { SetPropA(control, name, image.get()); }

// ---------------------------------------------------------------- drawing

TEST_F(SkinControls, AButtonShowsItsStateImageOrTheNormalOneOrNothing) {
    HWND w = Skinned(200, 100);
    HWND b = Child(w, kRecorderClass, 20, 20, 40, 30);
    TestImage red(40, 30, kRed), green(40, 30, kGreen);
    SetPropValue(b, skin::kPropType, skin::kTypeButton);
    auto shown = [&](std::int32_t state) {
        SetPropValue(b, skin::kPropDrawState, state);
        return Composed(w).at(40, 35);
    };
    for (std::int32_t s = 0; s < 4; ++s) EXPECT_EQ(shown(s), kBack) << "no images, state " << s;
    SetImage(b, skin::kPropOverImage, green);
    EXPECT_EQ(shown(skin::kStateHover), kGreen);
    EXPECT_EQ(shown(skin::kStateNormal), kBack) << "no normal image and none for the state";
    EXPECT_EQ(shown(skin::kStatePressed), kBack);
    SetImage(b, skin::kPropNormalImage, red);
    EXPECT_EQ(shown(skin::kStateNormal), kRed);
    EXPECT_EQ(shown(skin::kStateHover), kGreen);
    EXPECT_EQ(shown(skin::kStatePressed), kRed) << "pressed without its image: the normal one";
    EXPECT_EQ(shown(skin::kStateDisabled), kRed) << "disabled without its image: the normal one";
    EXPECT_EQ(shown(9), kRed) << "an unknown state: the normal one";
    // Natural size at the control's client position.
    SetPropValue(b, skin::kPropDrawState, 0);
    const Composed c(w);
    EXPECT_EQ(c.at(20, 20), kRed);
    EXPECT_EQ(c.at(59, 49), kRed);
    EXPECT_EQ(c.at(60, 35), kBack);
    EXPECT_EQ(c.at(19, 35), kBack);
    EXPECT_EQ(c.at(40, 50), kBack);
}

TEST_F(SkinControls, APictureLargerThanItsControlIsCutAtNaturalSize) {
    HWND w = Skinned(200, 100);
    HWND p = Child(w, kRecorderClass, 10, 10, 60, 40);
    TestImage big(80, 60, Quadrants(80, 60));  // quadrants of 40x30
    SetPropValue(p, skin::kPropType, skin::kTypePicture);
    SetImage(p, skin::kPropBackImage, big);
    {
        const Composed c(w);  // no back type: natural size
        EXPECT_EQ(c.at(10, 10), kRed);
        EXPECT_EQ(c.at(49, 39), kRed);
        EXPECT_EQ(c.at(45, 35), kRed) << "unscaled: a stretched image would be white here";
        EXPECT_EQ(c.at(50, 10), kGreen);
        EXPECT_EQ(c.at(69, 39), kGreen);
        EXPECT_EQ(c.at(10, 40), kBlue);
        EXPECT_EQ(c.at(69, 49), kWhite);
        EXPECT_EQ(c.at(70, 20), kBack) << "cut at the control's right edge";
        EXPECT_EQ(c.at(20, 50), kBack) << "cut at the control's bottom edge";
    }
    SetPropValue(p, skin::kPropBackType, skin::kBackStretch);
    const Composed c(w);
    EXPECT_EQ(c.at(20, 15), kRed);
    EXPECT_EQ(c.at(45, 35), kWhite) << "stretched into the control";
    EXPECT_EQ(c.at(70, 20), kBack);
}

TEST_F(SkinControls, AnEditBoxWithACutImageShowsNeitherBorderNorText) {
    TestFont font;
    HWND w = Skinned(200, 100);
    HWND e = Child(w, "EDIT", 10, 10, 60, 40, 0, "Hello");
    SendMessageA(e, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
    TestImage big(80, 60, Quadrants(80, 60)), small(20, 10, kRed);
    skin::EditLook look;
    look.image = big.get();
    look.back_color = RGB(0, 128, 128);
    look.border_color = RGB(255, 255, 0);
    look.text_color = RGB(255, 0, 255);
    skin::DeclareEdit(e, look);
    const RECT inside{10, 10, 70, 50};
    const auto magenta = [](ARGB p) { return (p & 0xFF) > 128 && ((p >> 16) & 0xFF) > 128 && ((p >> 8) & 0xFF) < 100; };
    {
        const Composed c(w);
        const Extent foreign = Find(c, inside, [](ARGB p) {
            return p != kRed && p != kGreen && p != kBlue && p != kWhite;
        });
        EXPECT_EQ(foreign.count, 0) << "only the image: no fill, no text";
        EXPECT_EQ(c.at(70, 30), kBack) << "no border at column x + w";
        EXPECT_EQ(c.at(40, 50), kBack) << "no border at row y + h";
    }
    // The same box with an image that fits has all four parts.
    SetPropA(e, skin::kPropBackImage, small.get());
    const Composed c(w);
    EXPECT_EQ(c.at(12, 12), kRed) << "image";
    EXPECT_EQ(c.at(65, 45), 0xFF008080u) << "fill";
    EXPECT_EQ(c.at(70, 30), 0xFFFFFF00u) << "border";
    EXPECT_GT(Find(c, inside, magenta).count, 10) << "text";
}

TEST_F(SkinControls, FitShrinksAndCentresTheImage) {
    HWND w = Skinned(260, 140);
    HWND wide = Child(w, kRecorderClass, 20, 20, 100, 100);
    HWND small = Child(w, kRecorderClass, 140, 20, 100, 100);
    TestImage red(200, 100, kRed), green(50, 50, kGreen);
    skin::DeclarePicture(wide, red.get(), skin::kBackFit);
    skin::DeclarePicture(small, green.get(), skin::kBackFit);
    const Composed c(w);
    // 200x100 in 100x100: 100x50 at (x, y + 25) = (20, 45); scaled, so its edges may blend.
    EXPECT_EQ(c.at(70, 47), kRed);
    EXPECT_EQ(c.at(70, 92), kRed);
    EXPECT_EQ(c.at(22, 70), kRed);
    EXPECT_EQ(c.at(117, 70), kRed);
    EXPECT_EQ(c.at(70, 42), kBack);
    EXPECT_EQ(c.at(70, 97), kBack);
    // 50x50 keeps its size at (x + 25, y + 25) = (165, 45): exact to the pixel.
    EXPECT_EQ(c.at(165, 45), kGreen);
    EXPECT_EQ(c.at(214, 94), kGreen);
    EXPECT_EQ(c.at(164, 60), kBack);
    EXPECT_EQ(c.at(215, 60), kBack);
    EXPECT_EQ(c.at(180, 44), kBack);
    EXPECT_EQ(c.at(180, 95), kBack);
}

TEST_F(SkinControls, EditTextIsCutAtTheRightEdgeAndNeverWraps) {
    TestFont font;
    HWND w = Skinned(200, 100, false);  // transparent: every visible pixel is text
    std::string text;
    for (int i = 0; i < 20; ++i) text += "mmm ";
    HWND e = Child(w, "EDIT", 10, 10, 120, 60, ES_MULTILINE, text.c_str());
    SendMessageA(e, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
    SetPropValue(e, skin::kPropType, skin::kTypeEdit);
    SetPropValue(e, skin::kPropBackColor, skin::kNoColour);
    SetPropValue(e, skin::kPropOrderColor, skin::kNoColour);
    const Composed c(w);
    const Extent all = Find(c, RECT{0, 0, 200, 100}, Visible);
    ASSERT_GT(all.count, 50) << "the text is drawn";
    EXPECT_GE(all.left, 12) << "layout starts at x + 2";
    EXPECT_LE(all.right, 127) << "cut at x + 2 + (w - 4)";
    EXPECT_GE(all.right, 118) << "the line runs to the edge: not broken at a word";
    EXPECT_LT(all.bottom - all.top, 20) << "one line of a 16-pixel font";
    EXPECT_NEAR((all.top + all.bottom) / 2.0, 40.0, 5.0) << "centred in the box";
}

TEST_F(SkinControls, BorderFillAndMissingColours) {
    TestFont font;
    HWND w = Skinned(240, 100, false);
    HWND bordered = Child(w, kRecorderClass, 20, 30, 50, 20);
    HWND filled = Child(w, kRecorderClass, 100, 30, 50, 20);
    HWND bare = Child(w, "EDIT", 170, 30, 60, 40, 0, "WW");
    SendMessageA(bare, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
    skin::EditLook look;
    look.border_color = RGB(0, 0, 255);
    skin::DeclareEdit(bordered, look);
    look.border_color = skin::kNoColour;
    look.back_color = RGB(255, 0, 0);
    look.back_alpha = 128;
    skin::DeclareEdit(filled, look);
    SetPropValue(bare, skin::kPropType, skin::kTypeEdit);  // nothing else: the absent meanings
    const Composed c(w);
    // The rectangle over (x, y, w, h) touches column x + w and row y + h.
    EXPECT_EQ(c.at(20, 40), kBlue);
    EXPECT_EQ(c.at(70, 40), kBlue);
    EXPECT_EQ(c.at(45, 30), kBlue);
    EXPECT_EQ(c.at(45, 50), kBlue);
    EXPECT_EQ(c.at(71, 40), 0u);
    EXPECT_EQ(c.at(45, 51), 0u);
    EXPECT_EQ(c.at(45, 40), 0u) << "no fill inside";
    EXPECT_TRUE(Near(c.at(125, 40), 0x80FF0000)) << std::hex << c.at(125, 40);
    EXPECT_EQ(c.at(150, 40), 0u) << "no border for -1";
    // Absent colours: black with alpha 0 for fill and border, opaque black text.
    EXPECT_EQ(c.at(172, 32), 0u);
    EXPECT_EQ(c.at(230, 50), 0u);
    const Extent text = Find(c, RECT{170, 30, 230, 70}, Visible);
    EXPECT_GT(text.count, 10);
    EXPECT_GT(Find(c, RECT{170, 30, 230, 70}, [](ARGB p) { return p == 0xFF000000; }).count, 0)
        << "opaque black text";
    EXPECT_EQ(Find(c, RECT{170, 30, 230, 70}, [](ARGB p) { return Visible(p) && (p & 0xFFFFFF) != 0; }).count, 0);
}

TEST_F(SkinControls, OnlyTypedChildrenAreDrawnAndLaterOnesOnTop) {
    HWND w = Skinned(200, 100);
    HWND a = Child(w, kRecorderClass, 10, 10, 40, 40);
    HWND b = Child(w, kRecorderClass, 10, 10, 40, 40);
    HWND untyped = Child(w, kRecorderClass, 100, 10, 40, 40);
    HWND odd = Child(w, kRecorderClass, 150, 10, 40, 40);
    TestImage red(40, 40, kRed), green(40, 40, kGreen);
    skin::DeclarePicture(a, red.get());
    skin::DeclarePicture(b, green.get());
    SetImage(untyped, skin::kPropBackImage, red);
    SetImage(odd, skin::kPropBackImage, red);
    SetPropValue(odd, skin::kPropType, 9);
    // The later one in z-order (GW_HWNDNEXT) paints last.
    HWND later = nullptr;
    for (HWND h = GetWindow(w, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT))
        if (h == a || h == b) later = h;
    const Composed c(w);
    EXPECT_EQ(c.at(30, 30), later == a ? kRed : kGreen);
    EXPECT_EQ(c.at(120, 30), kBack) << "no control type: not drawn";
    EXPECT_EQ(c.at(170, 30), kBack) << "an unknown type draws nothing";
}

// ---------------------------------------------------------------- subclassing

TEST_F(SkinControls, SkinControlsSubclassesOnceAndPutsBackADeclaredProcedure) {
    HWND w = Skinned(300, 100);
    HWND button = Child(w, kRecorderClass, 0, 0, 20, 20);
    HWND edit = Child(w, kRecorderClass, 30, 0, 20, 20);
    HWND picture = Child(w, kRecorderClass, 60, 0, 20, 20);
    HWND odd = Child(w, kRecorderClass, 90, 0, 20, 20);
    HWND plain = Child(w, kRecorderClass, 120, 0, 20, 20);
    SetPropValue(button, skin::kPropType, skin::kTypeButton);
    SetPropValue(edit, skin::kPropType, skin::kTypeEdit);
    SetPropValue(picture, skin::kPropType, skin::kTypePicture);
    SetPropValue(odd, skin::kPropType, 7);
    SetPropA(edit, skin::kPropWndProc, reinterpret_cast<HANDLE>(OtherRecorderProc));
    const auto proc = [](HWND h) { return GetWindowLongPtrA(h, GWLP_WNDPROC); };
    const auto as_long = [](auto p) { return reinterpret_cast<LONG_PTR>(p); };
    const auto previous = [](HWND h) { return GetPropA(h, skin::kPropChildWndProc); };

    const unsigned before = Compositions();
    engine_.SkinControls();
    EXPECT_EQ(Compositions(), before + 1) << "one composition after the last child";
    EXPECT_EQ(proc(button), as_long(skin::ButtonProc));
    EXPECT_EQ(previous(button), reinterpret_cast<HANDLE>(RecorderProc));
    EXPECT_EQ(proc(edit), as_long(skin::EditProc));
    EXPECT_EQ(previous(edit), reinterpret_cast<HANDLE>(OtherRecorderProc)) << "the declared procedure was put back first";
    EXPECT_EQ(GetPropA(edit, skin::kPropWndProc), nullptr) << "and its property removed";
    for (HWND h : {picture, odd, plain}) {
        EXPECT_EQ(proc(h), as_long(RecorderProc));
        EXPECT_EQ(previous(h), nullptr);
    }
    // Messages still reach the procedure underneath.
    SendMessageA(edit, WM_USER + 5, 1, 2);
    ASSERT_FALSE(Recorded().empty());
    EXPECT_EQ(Recorded().back().message, WM_USER + 5 + 0x10000u);

    // Once only: a second run changes nothing.
    engine_.SkinControls();
    EXPECT_EQ(proc(button), as_long(skin::ButtonProc));
    EXPECT_EQ(previous(button), reinterpret_cast<HANDLE>(RecorderProc));
    // A procedure declared later is put back, and the engine's is not installed again.
    SetPropA(button, skin::kPropWndProc, reinterpret_cast<HANDLE>(OtherRecorderProc));
    engine_.SkinControls();
    EXPECT_EQ(proc(button), as_long(OtherRecorderProc));
    EXPECT_EQ(previous(button), reinterpret_cast<HANDLE>(RecorderProc));

    DestroyWindow(w);
    const unsigned dead = Compositions();
    engine_.SkinControls();
    EXPECT_EQ(Compositions(), dead) << "a dead window is left alone";
}

// ---------------------------------------------------------------- the button

class SkinButton : public SkinControls {
protected:
    void SetUp() override {
        SkinControls::SetUp();
        window_ = Skinned(200, 100);
        button_ = Child(window_, kRecorderClass, 20, 20, 40, 30);
        skin::DeclareButton(button_, {normal_.get(), hover_.get(), pressed_.get(), disabled_.get()});
        engine_.SkinControls();
        Recorded().clear();
    }
    std::int32_t State() const { return PropValue(button_, skin::kPropDrawState); }
    void SetState(std::int32_t s) { SetPropValue(button_, skin::kPropDrawState, s); }
    LRESULT Send(UINT m, WPARAM w = 0, LPARAM l = MAKELPARAM(5, 5)) { return SendMessageA(button_, m, w, l); }
    ARGB Shown() const { return Composed(window_).at(40, 35); }

    // Whether a mouse-leave notification has been asked for: Wine tracks the
    // window while the pointer is over it.
    bool LeaveTracked() const {
        TRACKMOUSEEVENT q{sizeof q, TME_QUERY, nullptr, 0};
        TrackMouseEvent(&q);
        MSG m;
        return ((q.dwFlags & TME_LEAVE) && q.hwndTrack == button_) ||
               PeekMessageA(&m, button_, WM_MOUSELEAVE, WM_MOUSELEAVE, PM_NOREMOVE);
    }
    void ForgetTracking() const {
        TRACKMOUSEEVENT c{sizeof c, TME_CANCEL | TME_LEAVE, button_, 0};
        TrackMouseEvent(&c);
        MSG m;
        while (PeekMessageA(&m, button_, WM_MOUSELEAVE, WM_MOUSELEAVE, PM_REMOVE)) {
        }
    }
    // Puts the real pointer over the button and lets its messages pass.
    void PointerOverButton() {
        RECT r;
        GetWindowRect(button_, &r);
        const POINT centre{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        SetCursorPos(centre.x, centre.y);
        wintest::PumpFor(100);
        ASSERT_EQ(WindowFromPoint(centre), button_) << "the pointer is over the button";
    }

    TestImage normal_{40, 30, kRed}, hover_{40, 30, kGreen}, pressed_{40, 30, kBlue}, disabled_{40, 30, kGrey};
    HWND window_ = nullptr, button_ = nullptr;
};

// Tests that drive the shared pointer, need their window to keep the
// activation or read the screen run alone (suites named *Pointer).
class SkinButtonPointer : public SkinButton {};
class SkinPointer : public SkinControls {};

TEST_F(SkinButtonPointer, MovingOverAHoveringOrPressedButtonRecomposesNothingAndAsksNoLeave) {
    ASSERT_NO_FATAL_FAILURE(PointerOverButton());
    EXPECT_EQ(State(), skin::kStateHover) << "the real pointer entering made it hover";
    EXPECT_EQ(Shown(), kGreen);

    SetState(skin::kStateNormal);
    ForgetTracking();
    unsigned before = Compositions();
    Send(WM_MOUSEMOVE);
    EXPECT_EQ(State(), skin::kStateHover);
    EXPECT_EQ(Compositions(), before + 1);
    EXPECT_TRUE(LeaveTracked()) << "entering asks for the leave notification";

    ForgetTracking();
    before = Compositions();
    Send(WM_MOUSEMOVE);
    EXPECT_EQ(State(), skin::kStateHover);
    EXPECT_EQ(Compositions(), before) << "hovering: nothing redrawn";
    EXPECT_FALSE(LeaveTracked()) << "hovering: no new leave request";

    Send(WM_LBUTTONDOWN, MK_LBUTTON);
    EXPECT_EQ(State(), skin::kStatePressed);
    EXPECT_EQ(GetCapture(), nullptr) << "the engine takes no capture";
    ForgetTracking();
    before = Compositions();
    Send(WM_MOUSEMOVE, MK_LBUTTON);
    EXPECT_EQ(State(), skin::kStatePressed);
    EXPECT_EQ(Compositions(), before) << "pressed: nothing redrawn";
    EXPECT_FALSE(LeaveTracked()) << "pressed: no new leave request";

    SetState(skin::kStateDisabled);
    before = Compositions();
    Send(WM_MOUSEMOVE);
    EXPECT_EQ(State(), skin::kStateHover);
    EXPECT_EQ(Compositions(), before + 1);
    EXPECT_TRUE(LeaveTracked());
    ForgetTracking();
}

TEST_F(SkinButton, EveryMessageReachesTheButtonAfterTheNewPicture) {
    const UINT messages[] = {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_MOUSEMOVE, WM_LBUTTONUP,
                             WM_MOUSELEAVE, WM_ENABLE,    WM_SETTEXT,   WM_USER + 1};
    for (UINT m : messages) {
        const unsigned before = Compositions();
        const LPARAM l = m == WM_SETTEXT ? reinterpret_cast<LPARAM>("x") : MAKELPARAM(3, 4);
        Send(m, m == WM_ENABLE ? TRUE : 0, l);
        ASSERT_FALSE(Recorded().empty());
        const Seen& seen = Recorded().back();
        EXPECT_EQ(seen.message, m);
        EXPECT_EQ(seen.lparam, l);
        // Recomposed (or not) before the button's own procedure ran.
        EXPECT_EQ(seen.compositions, Compositions()) << std::hex << m;
        if (m == WM_SETTEXT || m == WM_USER + 1) {
            EXPECT_EQ(Compositions(), before) << "not a button event";
        }
    }
}

TEST_F(SkinButton, LeaveAlwaysResetsToNormal) {
    for (std::int32_t s = 0; s < 4; ++s) {
        SetState(s);
        const unsigned before = Compositions();
        Send(WM_MOUSELEAVE, 0, 0);
        EXPECT_EQ(State(), skin::kStateNormal) << "from " << s;
        EXPECT_EQ(Compositions(), before + 1) << "from " << s;
        EXPECT_EQ(Shown(), kRed);
    }
}

TEST_F(SkinButton, ReleaseGivesHoverOnlyAfterAPressOnTheButton) {
    SetState(skin::kStateHover);  // the press happened elsewhere
    unsigned before = Compositions();
    Send(WM_LBUTTONUP);
    EXPECT_EQ(State(), skin::kStateNormal);
    EXPECT_EQ(Compositions(), before + 1);
    EXPECT_EQ(Shown(), kRed);

    Send(WM_LBUTTONDOWN, MK_LBUTTON);
    EXPECT_EQ(State(), skin::kStatePressed);
    EXPECT_EQ(Shown(), kBlue);
    before = Compositions();
    Send(WM_LBUTTONUP);
    EXPECT_EQ(State(), skin::kStateHover);
    EXPECT_EQ(Compositions(), before + 1);
    EXPECT_EQ(Shown(), kGreen);
}

// Through EnableWindow on the demonstration's real push button.
TEST_F(SkinControls, DisablingShowsTheDisabledImageAndEnablingTheNormalOne) {
    Demo demo;
    const POINT at{demo.kButton.left + 5, demo.kButton.top + 5};
    const auto shown = [&] { return Composed(demo.window).at(at.x, at.y); };
    const auto state = [&] { return PropValue(demo.button, skin::kPropDrawState); };
    EXPECT_EQ(shown(), kRed);
    unsigned before = Compositions();
    EnableWindow(demo.button, FALSE);
    EXPECT_EQ(state(), skin::kStateDisabled);
    EXPECT_GT(Compositions(), before);
    EXPECT_EQ(shown(), kGrey);

    SetPropValue(demo.button, skin::kPropDrawState, skin::kStateHover);  // the pointer is over it
    EnableWindow(demo.button, TRUE);
    EXPECT_EQ(state(), skin::kStateNormal);
    EXPECT_EQ(shown(), kRed) << "enabled shows normal even under the pointer";

    RemovePropA(demo.button, skin::kPropDisableImage);
    EnableWindow(demo.button, FALSE);
    EXPECT_EQ(state(), skin::kStateDisabled);
    EXPECT_EQ(shown(), kRed) << "no disabled image: the normal one";
}

// ---------------------------------------------------------------- the edit box

// Focus as the edit box sees it: WM_SETFOCUS and WM_KILLFOCUS sent to it, so
// that other programs activating their windows on this desktop meanwhile
// cannot take it away. Real focus changes are tested on their own below.
void Focus(HWND edit) { SendMessageA(edit, WM_SETFOCUS, 0, 0); }
void Unfocus(HWND edit) { SendMessageA(edit, WM_KILLFOCUS, 0, 0); }

// A key typed as the message loop would: WM_KEYDOWN, then the WM_CHAR that
// TranslateMessage makes of it.
void TypeKey(HWND edit, UINT vk, UINT scan) {
    MSG down{edit, WM_KEYDOWN, vk, LPARAM(1 | (scan << 16)), 0, {}};
    DispatchMessageA(&down);
    TranslateMessage(&down);
    MSG ch;
    while (PeekMessageA(&ch, edit, WM_CHAR, WM_CHAR, PM_REMOVE)) DispatchMessageA(&ch);
}

TEST_F(SkinControls, TypingIntoAFocusedEditRecomposesOncePerKeyDownAndChar) {
    Demo demo;
    skin::ModuleState& m = skin::Module();
    KillTimer(demo.window, skin::kCaretTimerId);
    unsigned before = Compositions();
    Focus(demo.edit);
    EXPECT_EQ(m.focus_parent, demo.window);
    EXPECT_EQ(m.focused_edit, demo.edit);
    EXPECT_EQ(m.caret_phase, 0);
    EXPECT_NE(m.kept_bitmap.get(), nullptr) << "the focus composition is kept for the blink";
    EXPECT_EQ(Compositions(), before + 1);

    // The kept bitmap is the last composition; count its pixels in the text colour.
    const RECT box = Demo::kEdit;
    const auto kept_at = [&](int x, int y) {
        ARGB p = 0;
        GdipBitmapGetPixel(m.kept_bitmap.get(), x, y, &p);
        return p;
    };
    const auto kept_text = [&] {
        int red = 0;
        for (LONG y = box.top; y < box.bottom; ++y)
            for (LONG x = box.left; x < box.right; ++x) red += kept_at(int(x), int(y)) == 0xFFFF0000;
        return red;
    };
    EXPECT_EQ(kept_text(), 0) << "no text yet";

    before = Compositions();
    TypeKey(demo.edit, 'A', 0x1E);
    char text[16] = {};
    GetWindowTextA(demo.edit, text, sizeof text);
    ASSERT_STREQ(text, "a") << "the key was typed";
    EXPECT_EQ(Compositions(), before + 2) << "once for WM_KEYDOWN, once for WM_CHAR";
    // The edit box took the character before the window was recomposed.
    const int one = kept_text();
    EXPECT_GT(one, 3) << "the typed character is in the picture";
    TypeKey(demo.edit, 'B', 0x30);
    EXPECT_EQ(Compositions(), before + 4);
    EXPECT_GT(kept_text(), one);

    before = Compositions();
    SendMessageA(demo.edit, WM_KEYUP, 'B', 0xC0300001);
    SendMessageA(demo.edit, WM_MOUSEMOVE, 0, 0);
    SendMessageA(demo.edit, WM_GETTEXTLENGTH, 0, 0);
    EXPECT_EQ(Compositions(), before) << "other messages recompose nothing";
    SendMessageA(demo.edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("WWWW"));
    EXPECT_EQ(Compositions(), before + 1);

    EXPECT_GT(kept_text(), 10) << "the new text";
    EXPECT_EQ(kept_at(box.left + 3, box.top + 1), kWhite) << "fill";
    EXPECT_EQ(kept_at(box.right, box.top + 5), kBlue) << "border";
    GpImage* kept = m.kept_bitmap.get();

    before = Compositions();
    Unfocus(demo.edit);
    EXPECT_EQ(m.focus_parent, nullptr);
    EXPECT_EQ(m.focused_edit, nullptr);
    EXPECT_EQ(Compositions(), before + 1);
    EXPECT_EQ(m.kept_bitmap.get(), kept) << "kept, not disposed, when focus leaves";
}

TEST_F(SkinPointer, RealFocusChangesReachTheEditProcedure) {
    Demo demo;
    skin::ModuleState& m = skin::Module();
    const unsigned before = Compositions();
    SetFocus(demo.edit);
    ASSERT_EQ(GetFocus(), demo.edit);
    EXPECT_EQ(m.focus_parent, demo.window);
    EXPECT_EQ(m.focused_edit, demo.edit);
    EXPECT_EQ(Compositions(), before + 1);
    SetFocus(nullptr);
    EXPECT_EQ(m.focus_parent, nullptr);
    EXPECT_EQ(m.focused_edit, nullptr);
    EXPECT_EQ(Compositions(), before + 2);
}

TEST_F(SkinControls, TheCaretShowsOnEverySecondTickAndHidesAfterARecomposition) {
    Demo demo;
    skin::ModuleState& m = skin::Module();
    KillTimer(demo.window, skin::kCaretTimerId);  // the test ticks
    const auto tick = [&](HWND w = nullptr, UINT_PTR id = skin::kCaretTimerId) {
        const unsigned before = m.pushes;
        skin::CaretBlinkProc(w ? w : demo.window, WM_TIMER, id, GetTickCount());
        return m.pushes == before ? -1 : int(m.last_push_caret);  // -1: nothing pushed
    };
    EXPECT_EQ(tick(), -1) << "no focused edit: nothing to blink";
    Focus(demo.edit);
    EXPECT_FALSE(m.last_push_caret) << "the focus composition has no caret";
    EXPECT_EQ(tick(), 1);
    EXPECT_EQ(tick(), 0);
    EXPECT_EQ(tick(), 1);
    const unsigned composed = Compositions();
    SendMessageA(demo.edit, WM_CHAR, 'x', 1);
    EXPECT_EQ(Compositions(), composed + 1);
    EXPECT_FALSE(m.last_push_caret) << "a recomposition hides the caret";
    EXPECT_EQ(tick(), 0) << "still hidden: this tick's phase is 0";
    EXPECT_EQ(tick(), 1);
    EXPECT_EQ(Compositions(), composed + 1) << "blinking redraws no control";
    EXPECT_EQ(tick(demo.window, 63), -1) << "another timer";
    HWND other = Host(0, 0, 50, 50);
    windows_.push_back(other);
    EXPECT_EQ(tick(other), -1) << "another window";
    Unfocus(demo.edit);
    EXPECT_EQ(tick(), -1) << "focus gone";
    // Left at phase 1 above: a new focus starts over, so its first tick shows the caret.
    Focus(demo.edit);
    EXPECT_EQ(tick(), 1);
}

TEST_F(SkinControls, TheCaretIsALineCentredInTheEditAtItsCaretPosition) {
    Demo demo;
    KillTimer(demo.window, skin::kCaretTimerId);
    Focus(demo.edit);
    const auto caret_column = [&] {
        RECT r;
        GetWindowRect(demo.edit, &r);
        POINT p{r.left, r.top}, caret{};
        ScreenToClient(demo.window, &p);
        GetCaretPos(&caret);
        return p.x + caret.x + 5;
    };
    const int top = demo.kEdit.top + (28 - 12) / 2;
    HDC screen = GetDC(nullptr);
    const auto render = [&](bool caret, const std::function<void(const skin::LayeredSource&)>& check) {
        skin::LayeredSource source(screen, 300, 200);
        skin::RenderLayered(source, skin::Module().kept_bitmap.get(), caret, demo.window);
        check(source);
    };
    const int x = caret_column();
    render(true, [&](const skin::LayeredSource& s) {
        for (int y = top + 1; y < top + 11; ++y) EXPECT_EQ(s.Pixel(x, y), 0xFF000000u) << "row " << y;
        EXPECT_EQ(s.Pixel(x, top - 2), 0xFFFFFFFFu) << "12 pixels long";
        EXPECT_EQ(s.Pixel(x, top + 14), 0xFFFFFFFFu);
        EXPECT_EQ(s.Pixel(x - 2, top + 6), 0xFFFFFFFFu) << "1 pixel wide";
        EXPECT_EQ(s.Pixel(x + 2, top + 6), 0xFFFFFFFFu);
    });
    render(false, [&](const skin::LayeredSource& s) { EXPECT_EQ(s.Pixel(x, top + 6), 0xFFFFFFFFu); });
    // Typing moves the edit's caret, and the drawn one with it.
    SendMessageA(demo.edit, WM_CHAR, 'W', 1);
    SendMessageA(demo.edit, WM_CHAR, 'W', 1);
    const int moved = caret_column();
    EXPECT_GT(moved, x + 10);
    render(true, [&](const skin::LayeredSource& s) { EXPECT_EQ(s.Pixel(moved, top + 6), 0xFF000000u); });
    ReleaseDC(nullptr, screen);
}

// ---------------------------------------------------------------- holders

TEST_F(SkinControls, FontHoldersFollowTheGdiFont) {
    const auto make = [](int height, int weight, BYTE italic, BYTE underline, BYTE strike) {
        return CreateFontA(height, 0, 0, 0, weight, italic, underline, strike, DEFAULT_CHARSET, 0, 0, 0, 0, kFontFace);
    };
    const auto read = [](HFONT f, INT& style, REAL& size, INT& unit) {
        skin::CometFont font;
        const skin::GpStatus status = font.CreateFromHFont(f);
        font.GetStyle(&style);
        font.GetSize(&size);
        font.GetUnit(&unit);
        DeleteObject(f);
        return status;
    };
    INT style = -1, unit = -1;
    REAL size = -1;
    EXPECT_EQ(read(make(-20, 700, 1, 1, 0), style, size, unit), 0);
    EXPECT_EQ(style, 1 | 2 | 4);
    EXPECT_EQ(size, 20.0f);
    EXPECT_EQ(unit, skin::kUnitPixel);
    EXPECT_EQ(read(make(18, 600, 0, 0, 1), style, size, unit), 0);
    EXPECT_EQ(style, 1 | 8);
    EXPECT_EQ(size, 18.0f) << "a positive height is used unchanged";
    EXPECT_EQ(read(make(-12, 800, 0, 0, 0), style, size, unit), 0);
    EXPECT_EQ(style, 0) << "800 is not bold";

    skin::CometFont none;
    EXPECT_NE(none.CreateFromHFont(nullptr), 0) << "no GDI font is a failure, not Ok";
    EXPECT_EQ(none.GetHandle(), nullptr);

    TestFont gdi;
    HWND w = Skinned(100, 100);
    HWND with = Child(w, "EDIT", 0, 0, 50, 20);
    HWND without = Child(w, kRecorderClass, 0, 30, 50, 20);
    SendMessageA(with, WM_SETFONT, reinterpret_cast<WPARAM>(gdi.get()), FALSE);
    skin::CometFont font;
    EXPECT_EQ(font.CreateFromWindow(with), 0);
    ASSERT_NE(font.GetHandle(), nullptr);
    font.GetSize(&size);
    EXPECT_EQ(size, 16.0f);
    HDC dc = GetDC(w);
    skin::GpGraphics* g = nullptr;
    GdipCreateFromHDC(dc, &g);
    REAL height = 0;
    EXPECT_EQ(font.GetHeight(g, &height), 0);
    EXPECT_GT(height, 16.0f);
    GdipDeleteGraphics(g);
    ReleaseDC(w, dc);
    // A copy holds a font of its own: it outlives the original's release.
    const auto copy = font.copy();
    ASSERT_NE(copy->GetHandle(), nullptr);
    font.Release();
    EXPECT_EQ(font.GetHandle(), nullptr);
    size = 0;
    EXPECT_EQ(copy->GetSize(&size), 0);
    EXPECT_EQ(size, 16.0f);
    skin::CometFont other;
    EXPECT_NE(other.CreateFromWindow(without), 0) << "the system font: no GDI+ font";
    EXPECT_EQ(other.GetHandle(), nullptr);

    skin::CometFontFamily family;
    EXPECT_EQ(family.CreateFromName(kFontFace), 0);
    EXPECT_NE(family.GetHandle(), nullptr);
    {
        const auto family_copy = family.copy();
        family.Release();
        skin::CometFont from_copy;
        EXPECT_EQ(skin::sys::GdipCreateFont(family_copy->GetHandle(), 12.0f, 0, skin::kUnitPixel,
                                            from_copy.handle.put()),
                  0)
            << "the copy's family lives on";
    }
    EXPECT_NE(family.CreateFromName("No Such Family 123"), 0);
    EXPECT_EQ(family.GetHandle(), nullptr);
}

// ---------------------------------------------------------------- the demonstration

TEST_F(SkinControls, TheDemonstrationShowsEveryControl) {
    Demo demo;
    const Composed c(demo.window);
    // Picture: 160x60 fitted into 80x60 is 80x30 at (10, 25).
    EXPECT_EQ(c.at(15, 30), kRed);
    EXPECT_EQ(c.at(85, 30), kGreen);
    EXPECT_EQ(c.at(15, 50), kBlue);
    EXPECT_EQ(c.at(85, 50), kWhite);
    EXPECT_EQ(c.at(50, 20), kBack);
    EXPECT_EQ(c.at(50, 60), kBack);
    // Button: normal image.
    EXPECT_EQ(c.at(150, 25), kRed);
    // Edit box: white fill, blue border, no text yet.
    EXPECT_EQ(c.at(100, 114), kWhite);
    EXPECT_EQ(c.at(10, 114), kBlue);
    EXPECT_EQ(c.at(210, 114), kBlue);
    EXPECT_EQ(c.at(100, 128), kBlue);
    EXPECT_EQ(c.at(100, 140), kBack);
}

TEST_F(SkinPointer, TheDemonstrationReachesTheScreen) {
    Demo demo;
    // What the engine pushed is what the display shows: the button turns green on hover.
    const auto on_screen = [&](int x, int y) {
        HDC screen = GetDC(nullptr);
        const COLORREF p = GetPixel(screen, kQuietCorner.x + x, kQuietCorner.y + y);
        ReleaseDC(nullptr, screen);
        return p;
    };
    SetCursorPos(0, 0);  // the real pointer away from the button
    wintest::PumpFor(100);
    EXPECT_EQ(on_screen(150, 25), RGB(255, 0, 0));
    SendMessageA(demo.button, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    wintest::PumpFor(100);
    EXPECT_EQ(on_screen(150, 25), RGB(0, 255, 0));
}

// ---------------------------------------------------------------- the load dialog

// An IStream over a global block that notes, each time a reference is
// dropped, whether the block is still allocated.
class WatchedStream : public IStream {
public:
    WatchedStream(IStream* inner, HGLOBAL block) : inner_(inner), block_(block) {}
    ~WatchedStream() { inner_->Release(); }
    std::vector<bool> alive_at_release;
    ULONG refs = 1;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** out) override {
        if (id == IID_IUnknown || id == IID_ISequentialStream || id == IID_IStream) {
            *out = this;
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override {
        alive_at_release.push_back(GlobalSize(block_) != 0);
        return --refs;  // the test owns the object
    }
    HRESULT STDMETHODCALLTYPE Read(void* p, ULONG n, ULONG* got) override { return inner_->Read(p, n, got); }
    HRESULT STDMETHODCALLTYPE Write(const void* p, ULONG n, ULONG* put) override { return inner_->Write(p, n, put); }
    HRESULT STDMETHODCALLTYPE Seek(LARGE_INTEGER d, DWORD o, ULARGE_INTEGER* pos) override {
        return inner_->Seek(d, o, pos);
    }
    HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER n) override { return inner_->SetSize(n); }
    HRESULT STDMETHODCALLTYPE CopyTo(IStream* s, ULARGE_INTEGER n, ULARGE_INTEGER* r, ULARGE_INTEGER* w) override {
        return inner_->CopyTo(s, n, r, w);
    }
    HRESULT STDMETHODCALLTYPE Commit(DWORD f) override { return inner_->Commit(f); }
    HRESULT STDMETHODCALLTYPE Revert() override { return inner_->Revert(); }
    HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER a, ULARGE_INTEGER b, DWORD t) override {
        return inner_->LockRegion(a, b, t);
    }
    HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER a, ULARGE_INTEGER b, DWORD t) override {
        return inner_->UnlockRegion(a, b, t);
    }
    HRESULT STDMETHODCALLTYPE Stat(STATSTG* s, DWORD f) override { return inner_->Stat(s, f); }
    HRESULT STDMETHODCALLTYPE Clone(IStream** s) override { return inner_->Clone(s); }

private:
    IStream* inner_;
    HGLOBAL block_;
};

DWORD WINAPI WaitForever(void* event) { return WaitForSingleObject(event, INFINITE) + 7; }

HWND LoadDialog(int x, int y) {
    return CreateWindowExA(WS_EX_TOPMOST, skin::kLoadDialogClass, "", WS_POPUP | WS_VISIBLE, x, y, 120, 80, nullptr,
                           nullptr, nullptr, nullptr);
}

TEST_F(SkinControls, ALoadDialogFreesWhatItsPropertiesNameWhenDestroyed) {
    HWND d = LoadDialog(0, 0);
    ASSERT_NE(d, nullptr);
    // A thread that would never end by itself.
    HANDLE never = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE thread = CreateThread(nullptr, 0, WaitForever, never, 0, nullptr);
    HANDLE watch = nullptr;
    DuplicateHandle(GetCurrentProcess(), thread, GetCurrentProcess(), &watch, 0, FALSE, DUPLICATE_SAME_ACCESS);
    // An image decoded from a global block that it reads through a stream.
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, kSplashImage.length);
    std::memcpy(GlobalLock(block), kSplashImage.data(), kSplashImage.length);
    GlobalUnlock(block);
    IStream* inner = nullptr;
    ASSERT_EQ(CreateStreamOnHGlobal(block, FALSE, &inner), S_OK);
    WatchedStream stream(inner, block);
    GpImage* image = nullptr;
    ASSERT_EQ(GdipLoadImageFromStream(&stream, &image), 0);
    const bool image_holds_stream = stream.refs > 1;
    const std::size_t releases_before = stream.alive_at_release.size();

    SetPropA(d, skin::kPropThread, thread);
    SetPropA(d, skin::kPropImage, image);
    SetPropA(d, skin::kPropStream, block);
    DestroyWindow(d);

    EXPECT_EQ(WaitForSingleObject(watch, 2000), WAIT_OBJECT_0) << "the thread was ended";
    DWORD code = 1234;
    GetExitCodeThread(watch, &code);
    EXPECT_EQ(code, 0u);
    DWORD info = 0;
    SetLastError(0xdeadbeef);
    EXPECT_FALSE(GetHandleInformation(thread, &info)) << "its handle was closed";
    SetLastError(0xdeadbeef);
    EXPECT_EQ(GlobalSize(block), 0u) << "the block was freed";
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_HANDLE));
    if (image_holds_stream) {
        // The image let go of its stream while the block still existed.
        EXPECT_EQ(stream.refs, 1u);
        ASSERT_GT(stream.alive_at_release.size(), releases_before);
        for (std::size_t i = releases_before; i < stream.alive_at_release.size(); ++i)
            EXPECT_TRUE(stream.alive_at_release[i]) << "released after the block was freed";
    } else {
        ADD_FAILURE() << "this GDI+ does not keep the stream: the image's disposal is not observable";
    }
    CloseHandle(watch);
    CloseHandle(never);
}

WNDPROC g_dialog_proc = nullptr;
struct NcDown {
    WPARAM hit;
    LPARAM at;
    HWND capture;
};
std::vector<NcDown> g_nc_downs;

// Sits over the dialog's procedure and keeps the system's drag loop out.
LRESULT CALLBACK DialogSpy(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_NCLBUTTONDOWN) {
        g_nc_downs.push_back({w, l, GetCapture()});
        return 0;
    }
    return CallWindowProcA(g_dialog_proc, h, m, w, l);
}

TEST_F(SkinControls, ALoadDialogStartsADragOnlyWithHitMoveOne) {
    HWND d = LoadDialog(0, 0);
    windows_.push_back(d);
    g_dialog_proc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(d, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DialogSpy)));
    ASSERT_EQ(g_dialog_proc, skin::LoadDialogProc);
    const auto press = [&] {
        g_nc_downs.clear();
        SetCapture(d);
        SendMessageA(d, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    };
    press();
    EXPECT_TRUE(g_nc_downs.empty()) << "no property: only the default handling";
    EXPECT_EQ(GetCapture(), d);
    SetPropValue(d, skin::kPropHitMove, 2);
    press();
    EXPECT_TRUE(g_nc_downs.empty()) << "any value but 1";
    EXPECT_EQ(GetCapture(), d);
    SetPropValue(d, skin::kPropHitMove, 1);
    press();
    ASSERT_EQ(g_nc_downs.size(), 1u);
    EXPECT_EQ(g_nc_downs[0].hit, WPARAM(HTCAPTION));
    EXPECT_EQ(g_nc_downs[0].at, 0);
    EXPECT_EQ(g_nc_downs[0].capture, nullptr) << "capture released before the drag";
    ReleaseCapture();
}

// Real mouse input: press in the dialog, move, release. Should the system's
// drag loop on `ui_thread` have missed the release, it is given one, so that
// a lost button-up fails the test instead of hanging it.
void Drag(POINT from, POINT to, DWORD ui_thread) {
    const int sw = GetSystemMetrics(SM_CXSCREEN) - 1, sh = GetSystemMetrics(SM_CYSCREEN) - 1;
    const auto input = [&](POINT p, DWORD flags) {
        INPUT in{};
        in.type = INPUT_MOUSE;
        in.mi.dx = p.x * 65535 / sw;
        in.mi.dy = p.y * 65535 / sh;
        in.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
        SendInput(1, &in, sizeof in);
    };
    input(from, 0);
    Sleep(100);
    input(from, MOUSEEVENTF_LEFTDOWN);
    Sleep(100);
    for (int i = 1; i <= 5; ++i) {
        input({from.x + (to.x - from.x) * i / 5, from.y + (to.y - from.y) * i / 5}, 0);
        Sleep(40);
    }
    input(to, MOUSEEVENTF_LEFTUP);
    for (int i = 0; i < 20; ++i) {
        Sleep(100);
        GUITHREADINFO gui{};
        gui.cbSize = sizeof gui;
        if (!GetGUIThreadInfo(ui_thread, &gui) || !(gui.flags & GUI_INMOVESIZE)) break;
        PostThreadMessageA(ui_thread, WM_LBUTTONUP, 0, 0);
    }
}

// Where a fresh dialog ends up after a real drag from (30, 30) to (80, 70) in it.
RECT DragDialog(bool hit_move) {
    const POINT at = kQuietCorner;
    HWND d = LoadDialog(at.x, at.y);
    if (hit_move) SetPropValue(d, skin::kPropHitMove, 1);
    wintest::PumpFor(100);
    std::thread mouse(Drag, POINT{at.x + 30, at.y + 30}, POINT{at.x + 80, at.y + 70}, GetCurrentThreadId());
    RECT r{};
    wintest::PumpUntil(
        [&] {
            GetWindowRect(d, &r);
            return r.left != at.x;
        },
        1500);
    mouse.join();
    wintest::PumpFor(200);
    GetWindowRect(d, &r);
    DestroyWindow(d);
    return r;
}

TEST_F(SkinPointer, ALoadDialogWithHitMoveOneFollowsTheMouse) {
    const POINT at = kQuietCorner;
    for (const bool hit_move : {false, true}) {
        RECT r = DragDialog(hit_move);
        // The pointer is shared with whatever else runs on this desktop: one more try.
        if (hit_move && r.left == at.x) r = DragDialog(hit_move);
        if (hit_move) {
            EXPECT_EQ(r.left, at.x + 50) << "moved with the mouse";
            EXPECT_EQ(r.top, at.y + 40);
        } else {
            EXPECT_EQ(r.left, at.x) << "stays without CometHitMove";
            EXPECT_EQ(r.top, at.y);
        }
    }
}

TEST_F(SkinControls, AControlWithoutItsOldProcedureGetsTheDefaultHandling) {
    HWND parent = Skinned(60, 40);
    HWND child = CreateWindowExA(0, "STATIC", "old", WS_CHILD, 0, 0, 20, 10, parent, nullptr, nullptr, nullptr);
    ASSERT_EQ(GetPropA(child, skin::kPropChildWndProc), nullptr);
    EXPECT_EQ(skin::ButtonProc(child, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("new")), TRUE);
    char text[8] = {};
    EXPECT_EQ(skin::ButtonProc(child, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text)), 3);
    EXPECT_STREQ(text, "new");
    EXPECT_EQ(skin::EditProc(child, WM_GETTEXTLENGTH, 0, 0), 3);
}

TEST_F(SkinControls, ALoadDialogTakesTheMemoryOfAnImageTheEngineDecodedAlong) {
    const std::size_t before = skin::Module().decoded->size();
    GpImage* image = skin::LoadImageFromBytes(&kSplashImage);
    ASSERT_NE(image, nullptr);
    ASSERT_EQ(skin::Module().decoded->size(), before + 1);
    HWND d = LoadDialog(0, 0);
    SetPropA(d, skin::kPropImage, image);
    DestroyWindow(d);
    EXPECT_EQ(skin::Module().decoded->size(), before) << "the image and the stream it read went together";
}

}  // namespace
