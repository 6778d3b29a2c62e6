#include "app/IconImages.h"

#include "library/IconCodec.h"
#include "platform/Icon.h"

#include <algorithm>

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

    // The icon is side x side already, so the picture takes its pixels one for one.
    const Bitmap picture = iconPicture(icon, side);
    QImage out(side, side, QImage::Format_ARGB32);
    for (int y = 0; y < side; ++y)
        std::copy_n(picture.pixels.begin() + static_cast<std::ptrdiff_t>(y) * side, side,
                    reinterpret_cast<QRgb *>(out.scanLine(y)));
    return out;
}

} // namespace pictarium
