#include "skin/load_dialog.h"

#include "skin/foreign.h"
#include "skin/prop_read.h"
#include "skin/skin_module.h"

namespace skin {
namespace {

void FreeWhatItCarries(HWND window) {
    if (HANDLE thread = sys::GetPropA(window, kPropThread)) {
        sys::TerminateThread(thread, 0);
        sys::CloseHandle(thread);
    }
    // The image first: it may still read from the memory block.
    if (GpImage* image = PropImage(window, kPropImage)) DisposeImage(image);
    if (HGLOBAL block = sys::GetPropA(window, kPropStream)) sys::GlobalFree(block);
}

}  // namespace

LRESULT CALLBACK LoadDialogProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_DESTROY: FreeWhatItCarries(window); break;
        case WM_LBUTTONDOWN: {
            const LRESULT result = sys::DefWindowProcA(window, message, wparam, lparam);
            if (PropValue(window, kPropHitMove) == 1) {
                // Pressed anywhere, dragged as if by the caption.
                sys::ReleaseCapture();
                sys::SendMessageA(window, WM_NCLBUTTONDOWN, HTCAPTION, 0);
            }
            return result;
        }
        default: break;
    }
    return sys::DefWindowProcA(window, message, wparam, lparam);
}

}  // namespace skin
