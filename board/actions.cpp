#include "board/actions.h"

#include "audio/sound.h"

namespace board {

void PlayBoardClip(const SoundClip& clip) {
    audio::stop_sound();
    audio::play_sound(clip.data);  // a clip that fails to start is silent
}

}  // namespace board
