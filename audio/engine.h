#pragma once
// Recognises sound data by its first bytes and hands it to a player.
#include <chrono>
#include <cstdint>
#include <future>
#include <span>
#include <vector>

#include "audio/midi_device.h"
#include "audio/midi_player.h"
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
    // Without a MIDI device, MIDI data is recognised and plays silently.
    PlaybackEngine(WaveDevice& wave, Clock& clock) : PlaybackEngine(wave, no_midi_, clock) {}
    PlaybackEngine(WaveDevice& wave, MidiDevice& midi, Clock& clock)
        : wave_(wave), clock_(clock), midi_(midi, clock) {}
    // Players hold references to the members. A program whose shutdown stop
    // timed out must end without destroying its engine (the stuck threads
    // still use it).
    ~PlaybackEngine() { ShutdownStop(); }
    PlaybackEngine(const PlaybackEngine&) = delete;
    PlaybackEngine& operator=(const PlaybackEngine&) = delete;

    // 1 when the data was recognised and handed to a player, else 0.
    int Play(const SoundRequest& request);
    // Stops the MIDI sound and tells every waveform player to stop; waits
    // only for the MIDI device to give its buffers back (at most 2,000 ms).
    void Stop();
    // Stops and waits until every waveform player's thread has ended and the
    // MIDI player is closed, at most `bound` in all; false when the device
    // still holds some thread. Makes no device call on the calling thread.
    bool ShutdownStop(std::chrono::milliseconds bound = kDeviceTimeout);

    PlayerRegistry& registry() { return registry_; }
    MidiPlayer& midi() { return midi_; }
    // A MIDI sound has been started and is still going.
    bool MidiSounding() { return midi_.Sounding(); }

private:
    // Closes the MIDI player and releases the engine's copy of its file.
    void StopMidi();

    WaveDevice& wave_;
    Clock& clock_;
    PlayerRegistry registry_;
    BufferRecycler recycler_;
    NoMidiDevice no_midi_;
    std::vector<std::uint8_t> midi_data_;  // declared before the player, which reads it
    MidiPlayer midi_;
    std::shared_future<void> midi_stop_;  // the exit's MIDI stop, made on a helper thread
};

}  // namespace audio
