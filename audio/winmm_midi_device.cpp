#include "audio/winmm_midi_device.h"

#include "audio/mm_failure.h"

#include <windows.h>
#include <mmsystem.h>

#include <cstddef>

namespace audio {

static_assert(sizeof(MidiHeader) == sizeof(MIDIHDR));
static_assert(offsetof(MidiHeader, bytes_recorded) == offsetof(MIDIHDR, dwBytesRecorded));
static_assert(offsetof(MidiHeader, flags) == offsetof(MIDIHDR, dwFlags));
static_assert(offsetof(MidiHeader, next) == offsetof(MIDIHDR, lpNext));
static_assert(offsetof(MidiHeader, offset) == offsetof(MIDIHDR, dwOffset));
static_assert(kMidiHeaderDone == MHDR_DONE && kMidiHeaderPrepared == MHDR_PREPARED &&
              kMidiHeaderInQueue == MHDR_INQUEUE);
static_assert(kMidiDone == MOM_DONE && kMidiPositionCallback == MOM_POSITIONCB && kMidiOpened == MOM_OPEN &&
              kMidiClosed == MOM_CLOSE);
static_assert(kMidiEventCallback == MEVT_F_CALLBACK && kMidiEventTempo == MEVT_TEMPO);

namespace {

void CALLBACK MidiOutProc(HMIDIOUT stream, UINT message, DWORD_PTR instance, DWORD_PTR param1, DWORD_PTR) {
    const auto* r = reinterpret_cast<const WinmmMidiDevice::Route*>(instance);
    MidiHeader* header =
        message == MOM_DONE || message == MOM_POSITIONCB ? reinterpret_cast<MidiHeader*>(param1) : nullptr;
    r->callback(r->instance, reinterpret_cast<MidiHandle>(stream), message, header);  // counts and signals only
}

HMIDISTRM S(MidiHandle h) { return reinterpret_cast<HMIDISTRM>(h); }
HMIDIOUT O(MidiHandle h) { return reinterpret_cast<HMIDIOUT>(h); }
LPMIDIHDR Hdr(MidiHeader* h) { return reinterpret_cast<LPMIDIHDR>(h); }

}  // namespace

MidiHandle WinmmMidiDevice::Open(MidiCallback callback, void* instance) {
    // No output port: the mapper has nothing to open. Not asking also keeps
    // clear of Wine's stream table, which keeps a freed entry after every
    // failed open and crashes on a later one.
    if (midiOutGetNumDevs() == 0) return 0;
    auto route = std::make_unique<Route>(Route{callback, instance});
    UINT device = MIDI_MAPPER;
    HMIDISTRM h = nullptr;
    const MMRESULT r = midiStreamOpen(&h, &device, 1, reinterpret_cast<DWORD_PTR>(&MidiOutProc),
                                      reinterpret_cast<DWORD_PTR>(route.get()), CALLBACK_FUNCTION);
    if (!MmOk(r, "midiStreamOpen") || !h) return 0;
    const auto handle = reinterpret_cast<MidiHandle>(h);
    routes_.Add(handle, std::move(route));
    return handle;
}

bool WinmmMidiDevice::SetTimeDivision(MidiHandle h, std::uint32_t division) {
    MIDIPROPTIMEDIV prop{sizeof(MIDIPROPTIMEDIV), division};
    return MmOk(midiStreamProperty(S(h), reinterpret_cast<LPBYTE>(&prop), MIDIPROP_SET | MIDIPROP_TIMEDIV),
                "midiStreamProperty");
}
bool WinmmMidiDevice::Prepare(MidiHandle h, MidiHeader* hdr) {
    return MmOk(midiOutPrepareHeader(O(h), Hdr(hdr), sizeof(MIDIHDR)), "midiOutPrepareHeader");
}
bool WinmmMidiDevice::Unprepare(MidiHandle h, MidiHeader* hdr) {
    return MmOk(midiOutUnprepareHeader(O(h), Hdr(hdr), sizeof(MIDIHDR)), "midiOutUnprepareHeader");
}
bool WinmmMidiDevice::Out(MidiHandle h, MidiHeader* hdr) {
    return MmOk(midiStreamOut(S(h), Hdr(hdr), sizeof(MIDIHDR)), "midiStreamOut");
}
bool WinmmMidiDevice::Restart(MidiHandle h) { return MmOk(midiStreamRestart(S(h)), "midiStreamRestart"); }
bool WinmmMidiDevice::Stop(MidiHandle h) { return MmOk(midiStreamStop(S(h)), "midiStreamStop"); }
bool WinmmMidiDevice::Reset(MidiHandle h) { return MmOk(midiOutReset(O(h)), "midiOutReset"); }

bool WinmmMidiDevice::Close(MidiHandle h) {
    return routes_.Close(h, [h] { return MmOk(midiStreamClose(S(h)), "midiStreamClose"); });
}

void WinmmMidiDevice::Notify(std::uintptr_t window, std::uint32_t message, std::uintptr_t wparam,
                             std::uintptr_t lparam) {
    const HWND w = reinterpret_cast<HWND>(window);
    if (IsWindow(w)) PostMessageA(w, message, WPARAM(wparam), LPARAM(lparam));
}

}  // namespace audio
