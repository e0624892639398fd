#include "audio/engine.h"

#include "audio/riff.h"

namespace audio {

int PlaybackEngine::Play(const SoundRequest& r) {
    if (!r.data || r.length <= 0) return 0;
    const std::span<const std::uint8_t> bytes(r.data, std::size_t(r.length));
    if (LooksLikeWave(bytes))
        return WavePlayer::Start(PlayerEnv{wave_, clock_, registry_, recycler_}, bytes, r.loop != 0) ? 1 : 0;
    // Standard MIDI files ("MThd") are not played yet; anything else is refused.
    return 0;
}

void PlaybackEngine::Stop() { registry_.SignalAll(); }

void PlaybackEngine::ShutdownStop() { registry_.SignalAllAndWait(); }

}  // namespace audio
