#include "library/IconExport.h"
#include "library/ModuleImport.h"
#include "platform/Codepage.h"
#include "platform/FileIO.h"
#include "platform/PlatformError.h"
#include "support/PeWriter.h"
#include "support/TempDir.h"
#include "support/WriteFaults.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>

using namespace pictarium;
using namespace pewriter;
using testbytes::TempDir;

namespace {

std::vector<std::size_t> entrySizes(const TIconBlock &b)
{
    std::vector<std::size_t> sizes;
    forEachEntry(b, [&](std::int32_t, ByteSpan img) { sizes.push_back(img.size()); });
    return sizes;
}

Bytes entryBytes(const TIconBlock &b, std::int32_t i)
{
    const auto img = b.image(i);
    return img ? Bytes(img->begin(), img->end()) : Bytes{};
}

// The colour pixel bytes of a stored 32x32 16-colour icon all equal `twoPixels`.
bool colourBytesAre(const Bytes &entry, std::uint8_t twoPixels)
{
    if (entry.size() != 766)
        return false;
    return std::all_of(entry.begin() + 126, entry.begin() + 126 + 512, [&](std::uint8_t b) { return b == twoPixels; });
}

std::string messageOf(const std::function<void()> &fn)
{
    try {
        fn();
    } catch (const PlatformError &e) {
        return e.what();
    }
    return "(no error)";
}

} // namespace

TEST(ModuleImport, ThreeIconsGiveThreeStoredIcons)
{
    TempDir dir;
    const std::string path = dir.write("three.dll", writePe(coloredGroups(3)).bytes);
    const auto imported = ImportModuleIcons(path, true);
    ASSERT_TRUE(imported);
    EXPECT_EQ(imported->block.Count(), 3);
    EXPECT_EQ(imported->block.Size(), 2314);
    EXPECT_EQ(entrySizes(imported->block), (std::vector<std::size_t>{766, 766, 766}));
    const Bytes expectedStart = {0x00, 0x00, 0x01, 0x00, 0x01, 0x00, 0x20, 0x20, 0x04, 0x00, 0x00, 0x00,
                                 0x00, 0x00, 0xE8, 0x02, 0x00, 0x00, 0x16, 0x00, 0x00, 0x00, 0x28, 0x00,
                                 0x00, 0x00, 0x20, 0x00, 0x00, 0x00, 0x40, 0x00, 0x00, 0x00, 0x01, 0x00,
                                 0x04, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00};
    for (std::int32_t i = 0; i < 3; ++i) {
        const Bytes e = entryBytes(imported->block, i);
        EXPECT_TRUE(std::equal(expectedStart.begin(), expectedStart.end(), e.begin())) << i;
    }
    EXPECT_EQ(imported->title, asciiBytes("three"));
}

TEST(ModuleImport, EachIconIsItsGroupsLargeImage)
{
    const auto dibSize = [](int side) { return static_cast<std::uint32_t>(dib32(side, side, 0).size()); };
    const std::vector<Resource> res = {
        // Blue 16x16 listed first, red 32x32 second: the red one is the large icon.
        groupIcon(num(1), groupDir({{16, 16, 32, 1, dibSize(16)}, {32, 32, 32, 2, dibSize(32)}})),
        icon(1, dib32(16, 16, 0x0000FF)),
        icon(2, dib32(32, 32, 0xFF0000)),
        // Only a green 16x16: enlarged to 32x32.
        groupIcon(num(2), groupDir({{16, 16, 32, 3, dibSize(16)}})),
        icon(3, dib32(16, 16, 0x00FF00)),
        // Image missing, then a monochrome icon, then bytes that are no image: empty slots.
        groupIcon(num(3), groupDir({{32, 32, 32, 99, 0}})),
        groupIcon(num(4), groupDir({{32, 32, 1, 4, 0}})),
        icon(4, dibMono(32, 32)),
        groupIcon(num(5), groupDir({{32, 32, 32, 5, 0}})),
        icon(5, tag(5)),
        // Only a 256x256 PNG (stored as 0 x 0): shrunk to 32x32.
        groupIcon(num(7), groupDir({{0, 0, 32, 7, 0}})),
        icon(7, png(256, 256, 0xFFFF00)),
        // A fine icon after the broken ones keeps its place.
        groupIcon(num(6), groupDir({{32, 32, 32, 6, dibSize(32)}})),
        icon(6, dib32(32, 32, 0x0000FF)),
    };
    TempDir dir;
    const auto imported = ImportModuleIcons(dir.write("mixed.exe", writePe(res, {.pe64 = true}).bytes), true);
    ASSERT_TRUE(imported);
    const TIconBlock &b = imported->block;
    ASSERT_EQ(b.Count(), 7);
    EXPECT_EQ(entrySizes(b), (std::vector<std::size_t>{766, 766, 0, 0, 0, 766, 766}));
    EXPECT_TRUE(colourBytesAre(entryBytes(b, 0), 0x99)) << "red is palette entry 9";
    EXPECT_TRUE(colourBytesAre(entryBytes(b, 1), 0xAA)) << "green is palette entry 10";
    EXPECT_TRUE(colourBytesAre(entryBytes(b, 5), 0xBB)) << "yellow is palette entry 11";
    EXPECT_TRUE(colourBytesAre(entryBytes(b, 6), 0xCC)) << "blue is palette entry 12";
    EXPECT_EQ(b.Size(), 4 + 4 * (4 + 766) + 3 * 4);
}

