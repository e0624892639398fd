#pragma once
// What a waveform player needs of the system's waveform output. The
// product binds it to WINMM; tests bind it to a fake whose buffer
// completions they drive.
#include <cstdint>
#include <span>

namespace audio {

// Laid out as the system's buffer header (32 bytes on 32-bit Windows, 48 on
// 64-bit), so the binding hands it to the device as it is.
struct WaveHeader {
    std::uint8_t* data;
    std::uint32_t buffer_length;
    std::uint32_t bytes_recorded;
    std::uintptr_t user;
    std::uint32_t flags;
    std::uint32_t loops;
    WaveHeader* next;
    std::uintptr_t reserved;
};
static_assert(sizeof(WaveHeader) == (sizeof(void*) == 4 ? 32 : 48));

inline constexpr std::uint32_t kHeaderDone = 0x1;
inline constexpr std::uint32_t kHeaderPrepared = 0x2;
inline constexpr std::uint32_t kHeaderInQueue = 0x10;

// Device messages the callback may receive.
inline constexpr std::uint32_t kWaveOpened = 0x3BB;
inline constexpr std::uint32_t kWaveClosed = 0x3BC;
inline constexpr std::uint32_t kWaveDone = 0x3BD;

using WaveHandle = std::uintptr_t;  // 0: none
using WaveCallback = void (*)(void* instance, std::uint32_t message);

class WaveDevice {
public:
    virtual ~WaveDevice() = default;
    virtual std::uint32_t DeviceCount() = 0;
    // Opens the default output through the format mapper with `format` (the
    // "fmt " body); the callback gets every message with `instance`.
    virtual WaveHandle Open(std::span<const std::uint8_t> format, WaveCallback callback, void* instance) = 0;
    // Each returns true on success.
    virtual bool Prepare(WaveHandle h, WaveHeader* header) = 0;
    virtual bool Unprepare(WaveHandle h, WaveHeader* header) = 0;
    virtual bool Write(WaveHandle h, WaveHeader* header) = 0;
    virtual bool Pause(WaveHandle h) = 0;
    virtual bool Reset(WaveHandle h) = 0;
    virtual bool Close(WaveHandle h) = 0;
};

}  // namespace audio
