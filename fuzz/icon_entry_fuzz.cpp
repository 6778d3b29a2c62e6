// A stored icon entry as the view and the exports use it: made into an icon, drawn at the
// system size, read back at 16 colours and encoded again.
#include "library/IconCodec.h"
#include "platform/BmpFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace pictarium;
    auto icon = IconFromEntry(ByteSpan(data, size));
    if (!icon)
        return 0;
    Bitmap canvas = renderIconOnBackground(&*icon, 0x00FFFFFF);
    (void)encodeBitmapFile(canvas);
    (void)EncodeIconAsIco(*icon);
    return 0;
}
