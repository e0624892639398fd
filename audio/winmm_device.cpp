#include "audio/winmm_device.h"

#include <windows.h>
#include <mmsystem.h>

#include <cstddef>
#include <cstring>
#include <vector>

#include "audio/format_descriptor.h"
#include "audio/mm_failure.h"

namespace audio {

static_assert(sizeof(WaveHeader) == sizeof(WAVEHDR));
static_assert(offsetof(WaveHeader, buffer_length) == offsetof(WAVEHDR, dwBufferLength));
static_assert(offsetof(WaveHeader, flags) == offsetof(WAVEHDR, dwFlags));
static_assert(offsetof(WaveHeader, next) == offsetof(WAVEHDR, lpNext));
static_assert(kHeaderPrepared == WHDR_PREPARED && kHeaderDone == WHDR_DONE && kHeaderInQueue == WHDR_INQUEUE);
static_assert(kDescriptorBytes == sizeof(WAVEFORMATEX) && offsetof(WAVEFORMATEX, cbSize) == 16);
static_assert(kWaveDone == WOM_DONE && kWaveOpened == WOM_OPEN && kWaveClosed == WOM_CLOSE);

namespace {

void CALLBACK WaveOutProc(HWAVEOUT, UINT message, DWORD_PTR instance, DWORD_PTR, DWORD_PTR) {
    const auto* r = reinterpret_cast<const WinmmWaveDevice::Route*>(instance);
    r->callback(r->instance, message);  // the player only counts and signals
}

HWAVEOUT H(WaveHandle h) { return reinterpret_cast<HWAVEOUT>(h); }
LPWAVEHDR Hdr(WaveHeader* h) { return reinterpret_cast<LPWAVEHDR>(h); }


}  // namespace

std::uint32_t WinmmWaveDevice::DeviceCount() { return waveOutGetNumDevs(); }

WaveHandle WinmmWaveDevice::Open(std::span<const std::uint8_t> format, WaveCallback callback, void* instance) {
    auto route = std::make_unique<Route>(Route{callback, instance});
    const std::vector<std::uint8_t> descriptor = FormatDescriptor(format);
    HWAVEOUT h = nullptr;
    const MMRESULT r = waveOutOpen(&h, WAVE_MAPPER, reinterpret_cast<const WAVEFORMATEX*>(descriptor.data()),
                                   reinterpret_cast<DWORD_PTR>(&WaveOutProc), reinterpret_cast<DWORD_PTR>(route.get()),
                                   CALLBACK_FUNCTION);
    if (!MmOk(r, "waveOutOpen") || !h) return 0;
    const auto handle = reinterpret_cast<WaveHandle>(h);
    routes_.Add(handle, std::move(route));
    return handle;
}

bool WinmmWaveDevice::Prepare(WaveHandle h, WaveHeader* hdr) {
    return MmOk(waveOutPrepareHeader(H(h), Hdr(hdr), sizeof(WAVEHDR)), "waveOutPrepareHeader");
}
bool WinmmWaveDevice::Unprepare(WaveHandle h, WaveHeader* hdr) {
    return MmOk(waveOutUnprepareHeader(H(h), Hdr(hdr), sizeof(WAVEHDR)), "waveOutUnprepareHeader");
}
bool WinmmWaveDevice::Write(WaveHandle h, WaveHeader* hdr) {
    return MmOk(waveOutWrite(H(h), Hdr(hdr), sizeof(WAVEHDR)), "waveOutWrite");
}
bool WinmmWaveDevice::Pause(WaveHandle h) { return MmOk(waveOutPause(H(h)), "waveOutPause"); }
bool WinmmWaveDevice::Reset(WaveHandle h) { return MmOk(waveOutReset(H(h)), "waveOutReset"); }

bool WinmmWaveDevice::Close(WaveHandle h) {
    return routes_.Close(h, [h] { return MmOk(waveOutClose(H(h)), "waveOutClose"); });
}

}  // namespace audio
