#include "widgets/image_button.h"

#include <windowsx.h>

#include <type_traits>

#include "base/owners.h"
#include "base/text_win.h"
#include "widgets/button_paint.h"

namespace widgets {
namespace {

static_assert(std::is_same_v<PropValue, base::PropertyValue>);

base::ServiceFn g_service = nullptr;
void Connect(base::ServiceFn service) { g_service = service; }

}  // namespace

const base::ComponentModule kImageButtonModule{base::Kind::SuperBtn, Connect, ImageButton::Create, nullptr};

ImageButton::ImageButton(std::uint32_t window_id, std::uint32_t unit_id, ButtonProps props)
    : Component(window_id, unit_id),
      props_(std::move(props)),
      caption_(base::WideFromGbk(props_.caption)),
      font_(FontFromBlock(props_.font)) {}

ImageButton::~ImageButton() {
    if (hwnd_ && IsWindow(hwnd_)) {
        // Nothing may reach this object once it is gone.
        SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(system_proc_));
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
}

std::shared_ptr<base::Component> ImageButton::Create(const base::CreateContext& ctx) {
    auto props = ParseButtonBlock(ctx.unit.def->block);
    if (!props) return nullptr;
    auto b = std::make_shared<ImageButton>(ctx.window_id, ctx.unit.def->id, std::move(*props));
    HWND h = CreateWindowExW(0, L"BUTTON", b->caption_.c_str(), base::ChildStyle(ctx.unit) | BS_PUSHBUTTON,
                             ctx.unit.left, ctx.unit.top, ctx.unit.width, ctx.unit.height, ctx.parent,
                             reinterpret_cast<HMENU>(static_cast<UINT_PTR>(ctx.unit.def->id)),
                             GetModuleHandleA(nullptr), nullptr);
    if (!h) return nullptr;
    b->Attach(h);
    return b;
}

void ImageButton::Attach(HWND button) {
    hwnd_ = button;
    SetWindowLongPtrW(button, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    // Owner drawing: the system paints nothing of its own; its input
    // handling stays as it is. Its draw requests go to the parent window,
    // which does not pass them on, so the button answers its own paint
    // messages with the state a request would carry, and repaints whenever
    // the system changes that state.
    const LONG style = GetWindowLongW(button, GWL_STYLE);
    SetWindowLongW(button, GWL_STYLE, (style & ~LONG(BS_TYPEMASK)) | BS_OWNERDRAW);
    system_proc_ = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Proc)));
    SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(FontOrDefault(font_)), FALSE);
}

bool ImageButton::SetProperty(int index, const base::PropertyValue& value) {
    if (!WriteButtonProperty(props_, index, value)) return false;
    switch (index) {
        case kBtnCaption:
            caption_ = base::WideFromGbk(props_.caption);
            if (hwnd_) SetWindowTextW(hwnd_, caption_.c_str());
            break;
        case kBtnFont:
            font_ = FontFromBlock(props_.font);
            if (hwnd_) SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(FontOrDefault(font_)), FALSE);
            break;
        case kBtnStyle:
            if (!IsFlatStyle(props_.style)) ClearHover();
            break;
        case kBtnStandardSound:
        case kBtnOverSound:
        case kBtnClickSound:
        case kBtnToolTip:
            return true;  // nothing to see
        default:
            break;
    }
    Repaint();
    return true;
}

std::optional<base::PropertyValue> ImageButton::GetProperty(int index) const {
    return ReadButtonProperty(props_, index);
}

void ImageButton::OnParentCommand(WORD code) {
    if (code == BN_CLICKED) Raise(kEventClicked);
}

void ImageButton::Raise(int event) {
    // The bound action may unload the window; stay alive until it returns.
    const auto keep = weak_from_this().lock();
    base::RaiseEvent(g_service, window_id_, unit_id_, event);
}

void ImageButton::Repaint() {
    if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
}

void ImageButton::ClearHover() {
    if (!hovering_) return;
    hovering_ = false;
    Repaint();
}

