#include "platform/Icon.h"

#include "platform/Dib.h"
#include "platform/Png.h"

#include <algorithm>

namespace pictarium {

namespace {

// Destination coordinate d of D taking source coordinate floor(((2d+1)S - 1) / 2D) of S.
int centreSample(int d, int from, int to)
{
    return static_cast<int>(((2 * static_cast<long long>(d) + 1) * from - 1) / (2 * static_cast<long long>(to)));
}

// The sources of each destination coordinate when shrinking from S to D: source s goes to
// destination floor(((2s+1)D - 1) / 2S). Enlarging gives one centre-sampled source each.
std::vector<std::pair<int, int>> sourceRanges(int from, int to)
{
    std::vector<std::pair<int, int>> ranges(static_cast<std::size_t>(to), {0, -1});
    if (to >= from) {
        for (int d = 0; d < to; ++d) {
            const int s = centreSample(d, from, to);
            ranges[static_cast<std::size_t>(d)] = {s, s};
        }
        return ranges;
    }
    for (int s = 0; s < from; ++s) {
        const int d = centreSample(s, to, from);
        auto &r = ranges[static_cast<std::size_t>(d)];
        if (r.second < r.first)
            r.first = s;
        r.second = s;
    }
    return ranges;
}

// The one source of each destination coordinate when drawing from `from` to `to`: the
// centre sample when enlarging; when shrinking, the last (keepLast) or the first source of
// the group.
std::vector<int> deleteScans(int from, int to, bool keepLast)
{
    std::vector<int> out(static_cast<std::size_t>(to), -1);
    if (to >= from) {
        for (int d = 0; d < to; ++d)
            out[static_cast<std::size_t>(d)] = centreSample(d, from, to);
        return out;
    }
    for (int s = 0; s < from; ++s) {
        int &slot = out[static_cast<std::size_t>(centreSample(s, to, from))];
        if (keepLast || slot < 0)
            slot = s;
    }
    return out;
}

bool wellFormed(const Icon &icon)
{
    return icon.width > 0 && icon.height > 0 && icon.image.width == icon.width &&
           icon.image.height == icon.height && icon.mask.size() == icon.image.pixels.size();
}

// Calls put(targetX, targetY, sourceIndex) for every pixel of a cx x cy cell at (x, y) that
// lies inside the target, with the source pixel that delete-scans scaling picks for it.
template <typename Put>
void forEachCellPixel(int targetWidth, int targetHeight, int x, int y, const Icon &icon, int cx, int cy, Put put)
{
    const std::vector<int> columns = deleteScans(icon.width, cx, true);
    const std::vector<int> rows = deleteScans(icon.height, cy, false);
    const auto srcW = static_cast<std::size_t>(icon.width);
    for (int dy = 0; dy < cy; ++dy) {
        const int ty = y + dy;
        if (ty < 0 || ty >= targetHeight)
            continue;
        for (int dx = 0; dx < cx; ++dx) {
            const int tx = x + dx;
            if (tx < 0 || tx >= targetWidth)
                continue;
            put(tx, ty, static_cast<std::size_t>(rows[static_cast<std::size_t>(dy)]) * srcW +
                            static_cast<std::size_t>(columns[static_cast<std::size_t>(dx)]));
        }
    }
}

std::vector<std::uint8_t> maskFromAlpha(const Bitmap &image)
{
    std::vector<std::uint8_t> mask(image.pixels.size());
    for (std::size_t i = 0; i < mask.size(); ++i)
        mask[i] = alphaOf(image.pixels[i]) != 0xFF ? 1 : 0;
    return mask;
}

std::optional<Icon> iconFromPng(ByteView data)
{
    auto picture = decodePng(data);
    if (!picture)
        return std::nullopt;
    Icon icon;
    icon.width = picture->width;
    icon.height = picture->height;
    icon.mask = maskFromAlpha(*picture);
    icon.hasAlpha = std::any_of(picture->pixels.begin(), picture->pixels.end(),
                                [](std::uint32_t p) { return alphaOf(p) != 0xFF; });
    icon.image = std::move(*picture);
    return icon;
}

std::optional<Icon> iconFromDib(ByteView data)
{
    auto info = parseDib(data, kIconImageRules);
    if (!info)
        return std::nullopt;
    auto colorBytes = dibPixelBytes(*info);
    if (!colorBytes)
        return std::nullopt;
    auto bits = data.from(info->bitsOffset);
    if (!bits)
        return std::nullopt;
    auto image = decodeDibPixels(*info, *bits);
    if (!image)
        return std::nullopt;

    Icon icon;
    icon.width = info->width;
    icon.height = info->height;
    // A mask that does not fit whole counts as absent: every pixel opaque.
    std::optional<std::vector<std::uint8_t>> mask;
    if (auto maskBits = bits->from(*colorBytes))
        mask = decodeMaskBits(*maskBits, info->width, info->height, false);

    icon.monochrome = info->bitCount == 1 && info->palette.size() == 2 &&
                      info->palette[0] == rgb(0, 0, 0) && info->palette[1] == rgb(255, 255, 255);
    if (info->bitCount == 32 && info->compression == DibCompression::Rgb)
        icon.hasAlpha = std::any_of(image->pixels.begin(), image->pixels.end(),
                                    [](std::uint32_t p) { return alphaOf(p) != 0; });
    if (icon.hasAlpha) {
        icon.mask = mask ? std::move(*mask) : maskFromAlpha(*image);
    } else {
        for (auto &p : image->pixels)
            p |= 0xFF000000u;
        icon.mask = mask ? std::move(*mask)
                         : std::vector<std::uint8_t>(image->pixels.size(), 0);
    }
    icon.image = std::move(*image);
    return icon;
}

} // namespace

std::optional<Icon> createIconFromResource(ByteSpan image, int cxDesired, int cyDesired)
{
    const ByteView data(image);
    auto icon = isPng(data) ? iconFromPng(data) : iconFromDib(data);
    if (!icon)
        return std::nullopt;
    const int w = cxDesired > 0 ? cxDesired : icon->width;
    const int h = cyDesired > 0 ? cyDesired : icon->height;
    if (w != icon->width || h != icon->height)
        return scaleIcon(*icon, w, h);
    return icon;
}

Icon scaleIcon(const Icon &icon, int width, int height)
{
    if (width <= 0 || height <= 0 || icon.width <= 0 || icon.height <= 0)
        return Icon{};
    const auto xs = sourceRanges(icon.width, width);
    const auto ys = sourceRanges(icon.height, height);
    Icon out;
    out.width = width;
    out.height = height;
    out.monochrome = icon.monochrome;
    out.hasAlpha = icon.hasAlpha;
    out.image = Bitmap(width, height);
    out.mask.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
    const auto srcW = static_cast<std::size_t>(icon.width);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::uint32_t colour = 0xFFFFFFFFu;
            std::uint8_t maskBit = 1;
            for (int sy = ys[static_cast<std::size_t>(y)].first; sy <= ys[static_cast<std::size_t>(y)].second; ++sy)
                for (int sx = xs[static_cast<std::size_t>(x)].first; sx <= xs[static_cast<std::size_t>(x)].second; ++sx) {
                    const std::size_t i = static_cast<std::size_t>(sy) * srcW + static_cast<std::size_t>(sx);
                    colour &= icon.image.pixels[i];
                    maskBit &= icon.mask[i];
                }
            out.image.at(x, y) = colour;
            out.mask[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)] = maskBit;
        }
    }
    return out;
}

