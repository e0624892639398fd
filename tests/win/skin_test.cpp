// The skin engine core against real GDI+ and layered windows under Wine.
#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "shell/shell.h"
#include "shell/shell_state.h"
#include "skin/comet_window.h"
#include "skin/foreign.h"
#include "skin/skin_module.h"
#include "skin/splash_image.h"
#include "tests/win/win_test_util.h"

extern "C" {
// Read-back helpers for the tests: GDI+ called directly, not through the engine.
int WINAPI GdipBitmapGetPixel(skin::GpImage*, INT, INT, skin::ARGB*);
int WINAPI GdipBitmapSetPixel(skin::GpImage*, INT, INT, skin::ARGB);
int WINAPI GdipGetImageWidth(skin::GpImage*, UINT*);
int WINAPI GdipGetImageHeight(skin::GpImage*, UINT*);
int WINAPI GdipSaveImageToFile(skin::GpImage*, const WCHAR*, const CLSID*, const void*);
int WINAPI GdipCreateBitmapFromScan0(INT, INT, INT, INT, BYTE*, skin::GpImage**);
}

namespace {

using skin::GpImage;

class Skin : public testing::Test {
protected:
    static void SetUpTestSuite() { wintest::StartShellAndSkinOnce(); }
    void TearDown() override {
        for (HWND h : windows_)
            if (IsWindow(h)) DestroyWindow(h);
    }
    HWND Popup(int x, int y, int w, int h, bool show = true) {
        HWND hwnd = CreateWindowExA(0, "STATIC", "", WS_POPUP, x, y, w, h, nullptr, nullptr, nullptr, nullptr);
        if (show) ShowWindow(hwnd, SW_SHOWNA);
        windows_.push_back(hwnd);
        return hwnd;
    }
    std::vector<HWND> windows_;
};

struct AlphaCounts {
    int clear = 0, opaque = 0, partial = 0;
    bool operator==(const AlphaCounts&) const = default;
};

AlphaCounts CountAlpha(GpImage* image) {
    UINT w = 0, h = 0;
    GdipGetImageWidth(image, &w);
    GdipGetImageHeight(image, &h);
    AlphaCounts c;
    for (UINT y = 0; y < h; ++y)
        for (UINT x = 0; x < w; ++x) {
            skin::ARGB p = 0;
            GdipBitmapGetPixel(image, INT(x), INT(y), &p);
            const unsigned a = p >> 24;
            (a == 0 ? c.clear : a == 255 ? c.opaque : c.partial)++;
        }
    return c;
}

skin::ARGB PixelOf(GpImage* image, int x, int y) {
    skin::ARGB p = 0;
    GdipBitmapGetPixel(image, x, y, &p);
    return p;
}

TEST_F(Skin, InitialisationParsesTheFrameDimensionAndRegistersTheLoadDialogClass) {
    const ByteBlob* dim = skin::Module().frame_dimension.get();
    ASSERT_NE(dim, nullptr);
    EXPECT_EQ(dim->length, 16u);
    const GUID time{0x6AEDBD6D, 0x3FB5, 0x418A, {0x83, 0xA6, 0x7F, 0x45, 0x22, 0x9D, 0xC8, 0x72}};
    EXPECT_EQ(std::memcmp(dim->data(), &time, 16), 0);
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    ASSERT_TRUE(GetClassInfoExA(GetModuleHandleA(nullptr), skin::kLoadDialogClass, &wc));
    EXPECT_EQ(wc.style, UINT(CS_HREDRAW | CS_VREDRAW));
    EXPECT_EQ(wc.hbrBackground, reinterpret_cast<HBRUSH>(16));
    EXPECT_EQ(wc.hCursor, LoadCursorA(nullptr, IDC_ARROW));
    EXPECT_EQ(sizeof(WNDCLASSEXA), sizeof(void*) == 4 ? 48u : 80u);
    EXPECT_GE(skin::sys::Entries().size(), 40u);
}

TEST_F(Skin, ComposingTheSplashKeepsThePicturesAlphaExactly) {
    HWND w = Popup(0, 0, 600, 400);
    skin::CometWindow engine;
    ASSERT_TRUE(engine.Attach(w));
    GpImage* splash = skin::LoadImageFromBytes(&kSplashImage);
    ASSERT_NE(splash, nullptr);
    ASSERT_TRUE(engine.SetBackImage(splash));
    EXPECT_EQ(GetPropA(w, skin::kPropBackImage), splash);
    GpImage* composed = skin::ComposeBitmap(w);
    ASSERT_NE(composed, nullptr);
    UINT cw = 0, ch = 0;
    GdipGetImageWidth(composed, &cw);
    GdipGetImageHeight(composed, &ch);
    EXPECT_EQ(cw, 600u);
    EXPECT_EQ(ch, 400u);
    const AlphaCounts picture = CountAlpha(splash), result = CountAlpha(composed);
    EXPECT_EQ(result, picture) << "composed " << result.clear << "/" << result.opaque << "/" << result.partial
                               << ", picture " << picture.clear << "/" << picture.opaque << "/" << picture.partial;
    EXPECT_EQ(picture.clear + picture.opaque + picture.partial, 240000);
    EXPECT_GT(picture.partial, 1000) << "soft edges";
    // Saved for people to see the alpha (the screen here has no compositor).
    const CLSID png{0x557CF406, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
    GdipSaveImageToFile(composed, L"splash-composed.png", &png, nullptr);
    skin::sys::GdipDisposeImage(composed);
}

TEST_F(Skin, ABackgroundOfAnotherSizeIsStretchedToTheWindow) {
    // Four solid quadrants of 10 by 5: scaled tenfold, their middles stay pure.
    GpImage* small = nullptr;
    GdipCreateBitmapFromScan0(20, 10, 0, skin::kPixelFormat32bppARGB, nullptr, &small);
    ASSERT_NE(small, nullptr);
    const std::array<skin::ARGB, 4> colours{0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF};
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 20; ++x) GdipBitmapSetPixel(small, x, y, colours[std::size_t((y / 5) * 2 + x / 10)]);
    HWND w = Popup(10, 10, 200, 100);
    skin::CometWindow engine;
    ASSERT_TRUE(engine.Attach(w));
    ASSERT_TRUE(engine.SetBackImage(small));
    GpImage* composed = skin::ComposeBitmap(w);
    ASSERT_NE(composed, nullptr);
    EXPECT_EQ(PixelOf(composed, 50, 25), colours[0]);
    EXPECT_EQ(PixelOf(composed, 150, 25), colours[1]);
    EXPECT_EQ(PixelOf(composed, 50, 75), colours[2]);
    EXPECT_EQ(PixelOf(composed, 150, 75), colours[3]);
    // Reaching the far corner: scaled to the whole window, not drawn at its own size.
    // (GDI+ softens the outermost few pixels; an unscaled picture would leave this clear.)
    EXPECT_GT(PixelOf(composed, 190, 92) >> 24, 128u);
    EXPECT_EQ(PixelOf(composed, 190, 92) & 0xFFFFFF, 0xFFFFFFu);
    skin::sys::GdipDisposeImage(composed);
    skin::sys::GdipDisposeImage(small);
}

TEST_F(Skin, ASmallerBitmapIsPushedTopLeftWithTheRestTransparent) {
    GpImage* small = nullptr;
    GdipCreateBitmapFromScan0(40, 30, 0, skin::kPixelFormat32bppARGB, nullptr, &small);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) GdipBitmapSetPixel(small, x, y, 0xFFFF0000);
    HDC screen = GetDC(nullptr);
    {
        skin::LayeredSource source(screen, 100, 80);
        skin::RenderLayered(source, small, false);
        EXPECT_EQ(source.Pixel(0, 0), 0xFFFF0000u);
        EXPECT_EQ(source.Pixel(39, 29), 0xFFFF0000u);
        EXPECT_EQ(source.Pixel(40, 10), 0u);
        EXPECT_EQ(source.Pixel(10, 30), 0u);
        EXPECT_EQ(source.Pixel(99, 79), 0u);
    }
    ReleaseDC(nullptr, screen);
    skin::sys::GdipDisposeImage(small);
}

