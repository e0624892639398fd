#include "skin/caret.h"

#include "skin/argb.h"
#include "skin/foreign.h"
#include "skin/gdiplus_owners.h"
#include "skin/skin_module.h"

namespace skin {

void CALLBACK CaretBlinkProc(HWND window, UINT, UINT_PTR id, DWORD) {
    ModuleState& m = Module();
    if (id != kCaretTimerId || !window || window != m.focus_parent || !m.focused_edit || !m.kept_bitmap) return;
    m.caret_phase = (m.caret_phase & 1) ^ 1;
    // The controls are not redrawn: the last composition is shown again.
    PushLayered(m.focus_parent, m.kept_bitmap.get(), m.caret_phase != 0);
}

void DrawCaret(HWND window, HWND edit, GpGraphics* g) {
    RECT r{};
    sys::GetWindowRect(edit, &r);
    const int h = r.bottom - r.top;
    POINT p{r.left, r.top};
    sys::ScreenToClient(window, &p);
    POINT caret{};
    sys::GetCaretPos(&caret);  // the edit box's own caret, in its client coordinates
    // Horizontally at the edit's caret; vertically centred, whatever the caret's own row.
    const REAL x = REAL(p.x + caret.x + 5), y = REAL(p.y + (h - 12) / 2);
    Pen pen(ToArgb(0, 255), 1.0f, kUnitWorld);
    sys::GdipDrawLine(g, pen.get(), x, y, x, y + 12.0f);
}

}  // namespace skin
