// Icons made from icon images (DIB and PNG), scaled, drawn at the system icon size and read
// back: the rules the platform's icon services follow.

#include "platform/Icon.h"
#include "platform/Limits.h"
#include "support/ImageBytes.h"

#include <gtest/gtest.h>

using namespace pictarium;
using testimages::Dib;

namespace {

std::uint32_t coordColour(int x, int y) { return rgb(static_cast<unsigned>(x), static_cast<unsigned>(y), 0x55); }

// A w x h icon image whose pixel (x, y) is rgb(x, y, 0x55), mask bit set where mask(x, y).
template <typename MaskFn> Bytes coordIcon(int w, int h, MaskFn mask)
{
    std::vector<std::uint32_t> pixels;
    std::vector<std::uint8_t> bits;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            pixels.push_back(coordColour(x, y) & 0x00FFFFFFu);
            bits.push_back(mask(x, y) ? 1 : 0);
        }
    return testimages::iconImage32(w, h, pixels, bits);
}

Bytes coordIcon(int w, int h) { return coordIcon(w, h, [](int, int) { return false; }); }

TEST(CreateIcon, DibIconHasPictureHalfTheStoredHeightAndItsMask)
{
    const Bytes image = coordIcon(3, 2, [](int x, int y) { return x == 2 && y == 0; });
    auto icon = createIconFromResource(image, 0, 0);
    ASSERT_TRUE(icon);
    EXPECT_EQ(icon->width, 3);
    EXPECT_EQ(icon->height, 2);
    EXPECT_FALSE(icon->hasAlpha);
    EXPECT_FALSE(icon->monochrome);
    ASSERT_NE(icon->color(), nullptr);
    EXPECT_EQ(icon->image.at(1, 0), coordColour(1, 0));
    EXPECT_EQ(icon->image.at(2, 1), coordColour(2, 1));
    EXPECT_EQ(icon->mask, (std::vector<std::uint8_t>{0, 0, 1, 0, 0, 0}));
}

TEST(CreateIcon, MaskThatDoesNotFitWholeCountsAsAbsent)
{
    Bytes image = coordIcon(3, 2, [](int, int) { return true; });
    image.pop_back(); // the mask is one byte short
    auto icon = createIconFromResource(image, 0, 0);
    ASSERT_TRUE(icon);
    EXPECT_EQ(icon->mask, std::vector<std::uint8_t>(6, 0));
}

TEST(CreateIcon, ColourDataTooShortGivesNoIcon)
{
    Bytes image = testimages::iconImage32(3, 2, std::vector<std::uint32_t>(6, 0), {}, false);
    image.pop_back();
    EXPECT_FALSE(createIconFromResource(image, 0, 0));
}

struct MonoCase {
    const char *name;
    std::vector<std::uint32_t> palette;
    bool monochrome;
};

class MonochromeRule : public ::testing::TestWithParam<MonoCase> {};

TEST_P(MonochromeRule, OnlyBlackWhitePaletteMakesMonochromeIcon)
{
    Dib d;
    d.width = 8;
    d.height = 2;
    d.bitCount = 1;
    d.palette = GetParam().palette;
    d.bits = {0xF0, 0, 0, 0, 0x0F, 0, 0, 0}; // colour row, then mask row
    auto icon = createIconFromResource(d.build(), 0, 0);
    ASSERT_TRUE(icon);
    EXPECT_EQ(icon->monochrome, GetParam().monochrome);
    EXPECT_EQ(icon->color() == nullptr, GetParam().monochrome);
    // The XOR bits still draw: mask 1 pixels keep the background, mask 0 pixels show the bit.
    Bitmap target(32, 32, rgb(0, 0, 255));
    drawIcon(target, 0, 0, *icon);
    const std::uint32_t first = GetParam().palette[1] | 0xFF000000u;
    EXPECT_EQ(target.at(0, 0), first);
    EXPECT_EQ(target.at(31, 0), rgb(0, 0, 255) ^ (GetParam().palette[0] & 0xFFFFFF));
}

