#include "audio/format_descriptor.h"

namespace audio {

std::vector<std::uint8_t> FormatDescriptor(std::span<const std::uint8_t> format) {
    std::vector<std::uint8_t> d(format.begin(), format.end());
    if (d.size() < kDescriptorBytes) d.resize(kDescriptorBytes, 0);
    constexpr std::uint16_t kPcm = 1;
    const std::uint16_t tag = std::uint16_t(d[0] | d[1] << 8);
    const std::uint16_t extra_declared = std::uint16_t(d[16] | d[17] << 8);
    const std::size_t extra = format.size() > kDescriptorBytes ? format.size() - kDescriptorBytes : 0;
    if (tag != kPcm && extra_declared > extra) {
        d[16] = std::uint8_t(extra);
        d[17] = std::uint8_t(extra >> 8);
    }
    return d;
}

}  // namespace audio
