// Reads a fuzz input as a stream of little values. Past the end every read gives zeros, so a
// short input still decodes to a whole (if dull) sequence and the decoder never fails.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

class FuzzInput {
public:
    FuzzInput(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    bool Empty() const { return pos_ >= size_; }
    size_t Remaining() const { return pos_ < size_ ? size_ - pos_ : 0; }

    uint8_t U8() { return pos_ < size_ ? data_[pos_++] : 0; }
    uint16_t U16() { return uint16_t(U8() | U8() << 8); }
    uint32_t U32() { return uint32_t(U16()) | uint32_t(U16()) << 16; }
    bool Bit() { return U8() & 1; }

    // One of n choices (n > 0).
    uint32_t Pick(uint32_t n) { return U8() % n; }
    template <typename T, size_t N>
    T PickFrom(const T (&values)[N]) { return values[Pick(N)]; }

    // Copies up to n bytes into out and zero-fills the rest.
    void Fill(void* out, size_t n) {
        if (n == 0) return;
        const size_t take = n < Remaining() ? n : Remaining();
        if (take) std::memcpy(out, data_ + pos_, take);
        if (n > take) std::memset(static_cast<uint8_t*>(out) + take, 0, n - take);
        pos_ += take;
    }

    // A length-prefixed byte string of at most maxBytes.
    std::string Text(size_t maxBytes) {
        const size_t want = U8() % (maxBytes + 1);
        std::string out(want < Remaining() ? want : Remaining(), '\0');
        Fill(out.data(), out.size());
        return out;
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};
