#include "skin/load_dialog.h"

#include "skin/foreign.h"
#include "skin/gdiplus_owners.h"
#include "skin/prop_read.h"
#include "skin/skin_module.h"

namespace skin {
namespace {

void FreeWhatItCarries(HWND window) {
    if (const OwnedKernelHandle thread(sys::GetPropA(window, kPropThread)); thread)
        sys::TerminateThread(thread.get(), 0);
    // The block outlives the image, which may still read from it; an image the
    // engine decoded takes its own memory along.
    const OwnedGlobal block(sys::GetPropA(window, kPropStream));
    if (GpImage* image = PropImage(window, kPropImage)) DisposeImage(image);
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
