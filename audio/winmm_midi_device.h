#pragma once
// The MIDI device seam bound to the system's MIDI stream output.
#include "audio/device_routes.h"

#include "audio/midi_device.h"

namespace audio {

class WinmmMidiDevice final : public MidiDevice {
public:
    MidiHandle Open(MidiCallback callback, void* instance) override;
    bool SetTimeDivision(MidiHandle h, std::uint32_t division) override;
    bool Prepare(MidiHandle h, MidiHeader* header) override;
    bool Unprepare(MidiHandle h, MidiHeader* header) override;
    bool Out(MidiHandle h, MidiHeader* header) override;
    bool Restart(MidiHandle h) override;
    bool Stop(MidiHandle h) override;
    bool Reset(MidiHandle h) override;
    bool Close(MidiHandle h) override;
    void Notify(std::uintptr_t window, std::uint32_t message, std::uintptr_t wparam, std::uintptr_t lparam) override;

    struct Route {
        MidiCallback callback;
        void* instance;
    };

private:
    RouteTable<Route> routes_;  // one per open stream
};

}  // namespace audio
