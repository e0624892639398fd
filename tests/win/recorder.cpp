#include "tests/win/recorder.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

namespace wintest {

namespace {
constexpr DWORD kRate = 44100;
constexpr int kBuffers = 100;          // 100 x 100 ms: ten seconds at most
constexpr DWORD kFramesPerBuffer = 4410;

void Put32(std::vector<std::uint8_t>& b, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(std::uint8_t(v >> (8 * i)));
}
void Put16(std::vector<std::uint8_t>& b, std::uint16_t v) {
    b.push_back(std::uint8_t(v));
    b.push_back(std::uint8_t(v >> 8));
}
}  // namespace

Recorder::Recorder() : buffers_(kBuffers, std::vector<std::int16_t>(kFramesPerBuffer * 2)), headers_(kBuffers) {
    WAVEFORMATEX f{WAVE_FORMAT_PCM, 2, kRate, kRate * 4, 4, 16, 0};
    if (waveInOpen(&in_, WAVE_MAPPER, &f, 0, 0, CALLBACK_NULL) != MMSYSERR_NOERROR) {
        in_ = nullptr;
        return;
    }
    for (int i = 0; i < kBuffers; ++i) {
        WAVEHDR& h = headers_[std::size_t(i)];
        h = WAVEHDR{};
        h.lpData = reinterpret_cast<LPSTR>(buffers_[std::size_t(i)].data());
        h.dwBufferLength = kFramesPerBuffer * 4;
        waveInPrepareHeader(in_, &h, sizeof h);
        waveInAddBuffer(in_, &h, sizeof h);
    }
    waveInStart(in_);
}

Recorder::~Recorder() {
    if (in_) Finish();
}

bool Recorder::WaitUntilCapturing(DWORD timeout_ms) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < timeout_ms) {
        if (Position() >= kFramesPerBuffer) return true;
        Sleep(10);
    }
    return false;
}

std::uint32_t Recorder::Position() {
    MMTIME t{};
    t.wType = TIME_SAMPLES;
    if (!in_ || waveInGetPosition(in_, &t, sizeof t) != MMSYSERR_NOERROR) return 0;
    return t.wType == TIME_SAMPLES ? t.u.sample : t.u.cb / 4;
}

std::vector<std::int16_t> Recorder::Finish() {
    std::vector<std::int16_t> all;
    if (!in_) return all;
    waveInReset(in_);
    for (int i = 0; i < kBuffers; ++i) {
        WAVEHDR& h = headers_[std::size_t(i)];
        const std::size_t n = h.dwBytesRecorded / 2;
        all.insert(all.end(), buffers_[std::size_t(i)].begin(), buffers_[std::size_t(i)].begin() + std::ptrdiff_t(n));
        waveInUnprepareHeader(in_, &h, sizeof h);
    }
    waveInClose(in_);
    in_ = nullptr;
    return all;
}

std::vector<std::int16_t> ChirpSamples(std::uint32_t frames, double f0, double f1, double amplitude) {
    std::vector<std::int16_t> s(std::size_t(frames) * 2);
    double phase = 0;
    for (std::uint32_t i = 0; i < frames; ++i) {
        const double f = f0 + (f1 - f0) * i / frames;
        phase += 2 * 3.14159265358979 * f / kRate;
        const auto v = std::int16_t(std::lround(32767 * amplitude * std::sin(phase)));
        s[2 * i] = v;
        s[2 * i + 1] = v;
    }
    return s;
}

std::vector<std::uint8_t> ChirpWav(std::uint32_t frames, double f0, double f1, double amplitude) {
    const auto samples = ChirpSamples(frames, f0, f1, amplitude);
    std::vector<std::uint8_t> b{'R', 'I', 'F', 'F'};
    Put32(b, 36 + frames * 4);
    for (char c : std::string("WAVEfmt ")) b.push_back(std::uint8_t(c));
    Put32(b, 16);
    Put16(b, 1);
    Put16(b, 2);
    Put32(b, kRate);
    Put32(b, kRate * 4);
    Put16(b, 4);
    Put16(b, 16);
    for (char c : std::string("data")) b.push_back(std::uint8_t(c));
    Put32(b, frames * 4);
    const auto* p = reinterpret_cast<const std::uint8_t*>(samples.data());
    b.insert(b.end(), p, p + samples.size() * 2);
    return b;
}