TEST(ModuleImport, FilesWithoutIconsAndMissingFiles)
{
    TempDir dir;
    const std::string none = dir.write("noicons.dll", writePe({{num(6), num(1), 0x409, tag(1)}}).bytes);
    const std::string text = dir.write("readme.exe", testbytes::str("not a module"));
    const std::string empty = dir.write("empty.dll", {});

    for (const std::string &p : {none, text, empty}) {
        SCOPED_TRACE(p);
        const auto made = ImportModuleIcons(p, true);
        ASSERT_TRUE(made);
        EXPECT_EQ(made->block.Count(), 0);
        EXPECT_EQ(made->block.Size(), 4);
        EXPECT_FALSE(ImportModuleIcons(p, false)) << "skipped when several files were chosen";
    }
    EXPECT_FALSE(ImportModuleIcons(dir.path("absent.dll"), true));
    // An ICO file counts as one icon whatever its name says.
    const std::string ico = dir.write("icon.dll", icoFile({{{32, 32, 32, 0}, dib32(32, 32, 0xFF0000)}}));
    const auto fromIco = ImportModuleIcons(ico, false);
    ASSERT_TRUE(fromIco);
    EXPECT_TRUE(colourBytesAre(entryBytes(fromIco->block, 0), 0x99));
}

TEST(ModuleImport, TitleIsTheBaseNameInTheAnsiCodePage)
{
    TempDir dir;
    std::filesystem::create_directory(dir.path("x.y"));
    const Bytes pe = writePe(coloredGroups(1)).bytes;
    struct Case {
        std::string name;
        Bytes title;
    };
    const Case cases[] = {
        {"x.y/my.app.dll", asciiBytes("my")},
        {"x.y/PROGRAM.EXE", asciiBytes("PROGRAM")},
        {"NoDot", asciiBytes("NoDot")},
        {"图标.dll", utf8ToAnsi("图标")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const auto made = ImportModuleIcons(dir.write(c.name, pe), true);
        ASSERT_TRUE(made);
        EXPECT_EQ(made->title, c.title);
    }
}

TEST(IconFileImport, EachFileIsOneEntryByteForByte)
{
    TempDir dir;
    const Bytes a = testbytes::filler(766, 1);
    const Bytes c = icoFile({{{16, 16, 4, 0}, tag(1)}, {{32, 32, 4, 0}, tag(2)}, {{48, 48, 4, 0}, tag(3)}});
    const std::vector<std::string> paths = {dir.write("a.ico", a), dir.write("b.ico", {}), dir.write("c.ico", c)};
    const TIconBlock b = importIconFiles(paths);
    EXPECT_EQ(b.Count(), 3);
    EXPECT_EQ(entryBytes(b, 0), a);
    EXPECT_FALSE(b.image(1)) << "an empty file is an empty slot";
    EXPECT_EQ(entryBytes(b, 2), c);

    const std::string missing = dir.path("gone.ico");
    EXPECT_EQ(messageOf([&] { importIconFiles({paths[0], missing}); }), "Cannot open file " + missing);
}

TEST(BitmapImport, EachBitmapBecomesOneOpaqueIcon)
{
    TempDir dir;
    struct Case {
        int w, h;
        std::size_t entrySize;
    };
    const Case cases[] = {{100, 20, 766}, {32, 1, 766}, {31, 31, 318}, {8, 8, 318}, {64, 16, 766}};
    std::vector<std::string> paths;
    for (const Case &c : cases)
        paths.push_back(dir.write(std::to_string(c.w) + "x" + std::to_string(c.h) + ".bmp", bmp24(c.w, c.h, 0xFFFFFF)));
    const TIconBlock b = importBitmapFiles(paths);
    ASSERT_EQ(b.Count(), static_cast<std::int32_t>(std::size(cases)));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(paths[i]);
        const Bytes e = entryBytes(b, static_cast<std::int32_t>(i));
        ASSERT_EQ(e.size(), cases[i].entrySize);
        const std::size_t mask = e.size() == 766 ? 128 : 64;
        EXPECT_TRUE(std::all_of(e.end() - static_cast<std::ptrdiff_t>(mask), e.end(), [](std::uint8_t v) { return v == 0; }))
            << "white stays a colour: the mask is all opaque";
        EXPECT_EQ(e[126], 0xFF) << "white is palette entry 15";
    }
}

