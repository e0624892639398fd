#pragma once
// The WINMM family of system results, translated in one place.
#include <windows.h>
#include <mmsystem.h>

namespace audio {

// True when `result` is MMSYSERR_NOERROR; otherwise one line names the call
// and the system's text for the error, and the answer is false.
bool MmOk(MMRESULT result, const char* call);

}  // namespace audio
