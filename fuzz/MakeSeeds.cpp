// Writes the seed corpora of the fuzz targets, made with the same fixture code as the tests:
//   fuzz_seeds OUTDIR   ->   OUTDIR/<target>/<seed files>
#include "library/Iconfat.h"
#include "support/ImageBytes.h"
#include "support/TestBytes.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>

namespace fs = std::filesystem;
using testbytes::IlfBuilder;
using testbytes::Record;

namespace {

using Seeds = std::map<std::string, testbytes::Bytes>;

Seeds libraryFileSeeds()
{
    using testbytes::filler;
    const auto p = testbytes::payload({filler(60, 1), {}, filler(40, 2)});
    Seeds s;
    s["empty"] = pictarium::serializeILF(pictarium::LibraryTree{});
    s["tree"] = IlfBuilder{}.line("A").line("\tB").line("\t\tC").line(" D").line("E", "\n")
                    .record(Record::Raw, p).record(Record::None).record(Record::Compressed, p)
                    .record(Record::None).record(Record::Raw, testbytes::payload({})).build();
    s["v1"] = IlfBuilder('1').line("A").line("B").record(Record::V1, p).record(Record::None).build();
    s["bad_level"] = IlfBuilder{}.line("A").line("\t\tB").record(Record::None).record(Record::None).build();
    s["gbk"] = IlfBuilder{}.line("\xcf\xb5\xcd\xb3", "\r").record(Record::Compressed, p).build();
    return s;
}

Seeds iconEntrySeeds()
{
    using testimages::Dib;
    Seeds s;
    Dib vga; // 16 x 16, 4 bpp, with its mask
    vga.width = 16;
    vga.height = 32;
    vga.bitCount = 4;
    vga.clrUsed = 16;
    for (std::uint32_t i = 0; i < 16; ++i)
        vga.palette.push_back((i & 1 ? 0x800000u : 0) | (i & 2 ? 0x8000u : 0) | (i & 4 ? 0x80u : 0));
    vga.bits = testbytes::filler(16 * 8 + 16 * 4, 3);
    s["vga16"] = testimages::ico(vga.build(), 0, 1, 16, 16);
    std::vector<std::uint32_t> pixels(64);
    for (std::size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = static_cast<std::uint32_t>(i * 0x04030201u);
    s["alpha8"] = testimages::ico(testimages::iconImage32(8, 8, pixels, std::vector<std::uint8_t>(64, 0)), 0, 1, 8, 8);
    Dib mono;
    mono.width = 8;
    mono.height = 16;
    mono.bitCount = 1;
    mono.palette = {0x000000, 0xFFFFFF};
    mono.bits = testbytes::filler(64, 5);
    s["mono8"] = testimages::ico(mono.build(), 0, 1, 8, 8);
    s["png4"] = testimages::ico(testimages::png(4, 4, PNG_COLOR_TYPE_RGBA, 8,
                                                std::vector<testbytes::Bytes>(4, testbytes::filler(16, 9))), 0, 1, 4, 4);
    return s;
}

Seeds bitmapFileSeeds()
{
    using testimages::Dib;
    Seeds s;
    Dib d;
    d.width = 3;
    d.height = 2;
    d.bitCount = 8;
    d.palette = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF, 0xFFFF00};
    d.clrUsed = 6;
    d.bits = {4, 0, 5, 0, 1, 2, 3, 0};
    s["pal8"] = testimages::bmp(d.build());
    d.compression = 1;
    d.bits = {0, 3, 4, 0, 5, 0, 0, 0, 1, 1, 1, 2, 1, 3, 0, 1};
    s["rle8"] = testimages::bmp(d.build());
    Dib f;
    f.headerSize = 124;
    f.width = 2;
    f.height = -2;
    f.bitCount = 16;
    f.compression = 3;
    f.masks = {0xF800, 0x07E0, 0x001F, 0};
    f.bits = testbytes::filler(8, 4);
    s["v5_565"] = testimages::bmp(f.build());
    Dib core;
    core.headerSize = 12;
    core.width = 5;
    core.height = 1;
    core.bitCount = 24;
    core.bits = testbytes::filler(16, 6);
    s["core24"] = testimages::bmp(core.build());
    return s;
}

const std::map<std::string, std::function<Seeds()>> &targets()
{
    static const std::map<std::string, std::function<Seeds()>> t = {
        {"library_file", libraryFileSeeds},
        {"icon_entry", iconEntrySeeds},
        {"bitmap_file", bitmapFileSeeds},
    };
    return t;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2)
        return 2;
    for (const auto &[target, make] : targets()) {
        const fs::path dir = fs::path(argv[1]) / target;
        fs::create_directories(dir);
        for (const auto &[name, bytes] : make()) {
            std::ofstream out(dir / name, std::ios::binary);
            out.write(reinterpret_cast<const char *>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        }
    }
    return 0;
}
