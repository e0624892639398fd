#pragma once
// One playing WAV sound: a private copy of its samples, its own device
// handle, and a feeder thread that streams them through 20 buffers.
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <future>
#include <memory>
#include <mutex>
#include <span>
#include <vector>

#include "audio/buffer_recycler.h"
#include "audio/clock.h"
#include "audio/wave_device.h"

namespace audio {

inline constexpr int kBufferCount = 20;
inline constexpr std::uint32_t kBufferBytes = 15360;
inline constexpr std::chrono::milliseconds kDeviceTimeout{8888};

class WavePlayer;

// The running players, in order of start. Its lock is held only for list
// updates and signalling, never around a device call, and never together
// with a player's lock.
class PlayerRegistry {
public:
    void Add(WavePlayer* p);
    void Remove(WavePlayer* p);  // the first occurrence
    void SignalAll();
    // Signals every player and waits until each one's thread has ended, or
    // until `bound` has passed: a device stuck inside a call (a hung driver)
    // keeps its thread there for as long as it likes. True when every thread
    // ended in time.
    bool SignalAllAndWait(std::chrono::milliseconds bound = kDeviceTimeout);
    std::size_t size();

private:
    std::mutex lock_;
    std::vector<WavePlayer*> players_;
};

struct PlayerEnv {
    WaveDevice& device;
    Clock& clock;
    PlayerRegistry& registry;
    BufferRecycler& recycler;
};

class WavePlayer {
    struct Key {};  // only Start makes players

public:
    WavePlayer(Key, const PlayerEnv& env, bool loop);

    // Starts a player on RIFF/WAVE bytes; false when they are refused (the
    // caller's bytes are only read during this call).
    static bool Start(const PlayerEnv& env, std::span<const std::uint8_t> wav, bool loop);

    ~WavePlayer();
    WavePlayer(const WavePlayer&) = delete;
    WavePlayer& operator=(const WavePlayer&) = delete;

    void SignalStop();
    std::shared_future<void> ended() const { return ended_; }

private:
    enum class Woke { Buffer, Stop, Timeout };

    static void DeviceCallback(void* instance, std::uint32_t message);

    void OpenDevice();
    bool StopSignalled();
    WaveHeader& header(int i) { return headers_[i]; }
    Woke Wait();
    void ReleaseBuffers(int n);
    void Feed();
    void UnprepareAll();

    PlayerEnv env_;
    Block samples_;  // copy of the "data" body
    std::vector<std::uint8_t> format_;  // copy of the "fmt " body, for the open
    std::uint32_t data_length_ = 0;
    WaveHandle handle_ = 0;
    Block pool_;     // 20 headers, then 20 sample buffers
    WaveHeader* headers_ = nullptr;
    int free_buffers_ = kBufferCount;    // guarded by lock_
    int next_buffer_ = 0;
    std::uint32_t position_ = 0;
    const bool loop_;
    std::mutex lock_;  // the player lock

    // The buffer semaphore (0..20) and the manual-reset stop event.
    std::mutex signal_lock_;
    std::condition_variable signalled_;
    int semaphore_ = kBufferCount;
    bool stop_ = false;

    std::promise<void> ended_promise_;
    std::shared_future<void> ended_;
};

}  // namespace audio
