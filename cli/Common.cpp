#include "Commands.h"

#include "platform/PlatformError.h"

#include <iostream>

namespace pictarium::cli {

int usageError(const Command &command, const std::string &problem)
{
    std::cerr << "ilftool " << command.name << ": " << problem << "\nusage: " << command.usage << "\n";
    return 2;
}

bool wantsHelp(const Args &args)
{
    for (const auto &a : args)
        if (a == "--help" || a == "-h")
            return true;
    return false;
}

int printHelp(const Command &command)
{
    std::cout << "usage: " << command.usage << "\n" << command.summary << "\n";
    return 0;
}

std::optional<IlfContents> loadForCommand(const std::string &path)
{
    IlfLoadResult result = loadILF(path);
    if (auto *ok = std::get_if<IlfContents>(&result))
        return std::move(*ok);
    if (std::holds_alternative<IlfMissing>(result))
        std::cerr << formatMessage("Cannot open file %s", path) << "\n";
    else if (auto *bad = std::get_if<IlfRejected>(&result))
        std::cerr << "File Error!! (" << bad->reason << ")\n";
    else if (auto *level = std::get_if<IlfInvalidLevel>(&result))
        std::cerr << level->message() << "\n";
    return std::nullopt;
}

bool saveForCommand(const std::string &path, const LibraryTree &tree)
{
    try {
        saveILF(path, tree);
        return true;
    } catch (const PlatformError &e) {
        std::cerr << e.what() << "\n";
        return false;
    }
}

} // namespace pictarium::cli
