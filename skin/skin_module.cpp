#include "skin/skin_module.h"

#include <cstring>
#include <map>

#include "base/memory.h"
#include "base/text.h"
#include "skin/caret.h"
#include "skin/comet_stream.h"
#include "skin/control_props.h"
#include "skin/draw_control.h"
#include "skin/foreign.h"
#include "skin/load_dialog.h"
#include "skin/prop_read.h"

namespace skin {
namespace {

constexpr char kFrameDimensionTime[] = "{6AEDBD6D-3FB5-418A-83A6-7F45229DC872}";

// The memory each decoded image reads from, kept until the image goes.
std::map<GpImage*, std::unique_ptr<CometStream>>& ImageStreams() {
    static std::map<GpImage*, std::unique_ptr<CometStream>> streams;
    return streams;
}

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

    ReleaseFrameDimension();
    m.frame_dimension = static_cast<ByteBlob*>(shell::AllocMemory(sizeof(ByteBlob) + sizeof(GUID)));
    std::memset(m.frame_dimension, 0, sizeof(ByteBlob) + sizeof(GUID));
    *m.frame_dimension = ByteBlob{1, sizeof(GUID)};
    WideBlob text = ToWide(kFrameDimensionTime);
    sys::CLSIDFromString(text.text(), reinterpret_cast<GUID*>(m.frame_dimension + 1));

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

void ReleaseFrameDimension() {
    ModuleState& m = Module();
    shell::FreeMemory(m.frame_dimension);
    m.frame_dimension = nullptr;
}

WideBlob::WideBlob(std::size_t bytes) : storage_(8 + bytes, 0) {
    const ByteBlob head{1, std::uint32_t(bytes)};
    std::memcpy(storage_.data(), &head, sizeof head);
}

WideBlob ToWide(const char* text) {
    // GBK whatever the system's code page: the program's text is GBK.
    const int n = sys::MultiByteToWideChar(shell::kTextCodePage, 0, text, -1, nullptr, 0);
    WideBlob out(std::size_t(n > 0 ? n : 1) * 2);
    if (n > 0) sys::MultiByteToWideChar(shell::kTextCodePage, 0, text, -1, out.text(), n);
    return out;
}

GpImage* LoadImageFromBytes(const ByteBlob* bytes) {
    if (!bytes) return nullptr;
    auto stream = std::make_unique<CometStream>();
    IStream* s = stream->Open(bytes->bytes(), true);
    if (!s) return nullptr;
    GpImage* image = nullptr;
    if (sys::GdipLoadImageFromStream(s, &image) != 0 || !image) return nullptr;
    if (const ByteBlob* dim = Module().frame_dimension)
        sys::GdipImageSelectActiveFrame(image, reinterpret_cast<const GUID*>(dim + 1), 0);
    ImageStreams()[image] = std::move(stream);
    return image;
}

void DisposeImage(GpImage* image) {
    if (!image) return;
    sys::GdipDisposeImage(image);
    ImageStreams().erase(image);  // the memory only after the image
}

GpImage* ComposeBitmap(HWND window) {
    int width, height;
    GetSize(window, width, height);
    GpImage* bitmap = nullptr;
    sys::GdipCreateBitmapFromScan0(width, height, 0, kPixelFormat32bppARGB, nullptr, &bitmap);
    if (!bitmap) return nullptr;
    GpGraphics* g = nullptr;
    sys::GdipGetImageGraphicsContext(bitmap, &g);
    if (auto* back = static_cast<GpImage*>(sys::GetPropA(window, kPropBackImage))) {
        REAL w = 0, h = 0;
        sys::GdipGetImageDimension(bitmap, &w, &h);
        sys::GdipDrawImageRect(g, back, 0.0f, 0.0f, w, h);  // always scaled to the whole window
    }
    // PNG controls in z-order, so a later sibling paints over an earlier one;
    // a child without a control type never shows.
    for (HWND child = sys::GetWindow(window, GW_CHILD); child; child = sys::GetWindow(child, GW_HWNDNEXT))
        if (PropValue(child, kPropType) != 0) DrawControl(window, child, g);
    if (g) sys::GdipDeleteGraphics(g);
    return bitmap;
}

void ComposeWindow(HWND window) {
    GpImage* bitmap = ComposeBitmap(window);
    PushLayered(window, bitmap, false);
    ModuleState& m = Module();
    ++m.compositions;
    if (window && window == m.focus_parent) {
        // Kept for the caret blink, which re-pushes it without recomposing.
        if (m.kept_bitmap) sys::GdipDisposeImage(m.kept_bitmap);
        m.kept_bitmap = bitmap;
    } else if (bitmap) {
        sys::GdipDisposeImage(bitmap);
    }
}

LayeredSource::LayeredSource(HDC reference, int width, int height) : width_(width), height_(height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;  // bottom-up rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    info.bmiHeader.biSizeImage = DWORD(width) * DWORD(height) * 4;
    dc_ = sys::CreateCompatibleDC(reference);
    section_ = sys::CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits_, nullptr, 0);
    previous_ = sys::SelectObject(dc_, section_);
}

LayeredSource::~LayeredSource() {
    if (dc_) sys::SelectObject(dc_, previous_);
    if (section_) sys::DeleteObject(section_);
    if (dc_) sys::DeleteDC(dc_);
}

std::uint32_t LayeredSource::Pixel(int x, int y) const {
    if (!bits_ || x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
    const auto* row = static_cast<const std::uint32_t*>(bits_) + std::size_t(height_ - 1 - y) * std::size_t(width_);
    return row[x];
}

void RenderLayered(LayeredSource& target, GpImage* image, bool draw_caret, HWND window) {
    GpGraphics* g = nullptr;
    sys::GdipCreateFromHDC(target.dc(), &g);
    UINT w = 0, h = 0;
    sys::GdipGetImageHeight(image, &h);
    sys::GdipGetImageWidth(image, &w);
    sys::GdipDrawImageRect(g, image, 0.0f, 0.0f, REAL(w), REAL(h));  // its own size, top-left
    if (draw_caret && window && Module().focused_edit) DrawCaret(window, Module().focused_edit, g);
    if (g) sys::GdipDeleteGraphics(g);
}

void PushLayered(HWND window, GpImage* image, bool draw_caret) {
    if (!sys::IsWindow(window) || !image) return;
    int width, height;
    GetSize(window, width, height);
    HDC screen = sys::GetWindowDC(window);
    {
        LayeredSource source(screen, width, height);
        RenderLayered(source, image, draw_caret, window);
        SIZE size{width, height};
        POINT origin{0, 0};
        BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        sys::UpdateLayeredWindow(window, screen, nullptr, &size, source.dc(), &origin, 0, &blend, ULW_ALPHA);
    }
    sys::ReleaseDC(window, screen);
    ModuleState& m = Module();
    ++m.pushes;
    m.last_push_caret = draw_caret;
}

}  // namespace skin
