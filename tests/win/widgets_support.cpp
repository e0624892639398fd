#include "tests/win/widgets_support.h"

#include <algorithm>
#include <utility>

#include "tests/win/win_test_util.h"

namespace wintest {

Canvas::Canvas(int width, int height, COLORREF fill) : w_(width), h_(height) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;  // top-down
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    dc_ = CreateCompatibleDC(nullptr);
    bmp_ = CreateDIBSection(dc_, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    bits_ = static_cast<std::uint32_t*>(bits);
    old_ = SelectObject(dc_, bmp_);
    for (int y = 0; y < h_; ++y)
        for (int x = 0; x < w_; ++x) Set(x, y, fill);
}

Canvas::Canvas(Canvas&& o) noexcept
    : w_(o.w_), h_(o.h_), dc_(std::exchange(o.dc_, nullptr)), bmp_(std::exchange(o.bmp_, nullptr)),
      old_(o.old_), bits_(o.bits_) {}

Canvas::~Canvas() {
    if (!dc_) return;
    SelectObject(dc_, old_);
    DeleteObject(bmp_);
    DeleteDC(dc_);
}

COLORREF Canvas::At(int x, int y) const {
    GdiFlush();
    const std::uint32_t p = bits_[std::size_t(y) * std::size_t(w_) + std::size_t(x)];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

void Canvas::Set(int x, int y, COLORREF c) {
    bits_[std::size_t(y) * std::size_t(w_) + std::size_t(x)] =
        std::uint32_t(GetRValue(c)) << 16 | std::uint32_t(GetGValue(c)) << 8 | GetBValue(c);
}

bool Canvas::operator==(const Canvas& o) const {
    if (w_ != o.w_ || h_ != o.h_) return false;
    for (int y = 0; y < h_; ++y)
        for (int x = 0; x < w_; ++x)
            if (At(x, y) != o.At(x, y)) return false;
    return true;
}

Canvas PrintClient(HWND h, COLORREF fill, int extra_width, int extra_height) {
    RECT r;
    GetClientRect(h, &r);
    Canvas c(r.right + extra_width, r.bottom + extra_height, fill);
    SendMessageW(h, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(c.dc()), PRF_CLIENT);
    return c;
}

PixelBox BoxOf(const Canvas& c, const std::function<bool(COLORREF)>& pick, RECT within) {
    PixelBox b{within.right, within.bottom, within.left, within.top};
    for (int y = within.top; y < within.bottom; ++y)
        for (int x = within.left; x < within.right; ++x)
            if (pick(c.At(x, y))) {
                b.left = std::min(b.left, x);
                b.top = std::min(b.top, y);
                b.right = std::max(b.right, x + 1);
                b.bottom = std::max(b.bottom, y + 1);
            }
    return b.empty() ? PixelBox{} : b;
}

PixelBox BoxOf(const Canvas& c, const std::function<bool(COLORREF)>& pick) {
    return BoxOf(c, pick, RECT{0, 0, c.width(), c.height()});
}

int CountOf(const Canvas& c, const std::function<bool(COLORREF)>& pick, RECT within) {
    int n = 0;
    for (int y = within.top; y < within.bottom; ++y)
        for (int x = within.left; x < within.right; ++x) n += pick(c.At(x, y)) ? 1 : 0;
    return n;
}

namespace {

constexpr char kHostClass[] = "WidgetsTestHost";
constexpr char kCounterClass[] = "WidgetsPaintCounter";

LRESULT CALLBACK CounterProc(HWND h, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_NCCREATE)
        SetWindowLongPtrA(h, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams));
    if (m == WM_PAINT) {
        if (auto* n = reinterpret_cast<int*>(GetWindowLongPtrA(h, GWLP_USERDATA))) ++*n;
        PAINTSTRUCT ps;
        BeginPaint(h, &ps);
        EndPaint(h, &ps);
        return 0;
    }
    return DefWindowProcA(h, m, wp, lp);
}

void RegisterClasses(WNDPROC host) {
    static bool done = false;
    if (done) return;
    done = true;
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = host;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = kHostClass;
    RegisterClassExA(&wc);
    wc.lpfnWndProc = CounterProc;
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    wc.lpszClassName = kCounterClass;
    RegisterClassExA(&wc);
}

}  // namespace

