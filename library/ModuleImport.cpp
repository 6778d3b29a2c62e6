#include "library/ModuleImport.h"

#include "library/IconCodec.h"
#include "library/Iconfat.h"
#include "platform/BmpFile.h"
#include "platform/Codepage.h"
#include "platform/FileIO.h"
#include "platform/PlatformError.h"

namespace pictarium {

std::optional<Icon> extractModuleIcon(const ModuleIcons &module, std::size_t index)
{
    const auto image = module.iconImage(index);
    if (!image)
        return std::nullopt;
    return createIconFromResource(*image, kSystemIconSize, kSystemIconSize);
}

ModuleImport importModule(const ModuleIcons &module, const std::string &path)
{
    std::vector<Bytes> entries(module.count()); // an icon not stored stays an empty slot
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (const auto icon = extractModuleIcon(module, i))
            if (auto encoded = EncodeIconAsIco(*icon))
                entries[i] = std::move(*encoded);
    const std::vector<ByteSpan> spans(entries.begin(), entries.end());
    return {utf8ToAnsi(ExtractBaseName(path)), TIconBlock::fromImages(spans)};
}

std::optional<ModuleImport> ImportModuleIcons(const std::string &path, bool createEmpty)
{
    if (!fileExists(path))
        return std::nullopt;
    const ModuleIcons module = ModuleIcons::fromFile(path);
    if (!createEmpty && module.count() == 0)
        return std::nullopt;
    return importModule(module, path);
}

namespace {

template <typename EntryOf>
std::optional<TIconBlock> blockOfFiles(const std::vector<std::string> &paths, const FileStep &step, EntryOf entryOf)
{
    std::vector<Bytes> entries;
    entries.reserve(paths.size());
    for (std::size_t i = 0; i < paths.size(); ++i) {
        if (step && !step(i, paths[i]))
            return std::nullopt;
        entries.push_back(entryOf(paths[i]));
    }
    const std::vector<ByteSpan> spans(entries.begin(), entries.end());
    return TIconBlock::fromImages(spans);
}

} // namespace

TIconBlock importIconFiles(const std::vector<std::string> &paths) { return *importIconFiles(paths, {}); }

std::optional<TIconBlock> importIconFiles(const std::vector<std::string> &paths, const FileStep &step)
{
    return blockOfFiles(paths, step, [](const std::string &p) { return readWholeFile(p); });
}

Bytes bitmapFileEntry(const std::string &path)
{
    const Bitmap picture = readBitmapFile(path);
    auto entry = EncodeIconAsIco(iconFromPicture(picture));
    if (!entry) // a picture icon always has colour; nothing else can make this fail
        throw PlatformError("Bitmap image is not valid");
    return std::move(*entry);
}

TIconBlock importBitmapFiles(const std::vector<std::string> &paths) { return *importBitmapFiles(paths, {}); }

std::optional<TIconBlock> importBitmapFiles(const std::vector<std::string> &paths, const FileStep &step)
{
    return blockOfFiles(paths, step, bitmapFileEntry);
}

std::string lowerExtension(const std::string &path)
{
    const std::size_t slash = path.find_last_of("/\\");
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || dot < nameStart)
        return {};
    std::string ext = path.substr(dot);
    for (char &c : ext)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return ext;
}

bool isModuleFile(const std::string &path)
{
    const std::string ext = lowerExtension(path);
    return ext == ".exe" || ext == ".dll";
}

} // namespace pictarium
