// Bitmap import (reading a file, the square it is scaled into) and bitmap export (the icon
// drawn over a background, the file layout written).

#include "library/IconCodec.h"
#include "platform/BmpFile.h"
#include "platform/FileIO.h"
#include "platform/PlatformError.h"
#include "support/ImageBytes.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

using namespace pictarium;
using testimages::Dib;

namespace {

struct TempDir {
    std::filesystem::path path;
    TempDir()
    {
        char name[] = "/tmp/pictarium-bmp-XXXXXX";
        path = mkdtemp(name);
    }
    ~TempDir() { std::filesystem::remove_all(path); }
    std::string file(const std::string &name, const Bytes &content) const
    {
        const auto p = (path / name).string();
        std::ofstream(p, std::ios::binary).write(reinterpret_cast<const char *>(content.data()),
                                                  static_cast<std::streamsize>(content.size()));
        return p;
    }
};

std::uint32_t coord(int x, int y) { return rgb(static_cast<unsigned>(x), static_cast<unsigned>(y), 7); }

// A w x h picture whose pixel (x, y) is rgb(x, y, 7).
Bitmap coordPicture(int w, int h)
{
    Bitmap b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b.at(x, y) = coord(x, y);
    return b;
}

// The 24-bit bitmap file of a picture, built by hand.
Bytes bmp24(const Bitmap &picture)
{
    Dib d;
    d.width = picture.width;
    d.height = picture.height;
    d.bitCount = 24;
    const int stride = (picture.width * 3 + 3) / 4 * 4;
    for (int y = picture.height - 1; y >= 0; --y) {
        Bytes line(static_cast<std::size_t>(stride), 0);
        for (int x = 0; x < picture.width; ++x) {
            const auto p = picture.at(x, y);
            line[static_cast<std::size_t>(3 * x)] = static_cast<std::uint8_t>(blueOf(p));
            line[static_cast<std::size_t>(3 * x + 1)] = static_cast<std::uint8_t>(greenOf(p));
            line[static_cast<std::size_t>(3 * x + 2)] = static_cast<std::uint8_t>(redOf(p));
        }
        testbytes::append(d.bits, line);
    }
    return testimages::bmp(d.build());
}

TEST(ReadBitmapFile, ErrorsCarryTheUsersMessages)
{
    TempDir dir;
    Bytes cut = bmp24(coordPicture(4, 4));
    cut.resize(cut.size() - 5);
    struct Case {
        std::string path;
        std::string message;
    };
    const std::string missing = (dir.path / "gone.bmp").string();
    const Case cases[] = {
        {missing, "Cannot open file " + missing},
        {dir.file("text.bmp", testbytes::str("Just some words in a file named like a bitmap.")),
         "Bitmap image is not valid"},
        {dir.file("short.bmp", testbytes::str("BM\x10")), "Stream read error"},
        {dir.file("cut.bmp", cut), "Stream read error"},
    };
    for (const auto &c : cases) {
        try {
            readBitmapFile(c.path);
            ADD_FAILURE() << c.path << " was read";
        } catch (const PlatformError &e) {
            EXPECT_EQ(std::string(e.what()), c.message);
        }
    }
    const Bitmap empty = readBitmapFile(dir.file("empty.bmp", {}));
    EXPECT_EQ(empty.width, 0);
    EXPECT_EQ(empty.height, 0);
    const Bitmap good = readBitmapFile(dir.file("good.bmp", bmp24(coordPicture(5, 3))));
    EXPECT_EQ(good, coordPicture(5, 3));
}

TEST(IconFromPicture, SquareSizeAndSampling)
{
    struct Case {
        int w, h;
        int side;
        // source pixel of target (0,0) and of target (side-1, side-1)
        int firstX, firstY, lastX, lastY;
    };
    const Case cases[] = {
        {31, 31, 16, 0, 0, 30, 30}, {32, 1, 32, 0, 0, 31, 0},  {1, 32, 32, 0, 0, 0, 31},
        {100, 20, 32, 1, 0, 98, 19}, {20, 20, 16, 0, 0, 19, 19}, {32, 32, 32, 0, 0, 31, 31},
        {64, 16, 32, 0, 0, 62, 15},  {8, 8, 16, 0, 0, 7, 7},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << "x" << c.h);
        const Icon icon = iconFromPicture(coordPicture(c.w, c.h));
        ASSERT_EQ(icon.width, c.side);
        ASSERT_EQ(icon.height, c.side);
        EXPECT_EQ(icon.image.at(0, 0), coord(c.firstX, c.firstY));
        EXPECT_EQ(icon.image.at(c.side - 1, c.side - 1), coord(c.lastX, c.lastY));
        EXPECT_EQ(icon.mask, std::vector<std::uint8_t>(static_cast<std::size_t>(c.side * c.side), 0));
        EXPECT_FALSE(icon.hasAlpha);
        auto stored = EncodeIconAsIco(icon);
        ASSERT_TRUE(stored);
        EXPECT_EQ(stored->size(), c.side == 32 ? 766u : 318u);
        const std::size_t maskBytes = c.side == 32 ? 128 : 64;
        EXPECT_EQ(Bytes(stored->end() - static_cast<std::ptrdiff_t>(maskBytes), stored->end()), Bytes(maskBytes, 0));
    }
}

