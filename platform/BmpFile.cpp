#include "platform/BmpFile.h"

#include "platform/Dib.h"
#include "platform/FileIO.h"
#include "platform/PlatformError.h"

namespace pictarium {

namespace {

constexpr std::size_t kFileHeaderBytes = 14;
constexpr std::size_t kInfoHeaderBytes = 40;
constexpr std::size_t kColorTableEntries = 256;
constexpr std::size_t kExportOffBits = kFileHeaderBytes + kInfoHeaderBytes + 4 * kColorTableEntries;

// The colour table written with exported bitmaps. With no hardware palette to copy we write
// the twenty static colours of the default system palette in their places; the rest is black.
std::array<std::uint32_t, kColorTableEntries> exportColorTable()
{
    std::array<std::uint32_t, kColorTableEntries> table{};
    const std::uint32_t low[10] = {rgb(0, 0, 0),       rgb(128, 0, 0),     rgb(0, 128, 0),
                                   rgb(128, 128, 0),   rgb(0, 0, 128),     rgb(128, 0, 128),
                                   rgb(0, 128, 128),   rgb(192, 192, 192), rgb(192, 220, 192),
                                   rgb(166, 202, 240)};
    const std::uint32_t high[10] = {rgb(255, 251, 240), rgb(160, 160, 164), rgb(128, 128, 128),
                                    rgb(255, 0, 0),     rgb(0, 255, 0),     rgb(255, 255, 0),
                                    rgb(0, 0, 255),     rgb(255, 0, 255),   rgb(0, 255, 255),
                                    rgb(255, 255, 255)};
    for (std::size_t i = 0; i < 10; ++i) {
        table[i] = low[i];
        table[kColorTableEntries - 10 + i] = high[i];
    }
    return table;
}

} // namespace

std::variant<Bitmap, BmpError> decodeBitmapFile(ByteView file)
{
    if (file.empty())
        return Bitmap{};
    if (file.size() < kFileHeaderBytes)
        return BmpError::ReadError;
    if (*file.u8(0) != 'B' || *file.u8(1) != 'M')
        return BmpError::Invalid;
    const std::uint32_t offBits = *file.u32(10);

    DibError why = DibError::Invalid;
    auto info = parseDib(*file.from(kFileHeaderBytes), kBitmapFileRules, &why);
    if (!info)
        return why == DibError::Truncated ? BmpError::ReadError : BmpError::Invalid;
    const std::size_t bitsAt = offBits != 0 ? offBits : kFileHeaderBytes + info->bitsOffset;
    auto bits = file.from(bitsAt);
    if (!bits)
        return BmpError::ReadError;
    auto picture = decodeDibPixels(*info, *bits);
    if (!picture)
        return BmpError::ReadError;
    // A bitmap file's fourth byte carries no alpha.
    for (auto &p : picture->pixels)
        p |= 0xFF000000u;
    return std::move(*picture);
}

Bitmap readBitmapFile(const std::string &path)
{
    const Bytes data = readWholeFile(path);
    auto result = decodeBitmapFile(ByteView(data));
    if (auto *error = std::get_if<BmpError>(&result))
        throw PlatformError(*error == BmpError::ReadError ? "Stream read error"
                                                          : "Bitmap image is not valid");
    return std::move(std::get<Bitmap>(result));
}

Icon iconFromPicture(const Bitmap &picture)
{
    const int side = (picture.width >= 32 || picture.height >= 32) ? 32 : 16;
    Icon icon;
    icon.width = side;
    icon.height = side;
    // Nothing drawn into the square (a 0 x 0 picture) leaves it white.
    icon.image = Bitmap(side, side, rgb(255, 255, 255));
    icon.mask.assign(static_cast<std::size_t>(side) * side, 0);
    if (picture.width <= 0 || picture.height <= 0)
        return icon;
    // No smoothing: every target pixel is the source pixel under its centre.
    auto sample = [side](int d, int from) {
        return static_cast<int>(((2LL * d + 1) * from - 1) / (2LL * side));
    };
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            icon.image.at(x, y) = picture.at(sample(x, picture.width), sample(y, picture.height)) | 0xFF000000u;
    return icon;
}

Bitmap renderIconOnBackground(const Icon *icon, std::uint32_t backgroundColorRef)
{
    Bitmap picture(kSystemIconSize, kSystemIconSize, pixelFromColorRef(backgroundColorRef));
    if (icon)
        drawIcon(picture, 0, 0, *icon);
    return picture;
}

Bytes encodeBitmapFile(const Bitmap &picture)
{
    const auto w = static_cast<std::size_t>(picture.width);
    const auto h = static_cast<std::size_t>(picture.height);
    const std::size_t stride = w * 4;
    const std::size_t imageBytes = stride * h;
    Bytes out;
    out.reserve(kExportOffBits + imageBytes);
    ByteWriter write(out);
    write.u8('B');
    write.u8('M');
    write.u32(static_cast<std::uint32_t>(kExportOffBits + imageBytes));
    write.u16(0);
    write.u16(0);
    write.u32(static_cast<std::uint32_t>(kExportOffBits));
    write.u32(static_cast<std::uint32_t>(kInfoHeaderBytes));
    write.i32(picture.width);
    write.i32(picture.height); // bottom-up
    write.u16(1);
    write.u16(32);
    write.u32(0); // BI_RGB
    write.u32(static_cast<std::uint32_t>(imageBytes));
    write.u32(0);
    write.u32(0);
    write.u32(static_cast<std::uint32_t>(kColorTableEntries));
    write.u32(0);
    for (std::uint32_t p : exportColorTable()) {
        write.u8(static_cast<std::uint8_t>(blueOf(p)));
        write.u8(static_cast<std::uint8_t>(greenOf(p)));
        write.u8(static_cast<std::uint8_t>(redOf(p)));
        write.u8(0);
    }
    for (std::size_t row = 0; row < h; ++row) {
        const std::size_t y = h - 1 - row;
        for (std::size_t x = 0; x < w; ++x) {
            const std::uint32_t p = picture.pixels[y * w + x];
            write.u8(static_cast<std::uint8_t>(blueOf(p)));
            write.u8(static_cast<std::uint8_t>(greenOf(p)));
            write.u8(static_cast<std::uint8_t>(redOf(p)));
            write.u8(0);
        }
    }
    return out;
}

void writeBitmapFile(const std::string &path, const Bitmap &picture)
{
    writeFileAtomically(path, encodeBitmapFile(picture));
}

} // namespace pictarium
