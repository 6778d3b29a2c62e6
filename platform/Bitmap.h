#pragma once
// A plain 32-bit picture: the one pixel container of the image code.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace pictarium {

// Pixels are 0xAARRGGBB, row-major, top row first.
struct Bitmap {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    Bitmap() = default;
    // Callers keep sizes within kLimits; a negative side counts as 0.
    Bitmap(int w, int h, std::uint32_t fill = 0xFF000000u)
        : width(w > 0 ? w : 0), height(h > 0 ? h : 0),
          pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), fill)
    {
    }

    [[nodiscard]] bool empty() const { return pixels.empty(); }
    [[nodiscard]] std::uint32_t at(int x, int y) const
    {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(x)];
    }
    std::uint32_t &at(int x, int y)
    {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(x)];
    }
    bool operator==(const Bitmap &) const = default;
};

inline constexpr std::uint32_t argb(unsigned a, unsigned r, unsigned g, unsigned b)
{
    return ((a & 0xFFu) << 24) | ((r & 0xFFu) << 16) | ((g & 0xFFu) << 8) | (b & 0xFFu);
}
inline constexpr std::uint32_t rgb(unsigned r, unsigned g, unsigned b) { return argb(0xFF, r, g, b); }
inline constexpr unsigned alphaOf(std::uint32_t p) { return p >> 24; }
inline constexpr unsigned redOf(std::uint32_t p) { return (p >> 16) & 0xFFu; }
inline constexpr unsigned greenOf(std::uint32_t p) { return (p >> 8) & 0xFFu; }
inline constexpr unsigned blueOf(std::uint32_t p) { return p & 0xFFu; }

// The platform's colour values are 0x00BBGGRR; these turn them into opaque pixels and back.
inline constexpr std::uint32_t pixelFromColorRef(std::uint32_t colorRef)
{
    return rgb(colorRef & 0xFFu, (colorRef >> 8) & 0xFFu, (colorRef >> 16) & 0xFFu);
}
inline constexpr std::uint32_t colorRefFromPixel(std::uint32_t p)
{
    return redOf(p) | (greenOf(p) << 8) | (blueOf(p) << 16);
}

// Bytes per row of a bottom-up or top-down DIB: rows padded to 4 bytes. Nothing on overflow.
[[nodiscard]] inline bool dibStride(std::size_t width, std::size_t bitCount, std::size_t &stride)
{
    std::size_t bits;
    if (__builtin_mul_overflow(width, bitCount, &bits) || bits > SIZE_MAX - 31)
        return false;
    stride = (bits + 31) / 32 * 4;
    return true;
}

} // namespace pictarium
