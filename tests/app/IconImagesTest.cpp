// Stored icons as pictures for the icon view: mask to transparency, cell sizes, bad entries.

#include "app/IconImages.h"
#include "support/ImageBytes.h"
#include "support/TestIcons.h"

#include <gtest/gtest.h>

namespace {

using testbytes::Bytes;

struct PixelCase {
    const char *name;
    Bytes entry;
    int side;
    QPoint at;
    QRgb expected;
};

class IconPicture : public ::testing::TestWithParam<PixelCase> {};

TEST_P(IconPicture, HasTheCellSizeAndTheIconsPixels)
{
    const PixelCase &c = GetParam();
    const QImage img = pictarium::iconImage(c.entry, c.side);
    ASSERT_EQ(img.size(), QSize(c.side, c.side));
    EXPECT_EQ(img.pixel(c.at), c.expected) << std::hex << img.pixel(c.at);
}

INSTANTIATE_TEST_SUITE_P(
    Entries, IconPicture,
    ::testing::Values(
        // ico16: colour index (x/8 + y/8 + seed) % 16, palette index 4 is red 0xFF, green and blue 0x40.
        PixelCase{"masked_corner_is_transparent", testbytes::ico16(0), 32, {1, 1}, 0x00000000u},
        PixelCase{"palette_colour_is_opaque", testbytes::ico16(0), 32, {20, 20}, 0xFFFF4040u},
        PixelCase{"shrunk_to_the_small_cell_keeps_the_mask", testbytes::ico16(0), 16, {0, 0}, 0x00000000u},
        PixelCase{"shrunk_to_the_small_cell_keeps_colours", testbytes::ico16(0), 16, {10, 10}, 0xFFFF4040u},
        PixelCase{"alpha_icon_keeps_its_alpha",
                  testimages::ico(testimages::uniformIcon32(32, 32, 0x80FF0000u, 0)), 32, {5, 5}, 0x80FF0000u},
        PixelCase{"large_icon_is_scaled_down",
                  testimages::ico(testimages::uniformIcon32(64, 64, 0xFF00FF00u, 0), 0, 1, 64, 64), 32, {31, 31},
                  0xFF00FF00u},
        PixelCase{"masked_colour_inverts_the_white_below",
                  testimages::ico(testimages::uniformIcon32(32, 32, 0x0000FFFFu, 1)), 32, {3, 3}, 0xFFFF0000u}),
    [](const auto &row) { return std::string(row.param.name); });

TEST(IconPicture, EntriesWithoutAnIconGiveNoPicture)
{
    struct Case {
        const char *name;
        Bytes entry;
        int side;
    };
    Bytes truncated = testbytes::ico16(0);
    truncated.resize(300);
    for (const Case &c : {Case{"empty", {}, 32}, Case{"garbage", Bytes(64, 0xAB), 32}, Case{"truncated", truncated, 32},
                          Case{"zero_side", testbytes::ico16(0), 0}}) {
        EXPECT_TRUE(pictarium::iconImage(c.entry, c.side).isNull()) << c.name;
    }
}

} // namespace