INSTANTIATE_TEST_SUITE_P(Palettes, MonochromeRule,
                         ::testing::Values(MonoCase{"BlackWhite", {0x000000, 0xFFFFFF}, true},
                                           MonoCase{"WhiteBlack", {0xFFFFFF, 0x000000}, false},
                                           MonoCase{"BlackRed", {0x000000, 0xFF0000}, false}),
                         [](const auto &p) { return std::string(p.param.name); });

TEST(CreateIcon, AlphaIconGetsMaskFromAlphaWhenItHasNone)
{
    const std::vector<std::uint32_t> pixels = {0xFF102030, 0x80102030, 0x00102030, 0x01102030};
    auto icon = createIconFromResource(testimages::iconImage32(2, 2, pixels, {}, false), 0, 0);
    ASSERT_TRUE(icon);
    EXPECT_TRUE(icon->hasAlpha);
    EXPECT_EQ(icon->mask, (std::vector<std::uint8_t>{0, 1, 1, 1}));
    // Colours stay straight, not premultiplied.
    EXPECT_EQ(icon->image.pixels, pixels);
}

TEST(CreateIcon, ThirtyTwoBitIconWithoutAlphaUsesItsMask)
{
    const std::vector<std::uint32_t> pixels = {0x00102030, 0x00405060, 0x00708090, 0x00A0B0C0};
    auto icon = createIconFromResource(testimages::iconImage32(2, 2, pixels, {1, 0, 0, 1}), 0, 0);
    ASSERT_TRUE(icon);
    EXPECT_FALSE(icon->hasAlpha);
    EXPECT_EQ(icon->mask, (std::vector<std::uint8_t>{1, 0, 0, 1}));
    EXPECT_EQ(icon->image.at(1, 1), rgb(0xA0, 0xB0, 0xC0));
}

struct RefuseCase {
    const char *name;
    Dib dib;
};

Dib plainIcon()
{
    Dib d;
    d.width = 8;
    d.height = 16;
    d.bitCount = 4;
    d.palette.assign(16, 0);
    d.bits.assign(8 * 4 + 8 * 4, 0);
    return d;
}

template <typename F> Dib changed(F f)
{
    Dib d = plainIcon();
    f(d);
    return d;
}

class IconRefuses : public ::testing::TestWithParam<RefuseCase> {};

TEST_P(IconRefuses, ImageGivesNoIcon) { EXPECT_FALSE(createIconFromResource(GetParam().dib.build(), 0, 0)); }

INSTANTIATE_TEST_SUITE_P(
    Headers, IconRefuses,
    ::testing::Values(RefuseCase{"V4Header", changed([](Dib &d) { d.headerSize = 108; })},
                      RefuseCase{"V5Header", changed([](Dib &d) { d.headerSize = 124; })},
                      RefuseCase{"Rle4", changed([](Dib &d) { d.compression = 2; })},
                      RefuseCase{"Rle8", changed([](Dib &d) { d.compression = 1; d.bitCount = 8; d.palette.assign(256, 0); })},
                      RefuseCase{"TooManyColours", changed([](Dib &d) { d.clrUsed = 257; })},
                      RefuseCase{"HeightOneRow", changed([](Dib &d) { d.height = 1; })},
                      RefuseCase{"ZeroWidth", changed([](Dib &d) { d.width = 0; })},
                      RefuseCase{"TopDown", changed([](Dib &d) { d.height = -16; })},
                      RefuseCase{"OddHeaderSize", changed([](Dib &d) { d.headerSize = 44; })},
                      RefuseCase{"PaletteCut", changed([](Dib &d) { d.bits.clear(); d.palette.resize(10); })}),
    [](const auto &p) { return std::string(p.param.name); });

