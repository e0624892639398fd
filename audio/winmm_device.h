#pragma once
// The waveform device seam bound to the system's waveform output.
#include "audio/device_routes.h"

#include "audio/wave_device.h"

namespace audio {

class WinmmWaveDevice final : public WaveDevice {
public:
    std::uint32_t DeviceCount() override;
    WaveHandle Open(std::span<const std::uint8_t> format, WaveCallback callback, void* instance) override;
    bool Prepare(WaveHandle h, WaveHeader* header) override;
    bool Unprepare(WaveHandle h, WaveHeader* header) override;
    bool Write(WaveHandle h, WaveHeader* header) override;
    bool Pause(WaveHandle h) override;
    bool Reset(WaveHandle h) override;
    bool Close(WaveHandle h) override;

    struct Route {
        WaveCallback callback;
        void* instance;
    };

private:
    RouteTable<Route> routes_;
};

}  // namespace audio
