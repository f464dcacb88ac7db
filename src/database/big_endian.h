// Every number in the channel file and in link frames is big-endian. These are
// the only places that turn bytes into numbers and back.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace zoedit::be {

inline std::uint16_t get16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>((p[0] << 8) | p[1]);
}
inline std::uint32_t get32(const std::uint8_t* p) {
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) |
           std::uint32_t{p[3]};
}
inline void put16(std::uint8_t* p, std::uint16_t v) {
    p[0] = static_cast<std::uint8_t>(v >> 8);
    p[1] = static_cast<std::uint8_t>(v);
}
inline void put32(std::uint8_t* p, std::uint32_t v) {
    p[0] = static_cast<std::uint8_t>(v >> 24);
    p[1] = static_cast<std::uint8_t>(v >> 16);
    p[2] = static_cast<std::uint8_t>(v >> 8);
    p[3] = static_cast<std::uint8_t>(v);
}

// Reads forward through a byte span; every read is bounds-checked and a read
// past the end sets the failed flag and yields zeros instead of touching
// memory outside the span.
class Reader {
public:
    explicit Reader(std::span<const std::uint8_t> data, std::size_t offset = 0)
        : data_(data), pos_(offset) {}

    std::uint8_t u8() { return take(1) ? data_[pos_ - 1] : 0; }
    std::uint16_t u16() { return take(2) ? get16(&data_[pos_ - 2]) : 0; }
    std::uint32_t u32() { return take(4) ? get32(&data_[pos_ - 4]) : 0; }
    void bytes(std::span<std::uint8_t> out) {
        if (take(out.size())) std::copy_n(&data_[pos_ - out.size()], out.size(), out.begin());
    }
    void bytes(std::span<char> out) {
        if (take(out.size()))
            for (std::size_t i = 0; i < out.size(); ++i)
                out[i] = static_cast<char>(data_[pos_ - out.size() + i]);
    }
    void skip(std::size_t n) { take(n); }

    std::size_t position() const { return pos_; }
    std::size_t remaining() const { return failed_ ? 0 : data_.size() - pos_; }
    bool failed() const { return failed_; }

private:
    bool take(std::size_t n) {
        if (failed_ || n > data_.size() - pos_) {
            failed_ = true;
            return false;
        }
        pos_ += n;
        return true;
    }
    std::span<const std::uint8_t> data_;
    std::size_t pos_;
    bool failed_ = false;
};

// Appends big-endian values to a growing byte buffer.
class Writer {
public:
    explicit Writer(std::vector<std::uint8_t>& out) : out_(out) {}
    void u8(std::uint8_t v) { out_.push_back(v); }
    void u16(std::uint16_t v) {
        out_.push_back(static_cast<std::uint8_t>(v >> 8));
        out_.push_back(static_cast<std::uint8_t>(v));
    }
    void u32(std::uint32_t v) {
        u16(static_cast<std::uint16_t>(v >> 16));
        u16(static_cast<std::uint16_t>(v));
    }
    void bytes(std::span<const std::uint8_t> b) { out_.insert(out_.end(), b.begin(), b.end()); }
    void bytes(std::span<const char> b) {
        for (char c : b) out_.push_back(static_cast<std::uint8_t>(c));
    }
    void zeros(std::size_t n) { out_.insert(out_.end(), n, 0); }
    std::size_t size() const { return out_.size(); }

private:
    std::vector<std::uint8_t>& out_;
};

}  // namespace zoedit::be
