#pragma once
// The software caret of a focused PNG edit box, blinked by timer 64.
#include <windows.h>

#include "skin/gdiplus_types.h"

namespace skin {

// Timer 64 of a skinned window: re-pushes the focus parent's kept bitmap,
// with the caret on every second tick.
void CALLBACK CaretBlinkProc(HWND window, UINT message, UINT_PTR id, DWORD time);

// A 1-pixel black line 12 pixels long, centred in the edit box at its caret.
void DrawCaret(HWND window, HWND edit, GpGraphics* graphics);

}  // namespace skin
