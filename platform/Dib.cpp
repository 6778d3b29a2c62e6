#include "platform/Dib.h"

#include "platform/Limits.h"

#include <bit>

namespace pictarium {

namespace {

constexpr std::uint32_t kCoreHeader = 12;
constexpr std::uint32_t kInfoHeader = 40;
constexpr std::uint32_t kV4Header = 108;
constexpr std::uint32_t kV5Header = 124;

std::optional<DibInfo> fail(DibError *why, DibError error)
{
    if (why)
        *why = error;
    return std::nullopt;
}

bool validDepth(std::uint16_t bpp)
{
    return bpp == 1 || bpp == 4 || bpp == 8 || bpp == 16 || bpp == 24 || bpp == 32;
}

// A channel value widened to 8 bits by repeating its bits (5 bits: v << 3 | v >> 2).
unsigned expandChannel(std::uint32_t value, std::uint32_t mask)
{
    if (mask == 0)
        return 0;
    const int shift = std::countr_zero(mask);
    const int width = std::popcount(mask >> shift);
    const std::uint32_t v = (value & mask) >> shift;
    if (width >= 8)
        return (v >> (width - 8)) & 0xFFu;
    unsigned result = 0;
    for (int pos = 8 - width;; pos -= width) {
        result |= pos >= 0 ? v << pos : v >> -pos;
        if (pos <= 0)
            break;
    }
    return result & 0xFFu;
}

// The pixels of an RLE stream (rows stored bottom-up) into out, which holds palette[0]
// wherever the stream writes nothing; stops at the end of the stream, at end-of-bitmap, or
// when it runs past the top row.
void decodeRle(ByteView stream, bool fourBit, const std::vector<std::uint32_t> &palette, Bitmap &out)
{
    const int width = out.width;
    const int height = out.height;
    ByteReader in(stream);
    int x = 0;
    int row = 0; // stored row, 0 = bottom
    auto put = [&](std::uint8_t index) {
        if (x < width && row < height)
            out.at(x, height - 1 - row) = palette[index % palette.size()];
        ++x;
    };
    while (row < height) {
        auto count = in.u8();
        auto value = in.u8();
        if (!count || !value)
            return;
        if (*count > 0) {
            for (int i = 0; i < *count && x < width; ++i)
                put(fourBit ? static_cast<std::uint8_t>(i % 2 == 0 ? *value >> 4 : *value & 0x0F) : *value);
            continue;
        }
        switch (*value) {
        case 0: // end of line
            x = 0;
            ++row;
            break;
        case 1: // end of bitmap
            return;
        case 2: { // delta
            auto dx = in.u8();
            auto dy = in.u8();
            if (!dx || !dy)
                return;
            x += *dx;
            row += *dy;
            break;
        }
        default: { // literal run, padded to 16 bits
            const int n = *value;
            const int bytes = fourBit ? (n + 1) / 2 : n;
            auto literal = in.take(static_cast<std::size_t>(bytes));
            if (!literal)
                return;
            for (int i = 0; i < n; ++i) {
                const std::uint8_t b = *literal->u8(static_cast<std::size_t>(fourBit ? i / 2 : i));
                put(fourBit ? static_cast<std::uint8_t>(i % 2 == 0 ? b >> 4 : b & 0x0F) : b);
            }
            if (bytes % 2 != 0 && !in.skip(1))
                return;
            break;
        }
        }
    }
}

} // namespace

std::optional<DibInfo> parseDib(ByteView dib, const DibRules &rules, DibError *why)
{
    auto headerSize = dib.u32(0);
    if (!headerSize)
        return fail(why, DibError::Truncated);
    DibInfo info;
    info.headerSize = *headerSize;
    const bool core = info.headerSize == kCoreHeader;
    const bool v4v5 = info.headerSize == kV4Header || info.headerSize == kV5Header;
    if (!core && info.headerSize != kInfoHeader && !v4v5)
        return fail(why, DibError::Invalid);
    if (v4v5 && !rules.allowV4V5)
        return fail(why, DibError::Invalid);
    if (!dib.contains(0, info.headerSize))
        return fail(why, DibError::Truncated);

    std::int64_t width = 0;
    std::int64_t height = 0;
    std::size_t entrySize = 4;
    std::size_t tableEntries = 0;
    std::size_t offset = info.headerSize;
    if (core) {
        width = *dib.u16(4);
        height = *dib.u16(6);
        info.planes = *dib.u16(8);
        info.bitCount = *dib.u16(10);
        if (info.bitCount != 1 && info.bitCount != 4 && info.bitCount != 8 && info.bitCount != 24)
            return fail(why, DibError::Invalid);
        entrySize = 3;
        tableEntries = info.bitCount <= 8 ? std::size_t{1} << info.bitCount : 0;
    } else {
        width = *dib.i32(4);
        height = *dib.i32(8);
        info.planes = *dib.u16(12);
        info.bitCount = *dib.u16(14);
        const std::uint32_t compression = *dib.u32(16);
        info.sizeImage = *dib.u32(20);
        const std::uint32_t clrUsed = *dib.u32(32);
        if (!validDepth(info.bitCount) || compression > 3)
            return fail(why, DibError::Invalid);
        info.compression = static_cast<DibCompression>(compression);
        switch (info.compression) {
        case DibCompression::Rgb:
            break;
        case DibCompression::Rle8:
        case DibCompression::Rle4:
            if (!rules.allowRle || height < 0 ||
                info.bitCount != (info.compression == DibCompression::Rle8 ? 8 : 4))
                return fail(why, DibError::Invalid);
            break;
        case DibCompression::Bitfields:
            if (info.bitCount != 16 && info.bitCount != 32)
                return fail(why, DibError::Invalid);
            break;
        }
        if (rules.limitColorsUsed && clrUsed > 256)
            return fail(why, DibError::Invalid);
        tableEntries = clrUsed != 0 ? clrUsed
                                    : (info.bitCount <= 8 ? std::size_t{1} << info.bitCount : 0);
        if (info.compression == DibCompression::Bitfields) {
            const std::size_t at = v4v5 ? 40 : info.headerSize;
            if (!dib.contains(at, 12))
                return fail(why, DibError::Truncated);
            for (std::size_t i = 0; i < 3; ++i)
                info.masks[i] = *dib.u32(at + 4 * i);
            if ((info.masks[0] | info.masks[1] | info.masks[2]) == 0)
                return fail(why, DibError::Invalid);
            if (!v4v5)
                offset += 12;
        }
    }
    if (info.compression != DibCompression::Bitfields) {
        if (info.bitCount == 16) {
            info.masks[0] = 0x7C00;
            info.masks[1] = 0x03E0;
            info.masks[2] = 0x001F;
        } else if (info.bitCount == 32) {
            info.masks[0] = 0x00FF0000;
            info.masks[1] = 0x0000FF00;
            info.masks[2] = 0x000000FF;
        }
    }

    if (height < 0) {
        if (!rules.allowTopDown)
            return fail(why, DibError::Invalid);
        info.topDown = true;
        height = -height;
    }
    if (rules.heightIncludesMask)
        height /= 2;
    if (width <= 0 || height <= 0 || (rules.requirePlanes && info.planes == 0))
        return fail(why, DibError::Invalid);
    if (static_cast<std::size_t>(width) > kLimits.maxImageSide ||
        static_cast<std::size_t>(height) > kLimits.maxImageSide ||
        static_cast<std::size_t>(width) * static_cast<std::size_t>(height) > kLimits.maxImagePixels)
        return fail(why, DibError::Invalid);
    info.width = static_cast<int>(width);
    info.height = static_cast<int>(height);

    auto tableBytes = checkedMul(tableEntries, entrySize);
    if (!tableBytes || !dib.contains(offset, *tableBytes))
        return fail(why, DibError::Truncated);
    info.paletteBytes = *tableBytes;
    if (info.bitCount <= 8) {
        // Indices past the stored table draw black.
        const std::size_t used = std::size_t{1} << info.bitCount;
        info.palette.assign(used, rgb(0, 0, 0));
        for (std::size_t i = 0; i < used && i < tableEntries; ++i) {
            const std::size_t at = offset + i * entrySize;
            info.palette[i] = rgb(*dib.u8(at + 2), *dib.u8(at + 1), *dib.u8(at));
        }
    }
    info.bitsOffset = offset + *tableBytes;
    return info;
}

std::optional<std::size_t> dibPixelBytes(const DibInfo &info)
{
    std::size_t stride = 0;
    if (!dibStride(static_cast<std::size_t>(info.width), info.bitCount, stride))
        return std::nullopt;
    return checkedMul(stride, static_cast<std::size_t>(info.height));
}

std::optional<Bitmap> decodeDibPixels(const DibInfo &info, ByteView bits)
{
    const auto w = static_cast<std::size_t>(info.width);
    const auto h = static_cast<std::size_t>(info.height);
    if (info.compression == DibCompression::Rle4 || info.compression == DibCompression::Rle8) {
        Bitmap out(info.width, info.height, info.palette[0]);
        decodeRle(bits, info.compression == DibCompression::Rle4, info.palette, out);
        return out;
    }

    std::size_t stride = 0;
    auto total = dibPixelBytes(info);
    if (!total || !dibStride(w, info.bitCount, stride) || bits.size() < *total)
        return std::nullopt;
    const ByteSpan data = bits.bytes();
    Bitmap out(info.width, info.height);
    for (std::size_t row = 0; row < h; ++row) {
        const std::size_t y = info.topDown ? row : h - 1 - row;
        const ByteSpan line = data.subspan(row * stride, stride);
        std::uint32_t *dst = out.pixels.data() + y * w;
        for (std::size_t x = 0; x < w; ++x) {
            switch (info.bitCount) {
            case 1:
                dst[x] = info.palette[(line[x / 8] >> (7 - x % 8)) & 1u];
                break;
            case 4:
                dst[x] = info.palette[(line[x / 2] >> (x % 2 == 0 ? 4 : 0)) & 0x0Fu];
                break;
            case 8:
                dst[x] = info.palette[line[x]];
                break;
            case 16: {
                const std::uint32_t v = line[2 * x] | (line[2 * x + 1] << 8);
                dst[x] = rgb(expandChannel(v, info.masks[0]), expandChannel(v, info.masks[1]),
                             expandChannel(v, info.masks[2]));
                break;
            }
            case 24:
                dst[x] = rgb(line[3 * x + 2], line[3 * x + 1], line[3 * x]);
                break;
            case 32: {
                const std::size_t at = 4 * x;
                if (info.compression == DibCompression::Rgb) {
                    dst[x] = argb(line[at + 3], line[at + 2], line[at + 1], line[at]);
                } else {
                    const std::uint32_t v = line[at] | (line[at + 1] << 8) | (line[at + 2] << 16) |
                                            (static_cast<std::uint32_t>(line[at + 3]) << 24);
                    dst[x] = rgb(expandChannel(v, info.masks[0]), expandChannel(v, info.masks[1]),
                                 expandChannel(v, info.masks[2]));
                }
                break;
            }
            default:
                return std::nullopt;
            }
        }
    }
    return out;
}

std::optional<std::vector<std::uint8_t>> decodeMaskBits(ByteView bits, int width, int height, bool topDown)
{
    if (width <= 0 || height <= 0)
        return std::nullopt;
    const auto w = static_cast<std::size_t>(width);
    const auto h = static_cast<std::size_t>(height);
    std::size_t stride = 0;
    if (!dibStride(w, 1, stride))
        return std::nullopt;
    auto total = checkedMul(stride, h);
    if (!total || bits.size() < *total)
        return std::nullopt;
    const ByteSpan data = bits.bytes();
    std::vector<std::uint8_t> mask(w * h);
    for (std::size_t row = 0; row < h; ++row) {
        const std::size_t y = topDown ? row : h - 1 - row;
        for (std::size_t x = 0; x < w; ++x)
            mask[y * w + x] = (data[row * stride + x / 8] >> (7 - x % 8)) & 1u;
    }
    return mask;
}

const std::array<std::uint32_t, 16> &vgaPalette()
{
    static const std::array<std::uint32_t, 16> palette{
        rgb(0, 0, 0),       rgb(128, 0, 0),   rgb(0, 128, 0),   rgb(128, 128, 0),
        rgb(0, 0, 128),     rgb(128, 0, 128), rgb(0, 128, 128), rgb(128, 128, 128),
        rgb(192, 192, 192), rgb(255, 0, 0),   rgb(0, 255, 0),   rgb(255, 255, 0),
        rgb(0, 0, 255),     rgb(255, 0, 255), rgb(0, 255, 255), rgb(255, 255, 255)};
    return palette;
}

int nearestVgaIndex(std::uint32_t pixel)
{
    const auto &palette = vgaPalette();
    int best = 0;
    long bestDistance = -1;
    for (int i = 0; i < 16; ++i) {
        const long dr = static_cast<long>(redOf(pixel)) - static_cast<long>(redOf(palette[i]));
        const long dg = static_cast<long>(greenOf(pixel)) - static_cast<long>(greenOf(palette[i]));
        const long db = static_cast<long>(blueOf(pixel)) - static_cast<long>(blueOf(palette[i]));
        const long d = dr * dr + dg * dg + db * db;
        if (bestDistance < 0 || d < bestDistance) {
            best = i;
            bestDistance = d;
        }
    }
    return best;
}

Bytes encodeDibBits4(const Bitmap &image)
{
    const auto w = static_cast<std::size_t>(image.width);
    const auto h = static_cast<std::size_t>(image.height);
    std::size_t stride = 0;
    if (!dibStride(w, 4, stride))
        return {};
    Bytes out(stride * h, 0);
    for (std::size_t row = 0; row < h; ++row) {
        const std::size_t y = h - 1 - row;
        for (std::size_t x = 0; x < w; ++x) {
            const auto index = static_cast<std::uint8_t>(nearestVgaIndex(image.pixels[y * w + x]));
            out[row * stride + x / 2] |= static_cast<std::uint8_t>(x % 2 == 0 ? index << 4 : index);
        }
    }
    return out;
}

Bytes encodeMaskBits(const std::vector<std::uint8_t> &mask, int width, int height)
{
    const auto w = static_cast<std::size_t>(width > 0 ? width : 0);
    const auto h = static_cast<std::size_t>(height > 0 ? height : 0);
    std::size_t stride = 0;
    if (!dibStride(w, 1, stride) || mask.size() < w * h)
        return {};
    Bytes out(stride * h, 0);
    for (std::size_t row = 0; row < h; ++row) {
        const std::size_t y = h - 1 - row;
        for (std::size_t x = 0; x < w; ++x)
            if (mask[y * w + x])
                out[row * stride + x / 8] |= static_cast<std::uint8_t>(0x80u >> (x % 8));
    }
    return out;
}

} // namespace pictarium
