#pragma once
// Reading the engine's window properties: a missing one reads as 0.
#include <windows.h>

#include <cstdint>

#include "skin/foreign.h"
#include "skin/gdiplus_types.h"

namespace skin {

inline std::int32_t PropValue(HWND window, const char* name) {
    return std::int32_t(reinterpret_cast<std::intptr_t>(sys::GetPropA(window, name)));
}

inline GpImage* PropImage(HWND window, const char* name) { return static_cast<GpImage*>(sys::GetPropA(window, name)); }

inline void SetPropValue(HWND window, const char* name, std::int32_t value) {
    sys::SetPropA(window, name, reinterpret_cast<HANDLE>(std::intptr_t(value)));
}

}  // namespace skin
