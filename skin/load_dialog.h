#pragma once
// Window procedure of the registered class "CometLoadDialog".
#include <windows.h>

namespace skin {

inline constexpr char kPropThread[] = "Comet_Thread";
inline constexpr char kPropImage[] = "Comet_Image";
inline constexpr char kPropStream[] = "Comet_Stream";
inline constexpr char kPropHitMove[] = "CometHitMove";

// Frees the thread, image and memory its properties name when destroyed;
// with "CometHitMove" = 1 a left press anywhere drags the window.
LRESULT CALLBACK LoadDialogProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

}  // namespace skin
