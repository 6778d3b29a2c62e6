// Writes the seed corpora of the fuzz targets, made with the same fixture code as the tests:
//   fuzz_seeds OUTDIR   ->   OUTDIR/<target>/<seed files>
#include "library/Iconfat.h"
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

Seeds moduleIconsSeeds()
{
    using namespace pewriter;
    const auto dibSize = static_cast<std::uint32_t>(dib32(16, 16, 0).size());
    std::vector<Resource> res = coloredGroups(2);
    res.push_back(groupIcon(named(u"SMALL"), groupDir({{16, 16, 32, 9, dibSize}})));
    res.push_back(icon(9, dib32(16, 16, 0x00FF00)));
    Seeds s;
    s["pe32"] = writePe(res).bytes;
    s["pe64"] = writePe(res, {.pe64 = true}).bytes;
    s["ne"] = writeNe({{0x800E, 0x8001, groupDir({{32, 32, 32, 1, 0}})},
                       {0x8003, 0x8001, dib32(32, 32, 0xFF0000)},
                       {0x800E, 0, groupDir({{16, 16, 32, 2, 0}}), "NAMED"},
                       {0x8003, 0x8002, dib32(16, 16, 0x0000FF)}})
                  .bytes;
    s["ico"] = icoFile({{{16, 16, 32, 0}, dib32(16, 16, 0)}, {{32, 32, 32, 0}, dib32(32, 32, 0xFFFFFF)}});
    return s;
}

const std::map<std::string, std::function<Seeds()>> &targets()
{
    static const std::map<std::string, std::function<Seeds()>> t = {
        {"library_file", libraryFileSeeds},
        {"module_icons", moduleIconsSeeds},
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
