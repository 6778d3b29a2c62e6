// A stored icon entry as the view and the exports use it: made into an icon, drawn at the
// system size and into the export bitmap, and encoded at 16 colours, which must read back
// to exactly the same bytes.
#include "library/IconCodec.h"
#include "platform/BmpFile.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace pictarium;
    auto icon = IconFromEntry(ByteSpan(data, size));
    if (!icon)
        return 0;
    Bitmap canvas = renderIconOnBackground(&*icon, 0x00FFFFFF);
    drawIcon(canvas, -7, 5, *icon);
    (void)encodeBitmapFile(canvas);
    (void)iconPicture(*icon, 16);
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
