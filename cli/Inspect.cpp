// info, tree, new, check: the read-only views of a library and the empty library.
#include "Commands.h"

#include "platform/Codepage.h"
#include "platform/FileIO.h"

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <zlib.h>

namespace pictarium::cli {
namespace {

// The single positional argument (the library) of an inspect command, or nothing after a
// usage error has been printed.
std::optional<ParsedArgs> oneLibrary(const Command &cmd, const Args &args, const std::vector<std::string> &flags = {})
{
    auto parsed = parseArgs(cmd, args, {}, flags);
    if (parsed && parsed->positional.size() != 1) {
        usageError(cmd, "expected 1 argument(s)");
        return std::nullopt;
    }
    return parsed;
}

std::string jsonString(const std::string &utf8)
{
    std::string out = "\"";
    for (unsigned char c : utf8) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (c < 0x20) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", c);
                out += buf;
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    return out + "\"";
}

std::string crcHex(ByteSpan bytes)
{
    uLong crc = crc32(0L, Z_NULL, 0);
    crc = crc32_z(crc, bytes.data(), bytes.size());
    char buf[16];
    std::snprintf(buf, sizeof buf, "%08lx", crc & 0xffffffffUL);
    return buf;
}

} // namespace

int cmdInfo(const Args &args)
{
    const auto &cmd = commandNamed("info");
    auto pos = oneLibrary(cmd, args);
    if (!pos)
        return 2;
    const std::string &path = pos->positional[0];
    auto contents = loadForCommand(path);
    if (!contents)
        return 1;
    const Bytes bytes = readWholeFile(path);
    auto header = TILFHeader::read(ByteView(bytes));
    std::cout << "version: " << static_cast<char>(header->Version) << "\n"
              << "text-bytes: " << (std::int64_t{header->TextEnd} - header->TextOffset) << "\n"
              << "record-offset: " << header->RecordOffset << "\n"
              << "file-size: " << bytes.size() << "\n"
              << "nodes: " << contents->tree.count() << "\n"
              << "icons: " << totalIcons(contents->tree) << "\n";
    return 0;
}

int cmdTree(const Args &args)
{
    const auto &cmd = commandNamed("tree");
    auto pos = oneLibrary(cmd, args, {"--json"});
    if (!pos)
        return 2;
    auto contents = loadForCommand(pos->positional[0]);
    if (!contents)
        return 1;
    const bool json = pos->flags.contains("--json");
    std::string out;
    if (json)
        out += "{\"nodes\":[";
    std::size_t index = 0;
    contents->tree.forEachPreorder([&](const LibraryNode &node) {
        const int level = node.level();
        const std::string title = ansiToUtf8(node.title);
        if (!json) {
            out += std::string(static_cast<std::size_t>(level) * 2, ' ') + title + " (" +
                   std::to_string(node.iconCount()) + ")\n";
            ++index;
            return;
        }
        if (index)
            out += ",";
        out += "{\"index\":" + std::to_string(index) + ",\"level\":" + std::to_string(level) +
               ",\"title\":" + jsonString(title);
        if (!node.block) {
            out += ",\"count\":null,\"size\":null,\"entries\":null}";
        } else {
            out += ",\"count\":" + std::to_string(node.block->Count()) +
                   ",\"size\":" + std::to_string(node.block->Size()) + ",\"entries\":[";
            forEachEntry(*node.block, [&](std::int32_t i, ByteSpan image) {
                if (i)
                    out += ",";
                out += "{\"size\":" + std::to_string(image.size()) + ",\"crc32\":\"" + crcHex(image) + "\"}";
            });
            out += "]}";
        }
        ++index;
    });
    if (json)
        out += "]}\n";
    std::cout << out;
    return 0;
}

int cmdNew(const Args &args)
{
    const auto &cmd = commandNamed("new");
    auto pos = oneLibrary(cmd, args);
    if (!pos)
        return 2;
    return saveForCommand(pos->positional[0], LibraryTree{}) ? 0 : 1;
}

int cmdCheck(const Args &args)
{
    const auto &cmd = commandNamed("check");
    auto pos = oneLibrary(cmd, args);
    if (!pos)
        return 2;
    const std::string &path = pos->positional[0];
    auto problems = checkILF(readWholeFile(path));
    for (const auto &p : problems)
        std::cout << p << "\n";
    if (problems.empty())
        std::cout << "ok\n";
    return problems.empty() ? 0 : 1;
}

} // namespace pictarium::cli
