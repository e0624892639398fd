#pragma once
// Devices stuck inside chosen calls, as a hung driver or a frozen sound
// server leaves them: a call enters and returns only when the test opens the
// gate. Every other call goes to the fake device underneath.
#include <condition_variable>
#include <mutex>

#include "tests/host/fake_midi_device.h"
#include "tests/host/fake_wave_device.h"

namespace fake {

class Gate {
public:
    void Pass() {
        std::unique_lock lk(m_);
        ++inside_;
        cv_.wait(lk, [&] { return open_; });
        --inside_;
    }
    void Open() {
        {
            std::lock_guard g(m_);
            open_ = true;
        }
        cv_.notify_all();
    }
    int inside() {
        std::lock_guard g(m_);
        return inside_;
    }

private:
    std::mutex m_;
    std::condition_variable cv_;
    bool open_ = false;
    int inside_ = 0;
};

enum Stuck : unsigned { kInOpen = 1, kInReset = 2, kInClose = 4, kInStop = 8 };

class StuckWaveDevice final : public audio::WaveDevice {
public:
    StuckWaveDevice(WaveDevice& inner, unsigned stuck) : inner_(inner), stuck_(stuck) {}
    std::uint32_t DeviceCount() override { return inner_.DeviceCount(); }
    audio::WaveHandle Open(std::span<const std::uint8_t> f, audio::WaveCallback cb, void* i) override {
        Enter(kInOpen);
        return inner_.Open(f, cb, i);
    }
    bool Prepare(audio::WaveHandle h, audio::WaveHeader* hdr) override { return inner_.Prepare(h, hdr); }
    bool Unprepare(audio::WaveHandle h, audio::WaveHeader* hdr) override { return inner_.Unprepare(h, hdr); }
    bool Write(audio::WaveHandle h, audio::WaveHeader* hdr) override { return inner_.Write(h, hdr); }
    bool Pause(audio::WaveHandle h) override { return inner_.Pause(h); }
    bool Reset(audio::WaveHandle h) override {
        Enter(kInReset);
        return inner_.Reset(h);
    }
    bool Close(audio::WaveHandle h) override {
        Enter(kInClose);
        return inner_.Close(h);
    }
    Gate gate;

private:
    void Enter(Stuck call) {
        if (stuck_ & call) gate.Pass();
    }
    WaveDevice& inner_;
    const unsigned stuck_;
};

class StuckMidiDevice final : public audio::MidiDevice {
public:
    StuckMidiDevice(MidiDevice& inner, unsigned stuck) : inner_(inner), stuck_(stuck) {}
    audio::MidiHandle Open(audio::MidiCallback cb, void* i) override {
        Enter(kInOpen);
        return inner_.Open(cb, i);
    }
    bool SetTimeDivision(audio::MidiHandle h, std::uint32_t d) override { return inner_.SetTimeDivision(h, d); }
    bool Prepare(audio::MidiHandle h, audio::MidiHeader* hdr) override { return inner_.Prepare(h, hdr); }
    bool Unprepare(audio::MidiHandle h, audio::MidiHeader* hdr) override { return inner_.Unprepare(h, hdr); }
    bool Out(audio::MidiHandle h, audio::MidiHeader* hdr) override { return inner_.Out(h, hdr); }
    bool Restart(audio::MidiHandle h) override { return inner_.Restart(h); }
    bool Stop(audio::MidiHandle h) override {
        Enter(kInStop);
        return inner_.Stop(h);
    }
    bool Reset(audio::MidiHandle h) override {
        Enter(kInReset);
        return inner_.Reset(h);
    }
    bool Close(audio::MidiHandle h) override {
        Enter(kInClose);
        return inner_.Close(h);
    }
    void Notify(std::uintptr_t w, std::uint32_t m, std::uintptr_t wp, std::uintptr_t lp) override {
        inner_.Notify(w, m, wp, lp);
    }
    Gate gate;

private:
    void Enter(Stuck call) {
        if (stuck_ & call) gate.Pass();
    }
    MidiDevice& inner_;
    const unsigned stuck_;
};

}  // namespace fake
