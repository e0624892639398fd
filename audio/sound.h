#pragma once
// play_sound and stop_sound, as the program's actions call them.
#include <cstdint>
#include <optional>
#include <string>
#include <variant>

#include "audio/engine.h"
#include "base/byte_blob.h"
#include "base/service.h"

namespace audio {

// What play_sound accepts: a file path (GBK text) or built-in bytes. Any
// other value (a number, nothing) is carried so that it can be refused.
using SoundSource = std::variant<std::monostate, std::string, const ByteBlob*, std::int32_t>;

// True when the data was recognised and handed to a player. The caller's
// bytes may be released as soon as it returns.
bool play_sound(const SoundSource& source, std::optional<bool> loop = std::nullopt);
// Tells everything that plays to stop; does not wait.
void stop_sound();

// The engine as a module of the shell: its requests go through the service
// entry, which answers 0 until the module is connected.
void Connect(base::ServiceFn service);
// Service requests 2015 (a: SoundRequest*) and 2016, answered by the
// engine; 0 for any other code. A tool without the shell connects it as is.
std::intptr_t ServeSound(std::uint32_t code, std::uintptr_t a, std::uintptr_t b);
// Stops all sound and waits until every waveform player's thread has ended,
// at most the player's device time-out; false when a stuck device still
// holds some thread (the process must then end without destroying the engine).
bool ShutdownStop();
// Sounds going now: the waveform players running, and the MIDI sound while
// it plays.
std::size_t RunningPlayers();

}  // namespace audio
