#include "Commands.h"

#include "platform/PlatformError.h"

#include <iostream>

namespace pictarium::cli {

const std::vector<Command> &commands()
{
    static const std::vector<Command> table = {
        {"info", "ilftool info LIB", "Header figures of a library as key: value lines.", cmdInfo},
        {"tree", "ilftool tree LIB [--json]", "The title tree with icon counts (--json: entries with sizes and CRC-32).", cmdTree},
        {"new", "ilftool new LIB", "Writes an empty library.", cmdNew},
        {"check", "ilftool check LIB", "Checks every record and block; exit 0 when sound, 1 otherwise.", cmdCheck},
        {"import", "ilftool import LIB FILE... [--node I]",
         "Modules (.exe/.dll) become new nodes after node I; .ico/.bmp files join node I (or a new node). All or nothing.",
         cmdImport},
        {"export", "ilftool export LIB --node I BASE",
         "Writes every icon of node I to BASE0000.ico, BASE0001.ico, ... (numbered by entry).", cmdExport},
        {"render", "ilftool render LIB --node I --entry K [--background RRGGBB] OUT.bmp",
         "Writes icon K of node I as a 32 x 32 bitmap over the background (white by default).", cmdRender},
    };
    return table;
}

} // namespace pictarium::cli

namespace {

int printOverview(std::ostream &out)
{
    out << "ilftool: inspect and edit Pictarium icon libraries (.ILF)\n\nCommands:\n";
    for (const auto &c : pictarium::cli::commands())
        out << "  " << c.usage << "\n      " << c.summary << "\n";
    out << "\nEvery command takes --help.\n";
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    using namespace pictarium::cli;
    if (argc < 2) {
        printOverview(std::cerr);
        return 2;
    }
    const std::string name = argv[1];
    if (name == "--help" || name == "-h" || name == "help")
        return printOverview(std::cout);
    Args args(argv + 2, argv + argc);
    for (const auto &c : commands()) {
        if (name != c.name)
            continue;
        if (wantsHelp(args))
            return printHelp(c);
        try {
            return c.run(args);
        } catch (const std::bad_alloc &) {
            std::cerr << "Out of memory\n";
            return 1;
        } catch (const std::exception &e) {
            std::cerr << e.what() << "\n";
            return 1;
        }
    }
    std::cerr << "ilftool: unknown command '" << name << "'\n";
    printOverview(std::cerr);
    return 2;
}
