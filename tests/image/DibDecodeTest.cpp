// Every header form, depth, compression and orientation a bitmap file may use, decoded to
// pixels; and the headers the reader must refuse, with the error each one gives.

#include "platform/BmpFile.h"
#include "platform/Dib.h"
#include "support/ImageBytes.h"

#include <gtest/gtest.h>

using namespace pictarium;
using testimages::Dib;

namespace {

constexpr std::uint32_t R = 0xFF0000, G = 0x00FF00, B = 0x0000FF, W = 0xFFFFFF, K = 0x000000,
                        Y = 0xFFFF00;
// The 3 x 2 picture most cases encode: top row R G B, bottom row W K Y.
const std::vector<std::uint32_t> kPicture = {R, G, B, W, K, Y};
const std::vector<std::uint32_t> kPalette = {K, R, G, B, W, Y}; // indices 0..5

std::vector<std::uint32_t> fullTable(std::vector<std::uint32_t> palette)
{
    palette.resize(256, 0x123456);
    return palette;
}

struct DecodeCase {
    const char *name;
    Dib dib;
    std::vector<std::uint32_t> expected; // 0xRRGGBB, top row first
    int width = 3;
    int height = 2;
};

Dib dib(std::int32_t h, std::uint16_t bpp, std::vector<std::uint32_t> palette, Bytes bits,
        std::uint32_t compression = 0, std::vector<std::uint32_t> masks = {}, std::uint32_t header = 40)
{
    Dib d;
    d.headerSize = header;
    d.width = 3;
    d.height = h;
    d.bitCount = bpp;
    d.palette = std::move(palette);
    d.bits = std::move(bits);
    d.compression = compression;
    d.masks = std::move(masks);
    if (compression == 1 || compression == 2)
        d.sizeImage = static_cast<std::uint32_t>(d.bits.size());
    if (header != 12 && !d.palette.empty())
        d.clrUsed = static_cast<std::uint32_t>(d.palette.size());
    return d;
}

std::vector<DecodeCase> decodeCases()
{
    std::vector<DecodeCase> cases = {
        {"Bpp1", dib(2, 1, {K, W}, {0x20, 0, 0, 0, 0xA0, 0, 0, 0}), {W, K, W, K, K, W}},
        {"Bpp4", dib(2, 4, kPalette, {0x40, 0x50, 0, 0, 0x12, 0x30, 0, 0}), kPicture},
        {"Bpp8", dib(2, 8, kPalette, {4, 0, 5, 0, 1, 2, 3, 0}), kPicture},
        {"Bpp8TopDown", dib(-2, 8, kPalette, {1, 2, 3, 0, 4, 0, 5, 0}), kPicture},
        {"Bpp24", dib(2, 24, {},
                      {0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0xFF, 0xFF, 0, 0, 0,
                       0, 0, 0xFF, 0, 0xFF, 0, 0xFF, 0, 0, 0, 0, 0}),
         kPicture},
        // The fourth byte of a bitmap file pixel is no alpha.
        {"Bpp32", dib(2, 32, {},
                      {0xFF, 0xFF, 0xFF, 0x00, 0, 0, 0, 0x7F, 0, 0xFF, 0xFF, 0x00,
                       0, 0, 0xFF, 0x00, 0, 0xFF, 0, 0x00, 0xFF, 0, 0, 0x00}),
         kPicture},
        {"Bpp16Default555", dib(2, 16, {}, {0xFF, 0x7F, 0, 0, 0xE0, 0x7F, 0, 0,
                                            0x00, 0x7C, 0xE0, 0x03, 0x1F, 0x00, 0, 0}),
         kPicture},
        {"Bpp16Bitfields565", dib(2, 16, {}, {0xFF, 0xFF, 0, 0, 0xE0, 0xFF, 0, 0,
                                              0x00, 0xF8, 0xE0, 0x07, 0x1F, 0x00, 0, 0},
                                  3, {0xF800, 0x07E0, 0x001F}),
         kPicture},
        // Masks in an unusual order: red in the low byte.
        {"Bpp32BitfieldsSwapped", dib(2, 32, {},
                                      {0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0, 0,
                                       0xFF, 0, 0, 0, 0, 0xFF, 0, 0, 0, 0, 0xFF, 0},
                                      3, {0x0000FF, 0x00FF00, 0xFF0000}),
         kPicture},
        // A core header's table always has 2^bpp entries.
        {"CoreHeader8", dib(2, 8, fullTable(kPalette), {4, 0, 5, 0, 1, 2, 3, 0}, 0, {}, 12), kPicture},
        {"V4Header24", dib(2, 24, {},
                           {0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0xFF, 0xFF, 0, 0, 0,
                            0, 0, 0xFF, 0, 0xFF, 0, 0xFF, 0, 0, 0, 0, 0},
                           0, {}, 108),
         kPicture},
        {"V5HeaderBitfields16", dib(2, 16, {}, {0xFF, 0xFF, 0, 0, 0xE0, 0xFF, 0, 0,
                                                0x00, 0xF8, 0xE0, 0x07, 0x1F, 0x00, 0, 0},
                                    3, {0xF800, 0x07E0, 0x001F, 0}, 124),
         kPicture},
        // Bottom row: literal W K Y (odd count, padded); top row: runs R G, then B.
        {"Rle8", dib(2, 8, kPalette, {0, 3, 4, 0, 5, 0, 0, 0, 1, 1, 1, 2, 1, 3, 0, 1}, 1), kPicture},
        {"Rle4", dib(2, 4, kPalette, {0, 3, 0x40, 0x50, 0, 0, 2, 0x12, 1, 0x30, 0, 1}, 2), kPicture},
        // A run past the right edge is clipped, a delta skips pixels, unwritten pixels are
        // index 0 and the stream may end without an end-of-bitmap code.
        {"Rle8ClippedRunAndDelta", dib(2, 8, kPalette, {5, 1, 0, 0, 0, 2, 2, 0, 1, 5}, 1), {K, K, Y, R, R, R}},
        // Indices past a short colour table are black.
        {"Bpp8ShortPalette", dib(2, 8, {W}, {0, 7, 0, 0, 0, 0, 0, 0}), {W, W, W, W, K, W}},
    };
    // Channel widening: 5 bits v give (v << 3) | (v >> 2), 6 bits (v << 2) | (v >> 4).
    Dib mid = dib(1, 16, {}, {0x21, 0x08, 0x10, 0x84, 0, 0, 0, 0}, 3, {0xF800, 0x07E0, 0x001F});
    mid.width = 2;
    cases.push_back({"Bpp16ChannelWidening", mid, {0x080408, 0x848284}, 2, 1});
    return cases;
}

class DibDecode : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(DibDecode, BitmapFileGivesExpectedPixels)
{
    const auto &c = GetParam();
    auto result = decodeBitmapFile(ByteView(testimages::bmp(c.dib.build())));
    ASSERT_TRUE(std::holds_alternative<Bitmap>(result));
    const auto &picture = std::get<Bitmap>(result);
    ASSERT_EQ(picture.width, c.width);
    ASSERT_EQ(picture.height, c.height);
    std::vector<std::uint32_t> expected;
    for (auto p : c.expected)
        expected.push_back(0xFF000000u | p);
    EXPECT_EQ(picture.pixels, expected);
}

INSTANTIATE_TEST_SUITE_P(Forms, DibDecode, ::testing::ValuesIn(decodeCases()),
                         [](const auto &p) { return std::string(p.param.name); });

TEST(DibDecode, PixelsStartAtFileOffsetWhenGiven)
{
    Dib d = dib(2, 8, kPalette, {});
    Bytes file = testimages::bmp(d.build(), 0);
    const std::uint32_t offBits = static_cast<std::uint32_t>(file.size()) + 10;
    file = testimages::bmp(d.build(), offBits);
    file.resize(offBits, 0xEE); // a gap of junk before the pixels
    testbytes::append(file, Bytes{4, 0, 5, 0, 1, 2, 3, 0});
    auto result = decodeBitmapFile(ByteView(file));
    ASSERT_TRUE(std::holds_alternative<Bitmap>(result));
    EXPECT_EQ(std::get<Bitmap>(result).at(0, 0), 0xFFFF0000u);
    EXPECT_EQ(std::get<Bitmap>(result).at(2, 1), 0xFFFFFF00u);
}

struct RejectCase {
    const char *name;
    Bytes file;
    BmpError error;
};

Bytes fileOf(Dib d) { return testimages::bmp(d.build()); }

template <typename F> Bytes fileWith(F change)
{
    Dib d = dib(2, 8, kPalette, {4, 0, 5, 0, 1, 2, 3, 0});
    change(d);
    return fileOf(d);
}

std::vector<RejectCase> rejectCases()
{
    Bytes text = testbytes::str("this is plain text, not a bitmap at all");
    Bytes truncatedPixels = fileWith([](Dib &) {});
    truncatedPixels.pop_back();
    Bytes truncatedTable = fileWith([](Dib &d) { d.bits.clear(); });
    truncatedTable.resize(truncatedTable.size() - 3);
    Bytes truncatedHeader = fileWith([](Dib &) {});
    truncatedHeader.resize(14 + 20);
    Bytes bitfieldsMasksCut = fileOf(dib(2, 16, {}, {}, 3, {0xF800}));
    return {
        {"ShortFile", Bytes{'B', 'M', 1, 2, 3}, BmpError::ReadError},
        {"ThirteenBytes", Bytes(13, 'B'), BmpError::ReadError},
        {"NotBM", text, BmpError::Invalid},
        {"HeaderSize41", fileWith([](Dib &d) { d.headerSize = 41; }), BmpError::Invalid},
        {"HeaderSize64", fileWith([](Dib &d) { d.headerSize = 64; }), BmpError::Invalid},
        {"ZeroWidth", fileWith([](Dib &d) { d.width = 0; }), BmpError::Invalid},
        {"NegativeWidth", fileWith([](Dib &d) { d.width = -3; }), BmpError::Invalid},
        {"ZeroHeight", fileWith([](Dib &d) { d.height = 0; }), BmpError::Invalid},
        {"ZeroPlanes", fileWith([](Dib &d) { d.planes = 0; }), BmpError::Invalid},
        {"Depth2", fileWith([](Dib &d) { d.bitCount = 2; }), BmpError::Invalid},
        {"Rle8At4Bpp", fileWith([](Dib &d) { d.compression = 1; d.bitCount = 4; }), BmpError::Invalid},
        {"Rle4At8Bpp", fileWith([](Dib &d) { d.compression = 2; }), BmpError::Invalid},
        {"RleTopDown", fileWith([](Dib &d) { d.compression = 1; d.height = -2; }), BmpError::Invalid},
        {"BitfieldsAt24", fileOf(dib(2, 24, {}, Bytes(24), 3, {0xFF0000, 0xFF00, 0xFF})), BmpError::Invalid},
        {"BitfieldsAllZero", fileOf(dib(2, 16, {}, Bytes(16), 3, {0, 0, 0})), BmpError::Invalid},
        {"JpegCompression", fileWith([](Dib &d) { d.compression = 4; }), BmpError::Invalid},
        {"WidthOverLimit", fileWith([](Dib &d) { d.width = 65536; }), BmpError::Invalid},
        {"HeightOverLimit", fileWith([](Dib &d) { d.height = -65536; }), BmpError::Invalid},
        // A hostile header asking for 60000 x 60000 pixels is refused before any allocation.
        {"PixelsOverLimit", fileWith([](Dib &d) { d.width = 60000; d.height = 60000; }), BmpError::Invalid},
        {"CoreDepth16", fileOf(dib(2, 16, {}, Bytes(16), 0, {}, 12)), BmpError::Invalid},
        {"HeaderCut", truncatedHeader, BmpError::ReadError},
        {"ColourTableCut", truncatedTable, BmpError::ReadError},
        {"BitfieldMasksCut", bitfieldsMasksCut, BmpError::ReadError},
        {"PixelsCut", truncatedPixels, BmpError::ReadError},
        {"HugeColourTable", fileWith([](Dib &d) { d.clrUsed = 0x40000000; }), BmpError::ReadError},
        {"OffBitsPastEnd", testimages::bmp(dib(2, 8, kPalette, {4, 0, 5, 0, 1, 2, 3, 0}).build(), 5000),
         BmpError::ReadError},
    };
}

class DibReject : public ::testing::TestWithParam<RejectCase> {};

TEST_P(DibReject, BitmapFileGivesError)
{
    const auto &c = GetParam();
    auto result = decodeBitmapFile(ByteView(c.file));
    ASSERT_TRUE(std::holds_alternative<BmpError>(result));
    EXPECT_EQ(std::get<BmpError>(result), c.error);
}

INSTANTIATE_TEST_SUITE_P(Headers, DibReject, ::testing::ValuesIn(rejectCases()),
                         [](const auto &p) { return std::string(p.param.name); });

TEST(DibDecode, EmptyFileIsZeroByZeroPicture)
{
    auto result = decodeBitmapFile(ByteView());
    ASSERT_TRUE(std::holds_alternative<Bitmap>(result));
    EXPECT_EQ(std::get<Bitmap>(result).width, 0);
    EXPECT_EQ(std::get<Bitmap>(result).height, 0);
}

TEST(DibEncode, FourBitRowsAreBottomUpHighNibbleFirstAndPadded)
{
    Bitmap image(3, 2);
    image.pixels = {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu, 0xFFFFFFFFu, 0xFF000000u, 0xFFFFFF00u};
    // VGA indices: red 9, green 10, blue 12, white 15, black 0, yellow 11.
    EXPECT_EQ(encodeDibBits4(image), (Bytes{0xF0, 0xB0, 0, 0, 0x9A, 0xC0, 0, 0}));
    const std::vector<std::uint8_t> mask = {1, 0, 1, 0, 0, 1};
    EXPECT_EQ(encodeMaskBits(mask, 3, 2), (Bytes{0x20, 0, 0, 0, 0xA0, 0, 0, 0}));
}

} // namespace
