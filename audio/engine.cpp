#include "audio/engine.h"

#include <new>

#include "audio/midi_file.h"
#include "audio/riff.h"
#include "base/failure.h"

namespace audio {

int PlaybackEngine::Play(const SoundRequest& r) {
    if (!r.data || r.length <= 0) return shell::ReportFailure("no sound data");
    const std::span<const std::uint8_t> bytes(r.data, std::size_t(r.length));
    if (LooksLikeWave(bytes))
        return WavePlayer::Start(PlayerEnv{wave_, clock_, registry_, recycler_}, bytes, r.loop != 0) ? 1 : 0;
    if (!LooksLikeMidi(bytes)) return shell::ReportFailure("neither RIFF/WAVE nor MIDI data");
    // One MIDI sound at a time: the old one is closed before the new opens.
    StopMidi();
    try {
        midi_data_.assign(bytes.begin(), bytes.end());
    } catch (const std::bad_alloc&) {
        return shell::ReportFailure("out of memory for the MIDI data");
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
        shell::ReportFailure("MIDI data that cannot be read");
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
    StopMidi();
    return registry_.SignalAllAndWait(bound);
}

}  // namespace audio
