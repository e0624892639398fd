#pragma once
// The few GDI+ flat-API types the engine passes around; the functions
// themselves are reached through the foreign-call table.
#include <windows.h>

namespace skin {

struct GpImage;
struct GpGraphics;
using GpStatus = int;  // 0 is Ok
using REAL = float;
using ARGB = DWORD;

inline constexpr int kPixelFormat32bppARGB = 0x0026200A;

struct GdiplusStartupInput {
    UINT32 GdiplusVersion;
    void* DebugEventCallback;
    BOOL SuppressBackgroundThread;
    BOOL SuppressExternalCodecs;
};

}  // namespace skin
