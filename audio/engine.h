#pragma once
// Recognises sound data by its first bytes and hands it to a player.
#include <cstdint>
#include <span>

#include "audio/wave_player.h"

namespace audio {

// What play_sound hands to the engine.
struct SoundRequest {
    const std::uint8_t* data;
    std::int32_t length;  // > 0
    std::int32_t loop;    // 0: once
};

class PlaybackEngine {
public:
    PlaybackEngine(WaveDevice& wave, Clock& clock) : wave_(wave), clock_(clock) {}
    ~PlaybackEngine() { ShutdownStop(); }  // players hold references to the members
    PlaybackEngine(const PlaybackEngine&) = delete;
    PlaybackEngine& operator=(const PlaybackEngine&) = delete;

    // 1 when the data was recognised and handed to a player, else 0.
    int Play(const SoundRequest& request);
    // Tells every player to stop; does not wait.
    void Stop();
    // Stops and waits until every waveform player's thread has ended.
    void ShutdownStop();

    PlayerRegistry& registry() { return registry_; }

private:
    WaveDevice& wave_;
    Clock& clock_;
    PlayerRegistry registry_;
    BufferRecycler recycler_;
};

}  // namespace audio
