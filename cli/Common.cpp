#include "Commands.h"

#include "platform/PlatformError.h"

#include <algorithm>
#include <iostream>

namespace pictarium::cli {

const Command &commandNamed(const char *name)
{
    for (const auto &c : commands())
        if (std::string(name) == c.name)
            return c;
    throw std::logic_error("unknown command");
}

std::optional<ParsedArgs> parseArgs(const Command &command, const Args &args,
                                    const std::vector<std::string> &valueOptions,
                                    const std::vector<std::string> &flagOptions)
{
    ParsedArgs parsed;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string &a = args[i];
        if (a.size() < 2 || a[0] != '-') {
            parsed.positional.push_back(a);
            continue;
        }
        if (std::find(flagOptions.begin(), flagOptions.end(), a) != flagOptions.end()) {
            if (!parsed.flags.insert(a).second) {
                usageError(command, a + " given twice");
                return std::nullopt;
            }
            continue;
        }
        if (std::find(valueOptions.begin(), valueOptions.end(), a) == valueOptions.end()) {
            usageError(command, "unknown option " + a);
            return std::nullopt;
        }
        if (i + 1 == args.size()) {
            usageError(command, a + " needs a value");
            return std::nullopt;
        }
        if (!parsed.options.emplace(a, args[++i]).second) {
            usageError(command, a + " given twice");
            return std::nullopt;
        }
    }
    return parsed;
}

std::optional<std::size_t> parseIndex(const std::string &text)
{
    if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    return static_cast<std::size_t>(std::stoul(text));
}

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
