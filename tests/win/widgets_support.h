#pragma once
// Helpers for the component tests: a memory canvas to print windows into
// and read back, a host window that holds components as a board window
// does, and the real pointer driven through the system's input queue.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <vector>

#include "base/component_module.h"

namespace wintest {

// A 32-bit top-down bitmap selected into a memory DC.
class Canvas {
public:
    Canvas(int width, int height, COLORREF fill);
    ~Canvas();
    Canvas(Canvas&& o) noexcept;
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    Canvas& operator=(Canvas&&) = delete;

    HDC dc() const { return dc_; }
    int width() const { return w_; }
    int height() const { return h_; }
    COLORREF At(int x, int y) const;
    void Set(int x, int y, COLORREF c);
    bool operator==(const Canvas& o) const;

private:
    int w_, h_;
    HDC dc_ = nullptr;
    HBITMAP bmp_ = nullptr;
    HGDIOBJ old_ = nullptr;
    std::uint32_t* bits_ = nullptr;
};

// The window's client area as it paints itself into a fresh canvas
// (WM_PRINTCLIENT), the canvas first filled with `fill`. The canvas may be
// larger than the window to show what it draws past its edges.
Canvas PrintClient(HWND h, COLORREF fill, int extra_width = 0, int extra_height = 0);

// The smallest box (right and bottom exclusive) holding every pixel of
// `within` that `pick` accepts; empty when none is.
struct PixelBox {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool empty() const { return right <= left || bottom <= top; }
    int width() const { return right - left; }
    int height() const { return bottom - top; }
};
PixelBox BoxOf(const Canvas& c, const std::function<bool(COLORREF)>& pick, RECT within);
PixelBox BoxOf(const Canvas& c, const std::function<bool(COLORREF)>& pick);
int CountOf(const Canvas& c, const std::function<bool(COLORREF)>& pick, RECT within);

inline constexpr std::uint32_t kHostWindowId = 0x5201F0F0;

// A top-most pop-up that holds components and passes their notifications
// back to them, as the program's windows do. Each `slot` has its own place
// beside the program's centred windows (slots 0 to 15), so hosts of tests
// running side by side do not overlap.
class WidgetHost {
public:
    WidgetHost(int slot, COLORREF background);
    ~WidgetHost();
    WidgetHost(const WidgetHost&) = delete;
    WidgetHost& operator=(const WidgetHost&) = delete;

    HWND hwnd() const { return hwnd_; }
    // Creates a component of `module` from `block` at `at` (client left,
    // top, right, bottom), shown when the flags say visible.
    std::shared_ptr<base::Component> Add(const base::ComponentModule& module, base::Kind kind,
                                          std::uint32_t unit_id, std::span<const std::uint8_t> block, RECT at,
                                          std::uint32_t flags = base::kVisible | base::kTabStop);
    int paints() const { return paints_; }

    static constexpr int kWidth = 180, kHeight = 84;

private:
    static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM wp, LPARAM lp);
    HWND hwnd_ = nullptr;
    COLORREF background_;
    int paints_ = 0;
    std::vector<std::shared_ptr<base::Component>> parts_;
};

// A screen point of a window's client area.
POINT OnScreen(HWND h, int x, int y);

// The real pointer, through the system's input queue.
void PointerTo(POINT screen);
void LeftDown();
void LeftUp();
bool LeftHeld();

// A child window that counts its paints.
HWND CreatePaintCounter(HWND parent, RECT at, int* paints);

}  // namespace wintest
