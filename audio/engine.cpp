#include "audio/engine.h"

#include <algorithm>
#include <memory>
#include <new>
#include <system_error>
#include <thread>

#include "audio/midi_file.h"
#include "audio/riff.h"
#include "base/failure.h"

namespace audio {

int PlaybackEngine::Play(const SoundRequest& r) {
    if (!r.data || r.length <= 0) return base::ReportFailure("no sound data");
    const std::span<const std::uint8_t> bytes(r.data, std::size_t(r.length));
    if (LooksLikeWave(bytes))
        return WavePlayer::Start(PlayerEnv{wave_, clock_, registry_, recycler_}, bytes, r.loop != 0) ? 1 : 0;
    if (!LooksLikeMidi(bytes)) return base::ReportFailure("neither RIFF/WAVE nor MIDI data");
    // One MIDI sound at a time: the old one is closed before the new opens.
    StopMidi();
    try {
        midi_data_.assign(bytes.begin(), bytes.end());
    } catch (const std::bad_alloc&) {
        return base::ReportFailure("out of memory for the MIDI data");
    }
    switch (midi_.Open(midi_data_)) {
    case MidiOpen::kOpened:
        midi_.Start(r.loop != 0);
        return 1;
    case MidiOpen::kNoStream:
        // No MIDI output is not reported, as for waveform output: silent.
        StopMidi();
        return 1;
    case MidiOpen::kUnreadable:
        base::ReportFailure("MIDI data that cannot be read");
        break;
    }
    StopMidi();
    return 0;
}

void PlaybackEngine::StopMidi() {
    if (!midi_data_.empty()) midi_.Close();
    std::vector<std::uint8_t>().swap(midi_data_);
}

void PlaybackEngine::Stop() {
    StopMidi();
    registry_.SignalAll();
}

bool PlaybackEngine::ShutdownStop(std::chrono::milliseconds bound) {
    const auto deadline = std::chrono::steady_clock::now() + bound;
    registry_.SignalAll();  // the waveform players wind down meanwhile
    // The MIDI stop calls the device (stop, reset, close), and a stuck one
    // would hold the exit for as long as it likes: a helper makes those calls,
    // and the exit waits for it within the same bound. A helper still stuck
    // from an earlier exit is waited for, not joined by a second one. With
    // nothing loaded no helper starts: a second shutdown stop may run from
    // static destruction, where a new thread might never get to run.
    const bool helper_busy =
        midi_stop_.valid() && midi_stop_.wait_for(std::chrono::seconds(0)) != std::future_status::ready;
    if (!helper_busy && !midi_data_.empty()) {
        auto done = std::make_shared<std::promise<void>>();
        midi_stop_ = done->get_future().share();
        try {
            std::thread([this, done] {
                StopMidi();
                done->set_value();
            }).detach();
        } catch (const std::system_error&) {
            StopMidi();
            done->set_value();
        }
    }
    if (midi_stop_.valid() && midi_stop_.wait_until(deadline) != std::future_status::ready) return false;
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    return registry_.SignalAllAndWait(std::max(left, std::chrono::milliseconds(0)));
}

}  // namespace audio
