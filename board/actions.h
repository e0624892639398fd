#pragma once
#include "board/catalogue.h"

namespace board {

// A board button's action: silence whatever plays, then play its clip once.
// The clip's bytes are handed over in place; the engine copies what it needs.
void PlayBoardClip(const SoundClip& clip);

}  // namespace board
