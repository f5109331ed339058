#pragma once
// ByteReader: bounds-checked little-endian reads from a byte span; a read past the end sets
// the failed flag and yields 0 instead of touching memory outside.

#include <cstddef>
#include <cstdint>
#include <span>

namespace zorbel::gdi {

class ByteReader {
public:
    explicit ByteReader(std::span<const uint8_t> bytes, size_t offset = 0) : bytes_(bytes), pos_(offset) {}

    uint8_t u8() { return static_cast<uint8_t>(take(1)); }
    uint16_t u16() { return static_cast<uint16_t>(take(2)); }
    uint32_t u32() { return static_cast<uint32_t>(take(4)); }
    int32_t i32() { return static_cast<int32_t>(u32()); }
    void skip(size_t n) {
        if (n > remaining()) failed_ = true, pos_ = bytes_.size();
        else pos_ += n;
    }

    size_t position() const { return pos_; }
    size_t remaining() const { return pos_ <= bytes_.size() ? bytes_.size() - pos_ : 0; }
    bool failed() const { return failed_; }

private:
    uint64_t take(size_t n) {
        if (n > remaining()) {
            failed_ = true;
            pos_ = bytes_.size();
            return 0;
        }
        uint64_t v = 0;
        for (size_t i = 0; i < n; ++i) v |= static_cast<uint64_t>(bytes_[pos_ + i]) << (8 * i);
        pos_ += n;
        return v;
    }

    std::span<const uint8_t> bytes_;
    size_t pos_;
    bool failed_ = false;
};

}  // namespace zorbel::gdi
