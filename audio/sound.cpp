#include "audio/sound.h"

#include <windows.h>

#include <new>
#include <vector>

#include "audio/winmm_device.h"
#include "audio/winmm_midi_device.h"
#include "base/failure.h"
#include "base/failure_win.h"
#include "base/owners.h"
#include "base/text_win.h"

namespace audio {
namespace {

base::ServiceFn g_service = nullptr;

// The one engine of the process, on the system's waveform and MIDI output.
PlaybackEngine& Engine() {
    static WinmmWaveDevice device;
    static WinmmMidiDevice midi;
    static SteadyClock clock;
    static PlaybackEngine engine(device, midi, clock);
    return engine;
}

// Reads a whole file, shared with other readers but not with writers.
bool ReadWholeFile(const std::string& gbk_path, std::vector<std::uint8_t>& out) {
    if (gbk_path.empty()) return base::ReportFailure("an empty file path");
    const std::wstring path = base::WideFromGbk(gbk_path);
    HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                           nullptr);
    if (f == INVALID_HANDLE_VALUE) return base::ReportWin32Failure("CreateFileW", gbk_path.c_str());
    const base::OwnedFile file(f);
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file.get(), &size)) return base::ReportWin32Failure("GetFileSizeEx", gbk_path.c_str());
    if (size.QuadPart > 0x7FFFFFFF) return base::ReportFailure("a sound file of 2 GB or more");
    try {
        out.resize(std::size_t(size.QuadPart));
    } catch (const std::bad_alloc&) {
        return base::ReportFailure("out of memory for the file");
    }
    DWORD got = 0;
    if (!out.empty() && !ReadFile(file.get(), out.data(), DWORD(out.size()), &got, nullptr))
        return base::ReportWin32Failure("ReadFile", gbk_path.c_str());
    out.resize(got);  // a short read gives the bytes that arrived
    return true;
}

}  // namespace

void Connect(base::ServiceFn service) { g_service = service; }

bool play_sound(const SoundSource& source, std::optional<bool> loop) {
    std::vector<std::uint8_t> file;  // released when we return; the engine has its own copy
    const std::uint8_t* data = nullptr;
    std::int64_t length = 0;
    if (const auto* path = std::get_if<std::string>(&source)) {
        if (!ReadWholeFile(*path, file)) return false;
        data = file.data();
        length = std::int64_t(file.size());
    } else if (const auto* blob = std::get_if<const ByteBlob*>(&source)) {
        if (!*blob) return base::ReportFailure("no built-in data");
        data = (*blob)->data();
        length = (*blob)->length;
    } else {
        return base::ReportFailure("a sound is a file path or built-in data");
    }
    if (!data || length <= 0 || length > 0x7FFFFFFF) return base::ReportFailure("no sound data");
    if (!g_service) return base::ReportFailure("the playback engine is not connected");
    SoundRequest request{data, std::int32_t(length), loop.value_or(false) ? 1 : 0};
    return g_service(base::kPlaySound, reinterpret_cast<std::uintptr_t>(&request), 0) == 1;
}

void stop_sound() {
    if (g_service) g_service(base::kStopSound, 0, 0);
}

std::intptr_t ServeSound(std::uint32_t code, std::uintptr_t a, std::uintptr_t) {
    switch (code) {
        case base::kPlaySound: return a ? Engine().Play(*reinterpret_cast<const SoundRequest*>(a)) : 0;
        case base::kStopSound: Engine().Stop(); return 0;
        default: return 0;
    }
}
bool ShutdownStop() { return Engine().ShutdownStop(); }
std::size_t RunningPlayers() { return Engine().registry().size() + (Engine().MidiSounding() ? 1 : 0); }

}  // namespace audio
