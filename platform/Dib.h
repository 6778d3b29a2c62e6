#pragma once
// Device-independent bitmaps: the header forms (core 12, info 40, V4 108, V5 124), every
// depth and compression the platform reads, and the 4-bit and 1-bit forms we write.
// One decoder serves icon images and bitmap files; each caller states what it accepts.

#include "platform/Bitmap.h"
#include "platform/Bytes.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace pictarium {

enum class DibCompression : std::uint32_t { Rgb = 0, Rle8 = 1, Rle4 = 2, Bitfields = 3 };

// What a caller accepts beyond the common rules.
struct DibRules {
    bool allowV4V5 = true;       // 108/124-byte headers
    bool allowRle = true;        // BI_RLE4 / BI_RLE8
    bool allowTopDown = true;    // negative height
    bool heightIncludesMask = false; // icon images: stored height = 2 x picture height
    bool requirePlanes = true;   // planes != 0
    bool limitColorsUsed = false; // more than 256 table entries is no image
};

// Icon images as the icon maker takes them (planes are not looked at).
inline constexpr DibRules kIconImageRules{.allowV4V5 = false,
                                          .allowRle = false,
                                          .allowTopDown = false,
                                          .heightIncludesMask = true,
                                          .requirePlanes = false,
                                          .limitColorsUsed = true};
// Bitmap files as the bitmap reader takes them.
inline constexpr DibRules kBitmapFileRules{};

// A parsed header and colour table. Offsets are into the view given to parseDib.
struct DibInfo {
    std::uint32_t headerSize = 0;
    int width = 0;
    int height = 0; // picture rows (halved for icon images), always positive
    bool topDown = false;
    std::uint16_t planes = 0;
    std::uint16_t bitCount = 0;
    DibCompression compression = DibCompression::Rgb;
    std::uint32_t masks[3] = {0, 0, 0}; // red, green, blue, for 16 and 32 bpp
    std::vector<std::uint32_t> palette; // opaque 0xFFRRGGBB entries
    std::size_t paletteBytes = 0;       // bytes the stored colour table takes
    std::size_t bitsOffset = 0;         // where pixels start in a packed DIB (header + masks + table)
    std::uint32_t sizeImage = 0;        // as stored (compressed size for RLE)
};

enum class DibError {
    Invalid,   // not a header the rules accept, or over kLimits
    Truncated, // the header, its masks or its colour table run past the end
};

// Header and colour table of a DIB at the start of dib; nothing when the header is not one
// the rules accept, is damaged, exceeds kLimits, or the colour table does not fit (why, when
// given, says which).
std::optional<DibInfo> parseDib(ByteView dib, const DibRules &rules, DibError *why = nullptr);

// Bytes the pixel rows of info take uncompressed (stride x rows); nothing on overflow.
std::optional<std::size_t> dibPixelBytes(const DibInfo &info);

// Decodes the pixels in bits (starting with the first stored row). Nothing when bits is too
// short for an uncompressed image. 32-bit BI_RGB keeps the stored top byte as alpha; every
// other form is opaque. RLE streams that end early leave index 0 in the pixels not written.
std::optional<Bitmap> decodeDibPixels(const DibInfo &info, ByteView bits);

// 1-bit rows (stride(w,1) x h, stored order per topDown) into 0/1 per pixel, top row first.
std::optional<std::vector<std::uint8_t>> decodeMaskBits(ByteView bits, int width, int height,
                                                        bool topDown);

// The standard 16-colour VGA palette as opaque pixels, and the nearest entry of it.
const std::array<std::uint32_t, 16> &vgaPalette();
int nearestVgaIndex(std::uint32_t pixel);

// Bottom-up 4-bit rows of the nearest VGA indices (left pixel in the high nibble).
Bytes encodeDibBits4(const Bitmap &image);
// Bottom-up 1-bit rows of a 0/1 mask (leftmost pixel in the most significant bit).
Bytes encodeMaskBits(const std::vector<std::uint8_t> &mask, int width, int height);

} // namespace pictarium