TEST_F(Skin, AttachMakesTheWindowLayeredOnceAndRefusesNonWindows) {
    skin::CometWindow engine;
    EXPECT_FALSE(engine.Attach(reinterpret_cast<HWND>(0x1234)));
    EXPECT_EQ(engine.GetHandle(), nullptr);
    EXPECT_FALSE(engine.IsValid());
    HWND w = Popup(0, 0, 50, 50);
    SetWindowLongA(w, GWL_EXSTYLE, WS_EX_TOOLWINDOW | WS_EX_TOPMOST);
    ASSERT_TRUE(engine.Attach(w));
    EXPECT_EQ(GetWindowLongA(w, GWL_EXSTYLE) & ~WS_EX_TOPMOST, WS_EX_LAYERED);
    EXPECT_EQ(GetPropA(w, skin::kPropTime), reinterpret_cast<HANDLE>(64));
    EXPECT_TRUE(engine.IsValid());
    ASSERT_TRUE(KillTimer(w, skin::kCaretTimerId)) << "the blink timer runs on the window";
    SetWindowLongA(w, GWL_EXSTYLE, WS_EX_TOOLWINDOW);
    EXPECT_TRUE(engine.Attach(w));
    EXPECT_EQ(GetWindowLongA(w, GWL_EXSTYLE), WS_EX_LAYERED) << "the style is set again";
    EXPECT_FALSE(KillTimer(w, skin::kCaretTimerId)) << "no second timer was started";
    // Another engine object is refused nothing, and the first one is unchanged.
    EXPECT_FALSE(engine.Attach(nullptr));
    EXPECT_EQ(engine.GetHandle(), w);
}

