#pragma once
// ilftool's commands. Each takes the arguments after its name and answers the exit status:
// 0 success, 1 failure (message on stderr), 2 usage error.

#include "library/Iconfat.h"

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace pictarium::cli {

using Args = std::vector<std::string>;

struct Command {
    const char *name;
    const char *usage;   // one line: "ilftool info LIB"
    const char *summary; // what it does, for --help
    int (*run)(const Args &args);
};

// Every command, in the order --help lists them.
const std::vector<Command> &commands();

// Helpers shared by the commands.
const Command &commandNamed(const char *name);
// Positional arguments and the values of `valueOptions` ("--node" -> "3"), or nothing after a
// usage error (unknown option, option without value, given twice) has been printed.
struct ParsedArgs {
    Args positional;
    std::map<std::string, std::string> options; // value options given, with their values
    std::set<std::string> flags;                 // flag options given
};
// Splits a command's arguments; prints a usage error and answers nothing for an unknown
// option, a value option without its value, or an option given twice.
std::optional<ParsedArgs> parseArgs(const Command &command, const Args &args,
                                    const std::vector<std::string> &valueOptions,
                                    const std::vector<std::string> &flagOptions = {});
// A non-negative decimal index, or nothing.
std::optional<std::size_t> parseIndex(const std::string &text);
int usageError(const Command &command, const std::string &problem);
bool wantsHelp(const Args &args);
int printHelp(const Command &command);
// Loads a library for a command; prints the program's message and answers nothing when it
// cannot ("File Error!!", the tree text error, "Cannot open file %s", or a missing file).
std::optional<IlfContents> loadForCommand(const std::string &path);
// Writes a library safely; prints the failure and answers false.
bool saveForCommand(const std::string &path, const LibraryTree &tree);

int cmdInfo(const Args &args);
int cmdTree(const Args &args);
int cmdNew(const Args &args);
int cmdCheck(const Args &args);
int cmdImport(const Args &args);
int cmdExport(const Args &args);
int cmdRender(const Args &args);

} // namespace pictarium::cli
