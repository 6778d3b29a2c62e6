// Writes the seed corpora of the fuzz targets, made with the same fixture code as the tests:
//   fuzz_seeds OUTDIR   ->   OUTDIR/<target>/<seed files>
#include "library/Iconfat.h"
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

const std::map<std::string, std::function<Seeds()>> &targets()
{
    static const std::map<std::string, std::function<Seeds()>> t = {
        {"library_file", libraryFileSeeds},
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
