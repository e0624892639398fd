#include "audio/wave_player.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <system_error>
#include <thread>

#include "audio/riff.h"
#include "base/failure.h"

namespace audio {

// ---- registry ----

void PlayerRegistry::Add(WavePlayer* p) {
    std::lock_guard g(lock_);
    players_.push_back(p);
}

void PlayerRegistry::Remove(WavePlayer* p) {
    std::lock_guard g(lock_);
    const auto it = std::find(players_.begin(), players_.end(), p);
    if (it != players_.end()) players_.erase(it);
}

void PlayerRegistry::SignalAll() {
    std::lock_guard g(lock_);
    for (WavePlayer* p : players_) p->SignalStop();
}

bool PlayerRegistry::SignalAllAndWait(std::chrono::milliseconds bound) {
    std::vector<std::shared_future<void>> threads;
    {
        std::lock_guard g(lock_);
        for (WavePlayer* p : players_) threads.push_back(p->ended());
    }
    SignalAll();
    // One deadline for all: a stuck device usually holds every player at once.
    const auto deadline = std::chrono::steady_clock::now() + bound;
    for (auto& t : threads)
        if (t.wait_until(deadline) != std::future_status::ready) return false;
    return true;
}

std::size_t PlayerRegistry::size() {
    std::lock_guard g(lock_);
    return players_.size();
}

// ---- player ----

WavePlayer::WavePlayer(Key, const PlayerEnv& env, bool loop)
    : env_(env), loop_(loop), ended_(ended_promise_.get_future().share()) {}

WavePlayer::~WavePlayer() {
    env_.recycler.Give(std::move(samples_));
    env_.recycler.Give(std::move(pool_));
}

bool WavePlayer::Start(const PlayerEnv& env, std::span<const std::uint8_t> wav, bool loop) {
    const auto chunks = FindWaveChunks(wav);
    if (!chunks) return base::ReportFailure("RIFF/WAVE data without a format chunk and a non-empty data chunk");
    std::shared_ptr<WavePlayer> p;
    try {
        p = std::make_shared<WavePlayer>(Key{}, env, loop);
        p->data_length_ = std::uint32_t(chunks->data.size());
        p->format_.assign(chunks->format.begin(), chunks->format.end());
        p->samples_ = env.recycler.Take(chunks->data.size());
        std::memcpy(p->samples_.bytes.get(), chunks->data.data(), chunks->data.size());
        // One block: the headers first, each pointing at its buffer. Only the
        // headers start zeroed; a buffer is always filled before it is written.
        p->pool_ = env.recycler.Take(kBufferCount * (sizeof(WaveHeader) + kBufferBytes));
        std::memset(p->pool_.bytes.get(), 0, kBufferCount * sizeof(WaveHeader));
    } catch (const std::bad_alloc&) {
        return base::ReportFailure("out of memory for the samples");
    }
    p->headers_ = reinterpret_cast<WaveHeader*>(p->pool_.bytes.get());
    std::uint8_t* buffers = p->pool_.bytes.get() + kBufferCount * sizeof(WaveHeader);
    for (int i = 0; i < kBufferCount; ++i) {
        p->headers_[i].data = buffers + std::size_t(i) * kBufferBytes;
        p->headers_[i].buffer_length = kBufferBytes;
    }

    env.registry.Add(p.get());  // registered before its thread runs
    try {
        std::thread([owned = p]() mutable {
            owned->OpenDevice();
            owned->Feed();
            // The record frees itself on its own thread; tell waiters last.
            std::promise<void> ended = std::move(owned->ended_promise_);
            owned.reset();
            ended.set_value();
        }).detach();
    } catch (const std::system_error&) {
        env.registry.Remove(p.get());
        return base::ReportFailure("cannot start a feeder thread");
    }
    return true;
}

// On the feeder thread, never the caller's: a device may take as long as it
// likes to open (a hung driver, a frozen sound server), and the caller is the
// user-interface thread. A device that is missing or refuses the format is
// not an error of the start: nothing comes back, and the time-out ends the
// player.
void WavePlayer::OpenDevice() {
    if (StopSignalled()) return;  // stopped before it began: nothing to open
    if (env_.device.DeviceCount() == 0) {
        base::ReportFailure("no waveform output device: the sound plays silently");
        return;
    }
    handle_ = env_.device.Open(format_, &DeviceCallback, this);
}

bool WavePlayer::StopSignalled() {
    std::lock_guard g(signal_lock_);
    return stop_;
}

void WavePlayer::SignalStop() {
    {
        std::lock_guard g(signal_lock_);
        stop_ = true;
    }
    signalled_.notify_all();
}

void WavePlayer::ReleaseBuffers(int n) {
    {
        std::lock_guard g(signal_lock_);
        if (semaphore_ + n > kBufferCount) return;  // a semaphore refuses to pass its maximum
        semaphore_ += n;
    }
    signalled_.notify_all();
}

WavePlayer::Woke WavePlayer::Wait() {
    std::unique_lock lk(signal_lock_);
    env_.clock.WaitFor(signalled_, lk, kDeviceTimeout, [this] { return semaphore_ > 0 || stop_; });
    if (semaphore_ > 0) {  // a returned buffer is served before the stop
        --semaphore_;
        return Woke::Buffer;
    }
    return stop_ ? Woke::Stop : Woke::Timeout;
}

void WavePlayer::DeviceCallback(void* instance, std::uint32_t message) {
    if (message != kWaveDone) return;
    auto* p = static_cast<WavePlayer*>(instance);
    {
        std::lock_guard g(p->lock_);
        ++p->free_buffers_;
    }
    p->ReleaseBuffers(1);
}

void WavePlayer::UnprepareAll() {
    for (int i = 0; i < kBufferCount; ++i)
        if (header(i).flags & kHeaderPrepared) env_.device.Unprepare(handle_, &header(i));
}

void WavePlayer::Feed() {
    WaveDevice& dev = env_.device;
    if (!handle_) {
        // Nothing opened: no device call could succeed, and each would only
        // add a failure line to the one that said why. Nothing comes back,
        // so the player ends on its stop or its time-out, as with a device
        // that never answers.
        while (Wait() == Woke::Buffer) {
        }
        env_.registry.Remove(this);
        return;
    }
    for (;;) {
        if (Wait() != Woke::Buffer) {
            // Stopped, or the device gave nothing back for too long: halt at once.
            dev.Pause(handle_);
            dev.Reset(handle_);
            UnprepareAll();
            break;
        }
        int free_now;
        {
            std::lock_guard g(lock_);
            free_now = free_buffers_;
        }
        if (free_now < 1) continue;
        WaveHeader& h = header(next_buffer_);
        if (h.flags & kHeaderPrepared) dev.Unprepare(handle_, &h);
        const std::uint32_t n = std::min<std::uint32_t>(data_length_ - position_, kBufferBytes);
        if (n == 0) {
            if (free_now < kBufferCount) continue;  // still draining
            if (!loop_) {
                UnprepareAll();
                break;
            }
            // Every buffer of this pass has played: start again from the top
            // with the whole ring. The semaphore is set to 20 rather than
            // raised by 20: completions the feeder has not yet taken would
            // otherwise make the raise fail and leave the next pass running
            // on a ring of one or two buffers.
            {
                std::lock_guard g(lock_);
                position_ = 0;
                next_buffer_ = 0;
                free_buffers_ = kBufferCount;
            }
            {
                std::lock_guard g(signal_lock_);
                semaphore_ = kBufferCount;
            }
            signalled_.notify_all();
            continue;
        }
        std::memcpy(h.data, samples_.bytes.get() + position_, n);
        h.buffer_length = n;
        position_ += n;
        dev.Prepare(handle_, &h);
        dev.Write(handle_, &h);
        {
            std::lock_guard g(lock_);
            --free_buffers_;
        }
        next_buffer_ = (next_buffer_ + 1) % kBufferCount;
    }
    env_.registry.Remove(this);
    dev.Close(handle_);
    handle_ = 0;
}

}  // namespace audio
