#pragma once
// Memory from the process heap for the modules; running out is fatal.
// Constant data (sounds, the picture, the tables) lives in the program image
// and is never freed.
#include <cstddef>

namespace base {

void* AllocMemory(std::size_t bytes);
// Ignores a null pointer and any address inside the program image.
void FreeMemory(void* p);

}  // namespace base
