// Writes the seed corpora of the fuzz targets, made with the same fixture code as the tests:
//   fuzz_seeds OUTDIR   ->   OUTDIR/<target>/<seed files>
#include "library/Iconfat.h"
#include "support/ImageBytes.h"
#include "support/PeWriter.h"
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

Seeds iniFileSeeds()
{
    Seeds s;
    s["first_run"] = testbytes::str("[MainForm Option]\nTop=50\nLeft=100\nHeight=300\nWidth=400\n"
                                    "[Color]\nbkcolor=16777215\n");
    s["mixed"] = testbytes::str("\xEF\xBB\xBF; note\r\n[ color ]\r\n bkcolor = $FF \r\nbare\r\n"
                                "[Dialog Path]\rSave Dialog=\"/a b/\"\r[MainForm Option]\nTop=-0x10");
    return s;
}

Seeds iconEntrySeeds()
{
    using namespace testimages;
    Seeds s;
    std::vector<std::uint32_t> pixels(32 * 32);
    std::vector<std::uint8_t> mask(32 * 32);
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        pixels[i] = static_cast<std::uint32_t>(i * 0x010203) | (i % 3 ? 0xff000000u : 0x80000000u);
        mask[i] = i % 5 == 0;
    }
    s["argb32"] = ico(iconImage32(32, 32, pixels, mask));
    s["uniform16"] = ico(uniformIcon32(16, 16, 0xa0b0c0, 0), 0, 1, 16, 16);
    Dib four;
    four.width = 32;
    four.height = 64;
    four.bitCount = 4;
    for (unsigned i = 0; i < 16; ++i)
        four.palette.push_back(i * 0x101010u);
    four.bits = testbytes::filler(32 * 16 + 32 * 4, 3);
    s["vga4"] = ico(four.build());
    Dib mono = four;
    mono.bitCount = 1;
    mono.palette = {0x000000, 0xffffff};
    mono.bits = testbytes::filler(32 * 4 * 2, 4);
    s["mono"] = ico(mono.build());
    std::vector<Bytes> rows(8, Bytes(8 * 4, 0x7f));
    s["png"] = ico(png(8, 8, PNG_COLOR_TYPE_RGBA, 8, rows), 0, 1, 8, 8);
    return s;
}

Seeds moduleSeeds()
{
    using namespace pewriter;
    Seeds s;
    s["pe32"] = writePe(coloredGroups(3)).bytes;
    PeOptions wide;
    wide.pe64 = true;
    auto named = coloredGroups(2);
    named.push_back(groupIcon(pewriter::named(u"MAIN"), groupDir({{16, 16, 8, 9, 40}, {32, 32, 4, 10, 40}})));
    named.push_back(icon(9, tag(9, 40)));
    s["pe64_named"] = writePe(named, wide).bytes;
    s["ne"] = writeNe({NeResource(0x800E, 0x8001, groupDir({{32, 32, 32, 1, static_cast<std::uint32_t>(dib32(32, 32, 0x123456).size())}})),
                       NeResource(0x8003, 0x8001, dib32(32, 32, 0x123456))}).bytes;
    s["ico"] = icoFile({{IconEntry{32, 32, 32, 1, 0}, dib32(32, 32, 0x445566)}});
    return s;
}

Seeds bitmapFileSeeds()
{
    using namespace testimages;
    Seeds s;
    s["bmp24"] = pewriter::bmp24(40, 20, 0x336699);
    Dib rle;
    rle.width = 8;
    rle.height = 4;
    rle.bitCount = 8;
    rle.compression = 1;
    rle.palette = {0x000000, 0xff0000, 0x00ff00};
    rle.bits = {4, 1, 4, 2, 0, 0, 0, 3, 1, 2, 1, 0, 0, 0, 2, 1, 1, 0, 1};
    s["rle8"] = bmp(rle.build());
    Dib fields;
    fields.width = 5;
    fields.height = -3;
    fields.bitCount = 16;
    fields.compression = 3;
    fields.masks = {0xf800, 0x07e0, 0x001f};
    fields.bits = testbytes::filler(12 * 3, 5);
    s["bitfields565"] = bmp(fields.build());
    Dib v5 = fields; // the masks inside a 124-byte header
    v5.headerSize = 124;
    v5.masks.push_back(0);
    s["v5_565"] = bmp(v5.build());
    Dib core;
    core.headerSize = 12;
    core.width = 3;
    core.height = 3;
    core.bitCount = 4;
    core.palette = {0x112233, 0x445566};
    core.bits = testbytes::filler(12, 6);
    s["core4"] = bmp(core.build());
    return s;
}

Seeds clipboardPayloadSeeds()
{
    Seeds s;
    s["three"] = testbytes::block({testbytes::filler(30, 1), {}, testbytes::filler(7, 2)});
    s["zero"] = testbytes::block({});
    return s;
}

const std::map<std::string, std::function<Seeds()>> &targets()
{
    static const std::map<std::string, std::function<Seeds()>> t = {
        {"library_file", libraryFileSeeds},
        {"ini_file", iniFileSeeds},
        {"icon_entry", iconEntrySeeds},
        {"module", moduleSeeds},
        {"bitmap_file", bitmapFileSeeds},
        {"clipboard_payload", clipboardPayloadSeeds},
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
