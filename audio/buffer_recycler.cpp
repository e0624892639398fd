#include "audio/buffer_recycler.h"

namespace audio {

Block BufferRecycler::Take(std::size_t n) {
    {
        std::lock_guard g(lock_);
        std::size_t best = kept_.size();
        for (std::size_t i = 0; i < kept_.size(); ++i)
            if (kept_[i].capacity >= n && (best == kept_.size() || kept_[i].capacity < kept_[best].capacity)) best = i;
        if (best != kept_.size()) {
            Block b = std::move(kept_[best]);
            kept_.erase(kept_.begin() + std::ptrdiff_t(best));
            kept_bytes_ -= b.capacity;
            return b;
        }
    }
    return Block{std::make_unique_for_overwrite<std::uint8_t[]>(n), n};
}

void BufferRecycler::Give(Block&& b) {
    if (!b.bytes) return;
    std::lock_guard g(lock_);
    if (b.capacity > kMaxBytes) return;
    // Make room by dropping the oldest blocks; the newest are the likeliest fit.
    while (!kept_.empty() && (kept_.size() >= kMaxBlocks || kept_bytes_ + b.capacity > kMaxBytes)) {
        kept_bytes_ -= kept_.front().capacity;
        kept_.erase(kept_.begin());
    }
    kept_bytes_ += b.capacity;
    kept_.push_back(std::move(b));
}

std::size_t BufferRecycler::kept_bytes() {
    std::lock_guard g(lock_);
    return kept_bytes_;
}

}  // namespace audio
