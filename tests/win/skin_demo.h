#pragma once
// Test helpers for the skin engine's PNG controls: solid-colour images, the
// composed bitmap read back, child windows, a message recorder, and a small
// demonstration window with one control of each kind.
#include <windows.h>
#include <objidl.h>

#include <functional>
#include <memory>
#include <vector>

#include "skin/comet_window.h"
#include "skin/gdiplus_types.h"

extern "C" {
// GDI+ called directly by the tests, not through the engine.
int WINAPI GdipBitmapGetPixel(skin::GpImage*, INT, INT, skin::ARGB*);
int WINAPI GdipBitmapSetPixel(skin::GpImage*, INT, INT, skin::ARGB);
int WINAPI GdipCreateBitmapFromScan0(INT, INT, INT, INT, BYTE*, skin::GpImage**);
int WINAPI GdipDisposeImage(skin::GpImage*);
int WINAPI GdipLoadImageFromStream(IStream*, skin::GpImage**);
}

namespace skintest {

using skin::ARGB;
using skin::GpImage;

inline constexpr ARGB kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF, kWhite = 0xFFFFFFFF,
                      kGrey = 0xFF808080, kYellow = 0xFFFFFF00, kBack = 0xFF203040;

// A GDI+ bitmap painted pixel by pixel, disposed with the object.
class TestImage {
public:
    TestImage(int width, int height, const std::function<ARGB(int x, int y)>& colour);
    TestImage(int width, int height, ARGB colour) : TestImage(width, height, [colour](int, int) { return colour; }) {}
    ~TestImage();
    TestImage(const TestImage&) = delete;
    TestImage& operator=(const TestImage&) = delete;
    GpImage* get() const { return image_; }

private:
    GpImage* image_ = nullptr;
};

// Four solid quadrants: top-left red, top-right green, bottom-left blue, bottom-right white.
std::function<ARGB(int, int)> Quadrants(int width, int height);

// The window's bitmap as the compositor builds it, read pixel by pixel.
class Composed {
public:
    explicit Composed(HWND window);
    ~Composed();
    Composed(const Composed&) = delete;
    Composed& operator=(const Composed&) = delete;
    ARGB at(int x, int y) const;
    GpImage* get() const { return image_; }

private:
    GpImage* image_ = nullptr;
};

// Where the tests put windows that meet the real pointer or the screen: a
// corner of the 1024 by 768 test display that other tests' windows leave free.
inline constexpr POINT kQuietCorner{700, 540};

// The classes the tests build windows of.
inline constexpr char kHostClass[] = "SkinTestHost";          // DefWindowProc
inline constexpr char kRecorderClass[] = "SkinTestRecorder";  // records what reaches it
void RegisterTestClasses();

// What reached a recorder window: message, parameters, and how many
// compositions the engine had made by then.
struct Seen {
    HWND window;
    UINT message;
    WPARAM wparam;
    LPARAM lparam;
    unsigned compositions;
};
std::vector<Seen>& Recorded();
LRESULT CALLBACK RecorderProc(HWND, UINT, WPARAM, LPARAM);
// A second procedure for restoring: records like the first, tagged by message + 0x10000.
LRESULT CALLBACK OtherRecorderProc(HWND, UINT, WPARAM, LPARAM);

// A visible frameless top-level window (client and window rectangles
// coincide) and a visible child of it.
HWND Host(int x, int y, int w, int h);
HWND Child(HWND parent, const char* cls, int x, int y, int w, int h, DWORD style = 0, const char* text = "");

// A font family that GDI+ finds here: the CJK font the test set-up installs.
inline constexpr char kFontFace[] = "WenQuanYi Micro Hei";

// A 16-pixel GDI font of that family, deleted with the object.
class TestFont {
public:
    TestFont();
    ~TestFont();
    TestFont(const TestFont&) = delete;
    TestFont& operator=(const TestFont&) = delete;
    HFONT get() const { return font_; }

private:
    HFONT font_;
};

// The demonstration: a 300 by 200 skinned window at the quiet corner with a
// picture, a PNG button with four state images and a PNG edit box, subclassed
// and composed.
struct Demo {
    static constexpr RECT kPicture{10, 10, 90, 70};   // 80x60, image fitted
    static constexpr RECT kButton{110, 10, 190, 40};  // 80x30
    static constexpr RECT kEdit{10, 100, 210, 128};   // 200x28
    static constexpr ARGB kEditFill = kWhite;
    static constexpr COLORREF kEditBorder = RGB(0, 0, 255);
    static constexpr COLORREF kEditText = RGB(255, 0, 0);

    Demo();
    ~Demo();
    Demo(const Demo&) = delete;
    Demo& operator=(const Demo&) = delete;

    skin::CometWindow engine;
    TestImage back{30, 20, kBack};
    TestImage picture_image{160, 60, Quadrants(160, 60)};
    TestImage normal{80, 30, kRed}, hover{80, 30, kGreen}, pressed{80, 30, kBlue}, disabled{80, 30, kGrey};
    TestFont font;
    HWND window = nullptr, picture = nullptr, button = nullptr, edit = nullptr;
};

}  // namespace skintest
