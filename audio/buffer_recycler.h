#pragma once
// Keeps a few large buffers that ended players gave back, so the next sound
// copies its samples into memory that is already mapped instead of paying a
// page fault for every 4 KiB of a multi-megabyte clip on each click.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace audio {

struct Block {
    std::unique_ptr<std::uint8_t[]> bytes;
    std::size_t capacity = 0;
};

class BufferRecycler {
public:
    // A block of at least `n` bytes, contents unspecified; throws bad_alloc.
    Block Take(std::size_t n);
    // Keeps the block for later unless enough are kept already.
    void Give(Block&& b);
    std::size_t kept_bytes();

    static constexpr std::size_t kMaxBlocks = 4;
    static constexpr std::size_t kMaxBytes = std::size_t(12) << 20;

private:
    std::mutex lock_;
    std::vector<Block> kept_;
    std::size_t kept_bytes_ = 0;
};

}  // namespace audio
