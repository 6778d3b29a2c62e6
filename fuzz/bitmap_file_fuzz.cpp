// The bitmap file reader and the icon a bitmap import makes of what it reads.
#include "library/IconCodec.h"
#include "platform/BmpFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace pictarium;
    auto result = decodeBitmapFile(ByteView(ByteSpan(data, size)));
    if (auto *picture = std::get_if<Bitmap>(&result))
        (void)EncodeIconAsIco(iconFromPicture(*picture));
    return 0;
}
