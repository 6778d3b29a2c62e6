// Stored icon entries: decoding, drawing, and the 16-colour form, which must read back to
// exactly the same bytes.
#include "library/IconCodec.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace pictarium;
    auto icon = IconFromEntry(ByteSpan(data, size));
    if (!icon)
        return 0;
    Bitmap cell(kSystemIconSize, kSystemIconSize, rgb(255, 255, 255));
    drawIcon(cell, 0, 0, *icon);
    drawIcon(cell, -7, 5, *icon);
    if (auto encoded = EncodeIconAsIco(*icon)) {
        auto again = IconFromEntry(*encoded);
        if (!again)
            std::abort();
        auto reencoded = EncodeIconAsIco(*again);
        if (!reencoded || *reencoded != *encoded)
            std::abort();
    }
    return 0;
}
