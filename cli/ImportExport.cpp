// import, export, render: getting icons into and out of a library from the command line.
#include "Commands.h"

#include "library/IconExport.h"
#include "library/ModuleImport.h"
#include "platform/Codepage.h"
#include "platform/FileIO.h"
#include "platform/PlatformError.h"

#include <iostream>

namespace pictarium::cli {
namespace {

constexpr const char *kNoIcon = "没有图标！";
constexpr const char *kNewNodeTitle = "新建标题";

// The node --node names, or null after printing why there is none.
LibraryNode *nodeOption(const LibraryTree &tree, const std::string &text)
{
    const auto index = parseIndex(text);
    LibraryNode *node = index ? tree.nodeAt(*index) : nullptr;
    if (!node)
        std::cerr << "no node " << text << " (the library has " << tree.count() << ")\n";
    return node;
}

enum class FileKind { Module, IconFile, Bitmap, Other };

FileKind kindOf(const std::string &path)
{
    if (isModuleFile(path))
        return FileKind::Module;
    const std::string ext = lowerExtension(path);
    if (ext == ".ico")
        return FileKind::IconFile;
    if (ext == ".bmp")
        return FileKind::Bitmap;
    return FileKind::Other;
}

// "RRGGBB" as the platform's 0x00BBGGRR colour.
std::optional<std::uint32_t> parseColour(const std::string &text)
{
    if (text.size() != 6 || text.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
        return std::nullopt;
    const auto rrggbb = static_cast<std::uint32_t>(std::stoul(text, nullptr, 16));
    return ((rrggbb >> 16) & 0xFF) | (rrggbb & 0xFF00) | ((rrggbb & 0xFF) << 16);
}

} // namespace

int cmdImport(const Args &args)
{
    const auto &cmd = commandNamed("import");
    auto parsed = parseArgs(cmd, args, {"--node"});
    if (!parsed)
        return 2;
    if (parsed->positional.size() < 2)
        return usageError(cmd, "expected a library and at least one file");
    const std::string &libPath = parsed->positional[0];
    const std::vector<std::string> files(parsed->positional.begin() + 1, parsed->positional.end());
    for (const auto &f : files)
        if (kindOf(f) == FileKind::Other)
            return usageError(cmd, "not a module, icon or bitmap file: " + f);

    auto contents = loadForCommand(libPath);
    if (!contents)
        return 1;
    LibraryTree &tree = contents->tree;
    LibraryNode *target = nullptr;
    if (const auto it = parsed->options.find("--node"); it != parsed->options.end())
        if (!(target = nodeOption(tree, it->second)))
            return 1;

    // Everything is read before the tree changes; any failure leaves the file untouched.
    std::vector<ModuleImport> modules;
    std::vector<Bytes> entries;
    for (const auto &f : files) {
        switch (kindOf(f)) {
        case FileKind::Module: {
            auto made = ImportModuleIcons(f, true);
            if (!made)
                throw PlatformError(formatMessage("Cannot open file %s", f));
            modules.push_back(std::move(*made));
            break;
        }
        case FileKind::IconFile: entries.push_back(readWholeFile(f)); break;
        case FileKind::Bitmap: entries.push_back(bitmapFileEntry(f)); break;
        case FileKind::Other: break;
        }
    }

    for (auto &m : modules) {
        LibraryNode *node = tree.add(target, std::move(m.title));
        node->block = std::move(m.block);
        node->imageIndex = kModuleNodeImage;
        node->selectedIndex = kModuleNodeSelectedImage;
        std::cout << "node " << tree.indexOf(node) << ": " << ansiToUtf8(node->title) << " ("
                  << node->block->Count() << " icons)\n";
    }
    if (!entries.empty()) {
        const std::vector<ByteSpan> spans(entries.begin(), entries.end());
        const TIconBlock block = TIconBlock::fromImages(spans);
        LibraryNode *node = target ? target : tree.add(nullptr, utf8ToAnsi(kNewNodeTitle));
        AppendIconBlock(node, &block);
        std::cout << "node " << tree.indexOf(node) << ": " << ansiToUtf8(node->title) << " (+"
                  << block.Count() << " icons)\n";
    }
    return saveForCommand(libPath, tree) ? 0 : 1;
}

int cmdExport(const Args &args)
{
    const auto &cmd = commandNamed("export");
    auto parsed = parseArgs(cmd, args, {"--node"});
    if (!parsed)
        return 2;
    if (parsed->positional.size() != 2 || !parsed->options.contains("--node"))
        return usageError(cmd, "expected a library, --node I and a base name");
    auto contents = loadForCommand(parsed->positional[0]);
    if (!contents)
        return 1;
    const LibraryNode *node = nodeOption(contents->tree, parsed->options.at("--node"));
    if (!node)
        return 1;
    if (!node->block) {
        std::cerr << kNoIcon << "\n";
        return 1;
    }
    for (const auto &path : ExportAllIcons(*node->block, parsed->positional[1]))
        std::cout << path << "\n";
    return 0;
}

int cmdRender(const Args &args)
{
    const auto &cmd = commandNamed("render");
    auto parsed = parseArgs(cmd, args, {"--node", "--entry", "--background"});
    if (!parsed)
        return 2;
    if (parsed->positional.size() != 2 || !parsed->options.contains("--node") ||
        !parsed->options.contains("--entry"))
        return usageError(cmd, "expected a library, --node I, --entry K and an output file");
    std::uint32_t background = 0xFFFFFF;
    if (const auto it = parsed->options.find("--background"); it != parsed->options.end()) {
        const auto colour = parseColour(it->second);
        if (!colour)
            return usageError(cmd, "--background takes RRGGBB in hex");
        background = *colour;
    }
    const auto entry = parseIndex(parsed->options.at("--entry"));
    if (!entry)
        return usageError(cmd, "--entry takes an index");
    auto contents = loadForCommand(parsed->positional[0]);
    if (!contents)
        return 1;
    const LibraryNode *node = nodeOption(contents->tree, parsed->options.at("--node"));
    if (!node)
        return 1;
    const auto image = GetIconEntry(node, static_cast<std::int32_t>(*entry));
    if (!image) {
        std::cerr << kNoIcon << "\n";
        return 1;
    }
    SaveAsBmpFile(*image, background, parsed->positional[1]);
    return 0;
}

} // namespace pictarium::cli
