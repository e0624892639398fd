#include "audio/mm_failure.h"

#include <string>

#include "base/failure.h"

namespace audio {

bool MmOk(MMRESULT result, const char* call) {
    if (result == MMSYSERR_NOERROR) return true;
    char text[MAXERRORLENGTH] = {};
    // MIDI's own errors have their own texts; the system's and the waveform
    // errors are known to waveOut.
    const bool midi = result >= MIDIERR_BASE && result <= MIDIERR_LASTERROR;
    const MMRESULT got = midi ? midiOutGetErrorTextA(result, text, sizeof text)
                              : waveOutGetErrorTextA(result, text, sizeof text);
    std::string line = std::string(call) + " failed: MMRESULT " + std::to_string(result);
    if (got == MMSYSERR_NOERROR && text[0]) line += std::string(" ") + text;
    return base::ReportFailure(line);
}

}  // namespace audio