WidgetHost::WidgetHost(int slot, COLORREF background) : background_(background) {
    RegisterClasses(Proc);
    // Eight places down the right edge of the screen, then eight down the left.
    const int x = slot < 8 ? GetSystemMetrics(SM_CXSCREEN) - kWidth - 8 : 8;
    const int y = 8 + (slot % 8) * (kHeight + 8);
    hwnd_ = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kHostClass, "", WS_POPUP | WS_CLIPCHILDREN, x, y,
                            kWidth, kHeight, nullptr, nullptr, GetModuleHandleA(nullptr), this);
    ShowWindow(hwnd_, SW_SHOW);
    SetForegroundWindow(hwnd_);
    UpdateWindow(hwnd_);
}

WidgetHost::~WidgetHost() {
    parts_.clear();
    if (IsWindow(hwnd_)) DestroyWindow(hwnd_);
}

std::shared_ptr<base::Component> WidgetHost::Add(const base::ComponentModule& module, base::Kind kind,
                                                  std::uint32_t unit_id, std::span<const std::uint8_t> block,
                                                  RECT at, std::uint32_t flags) {
    const base::UnitDef def{kind, unit_id, "test", at.left, at.top, at.right - at.left, at.bottom - at.top,
                             flags, base::Action::None, block};
    const base::UnitState state{&def, def.left, def.top, def.width, def.height, "", flags};
    auto c = module.create(base::CreateContext{hwnd_, kHostWindowId, state});
    if (!c) return nullptr;
    if (flags & base::kVisible) ShowWindow(c->hwnd(), SW_SHOWNA);
    parts_.push_back(c);
    UpdateWindow(hwnd_);
    return c;
}

LRESULT CALLBACK WidgetHost::Proc(HWND h, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_NCCREATE)
        SetWindowLongPtrA(h, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams));
    auto* host = reinterpret_cast<WidgetHost*>(GetWindowLongPtrA(h, GWLP_USERDATA));
    if (host) {
        switch (m) {
            case WM_COMMAND:
                for (const auto& c : host->parts_)
                    if (lp && c->hwnd() == reinterpret_cast<HWND>(lp)) c->OnParentCommand(HIWORD(wp));
                return 0;
            case WM_ERASEBKGND: {
                RECT r;
                GetClientRect(h, &r);
                const COLORREF old = SetDCBrushColor(reinterpret_cast<HDC>(wp), host->background_);
                FillRect(reinterpret_cast<HDC>(wp), &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
                SetDCBrushColor(reinterpret_cast<HDC>(wp), old);
                return 1;
            }
            case WM_PAINT:
                ++host->paints_;
                break;
            case WM_NCDESTROY:
                SetWindowLongPtrA(h, GWLP_USERDATA, 0);
                break;
            default:
                break;
        }
    }
    return DefWindowProcA(h, m, wp, lp);
}

POINT OnScreen(HWND h, int x, int y) {
    POINT p{x, y};
    ClientToScreen(h, &p);
    return p;
}

void PointerTo(POINT screen) {
    POINT now{};
    GetCursorPos(&now);
    if (now.x == screen.x && now.y == screen.y) {
        // Already there (an earlier test may have left it): a move to the
        // same place reports nothing, so come in from beside it.
        SetCursorPos(screen.x + 1, screen.y);
        PumpFor(30);
    }
    INPUT in{};
    in.type = INPUT_MOUSE;
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    in.mi.dx = LONG((screen.x * 65536 + w / 2) / w);
    in.mi.dy = LONG((screen.y * 65536 + h / 2) / h);
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &in, sizeof in);
    GetCursorPos(&now);
    if (now.x != screen.x || now.y != screen.y) SetCursorPos(screen.x, screen.y);
    PumpFor(30);
}

namespace {
void Buttons(DWORD flags) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;
    SendInput(1, &in, sizeof in);
    PumpFor(30);
}
}  // namespace

void LeftDown() { Buttons(MOUSEEVENTF_LEFTDOWN); }
void LeftUp() { Buttons(MOUSEEVENTF_LEFTUP); }
bool LeftHeld() { return (GetAsyncKeyState(VK_LBUTTON) & 0x8000) != 0; }

HWND CreatePaintCounter(HWND parent, RECT at, int* paints) {
    return CreateWindowExA(0, kCounterClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, at.left, at.top,
                           at.right - at.left, at.bottom - at.top, parent, nullptr, GetModuleHandleA(nullptr),
                           paints);
}

}  // namespace wintest
