#pragma once
// Checked little-endian access to outside bytes. Every parser in the program reads through
// ByteView/ByteReader: a read either lies wholly inside its span or yields nothing, so no
// caller can reach past the end of a file, a record or an entry.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace pictarium {

using Bytes = std::vector<std::uint8_t>;
using ByteSpan = std::span<const std::uint8_t>;

// Size arithmetic that reports overflow instead of wrapping.
[[nodiscard]] inline std::optional<std::size_t> checkedAdd(std::size_t a, std::size_t b)
{
    std::size_t r;
    if (__builtin_add_overflow(a, b, &r))
        return std::nullopt;
    return r;
}

[[nodiscard]] inline std::optional<std::size_t> checkedMul(std::size_t a, std::size_t b)
{
    std::size_t r;
    if (__builtin_mul_overflow(a, b, &r))
        return std::nullopt;
    return r;
}

// Random-access reads at offsets inside one span.
class ByteView {
public:
    ByteView() = default;
    explicit ByteView(ByteSpan data) : data_(data) {}

    [[nodiscard]] std::size_t size() const { return data_.size(); }
    [[nodiscard]] bool empty() const { return data_.empty(); }
    [[nodiscard]] ByteSpan bytes() const { return data_; }

    // True when [offset, offset + length) lies inside the view; never overflows.
    [[nodiscard]] bool contains(std::size_t offset, std::size_t length) const
    {
        return offset <= data_.size() && length <= data_.size() - offset;
    }

    [[nodiscard]] std::optional<std::uint8_t> u8(std::size_t offset) const
    {
        if (!contains(offset, 1))
            return std::nullopt;
        return data_[offset];
    }
    [[nodiscard]] std::optional<std::uint16_t> u16(std::size_t offset) const
    {
        if (!contains(offset, 2))
            return std::nullopt;
        return static_cast<std::uint16_t>(data_[offset] | (data_[offset + 1] << 8));
    }
    [[nodiscard]] std::optional<std::uint32_t> u32(std::size_t offset) const
    {
        if (!contains(offset, 4))
            return std::nullopt;
        return static_cast<std::uint32_t>(data_[offset]) |
               (static_cast<std::uint32_t>(data_[offset + 1]) << 8) |
               (static_cast<std::uint32_t>(data_[offset + 2]) << 16) |
               (static_cast<std::uint32_t>(data_[offset + 3]) << 24);
    }
    [[nodiscard]] std::optional<std::int16_t> i16(std::size_t offset) const
    {
        auto v = u16(offset);
        if (!v)
            return std::nullopt;
        return static_cast<std::int16_t>(*v);
    }
    [[nodiscard]] std::optional<std::int32_t> i32(std::size_t offset) const
    {
        auto v = u32(offset);
        if (!v)
            return std::nullopt;
        return static_cast<std::int32_t>(*v);
    }

    // The child view [offset, offset + length), or nothing when it does not fit.
    [[nodiscard]] std::optional<ByteView> sub(std::size_t offset, std::size_t length) const
    {
        if (!contains(offset, length))
            return std::nullopt;
        return ByteView(data_.subspan(offset, length));
    }
    // The child view from offset to the end.
    [[nodiscard]] std::optional<ByteView> from(std::size_t offset) const
    {
        if (offset > data_.size())
            return std::nullopt;
        return ByteView(data_.subspan(offset));
    }

private:
    ByteSpan data_;
};

// Sequential reads with a cursor over a view. A failed read leaves the cursor where it was.
class ByteReader {
public:
    explicit ByteReader(ByteView view) : view_(view) {}
    explicit ByteReader(ByteSpan data) : view_(data) {}

    [[nodiscard]] std::size_t position() const { return pos_; }
    [[nodiscard]] std::size_t remaining() const { return view_.size() - pos_; }
    [[nodiscard]] bool atEnd() const { return pos_ == view_.size(); }

    bool seek(std::size_t position)
    {
        if (position > view_.size())
            return false;
        pos_ = position;
        return true;
    }
    bool skip(std::size_t n)
    {
        if (n > remaining())
            return false;
        pos_ += n;
        return true;
    }

    std::optional<std::uint8_t> u8() { return advance(view_.u8(pos_), 1); }
    std::optional<std::uint16_t> u16() { return advance(view_.u16(pos_), 2); }
    std::optional<std::uint32_t> u32() { return advance(view_.u32(pos_), 4); }
    std::optional<std::int32_t> i32() { return advance(view_.i32(pos_), 4); }
    std::optional<ByteView> take(std::size_t n) { return advance(view_.sub(pos_, n), n); }

private:
    template <typename T> std::optional<T> advance(std::optional<T> v, std::size_t n)
    {
        if (v)
            pos_ += n;
        return v;
    }

    ByteView view_;
    std::size_t pos_ = 0;
};

// Little-endian appends to a growing buffer, and patches of what was already written.
class ByteWriter {
public:
    explicit ByteWriter(Bytes &out) : out_(out) {}

    [[nodiscard]] std::size_t size() const { return out_.size(); }

    void u8(std::uint8_t v) { out_.push_back(v); }
    void u16(std::uint16_t v)
    {
        out_.push_back(static_cast<std::uint8_t>(v));
        out_.push_back(static_cast<std::uint8_t>(v >> 8));
    }
    void u32(std::uint32_t v)
    {
        for (int shift = 0; shift < 32; shift += 8)
            out_.push_back(static_cast<std::uint8_t>(v >> shift));
    }
    void i32(std::int32_t v) { u32(static_cast<std::uint32_t>(v)); }
    void bytes(ByteSpan b) { out_.insert(out_.end(), b.begin(), b.end()); }
    void zeros(std::size_t n) { out_.resize(out_.size() + n, 0); }

    // Overwrites four already written bytes at offset; false when they were not written.
    bool patchU32(std::size_t offset, std::uint32_t v)
    {
        if (offset > out_.size() || out_.size() - offset < 4)
            return false;
        storeU32(std::span<std::uint8_t, 4>(out_.data() + offset, 4), v);
        return true;
    }
    bool patchI32(std::size_t offset, std::int32_t v)
    {
        return patchU32(offset, static_cast<std::uint32_t>(v));
    }

    static void storeU32(std::span<std::uint8_t, 4> at, std::uint32_t v)
    {
        at[0] = static_cast<std::uint8_t>(v);
        at[1] = static_cast<std::uint8_t>(v >> 8);
        at[2] = static_cast<std::uint8_t>(v >> 16);
        at[3] = static_cast<std::uint8_t>(v >> 24);
    }

private:
    Bytes &out_;
};

} // namespace pictarium
