// Host benchmarks of the hot paths: starting the largest clip (the chunk
// walk, the private copy, the buffer pool, the feeder thread) against a bare
// copy of the same bytes.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "audio/engine.h"
#include "audio/riff.h"
#include "tests/host/wav_builder.h"

namespace {

constexpr std::size_t kLargestClip = 4773644;  // the board's longest clip, file bytes

// A device that takes every call and keeps nothing, so the benchmark measures
// the player and not a recording fake.
class NullDevice final : public audio::WaveDevice {
public:
    std::uint32_t DeviceCount() override { return 1; }
    audio::WaveHandle Open(std::span<const std::uint8_t>, audio::WaveCallback, void*) override { return 1; }
    bool Prepare(audio::WaveHandle, audio::WaveHeader* h) override {
        h->flags |= audio::kHeaderPrepared;
        return true;
    }
    bool Unprepare(audio::WaveHandle, audio::WaveHeader* h) override {
        h->flags &= ~audio::kHeaderPrepared;
        return true;
    }
    bool Write(audio::WaveHandle, audio::WaveHeader*) override { return true; }
    bool Pause(audio::WaveHandle) override { return true; }
    bool Reset(audio::WaveHandle) override { return true; }
    bool Close(audio::WaveHandle) override { return true; }
};

const wav::Bytes& LargestClip() {
    static const wav::Bytes file = [] {
        wav::Bytes f = wav::Builder().Chunk("fmt ", wav::PcmFormat()).Chunk("data", wav::Samples(kLargestClip - 44)).Build();
        return f;
    }();
    return file;
}

void BM_BareCopy(benchmark::State& state) {
    const wav::Bytes& src = LargestClip();
    std::vector<std::uint8_t> dst(src.size());
    for (auto _ : state) {
        std::memcpy(dst.data(), src.data(), src.size());
        benchmark::DoNotOptimize(dst.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(std::int64_t(state.iterations() * src.size()));
}
BENCHMARK(BM_BareCopy);

void BM_PlaySoundStart(benchmark::State& state) {
    const wav::Bytes& src = LargestClip();
    NullDevice device;
    audio::SteadyClock clock;
    audio::PlaybackEngine engine(device, clock);
    for (auto _ : state) {
        benchmark::DoNotOptimize(engine.Play({src.data(), std::int32_t(src.size()), 0}));
        state.PauseTiming();
        engine.ShutdownStop();  // not part of the start
        state.ResumeTiming();
    }
    state.SetBytesProcessed(std::int64_t(state.iterations() * src.size()));
}
BENCHMARK(BM_PlaySoundStart);

void BM_ChunkWalk(benchmark::State& state) {
    const wav::Bytes& src = LargestClip();
    for (auto _ : state) benchmark::DoNotOptimize(audio::FindWaveChunks(src));
}
BENCHMARK(BM_ChunkWalk);

}  // namespace

BENCHMARK_MAIN();
