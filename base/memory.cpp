#include "base/memory.h"

#include <windows.h>

#include <cstdint>

#include "base/fatal.h"
#include "base/fatal_text.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace base {
namespace {

// The program image holds all constant data (sounds, picture, tables).
bool InsideProgramImage(const void* p) {
    const auto base = reinterpret_cast<std::uintptr_t>(&__ImageBase);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + std::uintptr_t(__ImageBase.e_lfanew));
    const auto q = reinterpret_cast<std::uintptr_t>(p);
    return q >= base && q - base < nt->OptionalHeader.SizeOfImage;
}

}  // namespace

void* AllocMemory(std::size_t bytes) {
    void* p = HeapAlloc(GetProcessHeap(), 0, bytes);
    if (!p) FatalError(AllocFailedMessage(bytes));
    return p;
}

void FreeMemory(void* p) {
    if (!p || InsideProgramImage(p)) return;
    HeapFree(GetProcessHeap(), 0, p);
}

}  // namespace base