TEST(IconFromPicture, SmallPictureRepeatsEachPixelAsBlock)
{
    const Icon icon = iconFromPicture(coordPicture(8, 8));
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            ASSERT_EQ(icon.image.at(x, y), coord(x / 2, y / 2)) << x << "," << y;
}

TEST(IconFromPicture, EmptyPictureGivesBlankSixteenSquare)
{
    const Icon icon = iconFromPicture(Bitmap{});
    EXPECT_EQ(icon.width, 16);
    EXPECT_EQ(icon.image, Bitmap(16, 16, rgb(255, 255, 255)));
    auto stored = EncodeIconAsIco(icon);
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->size(), 318u);
}

TEST(BitmapExport, FileLayoutForThirtyTwoSquare)
{
    Bitmap picture(32, 32, rgb(1, 2, 3));
    picture.at(0, 31) = rgb(0xAA, 0xBB, 0xCC); // bottom-left: the first pixel stored
    picture.at(31, 0) = rgb(0x11, 0x22, 0x33); // top-right: the last
    const Bytes file = encodeBitmapFile(picture);
    ASSERT_EQ(file.size(), 5174u);
    const ByteView v(file);
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[1], 'M');
    EXPECT_EQ(v.u32(2), 5174u);
    EXPECT_EQ(v.u32(6), 0u);
    EXPECT_EQ(v.u32(10), 1078u);
    EXPECT_EQ(v.u32(14), 40u);
    EXPECT_EQ(v.i32(18), 32);
    EXPECT_EQ(v.i32(22), 32);
    EXPECT_EQ(v.u16(26), 1u);
    EXPECT_EQ(v.u16(28), 32u);
    EXPECT_EQ(v.u32(30), 0u);
    EXPECT_EQ(v.u32(34), 4096u);
    EXPECT_EQ(v.u32(38), 0u);
    EXPECT_EQ(v.u32(42), 0u);
    EXPECT_EQ(v.u32(46), 256u);
    EXPECT_EQ(v.u32(50), 0u);
    EXPECT_EQ(Bytes(file.begin() + 1078, file.begin() + 1082), (Bytes{0xCC, 0xBB, 0xAA, 0}));
    EXPECT_EQ(Bytes(file.end() - 4, file.end()), (Bytes{0x33, 0x22, 0x11, 0}));
    // Our own reader gives the picture back.
    auto back = decodeBitmapFile(v);
    ASSERT_TRUE(std::holds_alternative<Bitmap>(back));
    EXPECT_EQ(std::get<Bitmap>(back), picture);
}

TEST(BitmapExport, BackgroundShowsWhereIconIsTransparent)
{
    // Left half transparent (mask 1, colour 0), right half opaque blue; a 16 x 16 icon is
    // enlarged to fill the square.
    std::vector<std::uint32_t> pixels;
    std::vector<std::uint8_t> mask;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            pixels.push_back(x < 8 ? 0 : 0x0000FF);
            mask.push_back(x < 8 ? 1 : 0);
        }
    auto icon = createIconFromResource(testimages::iconImage32(16, 16, pixels, mask), 0, 0);
    ASSERT_TRUE(icon);
    struct Case {
        std::uint32_t colorRef;
        std::uint32_t shown;
    };
    for (const Case c : {Case{0xFFFFFF, rgb(255, 255, 255)}, Case{0x0000FF, rgb(255, 0, 0)},
                         Case{0x336699, rgb(0x99, 0x66, 0x33)}}) {
        const Bitmap picture = renderIconOnBackground(&*icon, c.colorRef);
        ASSERT_EQ(picture.width, 32);
        EXPECT_EQ(picture.at(15, 0), c.shown);
        EXPECT_EQ(picture.at(16, 31), rgb(0, 0, 255));
    }
    // No icon: the background only.
    EXPECT_EQ(renderIconOnBackground(nullptr, 0x0000FF), Bitmap(32, 32, rgb(255, 0, 0)));
}

TEST(BitmapExport, WritesFileOrReportsWhichCannotBeCreated)
{
    TempDir dir;
    const std::string path = (dir.path / "out.bmp").string();
    const Bitmap picture = renderIconOnBackground(nullptr, 0x00FF00);
    writeBitmapFile(path, picture);
    EXPECT_EQ(readWholeFile(path), encodeBitmapFile(picture));
    const std::string bad = (dir.path / "no-such-folder" / "out.bmp").string();
    try {
        writeBitmapFile(bad, picture);
        ADD_FAILURE() << "wrote into a missing folder";
    } catch (const PlatformError &e) {
        EXPECT_EQ(std::string(e.what()), "Cannot create file " + bad);
    }
}

} // namespace
