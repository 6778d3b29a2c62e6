#include "app/IconImages.h"

#include "library/IconCodec.h"
#include "platform/Icon.h"

namespace pictarium {

QImage iconImage(ByteSpan entryImage, int side)
{
    if (entryImage.empty() || side <= 0)
        return {};
    const std::optional<Icon> decoded = IconFromEntry(entryImage);
    if (!decoded || decoded->width <= 0 || decoded->height <= 0)
        return {};
    const Icon icon = decoded->width == side && decoded->height == side ? *decoded : scaleIcon(*decoded, side, side);
    if (icon.image.width != side || icon.image.height != side ||
        icon.mask.size() != static_cast<std::size_t>(side) * static_cast<std::size_t>(side))
        return {};

    QImage out(side, side, QImage::Format_ARGB32);
    for (int y = 0; y < side; ++y) {
        auto *line = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < side; ++x) {
            const std::size_t i = static_cast<std::size_t>(y) * static_cast<std::size_t>(side) + static_cast<std::size_t>(x);
            const std::uint32_t p = icon.image.pixels[i];
            if (icon.hasAlpha) {
                line[x] = p;
            } else if (!icon.mask[i]) {
                line[x] = 0xFF000000u | p;
            } else if ((p & 0x00FFFFFFu) == 0) {
                line[x] = 0; // masked: the background shows through
            } else {
                // Masked with colour: the icon inverts what lies below; over the view's white
                // that is the inverted colour.
                line[x] = 0xFF000000u | (~p & 0x00FFFFFFu);
            }
        }
    }
    return out;
}

} // namespace pictarium
