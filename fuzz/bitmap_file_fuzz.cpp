// The bitmap file reader, the icon a bitmap import makes of what it reads, and the writer,
// whose files the reader must give back unchanged.
#include "library/IconCodec.h"
#include "platform/BmpFile.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace pictarium;
    auto result = decodeBitmapFile(ByteView(ByteSpan(data, size)));
    auto *picture = std::get_if<Bitmap>(&result);
    if (!picture)
        return 0;
    if (!EncodeIconAsIco(iconFromPicture(*picture)))
        std::abort();
    // The writer is only ever given the export square; an empty picture has no file form.
    if (!picture->empty() && picture->pixels.size() <= 256 * 256) {
        auto back = decodeBitmapFile(ByteView(encodeBitmapFile(*picture)));
        auto *same = std::get_if<Bitmap>(&back);
        if (!same || *same != *picture)
            std::abort();
    }
    return 0;
}
