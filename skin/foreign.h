#pragma once
// Every system call of the skin engine, by (library, entry name) through the
// shell's foreign-call table: resolved on first use, a missing entry fatal.
#include <windows.h>
#include <objidl.h>

#include <cstddef>
#include <span>
#include <utility>

#include "base/foreign_calls.h"
#include "skin/gdiplus_draw_types.h"
#include "skin/gdiplus_types.h"

namespace skin::sys {

// Window procedures are swapped through the pointer-sized call. 32-bit user32
// exports it only under its 32-bit name, which the system headers map it to.
#ifdef _WIN64
#define SKIN_WINDOW_LONG_PTR(X) X("USER32.dll", SetWindowLongPtrA, LONG_PTR, (HWND, int, LONG_PTR))
#else
#define SKIN_WINDOW_LONG_PTR(X)
#endif

// X(library, entry, result, parameters)
#define SKIN_FOREIGN_CALLS(X)                                                                                  \
    X("GdiPlus.dll", GdiplusStartup, GpStatus, (ULONG_PTR*, const GdiplusStartupInput*, void*))                \
    X("GdiPlus.dll", GdipLoadImageFromStream, GpStatus, (IStream*, GpImage**))                                 \
    X("GdiPlus.dll", GdipImageSelectActiveFrame, GpStatus, (GpImage*, const GUID*, UINT))                      \
    X("GdiPlus.dll", GdipCreateBitmapFromScan0, GpStatus, (INT, INT, INT, INT, BYTE*, GpImage**))              \
    X("GdiPlus.dll", GdipGetImageGraphicsContext, GpStatus, (GpImage*, GpGraphics**))                          \
    X("GdiPlus.dll", GdipGetImageDimension, GpStatus, (GpImage*, REAL*, REAL*))                                \
    X("GdiPlus.dll", GdipDrawImageRect, GpStatus, (GpGraphics*, GpImage*, REAL, REAL, REAL, REAL))             \
    X("GdiPlus.dll", GdipDeleteGraphics, GpStatus, (GpGraphics*))                                              \
    X("GdiPlus.dll", GdipDisposeImage, GpStatus, (GpImage*))                                                   \
    X("GdiPlus.dll", GdipCreateFromHDC, GpStatus, (HDC, GpGraphics**))                                         \
    X("GdiPlus.dll", GdipGetImageWidth, GpStatus, (GpImage*, UINT*))                                           \
    X("GdiPlus.dll", GdipGetImageHeight, GpStatus, (GpImage*, UINT*))                                          \
    X("GdiPlus.dll", GdipCreateSolidFill, GpStatus, (ARGB, GpSolidFill**))                                     \
    X("GdiPlus.dll", GdipFillRectangle, GpStatus, (GpGraphics*, GpBrush*, REAL, REAL, REAL, REAL))             \
    X("GdiPlus.dll", GdipDeleteBrush, GpStatus, (GpBrush*))                                                    \
    X("GdiPlus.dll", GdipDrawImagePointRect, GpStatus,                                                         \
      (GpGraphics*, GpImage*, REAL, REAL, REAL, REAL, REAL, REAL, INT))                                        \
    X("GdiPlus.dll", GdipCreatePen1, GpStatus, (ARGB, REAL, INT, GpPen**))                                     \
    X("GdiPlus.dll", GdipDrawRectangle, GpStatus, (GpGraphics*, GpPen*, REAL, REAL, REAL, REAL))               \
    X("GdiPlus.dll", GdipDrawLine, GpStatus, (GpGraphics*, GpPen*, REAL, REAL, REAL, REAL))                    \
    X("GdiPlus.dll", GdipDeletePen, GpStatus, (GpPen*))                                                        \
    X("GdiPlus.dll", GdipDrawString, GpStatus,                                                                 \
      (GpGraphics*, const WCHAR*, INT, const GpFont*, const RectF*, const GpStringFormat*, const GpBrush*))   \
    X("GdiPlus.dll", GdipCreateFont, GpStatus, (const GpFontFamily*, REAL, INT, INT, GpFont**))                \
    X("GdiPlus.dll", GdipCreateFontFromDC, GpStatus, (HDC, GpFont**))                                          \
    X("GdiPlus.dll", GdipCloneFont, GpStatus, (GpFont*, GpFont**))                                             \
    X("GdiPlus.dll", GdipDeleteFont, GpStatus, (GpFont*))                                                      \
    X("GdiPlus.dll", GdipGetFontStyle, GpStatus, (GpFont*, INT*))                                              \
    X("GdiPlus.dll", GdipGetFontSize, GpStatus, (GpFont*, REAL*))                                              \
    X("GdiPlus.dll", GdipGetFontUnit, GpStatus, (GpFont*, INT*))                                               \
    X("GdiPlus.dll", GdipGetFontHeight, GpStatus, (const GpFont*, const GpGraphics*, REAL*))                   \
    X("GdiPlus.dll", GdipCreateFontFamilyFromName, GpStatus, (const WCHAR*, GpFontCollection*, GpFontFamily**)) \
    X("GdiPlus.dll", GdipCloneFontFamily, GpStatus, (GpFontFamily*, GpFontFamily**))                           \
    X("GdiPlus.dll", GdipDeleteFontFamily, GpStatus, (GpFontFamily*))                                          \
    X("GdiPlus.dll", GdipCreateStringFormat, GpStatus, (INT, LANGID, GpStringFormat**))                        \
    X("GdiPlus.dll", GdipCloneStringFormat, GpStatus, (const GpStringFormat*, GpStringFormat**))               \
    X("GdiPlus.dll", GdipDeleteStringFormat, GpStatus, (GpStringFormat*))                                      \
    X("GdiPlus.dll", GdipSetStringFormatAlign, GpStatus, (GpStringFormat*, INT))                               \
    X("GdiPlus.dll", GdipSetStringFormatLineAlign, GpStatus, (GpStringFormat*, INT))                           \
    X("USER32.dll", IsWindow, BOOL, (HWND))                                                                    \
    X("USER32.dll", SetWindowLongA, LONG, (HWND, int, LONG))                                                   \
    SKIN_WINDOW_LONG_PTR(X)                                                                                    \
    X("USER32.dll", CreateCaret, BOOL, (HWND, HBITMAP, int, int))                                              \
    X("USER32.dll", GetPropA, HANDLE, (HWND, LPCSTR))                                                          \
    X("USER32.dll", SetPropA, BOOL, (HWND, LPCSTR, HANDLE))                                                    \
    X("USER32.dll", SetTimer, UINT_PTR, (HWND, UINT_PTR, UINT, TIMERPROC))                                     \
    X("USER32.dll", GetWindowRect, BOOL, (HWND, LPRECT))                                                       \
    X("USER32.dll", GetWindow, HWND, (HWND, UINT))                                                             \
    X("USER32.dll", GetWindowDC, HDC, (HWND))                                                                  \
    X("USER32.dll", ReleaseDC, int, (HWND, HDC))                                                               \
    X("USER32.dll", UpdateLayeredWindow, BOOL,                                                                 \
      (HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF, BLENDFUNCTION*, DWORD))                                \
    X("USER32.dll", SetWindowPos, BOOL, (HWND, HWND, int, int, int, int, UINT))                                \
    X("USER32.dll", SendMessageA, LRESULT, (HWND, UINT, WPARAM, LPARAM))                                       \
    X("USER32.dll", RegisterClassExA, ATOM, (const WNDCLASSEXA*))                                              \
    X("USER32.dll", LoadCursorA, HCURSOR, (HINSTANCE, LPCSTR))                                                 \
    X("USER32.dll", RemovePropA, HANDLE, (HWND, LPCSTR))                                                       \
    X("USER32.dll", GetParent, HWND, (HWND))                                                                   \
    X("USER32.dll", ScreenToClient, BOOL, (HWND, LPPOINT))                                                     \
    X("USER32.dll", GetWindowTextLengthA, int, (HWND))                                                         \
    X("USER32.dll", GetWindowTextA, int, (HWND, LPSTR, int))                                                   \
    X("USER32.dll", CallWindowProcA, LRESULT, (WNDPROC, HWND, UINT, WPARAM, LPARAM))                           \
    X("USER32.dll", DefWindowProcA, LRESULT, (HWND, UINT, WPARAM, LPARAM))                                     \
    X("USER32.dll", TrackMouseEvent, BOOL, (LPTRACKMOUSEEVENT))                                                \
    X("USER32.dll", GetCaretPos, BOOL, (LPPOINT))                                                              \
    X("USER32.dll", ReleaseCapture, BOOL, ())                                                                  \
    X("KERNEL32.dll", GetModuleHandleA, HMODULE, (LPCSTR))                                                     \
    X("KERNEL32.dll", MultiByteToWideChar, int, (UINT, DWORD, LPCSTR, int, LPWSTR, int))                       \
    X("KERNEL32.dll", GlobalAlloc, HGLOBAL, (UINT, SIZE_T))                                                    \
    X("KERNEL32.dll", GlobalLock, LPVOID, (HGLOBAL))                                                           \
    X("KERNEL32.dll", GlobalUnlock, BOOL, (HGLOBAL))                                                           \
    X("KERNEL32.dll", GlobalFree, HGLOBAL, (HGLOBAL))                                                          \
    X("KERNEL32.dll", GlobalSize, SIZE_T, (HGLOBAL))                                                           \
    X("KERNEL32.dll", TerminateThread, BOOL, (HANDLE, DWORD))                                                  \
    X("KERNEL32.dll", CloseHandle, BOOL, (HANDLE))                                                             \
    X("GDI32.dll", CreateCompatibleDC, HDC, (HDC))                                                             \
    X("GDI32.dll", CreateDIBSection, HBITMAP, (HDC, const BITMAPINFO*, UINT, void**, HANDLE, DWORD))           \
    X("GDI32.dll", SelectObject, HGDIOBJ, (HDC, HGDIOBJ))                                                      \
    X("GDI32.dll", DeleteObject, BOOL, (HGDIOBJ))                                                              \
    X("GDI32.dll", DeleteDC, BOOL, (HDC))                                                                      \
    X("GDI32.dll", GetObjectA, int, (HANDLE, int, LPVOID))                                                     \
    X("OLE32.dll", CLSIDFromString, HRESULT, (LPCOLESTR, LPCLSID))                                             \
    X("OLE32.dll", CreateStreamOnHGlobal, HRESULT, (HGLOBAL, BOOL, LPSTREAM*))

enum class Entry : std::size_t {
#define SKIN_ENTRY_ID(lib, name, result, params) name,
    SKIN_FOREIGN_CALLS(SKIN_ENTRY_ID)
#undef SKIN_ENTRY_ID
        Count
};

// The (library, entry) pairs in Entry order, for the shell to prepare.
std::span<const base::ForeignEntry> Entries();

base::ForeignCallTable& Table();

#define SKIN_ENTRY_CALL(lib, name, result, params)                                                     \
    template <class... Args>                                                                           \
    inline result name(Args&&... args) {                                                               \
        return Table().Get<result(WINAPI*) params>(std::size_t(Entry::name))(std::forward<Args>(args)...); \
    }
SKIN_FOREIGN_CALLS(SKIN_ENTRY_CALL)
#undef SKIN_ENTRY_CALL

}  // namespace skin::sys
