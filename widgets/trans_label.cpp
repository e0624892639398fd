#include "widgets/trans_label.h"

#include "base/owners.h"
#include "base/text_win.h"
#include "base/window_class.h"
#include "widgets/label_look.h"

namespace widgets {
namespace {

void Connect(base::ServiceFn) {
    // Redrawn whole on every resize; no background brush, so it never erases.
    base::RegisterWindowClass(kTransLabelClass, {.proc = TransLabel::Proc, .style = CS_HREDRAW | CS_VREDRAW});
}

UINT LayoutFlags(const LabelProps& p) {
    // No clipping: a caption longer than the label runs on past its edge.
    UINT f = DT_NOCLIP;
    f |= p.h_align == 1 ? DT_CENTER : p.h_align == 2 ? DT_RIGHT : DT_LEFT;
    if (p.word_wrap) return f | DT_WORDBREAK;
    return f | DT_SINGLELINE | (p.v_align == 1 ? DT_VCENTER : p.v_align == 2 ? DT_BOTTOM : DT_TOP);
}

COLORREF InkColour(Ink ink, COLORREF text) {
    switch (ink) {
        case Ink::White: return RGB(255, 255, 255);
        case Ink::Black: return RGB(0, 0, 0);
        case Ink::Text: return text;
    }
    return text;
}

// The top-level window the label sits in: up through the parents until a
// window that is not a child.
HWND NearestTopLevel(HWND h) {
    while ((GetWindowLongW(h, GWL_STYLE) & WS_CHILD) && GetParent(h)) h = GetParent(h);
    return h;
}

struct Beneath {
    HWND label;
    RECT screen;  // the label's rectangle
};

BOOL CALLBACK RedrawIfOverlapping(HWND child, LPARAM l) {
    const auto* b = reinterpret_cast<const Beneath*>(l);
    RECT r, overlap;
    if (child != b->label && IsWindowVisible(child) && GetWindowRect(child, &r) &&
        IntersectRect(&overlap, &r, &b->screen))
        RedrawWindow(child, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    return TRUE;
}

}  // namespace

const base::ComponentModule kTransLabelModule{base::Kind::TransLabel, Connect, TransLabel::Create, nullptr};

TransLabel::TransLabel(std::uint32_t window_id, std::uint32_t unit_id, LabelProps props)
    : Component(window_id, unit_id),
      props_(std::move(props)),
      caption_(base::WideFromGbk(props_.caption)),
      font_(FontFromBlock(props_.font)) {}

TransLabel::~TransLabel() {
    if (hwnd_ && IsWindow(hwnd_)) {
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
}

std::shared_ptr<base::Component> TransLabel::Create(const base::CreateContext& ctx) {
    auto props = ParseLabelBlock(ctx.unit.def->block);
    if (!props) return nullptr;
    auto l = std::make_shared<TransLabel>(ctx.window_id, ctx.unit.def->id, std::move(*props));
    // Transparent: painted after its siblings and not clipped out of its
    // parent, so the parent's background is there before the glyphs are.
    HWND h = CreateWindowExW(WS_EX_TRANSPARENT, kTransLabelClass, l->caption_.c_str(),
                             base::ChildStyle(ctx.unit), ctx.unit.left, ctx.unit.top, ctx.unit.width,
                             ctx.unit.height, ctx.parent,
                             reinterpret_cast<HMENU>(static_cast<UINT_PTR>(ctx.unit.def->id)),
                             GetModuleHandleA(nullptr), l.get());
    if (!h) return nullptr;
    l->created_ = true;
    return l;
}

bool TransLabel::SetProperty(int index, const base::PropertyValue& value) {
    if (!WriteLabelProperty(props_, index, value)) return false;
    if (index == kLabelCaption) {
        caption_ = base::WideFromGbk(props_.caption);
        if (hwnd_) SetWindowTextW(hwnd_, caption_.c_str());
    } else if (index == kLabelFont) {
        font_ = FontFromBlock(props_.font);
    }
    RepaintBeneath();
    return true;
}

std::optional<base::PropertyValue> TransLabel::GetProperty(int index) const {
    return ReadLabelProperty(props_, index);
}

void TransLabel::Paint(HDC dc) {
    if (caption_.empty()) return;
    RECT rc;
    GetClientRect(hwnd_, &rc);
    Selection font(dc, FontOrDefault(font_));  // the previous font comes back at the end
    const UINT flags = LayoutFlags(props_);
    SetBkMode(dc, TRANSPARENT);
    for (const TextPass& pass : EffectPasses(props_.effect)) {
        RECT at = rc;
        OffsetRect(&at, pass.dx, pass.dy);
        SetTextColor(dc, InkColour(pass.ink, props_.colour));
        DrawTextW(dc, caption_.c_str(), int(caption_.size()), &at, flags);
    }
}

void TransLabel::RepaintBeneath() {
    if (!hwnd_ || !created_) return;
    HWND top = NearestTopLevel(hwnd_);
    Beneath b{hwnd_, {}};
    GetWindowRect(hwnd_, &b.screen);
    if (top != hwnd_) {
        RECT in_top = b.screen;
        MapWindowPoints(nullptr, top, reinterpret_cast<POINT*>(&in_top), 2);
        InvalidateRect(top, &in_top, TRUE);
        UpdateWindow(top);
        EnumChildWindows(top, RedrawIfOverlapping, reinterpret_cast<LPARAM>(&b));
    }
    InvalidateRect(hwnd_, nullptr, TRUE);
}

LRESULT CALLBACK TransLabel::Proc(HWND h, UINT m, WPARAM wp, LPARAM lp) {
    TransLabel* l = base::AttachedObject<TransLabel>(h, m, lp);
    if (l && m == WM_NCCREATE) l->hwnd_ = h;
    if (l) {
        switch (m) {
            case WM_PAINT: {
                const base::PaintScope paint(h);
                l->Paint(paint.dc());
                return 0;
            }
            case WM_PRINTCLIENT:
                l->Paint(reinterpret_cast<HDC>(wp));
                return 0;
            case WM_ERASEBKGND:
                return 1;  // what lies beneath is the background
            case WM_MOVE:
                l->RepaintBeneath();
                break;
            case WM_NCDESTROY:
                base::DetachObject(h);
                l->hwnd_ = nullptr;
                break;
            default:
                break;
        }
    }
    return DefWindowProcW(h, m, wp, lp);
}

}  // namespace widgets
