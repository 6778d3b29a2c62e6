#pragma once
// Builders for image fixtures (DIB headers, icon files, bitmap files, PNGs), written apart
// from the program's own encoders so that a fault cannot hide in both.

#include "support/TestBytes.h"

#include <cstdint>
#include <png.h>
#include <vector>

namespace testimages {

using testbytes::Bytes;
using testbytes::le16;
using testbytes::le32;

struct Dib {
    std::uint32_t headerSize = 40;
    std::int32_t width = 0;
    std::int32_t height = 0; // as stored: doubled for icon images, negative for top-down
    std::uint16_t planes = 1;
    std::uint16_t bitCount = 8;
    std::uint32_t compression = 0;
    std::uint32_t clrUsed = 0;
    std::uint32_t sizeImage = 0;
    std::vector<std::uint32_t> masks;   // written after a 40-byte header, inside V4/V5 ones
    std::vector<std::uint32_t> palette; // 0xRRGGBB; RGBQUADs, or RGBTRIPLEs for a core header
    Bytes bits;                         // pixel rows (and mask rows for icons) as stored

    Bytes build() const
    {
        Bytes b;
        le32(b, headerSize);
        if (headerSize == 12) {
            le16(b, static_cast<unsigned>(width));
            le16(b, static_cast<unsigned>(height));
            le16(b, planes);
            le16(b, bitCount);
        } else {
            le32(b, width);
            le32(b, height);
            le16(b, planes);
            le16(b, bitCount);
            le32(b, compression);
            le32(b, sizeImage);
            le32(b, 0);
            le32(b, 0);
            le32(b, clrUsed);
            le32(b, 0);
            if (headerSize == 40) {
                for (auto m : masks)
                    le32(b, m);
            } else {
                for (std::size_t i = 0; i < 4; ++i)
                    le32(b, i < masks.size() ? masks[i] : 0);
                b.resize(b.size() + headerSize - 56, 0);
            }
        }
        for (auto c : palette) {
            b.push_back(static_cast<std::uint8_t>(c));
            b.push_back(static_cast<std::uint8_t>(c >> 8));
            b.push_back(static_cast<std::uint8_t>(c >> 16));
            if (headerSize != 12)
                b.push_back(0);
        }
        testbytes::append(b, bits);
        return b;
    }
};

// A single-image icon file around image (directory fields as given).
inline Bytes ico(const Bytes &image, unsigned reserved = 0, unsigned type = 1, std::uint8_t w = 32,
                 std::uint8_t h = 32)
{
    Bytes b;
    le16(b, reserved);
    le16(b, type);
    le16(b, 1);
    b.push_back(w);
    b.push_back(h);
    le16(b, 0);
    le16(b, 1);
    le16(b, 32);
    le32(b, static_cast<std::int64_t>(image.size()));
    le32(b, 22);
    testbytes::append(b, image);
    return b;
}

// A bitmap file: file header (bfOffBits as given, 0 = none) then the DIB.
inline Bytes bmp(const Bytes &dib, std::uint32_t offBits = 0)
{
    Bytes b = {'B', 'M'};
    le32(b, static_cast<std::int64_t>(14 + dib.size()));
    le32(b, 0);
    le32(b, offBits);
    testbytes::append(b, dib);
    return b;
}

// A PNG written by libpng: rows of samples as given (8 or 16 bits each, big-endian for 16).
inline Bytes png(int width, int height, int colorType, int bitDepth, const std::vector<Bytes> &rows,
                 const std::vector<png_color> &palette = {})
{
    Bytes out;
    png_structp p = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(p);
    if (setjmp(png_jmpbuf(p))) {
        png_destroy_write_struct(&p, &info);
        return {};
    }
    png_set_write_fn(
        p, &out,
        [](png_structp s, png_bytep data, png_size_t n) {
            auto *o = static_cast<Bytes *>(png_get_io_ptr(s));
            o->insert(o->end(), data, data + n);
        },
        nullptr);
    png_set_IHDR(p, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), bitDepth,
                 colorType, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (!palette.empty())
        png_set_PLTE(p, info, palette.data(), static_cast<int>(palette.size()));
    png_write_info(p, info);
    for (const auto &row : rows)
        png_write_row(p, row.data());
    png_write_end(p, nullptr);
    png_destroy_write_struct(&p, &info);
    return out;
}

} // namespace testimages

namespace testimages {

// An icon image (info header, no colour table) of 32-bit pixels 0xAARRGGBB given top row
// first, with an AND mask of 0/1 per pixel (top row first); withMask false leaves it out.
inline Bytes iconImage32(int w, int h, const std::vector<std::uint32_t> &pixels,
                         const std::vector<std::uint8_t> &mask, bool withMask = true)
{
    Dib d;
    d.width = w;
    d.height = 2 * h;
    d.bitCount = 32;
    for (int row = h - 1; row >= 0; --row)
        for (int x = 0; x < w; ++x)
            le32(d.bits, pixels[static_cast<std::size_t>(row * w + x)]);
    if (withMask) {
        const int stride = (w + 31) / 32 * 4;
        for (int row = h - 1; row >= 0; --row) {
            Bytes line(static_cast<std::size_t>(stride), 0);
            for (int x = 0; x < w; ++x)
                if (mask[static_cast<std::size_t>(row * w + x)])
                    line[static_cast<std::size_t>(x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
            testbytes::append(d.bits, line);
        }
    }
    return d.build();
}

// A uniform w x h icon image: every pixel colour, every mask bit maskBit.
inline Bytes uniformIcon32(int w, int h, std::uint32_t colour, std::uint8_t maskBit)
{
    const auto n = static_cast<std::size_t>(w * h);
    return iconImage32(w, h, std::vector<std::uint32_t>(n, colour), std::vector<std::uint8_t>(n, maskBit));
}

} // namespace testimages