TEST_F(Skin, BadBackgroundsAreRefused) {
    HWND w = Popup(0, 0, 50, 50);
    skin::CometWindow engine;
    ASSERT_TRUE(engine.Attach(w));
    EXPECT_FALSE(engine.SetBackImage(nullptr));
    EXPECT_EQ(GetPropA(w, skin::kPropBackImage), nullptr);
    std::vector<std::uint8_t> storage(8 + 64, 'x');
    const ByteBlob head{1, 64};
    std::memcpy(storage.data(), &head, 8);
    EXPECT_FALSE(engine.LoadBackImage(reinterpret_cast<const ByteBlob*>(storage.data())));
    EXPECT_EQ(skin::LoadImageFromBytes(reinterpret_cast<const ByteBlob*>(storage.data())), nullptr);
    GpImage* splash = skin::LoadImageFromBytes(&kSplashImage);
    DestroyWindow(w);
    EXPECT_FALSE(engine.SetBackImage(splash)) << "dead window";
    EXPECT_FALSE(engine.IsValid());
    skin::PushLayered(w, splash, false);  // a dead window is skipped, not touched
    skin::DisposeImage(splash);
}

TEST_F(Skin, MoveKeepsWhatIsOmitted) {
    HWND w = Popup(100, 50, 300, 200);
    skin::CometWindow engine;
    ASSERT_TRUE(engine.Attach(w));
    auto rect = [&] {
        RECT r;
        GetWindowRect(w, &r);
        return std::array<LONG, 4>{r.left, r.top, r.right - r.left, r.bottom - r.top};
    };
    engine.Move(120);
    EXPECT_EQ(rect(), (std::array<LONG, 4>{120, 50, 300, 200}));
    engine.Move(std::nullopt, std::nullopt, 250);
    EXPECT_EQ(rect(), (std::array<LONG, 4>{120, 50, 250, 200}));
    engine.Move(std::nullopt, 70, std::nullopt, 150, true);
    EXPECT_EQ(rect(), (std::array<LONG, 4>{120, 70, 250, 150}));
    engine.Move();
    EXPECT_EQ(rect(), (std::array<LONG, 4>{120, 70, 250, 150}));
}

TEST_F(Skin, ToWideKeepsTheTerminator) {
    const skin::WideBlob w = skin::ToWide("大众笑声");
    EXPECT_EQ(w.blob()->length, 10u);
    EXPECT_EQ(std::wstring(w.text()), L"大众笑声");
    EXPECT_EQ(w.text()[4], L'\0');
    EXPECT_EQ(skin::ToWide("").blob()->length, 2u);
}

TEST_F(Skin, CopyAndSendActOnTheAttachedWindow) {
    HWND w = Popup(0, 0, 40, 40);
    skin::CometWindow engine;
    ASSERT_TRUE(engine.Attach(w));
    const auto copy = engine.copy();
    EXPECT_EQ(copy->GetHandle(), w);
    copy->Send(WM_SETTEXT, 0, reinterpret_cast<LPARAM>("hello"));
    char text[16] = {};
    GetWindowTextA(w, text, 16);
    EXPECT_STREQ(text, "hello");
}

// Reads the screen, so it runs alone: another test's window at the same place
// would be what it sees.
class SkinScreenPointer : public Skin {};

// Fully transparent pixels of the splash show what lies beneath it.
TEST_F(SkinScreenPointer, TransparentPixelsOfTheSplashShowTheWindowBeneath) {
    WNDCLASSA red{};
    red.lpfnWndProc = DefWindowProcA;
    red.hInstance = GetModuleHandleA(nullptr);
    red.hbrBackground = CreateSolidBrush(RGB(255, 0, 0));
    red.lpszClassName = "SkinTestRed";
    RegisterClassA(&red);
    HWND below = CreateWindowExA(0, "SkinTestRed", "", WS_POPUP, 0, 0, 600, 400, nullptr, nullptr, nullptr, nullptr);
    windows_.push_back(below);
    ShowWindow(below, SW_SHOWNA);
    UpdateWindow(below);
    HWND splash = Popup(0, 0, 600, 400);
    SetWindowPos(splash, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    skin::CometWindow engine;
    ASSERT_TRUE(engine.Attach(splash));
    ASSERT_TRUE(engine.LoadBackImage(&kSplashImage));
    wintest::PumpFor(300);
    HDC screen = GetDC(nullptr);
    const COLORREF corner = GetPixel(screen, 5, 5);      // alpha 0 in the picture
    const COLORREF body = GetPixel(screen, 300, 160);    // lettering: opaque
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(corner, RGB(255, 0, 0)) << std::hex << corner;
    EXPECT_NE(body, RGB(255, 0, 0)) << std::hex << body;
}

TEST_F(Skin, TheModulesEndDisposesOfEveryImageItDecodedTheSplashToo) {
    ASSERT_NE(skin::LoadImageFromBytes(&kSplashImage), nullptr);
    ASSERT_FALSE(skin::Module().decoded->empty());
    skin::EndSkinModule();
    EXPECT_FALSE(skin::Module().decoded) << "nothing decoded outlives the module";
    EXPECT_EQ(skin::Module().frame_dimension.get(), nullptr);
    EXPECT_EQ(skin::LoadImageFromBytes(&kSplashImage), nullptr) << "no decoding after the end";
    skin::InitSkinModule();  // for whatever runs after this in the process
    EXPECT_NE(skin::LoadImageFromBytes(&kSplashImage), nullptr);
}

}  // namespace
