// Fuzz target: the chunk walk and a player started on the bytes, against a
// device that gives every buffer back at once.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <thread>

#include "audio/engine.h"
#include "audio/midi_file.h"
#include "audio/riff.h"

namespace {

class InstantDevice final : public audio::WaveDevice {
public:
    std::uint32_t DeviceCount() override { return 1; }
    audio::WaveHandle Open(std::span<const std::uint8_t> format, audio::WaveCallback cb, void* inst) override {
        // Touch every byte of the format, as a device would read it.
        volatile std::uint8_t sink = 0;
        for (std::uint8_t b : format) sink = sink ^ b;
        cb_ = cb;
        inst_ = inst;
        return 1;
    }
    bool Prepare(audio::WaveHandle, audio::WaveHeader* h) override {
        h->flags |= audio::kHeaderPrepared;
        return true;
    }
    bool Unprepare(audio::WaveHandle, audio::WaveHeader* h) override {
        h->flags &= ~audio::kHeaderPrepared;
        return true;
    }
    bool Write(audio::WaveHandle, audio::WaveHeader* h) override {
        volatile std::uint8_t sink = 0;
        for (std::uint32_t i = 0; i < h->buffer_length; ++i) sink = sink ^ h->data[i];
        h->flags |= audio::kHeaderDone;
        cb_(inst_, audio::kWaveDone);
        return true;
    }
    bool Pause(audio::WaveHandle) override { return true; }
    bool Reset(audio::WaveHandle) override { return true; }
    bool Close(audio::WaveHandle) override { return true; }

private:
    audio::WaveCallback cb_ = nullptr;
    void* inst_ = nullptr;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static InstantDevice device;
    static audio::SteadyClock clock;
    static audio::PlaybackEngine engine(device, clock);
    const auto chunks = audio::FindWaveChunks({data, size});
    if (chunks) {
        // Both spans must lie inside the input.
        if (chunks->format.data() < data || chunks->format.data() + chunks->format.size() > data + size) __builtin_trap();
        if (chunks->data.data() < data || chunks->data.data() + chunks->data.size() > data + size) __builtin_trap();
    }
    if (size > 0x7FFFFFFF) return 0;
    const int started = engine.Play({data, std::int32_t(size), 0});
    // MIDI data is taken too (it plays silently here); the MIDI target checks its reader.
    const bool midi = !audio::LooksLikeWave({data, size}) && audio::LooksLikeMidi({data, size});
    if (!midi && started != (chunks ? 1 : 0)) __builtin_trap();
    // The player plays to its end on its own thread; wait for it.
    while (engine.registry().size() > 0) std::this_thread::yield();
    return 0;
}