void ImageButton::TrackHover(WPARAM keys, LPARAM at) {
    if (!IsFlatStyle(props_.style)) return;
    if ((keys & MK_LBUTTON) && !hovering_) return;  // a drag that enters does not light the button
    POINT pt{GET_X_LPARAM(at), GET_Y_LPARAM(at)};
    ClientToScreen(hwnd_, &pt);
    const bool over = WindowFromPoint(pt) == hwnd_;
    if (over && !hovering_) {
        hovering_ = true;
        Repaint();
        TRACKMOUSEEVENT t{sizeof t, TME_LEAVE, hwnd_, 0};
        TrackMouseEvent(&t);
    } else if (!over) {
        ClearHover();
    }
}

void ImageButton::Paint(HDC dc) {
    RECT rc;
    GetClientRect(hwnd_, &rc);
    const LRESULT st = CallSystem(BM_GETSTATE, 0, 0);
    const ButtonState s{hovering_, (st & BST_PUSHED) != 0, (st & BST_FOCUS) != 0, IsWindowEnabled(hwnd_) == FALSE};
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, rc.left, rc.top, rc.right, rc.bottom);  // the class paints with its parent's clipping
    PaintButton(ButtonDraw{dc, rc, s, FontOrDefault(font_), caption_}, props_);
    RestoreDC(dc, saved);
}

LRESULT ImageButton::CallSystem(UINT m, WPARAM wp, LPARAM lp) {
    return CallWindowProcW(system_proc_, hwnd_, m, wp, lp);
}

LRESULT ImageButton::Handle(UINT m, WPARAM wp, LPARAM lp) {
    switch (m) {
        case WM_PAINT: {
            const base::PaintScope paint(hwnd_);
            Paint(paint.dc());
            return 0;
        }
        case WM_PRINTCLIENT:
            Paint(reinterpret_cast<HDC>(wp));
            return 0;
        case WM_ERASEBKGND:
            return 1;  // null background: the paint's one fill covers it
        case WM_GETDLGCODE:
            return DLGC_BUTTON | (props_.default_style == 1 ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
        case BM_SETSTYLE:
            // Dialog handling marks default buttons this way; the type stays owner-drawn.
            return CallSystem(m, (wp & ~WPARAM(BS_TYPEMASK)) | BS_OWNERDRAW, lp);
        case WM_MOUSEMOVE:
            TrackHover(wp, lp);
            return CallSystem(m, wp, lp);  // the system's press tracking
        case WM_MOUSELEAVE:
        case WM_CANCELMODE:
            ClearHover();
            return CallSystem(m, wp, lp);
        case WM_ENABLE: {
            if (!wp) ClearHover();
            const LRESULT r = CallSystem(m, wp, lp);
            Repaint();
            return r;
        }
        case WM_SETFOCUS: {
            const LRESULT r = CallSystem(m, wp, lp);
            Repaint();
            Raise(kEventFocusGained);
            return r;
        }
        case WM_KILLFOCUS: {
            ClearHover();
            const LRESULT r = CallSystem(m, wp, lp);
            Repaint();
            Raise(kEventFocusLost);
            return r;
        }
        case BM_SETSTATE:
        case BM_SETCHECK:
        case WM_SETTEXT: {
            const LRESULT r = CallSystem(m, wp, lp);
            Repaint();
            return r;
        }
        case WM_LBUTTONDBLCLK:
            // An owner-drawn system button turns a quick second press into a
            // double-click report instead of a press; a sound board wants
            // every click, so the second press is a press like the first.
            return CallSystem(WM_LBUTTONDOWN, wp, lp);
        case WM_NCDESTROY: {
            const LRESULT r = CallSystem(m, wp, lp);
            SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
            hwnd_ = nullptr;
            return r;
        }
        default:
            return CallSystem(m, wp, lp);
    }
}

LRESULT CALLBACK ImageButton::Proc(HWND h, UINT m, WPARAM wp, LPARAM lp) {
    auto* b = reinterpret_cast<ImageButton*>(GetWindowLongPtrW(h, GWLP_USERDATA));
    if (!b) return DefWindowProcW(h, m, wp, lp);
    return b->Handle(m, wp, lp);
}

}  // namespace widgets
