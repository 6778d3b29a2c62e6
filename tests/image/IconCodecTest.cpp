// Stored icon images: what IconFromEntry accepts and refuses, and the exact bytes of the
// 16-colour ICO form that EncodeIconAsIco writes.

#include "library/IconCodec.h"
#include "support/ImageBytes.h"

#include <gtest/gtest.h>

using namespace pictarium;
using testbytes::le16;
using testbytes::le32;
using testimages::Dib;

namespace {

// The VGA colour table as stored: blue, green, red, 0.
const Bytes kVgaTable = {
    0, 0, 0, 0,   0, 0, 128, 0,   0, 128, 0, 0,   0, 128, 128, 0,
    128, 0, 0, 0, 128, 0, 128, 0, 128, 128, 0, 0, 128, 128, 128, 0,
    192, 192, 192, 0, 0, 0, 255, 0, 0, 255, 0, 0, 0, 255, 255, 0,
    255, 0, 0, 0, 255, 0, 255, 0, 255, 255, 0, 0, 255, 255, 255, 0};

// A 16-colour ICO in the stored form, built by hand: indices and mask bits top row first.
Bytes storedIco(int w, int h, const std::vector<int> &indices, const std::vector<int> &mask)
{
    const int colorStride = (w * 4 + 31) / 32 * 4;
    const int maskStride = (w + 31) / 32 * 4;
    const int c = colorStride * h;
    const int m = maskStride * h;
    Bytes b;
    le16(b, 0);
    le16(b, 1);
    le16(b, 1);
    b.push_back(static_cast<std::uint8_t>(w));
    b.push_back(static_cast<std::uint8_t>(h));
    le16(b, 4);
    le16(b, 0);
    le16(b, 0);
    le32(b, 104 + c + m);
    le32(b, 22);
    le32(b, 40);
    le32(b, w);
    le32(b, 2 * h);
    le16(b, 1);
    le16(b, 4);
    le32(b, 0);
    le32(b, c);
    le32(b, 0);
    le32(b, 0);
    le32(b, 16);
    le32(b, 0);
    testbytes::append(b, kVgaTable);
    for (int row = h - 1; row >= 0; --row) {
        Bytes line(static_cast<std::size_t>(colorStride), 0);
        for (int x = 0; x < w; ++x)
            line[static_cast<std::size_t>(x / 2)] |=
                static_cast<std::uint8_t>(indices[static_cast<std::size_t>(row * w + x)] << (x % 2 ? 0 : 4));
        testbytes::append(b, line);
    }
    for (int row = h - 1; row >= 0; --row) {
        Bytes line(static_cast<std::size_t>(maskStride), 0);
        for (int x = 0; x < w; ++x)
            if (mask[static_cast<std::size_t>(row * w + x)])
                line[static_cast<std::size_t>(x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        testbytes::append(b, line);
    }
    return b;
}

Bytes patternedIco(int side)
{
    std::vector<int> indices;
    std::vector<int> mask;
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            indices.push_back((x + 3 * y) % 16);
            mask.push_back((x * y + x) % 3 == 0 ? 1 : 0); // colour under transparent bits kept
        }
    return storedIco(side, side, indices, mask);
}

TEST(EncodeIconAsIco, VgaIconRoundTripsExactly)
{
    for (int side : {32, 16, 24, 48}) {
        SCOPED_TRACE(side);
        const Bytes stored = patternedIco(side);
        auto icon = IconFromEntry(stored);
        ASSERT_TRUE(icon);
        auto encoded = EncodeIconAsIco(*icon);
        ASSERT_TRUE(encoded);
        EXPECT_EQ(*encoded, stored);
    }
}

TEST(EncodeIconAsIco, SizesAndHeaderBytes)
{
    auto icon32 = IconFromEntry(patternedIco(32));
    ASSERT_TRUE(icon32);
    auto bytes32 = EncodeIconAsIco(*icon32);
    ASSERT_TRUE(bytes32);
    ASSERT_EQ(bytes32->size(), 766u);
    const Bytes header32 = {0x00, 0x00, 0x01, 0x00, 0x01, 0x00, 0x20, 0x20, 0x04, 0x00, 0x00, 0x00,
                            0x00, 0x00, 0xE8, 0x02, 0x00, 0x00, 0x16, 0x00, 0x00, 0x00, 0x28, 0x00,
                            0x00, 0x00, 0x20, 0x00, 0x00, 0x00, 0x40, 0x00, 0x00, 0x00, 0x01, 0x00,
                            0x04, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00};
    EXPECT_EQ(Bytes(bytes32->begin(), bytes32->begin() + 46), header32);
    EXPECT_EQ(Bytes(bytes32->begin() + 62, bytes32->begin() + 126), kVgaTable);

    auto icon16 = IconFromEntry(patternedIco(16));
    ASSERT_TRUE(icon16);
    auto bytes16 = EncodeIconAsIco(*icon16);
    ASSERT_TRUE(bytes16);
    ASSERT_EQ(bytes16->size(), 318u);
    EXPECT_EQ(Bytes(bytes16->begin() + 14, bytes16->begin() + 18), (Bytes{0x28, 0x01, 0, 0}));
    EXPECT_EQ(Bytes(bytes16->begin() + 42, bytes16->begin() + 46), (Bytes{128, 0, 0, 0}));
}

TEST(EncodeIconAsIco, TrueColourIsReducedToNearestAndMaskKept)
{
    // 24-bit 32 x 32: light grey everywhere but a dark red top-left pixel; mask only there.
    Dib d;
    d.width = 32;
    d.height = 64;
    d.bitCount = 24;
    for (int row = 31; row >= 0; --row)
        for (int x = 0; x < 32; ++x) {
            const bool corner = row == 0 && x == 0;
            d.bits.push_back(corner ? 10 : 200);  // blue
            d.bits.push_back(corner ? 10 : 200);  // green
            d.bits.push_back(corner ? 140 : 200); // red
        }
    for (int row = 31; row >= 0; --row)
        testbytes::append(d.bits, Bytes{static_cast<std::uint8_t>(row == 0 ? 0x80 : 0), 0, 0, 0});
    auto icon = IconFromEntry(testimages::ico(d.build()));
    ASSERT_TRUE(icon);
    auto bytes = EncodeIconAsIco(*icon);
    ASSERT_TRUE(bytes);
    ASSERT_EQ(bytes->size(), 766u);
    // Top row is stored last among the colour rows: its first byte holds index 1 then 8.
    EXPECT_EQ((*bytes)[126 + 31 * 16], 0x18);
    EXPECT_EQ((*bytes)[126], 0x88);
    EXPECT_EQ((*bytes)[126 + 512 + 31 * 4], 0x80);
    EXPECT_EQ((*bytes)[126 + 512], 0x00);
}

TEST(EncodeIconAsIco, ModuleIconAskedAtThirtyTwoIsScaledFirst)
{
    const Bytes stored = patternedIco(16);
    auto scaled = createIconFromResource(ByteSpan(stored).subspan(22), 32, 32);
    ASSERT_TRUE(scaled);
    auto bytes = EncodeIconAsIco(*scaled);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(bytes->size(), 766u);
}

TEST(EncodeIconAsIco, RefusesIconsWithoutColourImageOrTooLarge)
{
    Dib mono;
    mono.width = 32;
    mono.height = 64;
    mono.bitCount = 1;
    mono.palette = {0x000000, 0xFFFFFF};
    mono.bits.assign(2 * 32 * 4, 0x5A);
    auto icon = IconFromEntry(testimages::ico(mono.build()));
    ASSERT_TRUE(icon);
    EXPECT_FALSE(EncodeIconAsIco(*icon));

    Icon wide;
    wide.width = 257;
    wide.height = 1;
    wide.image = Bitmap(257, 1);
    wide.mask.assign(257, 0);
    EXPECT_FALSE(EncodeIconAsIco(wide));
    EXPECT_FALSE(EncodeIconAsIco(Icon{}));
}

struct EntryCase {
    const char *name;
    Bytes entry;
};

Bytes withU16(Bytes b, std::size_t at, unsigned v)
{
    b[at] = static_cast<std::uint8_t>(v);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
    return b;
}
Bytes withU32(Bytes b, std::size_t at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
    return b;
}

std::vector<EntryCase> refusedEntries()
{
    const Bytes good = patternedIco(16);
    Dib v4;
    v4.headerSize = 108;
    v4.width = 16;
    v4.height = 32;
    v4.bitCount = 24;
    v4.bits.assign(16 * 48 + 16 * 4, 0);
    Dib rle;
    rle.width = 16;
    rle.height = 32;
    rle.bitCount = 8;
    rle.compression = 1;
    rle.palette.assign(256, 0);
    rle.bits = {0, 1};
    Bytes truncatedColour = good;
    truncatedColour.resize(126 + 100);
    return {
        {"Empty", {}},
        {"CursorType", withU16(good, 2, 2)},
        {"ReservedNotZero", withU16(good, 0, 1)},
        {"ShorterThanDirectoryEntry", Bytes(good.begin(), good.begin() + 21)},
        {"OffsetPastEnd", withU32(good, 18, static_cast<std::uint32_t>(good.size()))},
        {"LengthPastEnd", withU32(good, 14, static_cast<std::uint32_t>(good.size()))},
        {"OffsetPlusLengthWraps", withU32(withU32(good, 18, 0xFFFFFFF0u), 14, 0x20)},
        {"ImageTooShortForHeader", withU32(good, 14, 11)},
        {"ImageCutBeforeColourEnds", withU32(good, 14, 104 + 50)},
        {"ColourDataMissing", withU32(truncatedColour, 14, 204)},
        {"V4Header", testimages::ico(v4.build())},
        {"Rle8", testimages::ico(rle.build())},
        {"NoImageAtAll", testimages::ico(testbytes::str("not an icon image, just text"))},
    };
}

class IconFromEntryRefuses : public ::testing::TestWithParam<EntryCase> {};

TEST_P(IconFromEntryRefuses, GivesNoIcon)
{
    // An exactly sized copy, so a read past the entry would leave its allocation.
    const Bytes entry = GetParam().entry;
    EXPECT_FALSE(IconFromEntry(entry));
}

INSTANTIATE_TEST_SUITE_P(Entries, IconFromEntryRefuses, ::testing::ValuesIn(refusedEntries()),
                         [](const auto &p) { return std::string(p.param.name); });

TEST(IconFromEntry, OnlyFirstDirectoryEntryCountsAndImageCountIsNotRead)
{
    const Bytes small = patternedIco(16);
    const Bytes large = patternedIco(32);
    const Bytes smallImage(small.begin() + 22, small.end());
    const Bytes largeImage(large.begin() + 22, large.end());
    Bytes two;
    le16(two, 0);
    le16(two, 1);
    le16(two, 0); // image count claims none
    const std::size_t first = 6 + 2 * 16;
    Bytes dirSmall(large.begin() + 6, large.begin() + 22); // reuse a well-formed entry's fields
    dirSmall = withU32(withU32(dirSmall, 8, static_cast<std::uint32_t>(smallImage.size())), 12,
                       static_cast<std::uint32_t>(first + largeImage.size()));
    Bytes dirLarge = withU32(withU32(Bytes(large.begin() + 6, large.begin() + 22), 8,
                                     static_cast<std::uint32_t>(largeImage.size())),
                             12, static_cast<std::uint32_t>(first));
    testbytes::append(two, dirSmall);
    testbytes::append(two, dirLarge);
    testbytes::append(two, largeImage);
    testbytes::append(two, smallImage);
    auto icon = IconFromEntry(two);
    ASSERT_TRUE(icon);
    EXPECT_EQ(icon->width, 16);
    EXPECT_EQ(icon->height, 16);
}

TEST(IconFromEntry, ImageMayEndBeforeEntryDoes)
{
    Bytes padded = patternedIco(16);
    padded.resize(padded.size() + 40, 0xCC);
    auto icon = IconFromEntry(padded);
    ASSERT_TRUE(icon);
    auto bytes = EncodeIconAsIco(*icon);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(*bytes, patternedIco(16));
}

} // namespace
