#include "audio/midi_player.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <system_error>
#include <utility>

namespace audio {

// ---- what the caller does ----

MidiOpen MidiPlayer::Open(std::span<const std::uint8_t> data, std::uintptr_t notify_window) {
    Close();
    MidiFile file;
    if (!ReadMidiFile(data, file)) return MidiOpen::kUnreadable;
    std::lock_guard c(control_);
    seq_.Load(std::move(file));
    data_ = data;
    {
        std::lock_guard g(lock_);
        notify_window_ = notify_window;
        volumes_.fill(100);
    }
    bool unreadable = false;
    if (Prime(unreadable)) return MidiOpen::kOpened;
    CloseLocked();  // nothing half-open stays behind
    return unreadable ? MidiOpen::kUnreadable : MidiOpen::kNoStream;
}

bool MidiPlayer::Start(bool loop) {
    std::lock_guard c(control_);
    if (!stream_) return false;
    bool was_playing;
    {
        std::lock_guard g(lock_);
        was_playing = playing_;
    }
    if (was_playing && !StopLocked(true)) return false;
    if (!stream_ || !EnsureWorker()) return false;
    {
        std::lock_guard g(lock_);
        state_ = kNormal;
        stalled_ = false;
    }
    // After a play-once start the device has dropped the song's tempo.
    if (!loop_) seq_.InsertTempo();
    if (!device_.Restart(stream_.get())) return false;
    loop_ = loop;
    std::lock_guard g(lock_);
    playing_ = true;
    return true;
}

void MidiPlayer::Close() {
    {
        std::lock_guard c(control_);
        CloseLocked();
    }
    StopWorker();  // not under control_: the thread may be waiting for it
}

bool MidiPlayer::Sounding() {
    std::lock_guard g(lock_);
    return playing_ && !stalled_;
}
bool MidiPlayer::playing() {
    std::lock_guard g(lock_);
    return playing_;
}
std::uint32_t MidiPlayer::state() {
    std::lock_guard g(lock_);
    return state_;
}
std::uint32_t MidiPlayer::channel_volume(int channel) {
    std::lock_guard g(lock_);
    return volumes_[std::size_t(channel & 15)];
}
std::uint32_t MidiPlayer::bytes_played() {
    std::lock_guard g(lock_);
    return bytes_played_;
}

// ---- with control_ held ----

bool MidiPlayer::Prime(bool& unreadable) {
    if (!stream_) {
        const MidiHandle h = device_.Open(&DeviceCallback, this);
        if (!h) return false;
        stream_ = MidiStream(device_, h);
        std::lock_guard g(lock_);
        live_stream_ = h;
    }
    if (!device_.SetTimeDivision(stream_.get(), seq_.file().division)) return false;
    {
        std::lock_guard g(lock_);
        awaiting_refill_.fill(false);
        current_buffer_ = 0;
    }
    for (int i = 0; i < kStreamBufferCount; ++i) {
        StreamBuffer& b = buffers_[std::size_t(i)];
        if (!b.block) {
            try {
                b.block = std::make_unique<std::uint8_t[]>(kStreamBufferBytes);
            } catch (const std::bad_alloc&) {
                return false;
            }
        }
        b.fill = EventBuffer{};
        b.fill.data = b.block.get();
        if (i == 0) {
            seq_.StartAfresh();
            std::lock_guard g(lock_);
            bytes_played_ = 0;
        }
        const auto filled = seq_.Fill(b.fill, loop_);
        if (filled.result == FillResult::kReadError) {
            unreadable = true;
            return false;
        }
        b.header.data = b.block.get();
        b.header.buffer_length = kStreamBufferBytes;
        b.header.bytes_recorded = b.fill.used;
        if (!(b.header.flags & kMidiHeaderPrepared) && !device_.Prepare(stream_.get(), &b.header)) return false;
        {
            std::lock_guard g(lock_);
            --returned_;  // before the call: the device may give it back at once
        }
        const bool queued = device_.Out(stream_.get(), &b.header);
        if (!queued) {
            std::lock_guard g(lock_);
            ++returned_;
        }
        if (!queued || filled.result == FillResult::kEndOfSong) break;
    }
    return true;
}

bool MidiPlayer::StopLocked(bool rearm) {
    bool halt;
    {
        std::lock_guard g(lock_);
        halt = playing_ || state_ != kStopped;
        if (halt) {
            playing_ = false;
            if (state_ != kStopped && state_ != kEndOfSong) state_ = kStopping;
        }
    }
    if (halt && stream_) {
        // Errors here change nothing: the wait below is bounded either way.
        device_.Stop(stream_.get());
        device_.Reset(stream_.get());  // gives every queued buffer back
        std::unique_lock lk(lock_);
        // Buffers that are already back (a song stuck on a read error, a
        // stream that never queued one) are not waited for.
        clock_.WaitFor(signal_, lk, kMidiStopTimeout,
                       [this] { return state_ == kStopped || returned_ >= kStreamBufferCount; });
        state_ = kStopped;  // a device that kept its buffers too long is stopped all the same
    }
    {
        std::lock_guard g(lock_);
        state_ = kNormal;
        rearm_due_ = false;
        awaiting_refill_.fill(false);
        returned_ = kStreamBufferCount;
        live_stream_ = 0;  // late messages of the old stream count for nothing
    }
    ReleaseBuffers();
    MidiStream old = std::move(stream_);
    if (rearm) {
        // Rewound before priming, so that the primed buffers already hold the
        // beginning that a later start plays.
        if (!loop_) {
            seq_.Rewind();
            seq_.StartAfresh();
        }
        bool unreadable = false;
        if (!Prime(unreadable)) return false;  // `old` closes on the way out
    }
    return true;  // `old` closes here, after the new stream is primed
}

void MidiPlayer::ReleaseBuffers() {
    for (StreamBuffer& b : buffers_) {
        if ((b.header.flags & kMidiHeaderPrepared) && stream_) device_.Unprepare(stream_.get(), &b.header);
        b.header = MidiHeader{};
        b.fill = EventBuffer{};
        b.block.reset();
    }
}

void MidiPlayer::CloseLocked() {
    StopLocked(false);
    stream_.reset();
    seq_.Unload();
    data_ = {};
    loop_ = false;
    std::lock_guard g(lock_);
    state_ = kNormal;
    playing_ = false;
    stalled_ = false;
    returned_ = kStreamBufferCount;
    current_buffer_ = 0;
    bytes_played_ = 0;
    notify_window_ = 0;
    volumes_.fill(100);
}

void MidiPlayer::Refill(int index) {
    StreamBuffer& b = buffers_[std::size_t(index)];
    b.fill.Clear();
    const auto filled = seq_.Fill(b.fill, loop_);
    if (filled.rewound) {
        std::lock_guard g(lock_);
        bytes_played_ = 0;
    }
    if (filled.result == FillResult::kEndOfSong) {
        bool both_back;
        {
            std::lock_guard g(lock_);
            state_ = kEndOfSong;
            both_back = returned_ >= kStreamBufferCount;
            if (both_back) state_ = kStopped;
        }
        // Otherwise the other buffer's return finishes the song.
        if (both_back) StopLocked(true);
        return;
    }
    if (filled.result == FillResult::kReadError) {
        // The queued buffer plays out; the song then goes silent.
        std::lock_guard g(lock_);
        stalled_ = true;
        return;
    }
    b.header.bytes_recorded = b.fill.used;
    {
        std::lock_guard g(lock_);
        --returned_;
        current_buffer_ = 1 - index;
    }
    if (!device_.Out(stream_.get(), &b.header)) {
        std::lock_guard g(lock_);
        ++returned_;
    }
}

void MidiPlayer::Service() {
    for (;;) {
        int index = -1;
        bool rearm = false;
        {
            std::lock_guard g(lock_);
            if (rearm_due_) {
                rearm_due_ = false;
                rearm = true;
            } else {
                for (int k = 0; k < kStreamBufferCount && index < 0; ++k) {
                    const int i = (current_buffer_ + k) % kStreamBufferCount;
                    if (awaiting_refill_[std::size_t(i)]) {
                        awaiting_refill_[std::size_t(i)] = false;
                        index = i;
                    }
                }
                if (index < 0) return;
                // Returned while not playing: it stays back.
                if (state_ != kNormal || !playing_) continue;
            }
        }
        if (rearm) {
            if (stream_) StopLocked(true);
        } else {
            Refill(index);
        }
    }
}

// ---- the player's thread ----

bool MidiPlayer::EnsureWorker() {
    if (worker_.joinable()) return true;
    try {
        worker_ = std::thread([this] { Run(); });
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}

void MidiPlayer::StopWorker() {
    if (!worker_.joinable()) return;
    {
        std::lock_guard g(lock_);
        quit_ = true;
    }
    signal_.notify_all();
    worker_.join();
    std::lock_guard g(lock_);
    quit_ = false;
}

void MidiPlayer::Run() {
    std::unique_lock lk(lock_);
    for (;;) {
        signal_.wait(lk, [this] {
            return quit_ || rearm_due_ || awaiting_refill_[0] || awaiting_refill_[1];
        });
        if (quit_) return;
        lk.unlock();
        {
            std::lock_guard c(control_);
            Service();
        }
        lk.lock();
    }
}

// ---- the device's notification: count, record, signal ----

void MidiPlayer::DeviceCallback(void* instance, MidiHandle stream, std::uint32_t message, MidiHeader* header) {
    auto* p = static_cast<MidiPlayer*>(instance);
    if (message == kMidiDone) {
        p->BufferDone(stream, header);
    } else if (message == kMidiPositionCallback) {
        p->VolumeChanged(stream, header);
    }
}

int MidiPlayer::IndexOf(const MidiHeader* header) const {
    for (int i = 0; i < kStreamBufferCount; ++i)
        if (header == &buffers_[std::size_t(i)].header) return i;
    return -1;
}

void MidiPlayer::BufferDone(MidiHandle stream, MidiHeader* header) {
    {
        std::lock_guard g(lock_);
        const int i = IndexOf(header);
        if (stream != live_stream_ || i < 0 || state_ == kStopped) return;
        ++returned_;
        switch (state_) {
        case kEndOfSong:
            if (returned_ >= kStreamBufferCount) {
                state_ = kStopped;
                rearm_due_ = true;  // the player's thread stops and re-arms
            }
            break;
        case kStopping:
            if (returned_ >= kStreamBufferCount) state_ = kStopped;
            break;
        default:
            bytes_played_ += header->bytes_recorded;
            awaiting_refill_[std::size_t(i)] = true;
            break;
        }
    }
    signal_.notify_all();
}

void MidiPlayer::VolumeChanged(MidiHandle stream, const MidiHeader* header) {
    std::uintptr_t window;
    std::uint32_t channel, volume;
    {
        std::lock_guard g(lock_);
        if (stream != live_stream_ || IndexOf(header) < 0) return;
        const std::uint32_t recorded = std::min(header->bytes_recorded, kStreamBufferBytes);
        if (header->offset > recorded || recorded - header->offset < kStreamEventBytes) return;
        std::uint32_t word;
        std::memcpy(&word, header->data + header->offset + 8, sizeof word);
        const std::uint32_t status = word & 0xFF, controller = (word >> 8) & 0xFF, value = (word >> 16) & 0xFF;
        if ((status & 0xF0) != 0xB0 || controller != 7) return;
        channel = status & 0x0F;
        volume = value * 100 / 127;
        volumes_[channel] = volume;
        window = notify_window_;
    }
    if (window) device_.Notify(window, kVolumeMessage, reinterpret_cast<std::uintptr_t>(this), volume << 16 | channel);
}

}  // namespace audio
