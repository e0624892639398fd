#include "audio/riff.h"

#include <algorithm>
#include <cstring>

namespace audio {
namespace {

std::uint32_t Le32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}

bool Is(const std::uint8_t* p, const char (&id)[5]) { return std::memcmp(p, id, 4) == 0; }

// A chunk header at `offset` when one fits there, else null.
const std::uint8_t* HeaderAt(std::span<const std::uint8_t> b, std::uint64_t offset) {
    return offset <= b.size() && b.size() - offset >= 8 ? b.data() + std::size_t(offset) : nullptr;
}

bool Wanted(const std::uint8_t* head) { return head && (Is(head, "fmt ") || Is(head, "data")); }

// A header that could be a chunk's: four printable characters, and a size
// that fits what follows (a data chunk may claim more; it is cut later).
bool Plausible(std::span<const std::uint8_t> b, std::uint64_t offset) {
    const std::uint8_t* head = HeaderAt(b, offset);
    if (!head) return false;
    for (int i = 0; i < 4; ++i)
        if (head[i] < 0x20 || head[i] > 0x7E) return false;
    return Is(head, "data") || Le32(head + 4) <= b.size() - offset - 8;
}

// Where the chunk after one of `size` bytes starts. RIFF pads an odd-sized
// chunk with one byte; some writers leave the pad out. The padded place wins
// unless only the unpadded one holds the chunk sought, or a plausible one.
std::uint64_t NextChunk(std::span<const std::uint8_t> b, std::uint64_t body, std::uint32_t size) {
    const std::uint64_t unpadded = body + size, padded = unpadded + 1;
    if (size % 2 == 0) return unpadded;
    if (Wanted(HeaderAt(b, padded))) return padded;
    if (Wanted(HeaderAt(b, unpadded))) return unpadded;
    return !Plausible(b, padded) && Plausible(b, unpadded) ? unpadded : padded;
}

}  // namespace

bool LooksLikeWave(std::span<const std::uint8_t> b) {
    return b.size() >= 12 && Is(b.data(), "RIFF") && Is(b.data() + 8, "WAVE");
}

std::optional<WaveChunks> FindWaveChunks(std::span<const std::uint8_t> b) {
    if (b.size() < kMinimumWaveBytes || !LooksLikeWave(b)) return std::nullopt;
    const std::uint32_t riff_size = Le32(b.data() + 4);
    std::optional<std::span<const std::uint8_t>> format, data;
    std::uint64_t offset = 12;
    // A chunk header must lie wholly inside the bytes; a declared size that
    // runs past the end is cut to what is there.
    while (b.size() - offset >= 8) {
        const std::uint8_t* head = b.data() + offset;
        const std::uint32_t size = Le32(head + 4);
        const std::uint64_t body = offset + 8;
        const auto present = b.subspan(std::size_t(body), std::size_t(std::min<std::uint64_t>(size, b.size() - body)));
        if (Is(head, "fmt ")) {
            format = present;
            if (data) break;
        } else if (Is(head, "data")) {
            data = present;
            if (format) break;
        }
        const std::uint64_t next = NextChunk(b, body, size);
        if (next >= b.size() || next - 12 >= riff_size) break;
        offset = next;
    }
    if (!format || !data || data->empty()) return std::nullopt;
    return WaveChunks{*format, *data};
}

}  // namespace audio
