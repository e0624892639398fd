#include "skin/skin_module.h"

#include <cstring>

#include "base/memory.h"
#include "base/text.h"
#include "skin/caret.h"
#include "skin/control_props.h"
#include "skin/draw_control.h"
#include "skin/foreign.h"
#include "skin/load_dialog.h"
#include "skin/prop_read.h"

namespace skin {
namespace {

constexpr char kFrameDimensionTime[] = "{6AEDBD6D-3FB5-418A-83A6-7F45229DC872}";

void GetSize(HWND window, int& width, int& height) {
    RECT r{};
    sys::GetWindowRect(window, &r);
    width = r.right - r.left;
    height = r.bottom - r.top;
}

}  // namespace

ModuleState& Module() {
    static ModuleState state;
    return state;
}

void InitSkinModule() {
    ModuleState& m = Module();
    const GdiplusStartupInput input{1, nullptr, FALSE, FALSE};
    sys::GdiplusStartup(&m.gdiplus_token, &input, nullptr);

    if (!m.decoded) m.decoded.emplace();

    m.frame_dimension.reset(static_cast<ByteBlob*>(base::AllocMemory(sizeof(ByteBlob) + sizeof(GUID))));
    ByteBlob* dim = m.frame_dimension.get();
    std::memset(dim, 0, sizeof(ByteBlob) + sizeof(GUID));
    *dim = ByteBlob{1, sizeof(GUID)};
    WideBlob text = ToWide(kFrameDimensionTime);
    sys::CLSIDFromString(text.text(), reinterpret_cast<GUID*>(dim + 1));

    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = LoadDialogProc;
    wc.hInstance = sys::GetModuleHandleA(nullptr);
    wc.hCursor = sys::LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kLoadDialogClass;
    sys::RegisterClassExA(&wc);
}

void EndSkinModule() {
    ModuleState& m = Module();
    m.focus_parent = nullptr;
    m.focused_edit = nullptr;
    m.kept_bitmap.reset();
    m.decoded.reset();
    m.frame_dimension.reset();
}

WideBlob::WideBlob(std::size_t bytes) : storage_(8 + bytes, 0) {
    const ByteBlob head{1, std::uint32_t(bytes)};
    std::memcpy(storage_.data(), &head, sizeof head);
}

WideBlob ToWide(const char* text) {
    // GBK whatever the system's code page: the program's text is GBK.
    const int n = sys::MultiByteToWideChar(base::kTextCodePage, 0, text, -1, nullptr, 0);
    WideBlob out(std::size_t(n > 0 ? n : 1) * 2);
    if (n > 0) sys::MultiByteToWideChar(base::kTextCodePage, 0, text, -1, out.text(), n);
    return out;
}

GpImage* LoadImageFromBytes(const ByteBlob* bytes) {
    ModuleState& m = Module();
    if (!bytes || !m.decoded) return nullptr;
    auto decoded = std::make_unique<DecodedImage>();
    IStream* s = decoded->stream.Open(bytes->bytes(), true);
    if (!s) return nullptr;
    if (sys::GdipLoadImageFromStream(s, decoded->image.put()) != 0 || !decoded->image) return nullptr;
    GpImage* image = decoded->image.get();
    if (const ByteBlob* dim = m.frame_dimension.get())
        sys::GdipImageSelectActiveFrame(image, reinterpret_cast<const GUID*>(dim + 1), 0);
    (*m.decoded)[image] = std::move(decoded);
    return image;
}

void DisposeImage(GpImage* image) {
    ModuleState& m = Module();
    if (m.decoded && m.decoded->erase(image)) return;  // the image, then its memory
    const OwnedImage other(image);                      // not decoded here: the image alone
}

namespace {

OwnedImage Compose(HWND window) {
    int width, height;
    GetSize(window, width, height);
    OwnedImage bitmap;
    sys::GdipCreateBitmapFromScan0(width, height, 0, kPixelFormat32bppARGB, nullptr, bitmap.put());
    if (!bitmap) return bitmap;
    OwnedGraphics g;
    sys::GdipGetImageGraphicsContext(bitmap.get(), g.put());
    if (auto* back = static_cast<GpImage*>(sys::GetPropA(window, kPropBackImage))) {
        REAL w = 0, h = 0;
        sys::GdipGetImageDimension(bitmap.get(), &w, &h);
        sys::GdipDrawImageRect(g.get(), back, 0.0f, 0.0f, w, h);  // always scaled to the whole window
    }
    // PNG controls in z-order, so a later sibling paints over an earlier one;
    // a child without a control type never shows.
    for (HWND child = sys::GetWindow(window, GW_CHILD); child; child = sys::GetWindow(child, GW_HWNDNEXT))
        if (PropValue(child, kPropType) != 0) DrawControl(window, child, g.get());
    return bitmap;  // the graphics let go of it first
}

}  // namespace

GpImage* ComposeBitmap(HWND window) { return Compose(window).release(); }

void ComposeWindow(HWND window) {
    OwnedImage bitmap = Compose(window);
    PushLayered(window, bitmap.get(), false);
    ModuleState& m = Module();
    ++m.compositions;
    // Kept for the caret blink, which re-pushes it without recomposing; the
    // one kept before goes.
    if (window && window == m.focus_parent) m.kept_bitmap = std::move(bitmap);
}

namespace {

BITMAPINFO BottomUpInfo(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;  // bottom-up rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    info.bmiHeader.biSizeImage = DWORD(width) * DWORD(height) * 4;
    return info;
}

HBITMAP MakeSection(HDC dc, int width, int height, void** bits) {
    const BITMAPINFO info = BottomUpInfo(width, height);
    return sys::CreateDIBSection(dc, &info, DIB_RGB_COLORS, bits, nullptr, 0);
}

}  // namespace

LayeredSource::LayeredSource(HDC reference, int width, int height)
    : width_(width),
      height_(height),
      dc_(sys::CreateCompatibleDC(reference)),
      section_(MakeSection(dc_.get(), width, height, &bits_)),
      selection_(dc_.get(), section_.get()) {}

std::uint32_t LayeredSource::Pixel(int x, int y) const {
    if (!bits_ || x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
    const auto* row = static_cast<const std::uint32_t*>(bits_) + std::size_t(height_ - 1 - y) * std::size_t(width_);
    return row[x];
}

void RenderLayered(LayeredSource& target, GpImage* image, bool draw_caret, HWND window) {
    OwnedGraphics g;
    sys::GdipCreateFromHDC(target.dc(), g.put());
    UINT w = 0, h = 0;
    sys::GdipGetImageHeight(image, &h);
    sys::GdipGetImageWidth(image, &w);
    sys::GdipDrawImageRect(g.get(), image, 0.0f, 0.0f, REAL(w), REAL(h));  // its own size, top-left
    if (draw_caret && window && Module().focused_edit) DrawCaret(window, Module().focused_edit, g.get());
}

void PushLayered(HWND window, GpImage* image, bool draw_caret) {
    if (!sys::IsWindow(window) || !image) return;
    int width, height;
    GetSize(window, width, height);
    {
        const WindowDc screen(window);
        LayeredSource source(screen.get(), width, height);  // goes before the window DC
        RenderLayered(source, image, draw_caret, window);
        SIZE size{width, height};
        POINT origin{0, 0};
        BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        sys::UpdateLayeredWindow(window, screen.get(), nullptr, &size, source.dc(), &origin, 0, &blend, ULW_ALPHA);
    }
    ModuleState& m = Module();
    ++m.pushes;
    m.last_push_caret = draw_caret;
}

}  // namespace skin
