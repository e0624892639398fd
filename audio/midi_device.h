#pragma once
// What the MIDI player needs of the system's MIDI stream output. The product
// binds it to WINMM; tests bind it to a fake stream whose buffer completions
// they drive.
#include <cstdint>

namespace audio {

// Laid out as the system's MIDI buffer header (64 bytes on 32-bit Windows,
// 112 on 64-bit: the system's multimedia headers are byte-packed), so the
// binding hands it to the device as it is.
#pragma pack(push, 1)
struct MidiHeader {
    std::uint8_t* data;
    std::uint32_t buffer_length;
    std::uint32_t bytes_recorded;
    std::uintptr_t user;
    std::uint32_t flags;
    MidiHeader* next;
    std::uintptr_t reserved;
    std::uint32_t offset;  // of the event a position callback reports
    std::uintptr_t reserved_words[8];
};
#pragma pack(pop)
static_assert(sizeof(MidiHeader) == (sizeof(void*) == 4 ? 64 : 112));

inline constexpr std::uint32_t kMidiHeaderDone = 0x1;
inline constexpr std::uint32_t kMidiHeaderPrepared = 0x2;
inline constexpr std::uint32_t kMidiHeaderInQueue = 0x4;

// Device messages the callback may receive.
inline constexpr std::uint32_t kMidiOpened = 0x3C7;
inline constexpr std::uint32_t kMidiClosed = 0x3C8;
inline constexpr std::uint32_t kMidiDone = 0x3C9;
inline constexpr std::uint32_t kMidiPositionCallback = 0x3CA;

// Stream event words: the event type sits in the top byte.
inline constexpr std::uint32_t kMidiEventCallback = 0x40000000;  // report it when it plays
inline constexpr std::uint32_t kMidiEventTempo = 0x01;

using MidiHandle = std::uintptr_t;  // 0: none
// `header` is the buffer the message is about (done, position), else null.
using MidiCallback = void (*)(void* instance, MidiHandle stream, std::uint32_t message, MidiHeader* header);

class MidiDevice {
public:
    virtual ~MidiDevice() = default;
    // Opens one stream on the MIDI mapper, paused; the callback gets every
    // message with `instance`. 0 when no stream can be opened.
    virtual MidiHandle Open(MidiCallback callback, void* instance) = 0;
    // Each returns true on success.
    virtual bool SetTimeDivision(MidiHandle h, std::uint32_t division) = 0;
    virtual bool Prepare(MidiHandle h, MidiHeader* header) = 0;
    virtual bool Unprepare(MidiHandle h, MidiHeader* header) = 0;
    virtual bool Out(MidiHandle h, MidiHeader* header) = 0;
    virtual bool Restart(MidiHandle h) = 0;
    virtual bool Stop(MidiHandle h) = 0;
    // Silences every note and gives every queued buffer back.
    virtual bool Reset(MidiHandle h) = 0;
    virtual bool Close(MidiHandle h) = 0;
    // Posts `message` to `window` when that window still exists. Called from
    // the device's notification: it must neither block nor call the stream.
    virtual void Notify(std::uintptr_t window, std::uint32_t message, std::uintptr_t wparam,
                        std::uintptr_t lparam) = 0;
};

// A machine without MIDI output: nothing opens.
class NoMidiDevice final : public MidiDevice {
public:
    MidiHandle Open(MidiCallback, void*) override { return 0; }
    bool SetTimeDivision(MidiHandle, std::uint32_t) override { return false; }
    bool Prepare(MidiHandle, MidiHeader*) override { return false; }
    bool Unprepare(MidiHandle, MidiHeader*) override { return false; }
    bool Out(MidiHandle, MidiHeader*) override { return false; }
    bool Restart(MidiHandle) override { return false; }
    bool Stop(MidiHandle) override { return false; }
    bool Reset(MidiHandle) override { return false; }
    bool Close(MidiHandle) override { return false; }
    void Notify(std::uintptr_t, std::uint32_t, std::uintptr_t, std::uintptr_t) override {}
};

}  // namespace audio
