#pragma once
// Records what the sound card plays (the null sink's monitor is the default
// capture device here), and compares recordings with sources.
#include <windows.h>
#include <mmsystem.h>

#include <cstdint>
#include <vector>

namespace wintest {

// 44,100 Hz, 16-bit stereo, interleaved.
class Recorder {
public:
    Recorder();
    ~Recorder();
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    bool ok() const { return in_ != nullptr; }
    // Waits (bounded) until capture has really begun; false if it never does.
    bool WaitUntilCapturing(DWORD timeout_ms = 5000);
    // Samples (frames) captured so far.
    std::uint32_t Position();
    // Stops and returns everything captured.
    std::vector<std::int16_t> Finish();

private:
    HWAVEIN in_ = nullptr;
    std::vector<std::vector<std::int16_t>> buffers_;
    std::vector<WAVEHDR> headers_;
};

// A 16-bit stereo 44,100 Hz RIFF/WAVE file of `frames` frames of a tone
// whose pitch glides, so it matches itself at one offset only.
std::vector<std::uint8_t> ChirpWav(std::uint32_t frames, double f0, double f1, double amplitude = 0.4);
std::vector<std::int16_t> ChirpSamples(std::uint32_t frames, double f0, double f1, double amplitude = 0.4);

struct Match {
    double correlation = 0;  // normalised, 1 = identical shape
    std::size_t offset = 0;  // frame in the recording where the source starts
};
// Finds `source` (stereo) in `recording` (stereo), left channel.
Match FindInRecording(const std::vector<std::int16_t>& recording, const std::vector<std::int16_t>& source);

// How many of `pieces` equal parts of `source` are found sample for sample
// (correlation above `threshold`) where they belong in the recording. A
// single underrun of the sound server spoils one part, not the whole match.
int PiecesHeard(const std::vector<std::int16_t>& recording, const std::vector<std::int16_t>& source, int pieces = 5,
                double threshold = 0.98);

// RMS of the left channel over [from, to) frames, 0..1.
double Rms(const std::vector<std::int16_t>& stereo, std::size_t from, std::size_t to);
// Strength of a frequency in the left channel (Goertzel), 0..~0.5 for a full-scale sine.
double ToneLevel(const std::vector<std::int16_t>& stereo, std::size_t from, std::size_t to, double hz);
// Frames from the first to the last 10 ms block louder than `threshold`.
std::pair<std::size_t, std::size_t> AudibleSpan(const std::vector<std::int16_t>& stereo, double threshold = 0.02);

}  // namespace wintest