void drawIcon(Bitmap &target, int x, int y, const Icon &icon)
{
    drawIconSized(target, x, y, icon, kSystemIconSize, kSystemIconSize);
}

void drawIconSized(Bitmap &target, int x, int y, const Icon &icon, int cx, int cy)
{
    if (!wellFormed(icon) || cx <= 0 || cy <= 0)
        return;
    forEachCellPixel(target.width, target.height, x, y, icon, cx, cy, [&](int tx, int ty, std::size_t i) {
        const std::uint32_t src = icon.image.pixels[i];
        std::uint32_t &dst = target.at(tx, ty);
        if (icon.hasAlpha) {
            const unsigned a = alphaOf(src);
            auto blend = [a](unsigned s, unsigned d) {
                return (s * a + 127) / 255 + (d * (255 - a) + 127) / 255;
            };
            dst = rgb(blend(redOf(src), redOf(dst)), blend(greenOf(src), greenOf(dst)),
                      blend(blueOf(src), blueOf(dst)));
        } else {
            const std::uint32_t keep = icon.mask[i] ? 0x00FFFFFFu : 0u;
            dst = 0xFF000000u | (((dst & keep) ^ src) & 0x00FFFFFFu);
        }
    });
}

Bitmap iconPicture(const Icon &icon, int side)
{
    Bitmap out(side, side, 0);
    if (!wellFormed(icon) || side <= 0)
        return out;
    forEachCellPixel(side, side, 0, 0, icon, side, side, [&](int tx, int ty, std::size_t i) {
        const std::uint32_t src = icon.image.pixels[i];
        std::uint32_t colour = src;
        if (!icon.hasAlpha) {
            if (!icon.mask[i])
                colour = 0xFF000000u | src;
            else if ((src & 0x00FFFFFFu) == 0)
                colour = 0;
            else // an inverting pixel, shown as it inverts a white background
                colour = 0xFF000000u | (~src & 0x00FFFFFFu);
        }
        out.at(tx, ty) = colour;
    });
    return out;
}

std::optional<IconBits4> readIconBits4(const Icon &icon)
{
    if (icon.monochrome || icon.width <= 0 || icon.height <= 0)
        return std::nullopt;
    IconBits4 bits;
    bits.width = icon.width;
    bits.height = icon.height;
    bits.colorBits = encodeDibBits4(icon.image);
    bits.maskBits = encodeMaskBits(icon.mask, icon.width, icon.height);
    return bits;
}

} // namespace pictarium
