#include "library/IconCodec.h"

#include "platform/Dib.h"

namespace pictarium {

namespace {
constexpr std::size_t kDirectoryBytes = 6;
constexpr std::size_t kDirEntryBytes = 16;
constexpr std::size_t kInfoHeaderBytes = 40;
constexpr std::size_t kVgaTableBytes = 16 * 4;
} // namespace

std::optional<Icon> IconFromEntry(ByteSpan image)
{
    const ByteView entry(image);
    if (!entry.contains(0, kDirectoryBytes + kDirEntryBytes))
        return std::nullopt;
    if (*entry.u16(0) != 0 || *entry.u16(2) != 1)
        return std::nullopt;
    const std::uint32_t length = *entry.u32(14);
    const std::uint32_t offset = *entry.u32(18);
    auto picture = entry.sub(offset, length);
    // biWidth and biHeight must be readable; the icon is made at the image's own size.
    if (!picture || !picture->contains(0, 12))
        return std::nullopt;
    return createIconFromResource(picture->bytes(), 0, 0);
}

std::optional<Bytes> EncodeIconAsIco(const Icon &icon)
{
    auto bits = readIconBits4(icon);
    // The directory entry holds each side in one byte (0 meaning 256).
    if (!bits || bits->width > 256 || bits->height > 256)
        return std::nullopt;
    const auto w = static_cast<std::uint32_t>(bits->width);
    const auto h = static_cast<std::uint32_t>(bits->height);
    const auto colorBytes = static_cast<std::uint32_t>(bits->colorBits.size());
    const auto maskBytes = static_cast<std::uint32_t>(bits->maskBits.size());
    const auto imageBytes =
        static_cast<std::uint32_t>(kInfoHeaderBytes + kVgaTableBytes) + colorBytes + maskBytes;

    Bytes out;
    out.reserve(kDirectoryBytes + kDirEntryBytes + imageBytes);
    ByteWriter write(out);
    write.u16(0); // reserved
    write.u16(1); // type: icon
    write.u16(1); // one image
    write.u8(static_cast<std::uint8_t>(w & 0xFF));
    write.u8(static_cast<std::uint8_t>(h & 0xFF));
    write.u16(4); // planes x bits of the stored colour image, where colour count/reserved sit
    write.u16(0); // planes
    write.u16(0); // bit count
    write.u32(imageBytes);
    write.u32(static_cast<std::uint32_t>(kDirectoryBytes + kDirEntryBytes));

    write.u32(static_cast<std::uint32_t>(kInfoHeaderBytes));
    write.u32(w);
    write.u32(2 * h); // colour rows and mask rows
    write.u16(1);
    write.u16(4);
    write.u32(0); // uncompressed
    write.u32(colorBytes);
    write.u32(0);
    write.u32(0);
    write.u32(16);
    write.u32(0);
    for (std::uint32_t p : vgaPalette()) {
        write.u8(static_cast<std::uint8_t>(blueOf(p)));
        write.u8(static_cast<std::uint8_t>(greenOf(p)));
        write.u8(static_cast<std::uint8_t>(redOf(p)));
        write.u8(0);
    }
    write.bytes(bits->colorBits);
    write.bytes(bits->maskBits);
    return out;
}

} // namespace pictarium