TEST(BitmapImport, AnUnreadableFileStopsTheWholeRun)
{
    TempDir dir;
    const std::string good = dir.write("good.bmp", bmp24(4, 4, 0));
    const std::string text = dir.write("text.bmp", testbytes::str("this is no bitmap at all"));
    const std::string shortFile = dir.write("short.bmp", testbytes::str("BM12"));
    const std::string missing = dir.path("missing.bmp");
    EXPECT_EQ(messageOf([&] { importBitmapFiles({good, text}); }), "Bitmap image is not valid");
    EXPECT_EQ(messageOf([&] { importBitmapFiles({good, shortFile}); }), "Stream read error");
    EXPECT_EQ(messageOf([&] { importBitmapFiles({good, missing}); }), "Cannot open file " + missing);
}

TEST(IconExport, NamesAndBases)
{
    EXPECT_EQ(exportBase("/out/star.ico"), "/out/star");
    EXPECT_EQ(exportBase("/out/my.star.ico"), "/out/my");
    EXPECT_EQ(exportBase("/icons.old/star.ico"), "/icons.old/star");
    EXPECT_EQ(exportBase("/out/plain"), "/out/plain");
    EXPECT_EQ(exportBase("D:\\icons.old\\star.ico"), "D:\\icons.old\\star");
    EXPECT_EQ(numberedIconFileName("/o/a", 0), "/o/a0000.ico");
    EXPECT_EQ(numberedIconFileName("/o/a", 12), "/o/a0012.ico");
    EXPECT_EQ(numberedIconFileName("/o/a", 10000), "/o/a10000.ico");
}

TEST(IconExport, AllIconsSkipEmptySlotsAndKeepTheirNumbers)
{
    TempDir dir;
    const Bytes first = testbytes::filler(766, 3);
    const Bytes third = icoFile({{{16, 16, 4, 0}, tag(1)}, {{32, 32, 4, 0}, tag(2)}});
    const std::vector<ByteSpan> images = {first, {}, third};
    const TIconBlock block = TIconBlock::fromImages(images);
    const std::string base = dir.path("star");
    const auto written = ExportAllIcons(block, base);
    EXPECT_EQ(written, (std::vector<std::string>{base + "0000.ico", base + "0002.ico"}));
    EXPECT_EQ(TempDir::read(base + "0000.ico"), first);
    EXPECT_EQ(TempDir::read(base + "0002.ico"), third);
    EXPECT_FALSE(fileExists(base + "0001.ico"));
}

// A failure at any step of any file stops the export there: the files written before stay,
// the failing name keeps whatever stood there before (here a file from an earlier export),
// and nothing after it is written.
class ExportFault : public ::testing::TestWithParam<writefaults::FaultPoint> {};

