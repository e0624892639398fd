#include "widgets/button_paint.h"

#include "widgets/gdi.h"

namespace widgets {
namespace {

// A one-pixel frame: `top_left` along the top and left edges, `bottom_right`
// along the bottom and right ones, which own the two far corners.
void DrawFrame(HDC dc, const RECT& r, COLORREF top_left, COLORREF bottom_right) {
    FillColour(dc, RECT{r.left, r.top, r.right - 1, r.top + 1}, top_left);
    FillColour(dc, RECT{r.left, r.top, r.left + 1, r.bottom - 1}, top_left);
    FillColour(dc, RECT{r.right - 1, r.top, r.right, r.bottom}, bottom_right);
    FillColour(dc, RECT{r.left, r.bottom - 1, r.right, r.bottom}, bottom_right);
}

RECT ToRect(const Box& b) { return {b.left, b.top, b.right, b.bottom}; }

void DrawCaption(HDC dc, std::wstring_view text, RECT at, int dx, int dy, COLORREF colour) {
    constexpr UINT kFlags = DT_WORDBREAK | DT_CENTER;
    OffsetRect(&at, dx, dy);
    SetTextColor(dc, colour);
    DrawTextW(dc, text.data(), int(text.size()), &at, kFlags);
}

}  // namespace

void PaintButton(const ButtonDraw& d, const ButtonProps& p) {
    const ButtonState& s = d.state;
    // 1. Colours: from the system at every paint, unless the stored ones are asked for.
    const ButtonColours colours = p.default_colours
                                      ? SystemButtonColours(GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_BTNTEXT))
                                      : StoredButtonColours(p);
    const COLORREF highlight = GetSysColor(COLOR_BTNHIGHLIGHT), shadow = GetSysColor(COLOR_BTNSHADOW);
    // 2. Glyphs only: the fill below is the one background.
    SetBkMode(d.dc, TRANSPARENT);
    // 3. The one fill.
    const Face face = FaceFor(s, colours);
    FillColour(d.dc, d.rect, face.back);
    // 4. The thin frame.
    switch (FrameFor(s, p)) {
        case Frame::Sunken: DrawFrame(d.dc, d.rect, shadow, highlight); break;
        case Frame::Raised: DrawFrame(d.dc, d.rect, highlight, shadow); break;
        case Frame::None: break;
    }
    // 5. The caption, centred both ways as a wrapped block, moved while pressed.
    if (!d.caption.empty()) {
        Box area{d.rect.left, d.rect.top, d.rect.right, d.rect.bottom};
        if (s.pressed) {
            const Offset o = PressOffset(p.press_style);
            area = {area.left + o.dx, area.top + o.dy, area.right + o.dx, area.bottom + o.dy};
        }
        Selection font(d.dc, d.font);
        RECT measured = ToRect(area);
        DrawTextW(d.dc, d.caption.data(), int(d.caption.size()), &measured, DT_WORDBREAK | DT_CENTER | DT_CALCRECT);
        const RECT block =
            ToRect(CentreBlock(area, measured.right - measured.left, measured.bottom - measured.top));
        if (s.disabled) {
            DrawCaption(d.dc, d.caption, block, 1, 1, highlight);  // engraved: the light copy below and right
            DrawCaption(d.dc, d.caption, block, 0, 0, shadow);
        } else {
            DrawCaption(d.dc, d.caption, block, 0, 0, face.text);
        }
    }
    // 6. No focus rectangle unless a flat style asks for one.
    if (DrawsFocusRect(s, p)) {
        RECT focus = d.rect;
        InflateRect(&focus, -3, -3);
        DrawFocusRect(d.dc, &focus);
    }
}

}  // namespace widgets
