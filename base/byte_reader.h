#pragma once
// Bounded little-endian reader for untrusted bytes. Every read checks the
// remaining length first; once a read fails, every later read fails too.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace base {

class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    bool ok() const { return ok_; }
    std::size_t remaining() const { return ok_ ? bytes_.size() - pos_ : 0; }
    bool at_end() const { return ok_ && pos_ == bytes_.size(); }

    std::uint32_t u32() {
        if (!take(4)) return 0;
        const std::uint8_t* p = bytes_.data() + pos_ - 4;
        return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
               std::uint32_t(p[3]) << 24;
    }
    std::int32_t i32() { return static_cast<std::int32_t>(u32()); }

    // A 32-bit length, then that many bytes.
    std::span<const std::uint8_t> counted() {
        const std::uint32_t n = u32();
        if (!take(n)) return {};
        return bytes_.subspan(pos_ - n, n);
    }
    std::string text() {
        const auto s = counted();
        return std::string(s.begin(), s.end());
    }

private:
    bool take(std::size_t n) {
        if (!ok_ || n > bytes_.size() - pos_) {
            ok_ = false;
            return false;
        }
        pos_ += n;
        return true;
    }

    std::span<const std::uint8_t> bytes_;
    std::size_t pos_ = 0;
    bool ok_ = true;
};

}  // namespace base