TEST(CreateIcon, PngFormsExpandToEightBitRgba)
{
    using testimages::png;
    struct Case {
        const char *name;
        Bytes data;
        std::vector<std::uint32_t> pixels;
        bool alpha;
    };
    const std::vector<Case> cases = {
        {"Rgba", png(2, 1, PNG_COLOR_TYPE_RGBA, 8, {{10, 20, 30, 255, 40, 50, 60, 128}}),
         {0xFF0A141E, 0x8028323C}, true},
        {"Rgb", png(2, 1, PNG_COLOR_TYPE_RGB, 8, {{10, 20, 30, 40, 50, 60}}), {0xFF0A141E, 0xFF28323C}, false},
        {"Rgb16", png(1, 1, PNG_COLOR_TYPE_RGB, 16, {{0x12, 0x34, 0xAB, 0xCD, 0xFF, 0xFF}}), {0xFF12ABFF}, false},
        {"Grey4", png(2, 1, PNG_COLOR_TYPE_GRAY, 4, {{0xF0}}), {0xFFFFFFFF, 0xFF000000}, false},
        {"Palette", png(2, 1, PNG_COLOR_TYPE_PALETTE, 8, {{1, 0}}, {{1, 2, 3}, {200, 100, 50}}),
         {0xFFC86432, 0xFF010203}, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_FALSE(c.data.empty());
        auto icon = createIconFromResource(c.data, 0, 0);
        ASSERT_TRUE(icon);
        EXPECT_EQ(icon->hasAlpha, c.alpha);
        const std::vector<std::uint32_t> &expected = c.pixels;
        EXPECT_EQ(icon->image.pixels, expected);
        for (std::size_t i = 0; i < expected.size(); ++i)
            EXPECT_EQ(icon->mask[i], alphaOf(expected[i]) != 255 ? 1 : 0);
    }
}

TEST(CreateIcon, DamagedPngGivesNoIcon)
{
    Bytes data = testimages::png(4, 4, PNG_COLOR_TYPE_RGB, 8, std::vector<Bytes>(4, Bytes(12, 7)));
    ASSERT_FALSE(data.empty());
    for (std::size_t cut : {8u, 20u, 33u, 40u}) {
        Bytes shorter(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(cut));
        EXPECT_FALSE(createIconFromResource(shorter, 0, 0)) << cut;
    }
    Bytes corrupt = data;
    corrupt[20] ^= 0xFF; // inside IHDR: the checksum no longer matches
    EXPECT_FALSE(createIconFromResource(corrupt, 0, 0));
}

TEST(CreateIcon, PngWiderThanIconLimitIsRefused)
{
    const auto atLimit = static_cast<int>(kLimits.maxPngIconSide);
    for (int width : {atLimit, atLimit + 1}) {
        const Bytes data = testimages::png(width, 1, PNG_COLOR_TYPE_GRAY, 8,
                                           {Bytes(static_cast<std::size_t>(width), 9)});
        ASSERT_FALSE(data.empty());
        EXPECT_EQ(createIconFromResource(data, 0, 0).has_value(), width == atLimit) << width;
    }
}

TEST(ScaleIcon, EnlargingRepeatsPixelsAndShrinkingAndsEachGroup)
{
    // 16 -> 32: every pixel becomes a 2 x 2 block.
    auto small = createIconFromResource(coordIcon(16, 16, [](int x, int y) { return x == 3 && y == 5; }), 32, 32);
    ASSERT_TRUE(small);
    ASSERT_EQ(small->width, 32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            EXPECT_EQ(small->image.at(x, y), coordColour(x / 2, y / 2));
            EXPECT_EQ(small->mask[static_cast<std::size_t>(y * 32 + x)], (x / 2 == 3 && y / 2 == 5) ? 1 : 0);
        }
    // 64 -> 32: colour (2d | 2d+1 ...) ANDs to 2d; a mask bit survives only if the whole group is set.
    auto large = createIconFromResource(coordIcon(64, 64, [](int x, int y) { return x < 2 && (y < 2 || y == 5); }), 32, 32);
    ASSERT_TRUE(large);
    ASSERT_EQ(large->height, 32);
    EXPECT_EQ(large->image.at(5, 7), coordColour(10, 14));
    EXPECT_EQ(large->image.at(31, 31), coordColour(62, 62));
    EXPECT_EQ(large->mask[0], 1);
    EXPECT_EQ(large->mask[2 * 32], 0); // rows 4 and 5: only one set
    EXPECT_EQ(large->mask[1], 0);
}

TEST(ScaleIcon, ShrinkingByUnevenRatioGroupsByCentre)
{
    // 3 -> 2 wide: sources 0 -> 0, 1 -> 0, 2 -> 1.  1 -> 3 tall: centre sampling repeats.
    Icon icon;
    icon.width = 3;
    icon.height = 1;
    icon.image = Bitmap(3, 1);
    icon.image.pixels = {0xFF0F0F0F, 0xFF0000FF, 0xFFABCDEF};
    icon.mask = {1, 1, 0};
    const Icon out = scaleIcon(icon, 2, 3);
    EXPECT_EQ(out.image.pixels, (std::vector<std::uint32_t>{0xFF00000F, 0xFFABCDEF, 0xFF00000F, 0xFFABCDEF,
                                                           0xFF00000F, 0xFFABCDEF}));
    EXPECT_EQ(out.mask, (std::vector<std::uint8_t>{1, 0, 1, 0, 1, 0}));
}

struct DrawCase {
    const char *name;
    std::uint32_t colour; // as stored: 0xAARRGGBB
    std::uint8_t maskBit;
    std::uint32_t background;
    std::uint32_t expected;
};

class DrawPixel : public ::testing::TestWithParam<DrawCase> {};

TEST_P(DrawPixel, MatchesPlatform)
{
    const auto &c = GetParam();
    auto icon = createIconFromResource(testimages::uniformIcon32(32, 32, c.colour, c.maskBit), 0, 0);
    ASSERT_TRUE(icon);
    Bitmap target(32, 32, c.background);
    drawIcon(target, 0, 0, *icon);
    EXPECT_EQ(target.at(0, 0), c.expected);
    EXPECT_EQ(target.at(31, 31), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, DrawPixel,
    ::testing::Values(DrawCase{"Mask0ShowsColour", 0x00A0B0C0, 0, rgb(255, 255, 255), rgb(160, 176, 192)},
                      DrawCase{"Mask1InvertsByColour", 0x00A0B0C0, 1, rgb(255, 255, 255), rgb(95, 79, 63)},
                      DrawCase{"Mask1BlackKeepsBackground", 0x00000000, 1, rgb(12, 34, 56), rgb(12, 34, 56)},
                      DrawCase{"AlphaHalfOverBlack", 0x80A0B0C0, 0, rgb(0, 0, 0), rgb(80, 88, 96)},
                      DrawCase{"AlphaHalfOverWhite", 0x80A0B0C0, 0, rgb(255, 255, 255), rgb(207, 215, 223)},
                      DrawCase{"AlphaIgnoresMask", 0x80A0B0C0, 1, rgb(0, 0, 0), rgb(80, 88, 96)},
                      DrawCase{"AlphaOpaque", 0xFFA0B0C0, 0, rgb(1, 2, 3), rgb(160, 176, 192)}),
    [](const auto &p) { return std::string(p.param.name); });

TEST(DrawIcon, AlwaysCoversThirtyTwoSquareWithDeleteScans)
{
    struct Case {
        int side;
        // expected source column and row for destination 0, 1, 2, 3
        int columns[4];
        int rows[4];
        int lastColumn, lastRow; // for destination 31
    };
    // Enlarging samples centres; shrinking keeps the last column and first row of a group.
    const Case cases[] = {{16, {0, 0, 1, 1}, {0, 0, 1, 1}, 15, 15},
                          {32, {0, 1, 2, 3}, {0, 1, 2, 3}, 31, 31},
                          {48, {1, 2, 4, 5}, {0, 2, 3, 5}, 47, 47},
                          {64, {1, 3, 5, 7}, {0, 2, 4, 6}, 63, 62}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.side);
        auto icon = createIconFromResource(coordIcon(c.side, c.side), 0, 0);
        ASSERT_TRUE(icon);
        Bitmap target(40, 40, rgb(1, 1, 1));
        drawIcon(target, 0, 0, *icon);
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(target.at(i, i), coordColour(c.columns[i], c.rows[i])) << i;
        EXPECT_EQ(target.at(31, 31), coordColour(c.lastColumn, c.lastRow));
        EXPECT_EQ(target.at(32, 32), rgb(1, 1, 1));
    }
}

TEST(DrawIcon, ClipsAtTargetEdges)
{
    auto icon = createIconFromResource(testimages::uniformIcon32(32, 32, 0x00FF0000, 0), 0, 0);
    ASSERT_TRUE(icon);
    Bitmap target(16, 16, rgb(0, 0, 0));
    drawIcon(target, 8, -24, *icon);
    EXPECT_EQ(target.at(8, 7), rgb(255, 0, 0));
    EXPECT_EQ(target.at(7, 7), rgb(0, 0, 0));
    EXPECT_EQ(target.at(8, 8), rgb(0, 0, 0));
}

TEST(ReadIconBits4, NearestVgaColourLowestIndexWinsTies)
{
    struct Case {
        std::uint32_t colour;
        int index;
    };
    const Case cases[] = {
        {rgb(200, 200, 200), 8}, {rgb(100, 100, 100), 7}, {rgb(64, 64, 64), 0}, // tie 0 / 7
        {rgb(255, 128, 0), 3},                                                    // tie 3 / 11 / 9
        {rgb(250, 5, 5), 9},     {rgb(0, 0, 130), 4},     {rgb(255, 255, 255), 15},
        {argb(0, 0, 255, 255), 14}, // alpha ignored
    };
    for (const auto &c : cases) {
        Icon icon;
        icon.width = 1;
        icon.height = 1;
        icon.image = Bitmap(1, 1, c.colour);
        icon.mask = {1};
        auto bits = readIconBits4(icon);
        ASSERT_TRUE(bits);
        EXPECT_EQ(bits->colorBits, (Bytes{static_cast<std::uint8_t>(c.index << 4), 0, 0, 0})) << std::hex << c.colour;
        EXPECT_EQ(bits->maskBits, (Bytes{0x80, 0, 0, 0}));
    }
}

} // namespace

