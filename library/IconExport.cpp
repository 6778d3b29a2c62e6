#include "library/IconExport.h"

#include "library/IconCodec.h"
#include "platform/BmpFile.h"
#include "platform/FileIO.h"

#include <cstdio>

namespace pictarium {

std::string exportBase(const std::string &chosen)
{
    const std::size_t slash = chosen.find_last_of("/\\");
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const std::size_t dot = chosen.find('.', nameStart);
    return dot == std::string::npos ? chosen : chosen.substr(0, dot);
}

std::string numberedIconFileName(const std::string &base, std::int32_t index)
{
    char number[16];
    std::snprintf(number, sizeof number, "%04d", static_cast<int>(index));
    return base + number + ".ico";
}

void WriteIconFile(ByteSpan image, const std::string &path) { writeFileAtomically(path, image); }

std::vector<std::string> ExportAllIcons(const TIconBlock &block, const std::string &base, const FileStep &step)
{
    std::vector<std::string> written;
    bool stopped = false;
    forEachEntry(block, [&](std::int32_t i, ByteSpan image) {
        if (stopped || image.empty())
            return;
        std::string path = numberedIconFileName(base, i);
        if (step && !step(static_cast<std::size_t>(i), path)) {
            stopped = true;
            return;
        }
        WriteIconFile(image, path);
        written.push_back(std::move(path));
    });
    return written;
}

Bitmap renderEntry(ByteSpan image, std::uint32_t backgroundColorRef)
{
    const auto icon = IconFromEntry(image);
    return renderIconOnBackground(icon ? &*icon : nullptr, backgroundColorRef);
}

void SaveAsBmpFile(ByteSpan image, std::uint32_t backgroundColorRef, const std::string &path)
{
    writeBitmapFile(path, renderEntry(image, backgroundColorRef));
}

} // namespace pictarium
