#pragma once
// A waveform device whose buffer completions the test drives, and a clock
// whose time the test advances. Like the system binding, a call that fails
// leaves a failure line.
#include <atomic>
#include <chrono>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "audio/clock.h"
#include "audio/wave_device.h"
#include "base/failure.h"

namespace fake {

class WaveDevice final : public audio::WaveDevice {
public:
    struct Output {
        std::vector<std::uint8_t> format;
        audio::WaveCallback callback = nullptr;
        void* instance = nullptr;
        std::vector<audio::WaveHeader*> queue;  // written, not yet given back
        std::vector<std::vector<std::uint8_t>> writes;  // bytes of every write, in order
        std::vector<std::string> log;  // device calls after open, in order
        bool closed = false;
    };

    std::uint32_t devices = 1;
    bool refuse_open = false;
    // Runs on the caller's thread at the end of every write (with the count
    // of writes so far), so a test can give buffers back at an exact point.
    std::function<void(audio::WaveHandle, std::size_t)> on_write;

    std::uint32_t DeviceCount() override { return devices; }

    audio::WaveHandle Open(std::span<const std::uint8_t> format, audio::WaveCallback cb, void* instance) override {
        std::lock_guard g(m_);
        ++opens_;
        if (refuse_open) return 0;
        const audio::WaveHandle h = ++last_handle_;
        Output& o = outputs_[h];
        o.format.assign(format.begin(), format.end());
        o.callback = cb;
        o.instance = instance;
        return h;
    }
    bool Prepare(audio::WaveHandle h, audio::WaveHeader* hdr) override {
        std::lock_guard g(m_);
        if (!Known(h, "prepare")) return false;
        hdr->flags |= audio::kHeaderPrepared;
        return true;
    }
    bool Unprepare(audio::WaveHandle h, audio::WaveHeader* hdr) override {
        std::lock_guard g(m_);
        if (!Known(h, "unprepare")) return false;
        hdr->flags &= ~audio::kHeaderPrepared;
        outputs_[h].log.push_back("unprepare");
        return true;
    }
    bool Write(audio::WaveHandle h, audio::WaveHeader* hdr) override {
        std::size_t writes;
        {
            std::lock_guard g(m_);
            if (!Known(h, "write") || !(hdr->flags & audio::kHeaderPrepared)) return false;
            Output& o = outputs_[h];
            hdr->flags = (hdr->flags | audio::kHeaderInQueue) & ~audio::kHeaderDone;
            o.queue.push_back(hdr);
            o.writes.emplace_back(hdr->data, hdr->data + hdr->buffer_length);
            o.log.push_back("write");
            writes = o.writes.size();
        }
        if (on_write) on_write(h, writes);
        return true;
    }
    bool Pause(audio::WaveHandle h) override { return Log(h, "pause"); }
    bool Reset(audio::WaveHandle h) override {
        if (!Log(h, "reset")) return false;
        GiveBack(h, SIZE_MAX);
        return true;
    }
    bool Close(audio::WaveHandle h) override {
        audio::WaveCallback cb;
        void* inst;
        {
            std::lock_guard g(m_);
            if (!Known(h, "close")) return false;
            Output& o = outputs_[h];
            o.log.push_back("close");
            o.closed = true;
            cb = o.callback;
            inst = o.instance;
        }
        cb(inst, audio::kWaveClosed);
        return true;
    }

    // Gives the `n` oldest queued buffers of `h` back as played.
    void GiveBack(audio::WaveHandle h, std::size_t n) {
        for (std::size_t i = 0; i < n; ++i) {
            audio::WaveCallback cb;
            void* inst;
            {
                std::lock_guard g(m_);
                Output& o = outputs_[h];
                if (o.queue.empty()) return;
                audio::WaveHeader* hdr = o.queue.front();
                o.queue.erase(o.queue.begin());
                hdr->flags = (hdr->flags & ~audio::kHeaderInQueue) | audio::kHeaderDone;
                cb = o.callback;
                inst = o.instance;
            }
            cb(inst, audio::kWaveDone);
        }
    }

    Output Snapshot(audio::WaveHandle h) {
        std::lock_guard g(m_);
        return outputs_[h];
    }
    std::size_t Queued(audio::WaveHandle h) { return Snapshot(h).queue.size(); }
    std::size_t Writes(audio::WaveHandle h) { return Snapshot(h).writes.size(); }
    int opens() {
        std::lock_guard g(m_);
        return opens_;
    }
    audio::WaveHandle last_handle() {
        std::lock_guard g(m_);
        return last_handle_;
    }

private:
    bool Known(audio::WaveHandle h, const char* call) {
        if (outputs_.count(h)) return true;
        return base::ReportFailure(std::string(call) + " failed: no such handle");
    }
    bool Log(audio::WaveHandle h, const char* what) {
        std::lock_guard g(m_);
        if (!Known(h, what)) return false;
        outputs_[h].log.push_back(what);
        return true;
    }

    std::mutex m_;
    std::map<audio::WaveHandle, Output> outputs_;
    audio::WaveHandle last_handle_ = 0;
    int opens_ = 0;
};

class Clock final : public audio::Clock {
public:
    bool WaitFor(std::condition_variable& cv, std::unique_lock<std::mutex>& lock, std::chrono::milliseconds timeout,
                 const std::function<bool()>& ready) override {
        const long long deadline = now_ms_ + timeout.count();
        ++waiting_;
        for (;;) {
            if (ready()) break;
            const long long now = now_ms_;
            if (now >= deadline) break;
            seen_ms_ = now;  // a waiter has seen this time and waits on
            cv.wait_for(lock, std::chrono::milliseconds(1));
        }
        --waiting_;
        return ready();
    }
    void Advance(long long ms) { now_ms_ += ms; }
    int waiting() const { return waiting_; }
    // The latest time a waiter saw and kept waiting at.
    long long seen() const { return seen_ms_; }

private:
    std::atomic<long long> now_ms_{0};
    std::atomic<long long> seen_ms_{-1};
    std::atomic<int> waiting_{0};
};

// Polls (real time, bounded) until `done` holds.
inline bool Eventually(const std::function<bool()>& done, int ms = 5000) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() < until) {
        if (done()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return done();
}

}  // namespace fake