namespace {

TEST(DrawIconSized, SmallCellShrinksByDeleteScans)
{
    auto icon = createIconFromResource(coordIcon(32, 32), 0, 0);
    ASSERT_TRUE(icon);
    Bitmap target(20, 20, rgb(1, 1, 1));
    drawIconSized(target, 2, 2, *icon, 16, 16);
    EXPECT_EQ(target.at(2, 2), coordColour(1, 0));
    EXPECT_EQ(target.at(17, 17), coordColour(31, 30));
    EXPECT_EQ(target.at(18, 18), rgb(1, 1, 1));
    EXPECT_EQ(target.at(1, 1), rgb(1, 1, 1));
}

TEST(IconPicture, TransparencyForBlendingToolkits)
{
    struct Case {
        const char *name;
        std::uint32_t colour; // as stored
        std::uint8_t maskBit;
        std::uint32_t shown;  // straight alpha
    };
    const Case cases[] = {
        {"Opaque", 0x00A0B0C0, 0, 0xFFA0B0C0},
        {"Transparent", 0x00000000, 1, 0x00000000},
        {"Inverting", 0x00A0B0C0, 1, 0xFF5F4F3F},
        {"AlphaKept", 0x80A0B0C0, 1, 0x80A0B0C0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        auto icon = createIconFromResource(testimages::uniformIcon32(16, 16, c.colour, c.maskBit), 0, 0);
        ASSERT_TRUE(icon);
        const Bitmap picture = iconPicture(*icon, 32);
        ASSERT_EQ(picture.width, 32);
        EXPECT_EQ(picture.at(0, 0), c.shown);
        EXPECT_EQ(picture.at(31, 31), c.shown);
    }
}

} // namespace
