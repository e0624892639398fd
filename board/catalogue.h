#pragma once
// The sound catalogue: which built-in clip belongs to which board button.
#include <cstdint>
#include <span>

#include "base/byte_blob.h"

namespace board {

struct SoundClip {
    std::uint32_t button;    // unit identifier of the button on the board window; 0 for none
    const char* name;        // the button's designer name
    const char* caption;     // four characters, GBK
    const ByteBlob* data;    // one complete RIFF/WAVE file
};

// The 44 board clips, in button order (超级按钮1 to 超级按钮45, no 6).
std::span<const SoundClip> BoardClips();
// The clip of a board button, or null.
const SoundClip* FindClip(std::uint32_t button);
// The start-up sound: no button and no caption.
const SoundClip& StartupClip();

}  // namespace board