TEST_P(ExportFault, KeepsTheFilesBeforeAndWhatStoodAtTheFailingName)
{
    const auto point = GetParam();
    TempDir dir;
    const Bytes a = testbytes::filler(10, 1), b = testbytes::filler(20, 2), c = testbytes::filler(30, 3);
    const std::vector<ByteSpan> images = {a, b, c};
    const std::string base = dir.path("x");
    const Bytes earlier = testbytes::filler(5, 9);
    writeFileAtomically(base + "0001.ico", earlier);

    std::string message;
    {
        writefaults::WriteFault fault(point);
        message = messageOf([&] { ExportAllIcons(TIconBlock::fromImages(images), base); });
        ASSERT_TRUE(fault.fired());
    }
    const int failing = point.occurrence - 1;
    const std::string failingName = base + "000" + std::to_string(failing) + ".ico";
    const bool writeError = point.step == WriteStep::Write || point.step == WriteStep::Flush;
    EXPECT_EQ(message, (writeError ? "Error writing file " : "Cannot create file ") + failingName);
    long present = 0;
    for (int i = 0; i < 3; ++i) {
        const std::string name = base + "000" + std::to_string(i) + ".ico";
        if (i < failing)
            EXPECT_EQ(TempDir::read(name), Bytes(images[i].begin(), images[i].end())) << name;
        else if (i == 1)
            EXPECT_EQ(TempDir::read(name), earlier) << name;
        else
            EXPECT_FALSE(fileExists(name)) << name;
        present += fileExists(name) ? 1 : 0;
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.str()), std::filesystem::directory_iterator()), present)
        << "temporary file left behind";
}

INSTANTIATE_TEST_SUITE_P(EveryStepOfEveryFile, ExportFault, ::testing::ValuesIn(writefaults::everyStepOf(3)),
                         [](const auto &row) { return row.param.name(); });

TEST(IconExport, AFolderThatIsMissingStopsTheExportAtTheFirstFile)
{
    TempDir dir;
    const Bytes a = testbytes::filler(10, 1);
    const std::vector<ByteSpan> images = {a};
    const std::string noFolder = dir.path("none/y");
    EXPECT_EQ(messageOf([&] { ExportAllIcons(TIconBlock::fromImages(images), noFolder); }),
              "Cannot create file " + noFolder + "0000.ico");
}

TEST(BitmapExport, IconOverBackgroundAtTheSystemIconSize)
{
    TempDir dir;
    // A 16x16 red icon whose left half is transparent (mask bit 1, colour 0).
    Bytes dib = dib32(16, 16, 0xFF0000);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 8; ++x)
            std::fill_n(dib.begin() + 40 + (y * 16 + x) * 4, 4, std::uint8_t{0});
    for (int y = 0; y < 16; ++y)
        dib[40 + 16 * 16 * 4 + static_cast<std::size_t>(y) * 4] = 0xFF;
    const Bytes ico = icoFile({{{16, 16, 32, 0}, dib}});

    struct Case {
        const char *what;
        Bytes entry;
        std::uint32_t colorRef;
        std::uint32_t left, right;
    };
    const Case cases[] = {
        {"white background", ico, 0xFFFFFF, rgb(255, 255, 255), rgb(255, 0, 0)},
        {"red background (0x0000FF)", ico, 0x0000FF, rgb(255, 0, 0), rgb(255, 0, 0)},
        {"blue background, no icon in the bytes", testbytes::str("junk"), 0xFF0000, rgb(0, 0, 255), rgb(0, 0, 255)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const Bitmap pic = renderEntry(c.entry, c.colorRef);
        ASSERT_EQ(pic.width, 32);
        ASSERT_EQ(pic.height, 32);
        EXPECT_EQ(pic.at(3, 20) & 0xFFFFFF, c.left & 0xFFFFFF);
        EXPECT_EQ(pic.at(28, 5) & 0xFFFFFF, c.right & 0xFFFFFF);
        const std::string out = dir.path("out.bmp");
        SaveAsBmpFile(c.entry, c.colorRef, out);
        const Bytes file = TempDir::read(out);
        ASSERT_EQ(file.size(), 5174u);
        EXPECT_EQ(file[10] | file[11] << 8, 1078);
        EXPECT_EQ(file[28], 32);
    }
}
