#pragma once
// The format descriptor handed to the system's waveform output, made from a
// "fmt " chunk body.
#include <cstdint>
#include <span>
#include <vector>

namespace audio {

// The system reads a whole 18-byte descriptor and, for a compressed format,
// `cbSize` more bytes. The copy holds all it will read: a short chunk is
// padded with zeros, and a compressed format's cbSize that claims more than
// the chunk holds is cut to what is there, so nothing past the chunk is read.
std::vector<std::uint8_t> FormatDescriptor(std::span<const std::uint8_t> format_chunk);

inline constexpr std::size_t kDescriptorBytes = 18;  // WAVEFORMATEX

}  // namespace audio
