// Latency under Wine: from the play call to the first buffer written to the
// device, and to the sound's onset in a recording of the sound card, for the
// engine beside a bare waveform-output program doing the least it can.
//   latency_probe [trials]
#include <windows.h>
#include <mmsystem.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "audio/engine.h"
#include "audio/winmm_device.h"
#include "tests/win/recorder.h"

namespace {

double Now() {
    static LARGE_INTEGER f = [] {
        LARGE_INTEGER q;
        QueryPerformanceFrequency(&q);
        return q;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return 1000.0 * double(t.QuadPart) / double(f.QuadPart);
}

// Notes when the first buffer reaches the device.
class TimingDevice final : public audio::WaveDevice {
public:
    std::atomic<double> first_write{0};
    std::uint32_t DeviceCount() override { return real_.DeviceCount(); }
    audio::WaveHandle Open(std::span<const std::uint8_t> f, audio::WaveCallback cb, void* i) override {
        return real_.Open(f, cb, i);
    }
    bool Prepare(audio::WaveHandle h, audio::WaveHeader* x) override { return real_.Prepare(h, x); }
    bool Unprepare(audio::WaveHandle h, audio::WaveHeader* x) override { return real_.Unprepare(h, x); }
    bool Write(audio::WaveHandle h, audio::WaveHeader* x) override {
        const bool ok = real_.Write(h, x);
        double zero = 0;
        first_write.compare_exchange_strong(zero, Now());
        return ok;
    }
    bool Pause(audio::WaveHandle h) override { return real_.Pause(h); }
    bool Reset(audio::WaveHandle h) override { return real_.Reset(h); }
    bool Close(audio::WaveHandle h) override { return real_.Close(h); }

private:
    audio::WinmmWaveDevice real_;
};

struct Trial {
    double to_write = 0, to_onset = 0;
};

// Runs one play inside a recording; `play` returns the time its first write returned.
template <class Play>
Trial Measure(Play play) {
    wintest::Recorder rec;
    rec.WaitUntilCapturing();
    Sleep(50);
    const std::uint32_t at_call = rec.Position();
    const double t0 = Now();
    const double wrote = play();
    Sleep(400);
    const auto r = rec.Finish();
    const auto span = wintest::AudibleSpan(r, 0.05);
    return {wrote - t0, (double(span.first) - double(at_call)) * 1000.0 / 44100};
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const int trials = argc > 1 ? std::atoi(argv[1]) : 15;
    const auto wav = wintest::ChirpWav(44100 / 2, 800, 800, 0.5);
    const auto samples = wintest::ChirpSamples(44100 / 2, 800, 800, 0.5);
    TimingDevice device;
    audio::SteadyClock clock;
    audio::PlaybackEngine engine(device, clock);

    std::vector<double> engine_write, engine_onset, bare_write, bare_onset;
    for (int i = 0; i < trials; ++i) {
        const Trial e = Measure([&] {
            device.first_write = 0;
            engine.Play({wav.data(), std::int32_t(wav.size()), 0});
            while (device.first_write == 0) Sleep(0);
            return device.first_write.load();
        });
        engine.ShutdownStop();
        const Trial b = Measure([&] {
            WAVEFORMATEX f{WAVE_FORMAT_PCM, 2, 44100, 176400, 4, 16, 0};
            HWAVEOUT out = nullptr;
            waveOutOpen(&out, WAVE_MAPPER, &f, 0, 0, CALLBACK_NULL);
            WAVEHDR h{};
            h.lpData = reinterpret_cast<LPSTR>(const_cast<std::int16_t*>(samples.data()));
            h.dwBufferLength = 15360;
            waveOutPrepareHeader(out, &h, sizeof h);
            waveOutWrite(out, &h, sizeof h);
            const double wrote = Now();
            Sleep(200);
            waveOutReset(out);
            waveOutUnprepareHeader(out, &h, sizeof h);
            waveOutClose(out);
            return wrote;
        });
        engine_write.push_back(e.to_write);
        engine_onset.push_back(e.to_onset);
        bare_write.push_back(b.to_write);
        bare_onset.push_back(b.to_onset);
    }
    const double ew = Median(engine_write), bw = Median(bare_write), eo = Median(engine_onset),
                 bo = Median(bare_onset);
    std::printf("trials: %d (medians)\n", trials);
    std::printf("call to first write: engine %.2f ms, bare %.2f ms, ratio %.2f, target <= 1.1 x bare + 2 ms = %.2f ms: %s\n",
                ew, bw, bw > 0 ? ew / bw : 0, 1.1 * bw + 2, ew <= 1.1 * bw + 2 ? "met" : "missed");
    std::printf("call to onset:       engine %.2f ms, bare %.2f ms, ratio %.2f, target <= 1.1 x bare + 2 ms = %.2f ms: %s\n",
                eo, bo, bo > 0 ? eo / bo : 0, 1.1 * bo + 2, eo <= 1.1 * bo + 2 ? "met" : "missed");
    return 0;
}