Match FindInRecording(const std::vector<std::int16_t>& rec, const std::vector<std::int16_t>& src) {
    Match best;
    const std::size_t n = src.size() / 2, m = rec.size() / 2;
    if (n == 0 || m < n) return best;
    // Where the recording first becomes loud bounds the search.
    const auto span = AudibleSpan(rec);
    const std::size_t from = span.first > 4410 ? span.first - 4410 : 0;
    const std::size_t to = std::min(m - n, span.first + 4410);
    double src_energy = 0;
    for (std::size_t i = 0; i < n; ++i) src_energy += double(src[2 * i]) * src[2 * i];
    for (std::size_t lag = from; lag <= to; ++lag) {
        double dot = 0, rec_energy = 0;
        for (std::size_t i = 0; i < n; i += 4) {  // every fourth frame is plenty for the shape
            const double r = rec[2 * (lag + i)];
            dot += r * src[2 * i];
            rec_energy += r * r;
        }
        const double c = dot / std::sqrt(std::max(1.0, rec_energy * src_energy / 4));
        if (c > best.correlation) best = {c, lag};
    }
    return best;
}

int PiecesHeard(const std::vector<std::int16_t>& rec, const std::vector<std::int16_t>& src, int pieces,
                double threshold) {
    const Match whole = FindInRecording(rec, src);
    const std::size_t frames = src.size() / 2, part = frames / std::size_t(pieces), m = rec.size() / 2;
    int heard = 0;
    for (int p = 0; p < pieces; ++p) {
        const std::size_t at = whole.offset + std::size_t(p) * part;
        double best = 0;
        // Each part may have slipped a little against the whole (a late period).
        for (std::size_t lag = at > 441 ? at - 441 : 0; lag <= at + 441 && lag + part <= m; ++lag) {
            double dot = 0, re = 0, se = 0;
            for (std::size_t i = 0; i < part; i += 2) {
                const double r = rec[2 * (lag + i)], x = src[2 * (std::size_t(p) * part + i)];
                dot += r * x;
                re += r * r;
                se += x * x;
            }
            best = std::max(best, dot / std::sqrt(std::max(1.0, re * se)));
        }
        if (best > threshold) ++heard;
    }
    return heard;
}

double Rms(const std::vector<std::int16_t>& s, std::size_t from, std::size_t to) {
    to = std::min(to, s.size() / 2);
    if (to <= from) return 0;
    double sum = 0;
    for (std::size_t i = from; i < to; ++i) sum += double(s[2 * i]) * s[2 * i];
    return std::sqrt(sum / double(to - from)) / 32768.0;
}

double ToneLevel(const std::vector<std::int16_t>& s, std::size_t from, std::size_t to, double hz) {
    to = std::min(to, s.size() / 2);
    if (to <= from) return 0;
    const double w = 2 * 3.14159265358979 * hz / kRate, coeff = 2 * std::cos(w);
    double s1 = 0, s2 = 0;
    for (std::size_t i = from; i < to; ++i) {
        const double s0 = s[2 * i] / 32768.0 + coeff * s1 - s2;
        s2 = s1;
        s1 = s0;
    }
    const double power = s1 * s1 + s2 * s2 - coeff * s1 * s2;
    return std::sqrt(std::max(0.0, power)) / double(to - from);
}

std::pair<std::size_t, std::size_t> AudibleSpan(const std::vector<std::int16_t>& s, double threshold) {
    const std::size_t block = 441, frames = s.size() / 2;
    std::size_t first = frames, last = 0;
    for (std::size_t b = 0; b + block <= frames; b += block) {
        if (Rms(s, b, b + block) > threshold) {
            first = std::min(first, b);
            last = b + block;
        }
    }
    return {first == frames ? 0 : first, last};
}

}  // namespace wintest
