#pragma once
// Small, valid ICO images for tests, built by hand from the file layout.

#include "support/TestBytes.h"

namespace testbytes {

// A single-image 32x32 ICO in 16 colours (766 bytes): the colour index of pixel (x, y) is
// (x / 8 + y / 8 + seed) % 16; the top-left 4x4 corner is transparent in the mask (and black,
// as drawn icons are, so it leaves the background as it is). Colour i has red 0xFF when
// i & 4, green 0xFF when i & 2, blue 0xFF when i & 1, else 0x40; colour 0 is black.
inline Bytes ico16(unsigned seed)
{
    const int w = 32, h = 32;
    Bytes b;
    le16(b, 0);
    le16(b, 1);
    le16(b, 1);
    b.push_back(w);
    b.push_back(h);
    b.push_back(16);
    b.push_back(0);
    le16(b, 1);
    le16(b, 4);
    const int xorBytes = 16 * h, andBytes = 4 * h;
    le32(b, 40 + 64 + xorBytes + andBytes);
    le32(b, 22);
    // BITMAPINFOHEADER, height doubled for colour + mask.
    le32(b, 40);
    le32(b, w);
    le32(b, 2 * h);
    le16(b, 1);
    le16(b, 4);
    le32(b, 0);
    le32(b, xorBytes + andBytes);
    le32(b, 0);
    le32(b, 0);
    le32(b, 16);
    le32(b, 0);
    for (unsigned i = 0; i < 16; ++i) {
        if (i == 0) {
            le32(b, 0);
            continue;
        }
        b.push_back(static_cast<std::uint8_t>((i & 1) ? 0xff : 0x40)); // blue
        b.push_back(static_cast<std::uint8_t>((i & 2) ? 0xff : 0x40)); // green
        b.push_back(static_cast<std::uint8_t>((i & 4) ? 0xff : 0x40)); // red
        b.push_back(0);
    }
    for (int row = h - 1; row >= 0; --row) { // bottom-up
        for (int x = 0; x < w; x += 2) {
            auto colour = [&](int px) {
                return px < 4 && row < 4 ? 0u : static_cast<unsigned>(px / 8 + row / 8 + static_cast<int>(seed)) % 16;
            };
            const unsigned a = colour(x);
            const unsigned c = colour(x + 1);
            b.push_back(static_cast<std::uint8_t>((a << 4) | c));
        }
    }
    for (int row = h - 1; row >= 0; --row) {
        b.push_back(row < 4 ? 0xF0 : 0x00);
        b.push_back(0);
        b.push_back(0);
        b.push_back(0);
    }
    return b;
}

} // namespace testbytes
