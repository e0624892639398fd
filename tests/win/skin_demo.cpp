#include "tests/win/skin_demo.h"

#include "skin/png_declare.h"
#include "skin/skin_module.h"

namespace skintest {

TestImage::TestImage(int width, int height, const std::function<ARGB(int, int)>& colour) {
    GdipCreateBitmapFromScan0(width, height, 0, skin::kPixelFormat32bppARGB, nullptr, &image_);
    if (!image_) return;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) GdipBitmapSetPixel(image_, x, y, colour(x, y));
}

TestImage::~TestImage() {
    if (image_) GdipDisposeImage(image_);
}

std::function<ARGB(int, int)> Quadrants(int width, int height) {
    return [=](int x, int y) {
        const bool right = x >= width / 2, bottom = y >= height / 2;
        return bottom ? (right ? kWhite : kBlue) : (right ? kGreen : kRed);
    };
}

Composed::Composed(HWND window) : image_(skin::ComposeBitmap(window)) {}

Composed::~Composed() {
    if (image_) GdipDisposeImage(image_);
}

ARGB Composed::at(int x, int y) const {
    ARGB p = 0xDEADBEEF;
    GdipBitmapGetPixel(image_, x, y, &p);
    return p;
}

std::vector<Seen>& Recorded() {
    static std::vector<Seen> seen;
    return seen;
}

LRESULT CALLBACK RecorderProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    Recorded().push_back({h, m, w, l, skin::Module().compositions});
    return DefWindowProcA(h, m, w, l);
}

LRESULT CALLBACK OtherRecorderProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    Recorded().push_back({h, m + 0x10000, w, l, skin::Module().compositions});
    return DefWindowProcA(h, m, w, l);
}

void RegisterTestClasses() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = kHostClass;
    RegisterClassA(&wc);
    wc.lpfnWndProc = RecorderProc;
    wc.lpszClassName = kRecorderClass;
    RegisterClassA(&wc);
}

HWND Host(int x, int y, int w, int h) {
    RegisterTestClasses();
    HWND hwnd = CreateWindowExA(WS_EX_TOPMOST, kHostClass, "", WS_POPUP | WS_VISIBLE, x, y, w, h, nullptr, nullptr,
                                nullptr, nullptr);
    return hwnd;
}

HWND Child(HWND parent, const char* cls, int x, int y, int w, int h, DWORD style, const char* text) {
    return CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent, nullptr, nullptr,
                           nullptr);
}

TestFont::TestFont()
    : font_(CreateFontA(-16, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                        CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY, DEFAULT_PITCH, kFontFace)) {}

TestFont::~TestFont() { DeleteObject(font_); }

namespace {

HWND ChildAt(HWND parent, const char* cls, const RECT& r, DWORD style = 0) {
    return Child(parent, cls, int(r.left), int(r.top), int(r.right - r.left), int(r.bottom - r.top), style);
}

}  // namespace

Demo::Demo() {
    window = Host(kQuietCorner.x, kQuietCorner.y, 300, 200);
    picture = ChildAt(window, "STATIC", kPicture);
    button = ChildAt(window, "BUTTON", kButton, BS_PUSHBUTTON);
    edit = ChildAt(window, "EDIT", kEdit, ES_AUTOHSCROLL);
    SendMessageA(edit, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);

    skin::DeclarePicture(picture, picture_image.get(), skin::kBackFit);
    skin::DeclareButton(button, {normal.get(), hover.get(), pressed.get(), disabled.get()});
    skin::EditLook look;
    look.back_color = 0xFFFFFF;
    look.border_color = std::int32_t(kEditBorder);
    look.text_color = std::int32_t(kEditText);
    skin::DeclareEdit(edit, look);

    engine.Attach(window);
    engine.SetBackImage(back.get());
    engine.SkinControls();
}

Demo::~Demo() {
    if (IsWindow(window)) DestroyWindow(window);
}

}  // namespace skintest
