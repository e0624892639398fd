#pragma once
// The one MIDI sound: a Standard MIDI File merged into stream events and fed
// to the system's MIDI stream through two buffers of 1,024 bytes.
//
// Threads: Open, Start and Close run on the caller's thread. The device's
// notification only counts returned buffers and signals; refilling a buffer
// and the stop and re-arm at the end of the song run on the player's own
// thread, because the platform forbids stream calls inside the notification.
// `control_` serialises everything that touches the stream and the merge
// state; `lock_` guards what the notification reads and writes. No device
// call is made with `lock_` held.
#include <array>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <thread>

#include "audio/clock.h"
#include "audio/midi_device.h"
#include "audio/midi_sequencer.h"

namespace audio {

inline constexpr int kStreamBufferCount = 2;
inline constexpr std::chrono::milliseconds kMidiStopTimeout{2000};
// Posted to the notify window when a channel volume change plays.
inline constexpr std::uint32_t kVolumeMessage = 0x417;

enum class MidiOpen {
    kOpened,      // read and primed
    kUnreadable,  // not a MIDI file we can read
    kNoStream,    // read, but no stream could be opened or primed
};

// Owns one open stream handle.
class MidiStream {
public:
    MidiStream() = default;
    MidiStream(MidiDevice& device, MidiHandle h) : device_(&device), h_(h) {}
    MidiStream(MidiStream&& o) noexcept : device_(o.device_), h_(o.h_) { o.h_ = 0; }
    MidiStream& operator=(MidiStream&& o) noexcept {
        if (this != &o) {
            reset();
            device_ = o.device_;
            h_ = o.h_;
            o.h_ = 0;
        }
        return *this;
    }
    ~MidiStream() { reset(); }
    void reset() {
        if (h_) device_->Close(h_);
        h_ = 0;
    }
    MidiHandle get() const { return h_; }
    explicit operator bool() const { return h_ != 0; }

private:
    MidiDevice* device_ = nullptr;
    MidiHandle h_ = 0;
};

class MidiPlayer {
public:
    enum State : std::uint32_t { kNormal = 0, kStopping = 100, kStopped = 200, kEndOfSong = 300 };

    MidiPlayer(MidiDevice& device, Clock& clock) : device_(device), clock_(clock) {}
    ~MidiPlayer() { Close(); }
    MidiPlayer(const MidiPlayer&) = delete;
    MidiPlayer& operator=(const MidiPlayer&) = delete;

    // Reads the file and primes a paused stream. `data` must stay alive
    // until Close; `notify_window` (0: none) hears of volume changes.
    MidiOpen Open(std::span<const std::uint8_t> data, std::uintptr_t notify_window = 0);
    // Starts (or restarts) the primed stream. False when nothing is primed
    // or the device refuses.
    bool Start(bool loop);
    // Stops, releases the stream and forgets the file. Waits at most 2,000 ms
    // for the device to give its buffers back.
    void Close();

    bool loaded() const { return !data_.empty(); }
    // Started and neither stopped, ended nor stuck on a read error.
    bool Sounding();
    bool playing();
    std::uint32_t state();
    std::uint32_t channel_volume(int channel);
    std::uint32_t bytes_played();
    bool worker_running() const { return worker_.joinable(); }

private:
    struct StreamBuffer {
        MidiHeader header{};
        EventBuffer fill;
        std::unique_ptr<std::uint8_t[]> block;
    };

    static void DeviceCallback(void* instance, MidiHandle stream, std::uint32_t message, MidiHeader* header);
    int IndexOf(const MidiHeader* header) const;
    void BufferDone(MidiHandle stream, MidiHeader* header);
    void VolumeChanged(MidiHandle stream, const MidiHeader* header);

    // With control_ held.
    bool Prime(bool& unreadable);
    bool StopLocked(bool rearm);
    void CloseLocked();
    void ReleaseBuffers();
    void Refill(int index);
    void Service();

    bool EnsureWorker();
    void StopWorker();
    void Run();

    MidiDevice& device_;
    Clock& clock_;

    std::mutex control_;
    std::span<const std::uint8_t> data_;  // the engine's copy, not owned
    MidiSequencer seq_;
    MidiStream stream_;
    bool loop_ = false;
    std::array<StreamBuffer, kStreamBufferCount> buffers_{};

    std::mutex lock_;
    std::condition_variable signal_;
    std::uint32_t state_ = kNormal;
    bool playing_ = false;
    bool stalled_ = false;  // a read error ended the refills
    MidiHandle live_stream_ = 0;  // the stream whose messages count
    int returned_ = kStreamBufferCount;  // buffers not with the device: given back, not queued again
    int current_buffer_ = 0;      // the one that comes back next
    std::array<bool, kStreamBufferCount> awaiting_refill_{};
    bool rearm_due_ = false;  // both buffers are back at the end of the song
    bool quit_ = false;
    std::uint32_t bytes_played_ = 0;
    std::uintptr_t notify_window_ = 0;
    std::array<std::uint32_t, 16> volumes_{};

    std::thread worker_;
};

}  // namespace audio
