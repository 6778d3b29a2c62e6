#include "platform/Png.h"

#include "platform/Limits.h"

#include <csetjmp>
#include <png.h>

namespace pictarium {

namespace {

constexpr std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

struct MemorySource {
    ByteSpan data;
    std::size_t pos = 0;
};

void readFromMemory(png_structp png, png_bytep out, png_size_t length)
{
    auto *src = static_cast<MemorySource *>(png_get_io_ptr(png));
    if (length > src->data.size() - src->pos)
        png_error(png, "read past end of data");
    for (png_size_t i = 0; i < length; ++i)
        out[i] = src->data[src->pos + i];
    src->pos += length;
}

void ignoreWarning(png_structp, png_const_charp) {}
// Damaged images are an answer (no image), not a message on stderr.
[[noreturn]] void quietError(png_structp png, png_const_charp) { png_longjmp(png, 1); }

// Owns the libpng structures so every exit frees them.
struct PngReader {
    png_structp png = nullptr;
    png_infop info = nullptr;
    PngReader()
    {
        png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, quietError, ignoreWarning);
        if (png)
            info = png_create_info_struct(png);
    }
    ~PngReader() { png_destroy_read_struct(png ? &png : nullptr, info ? &info : nullptr, nullptr); }
    PngReader(const PngReader &) = delete;
    PngReader &operator=(const PngReader &) = delete;
};

// Everything libpng may longjmp out of lives in this frame and holds no C++ objects whose
// lifetime a jump could cut short; rows and out are owned by the caller.
bool decodeInto(PngReader &reader, MemorySource &source, Bytes &rgba, png_uint_32 &width,
                png_uint_32 &height)
{
    png_structp png = reader.png;
    png_infop info = reader.info;
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_read_fn(png, &source, readFromMemory);
    const auto side = static_cast<png_uint_32>(kLimits.maxPngIconSide);
    png_set_user_limits(png, side, side);
    png_read_info(png, info);

    width = png_get_image_width(png, info);
    height = png_get_image_height(png, info);
    if (static_cast<std::size_t>(width) * height > kLimits.maxImagePixels)
        return false;
    const int colorType = png_get_color_type(png, info);
    png_set_expand(png);
    png_set_strip_16(png);
    if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA)
        png_set_gray_to_rgb(png);
    png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    const int passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != static_cast<std::size_t>(width) * 4)
        return false;

    rgba.resize(static_cast<std::size_t>(width) * height * 4);
    for (int pass = 0; pass < passes; ++pass)
        for (png_uint_32 y = 0; y < height; ++y)
            png_read_row(png, rgba.data() + static_cast<std::size_t>(y) * width * 4, nullptr);
    return true;
}

} // namespace

bool isPng(ByteView data)
{
    for (std::size_t i = 0; i < sizeof kSignature; ++i)
        if (data.u8(i) != kSignature[i])
            return false;
    return true;
}

std::optional<Bitmap> decodePng(ByteView data)
{
    if (!isPng(data))
        return std::nullopt;
    PngReader reader;
    if (!reader.png || !reader.info)
        return std::nullopt;
    MemorySource source{data.bytes(), 0};
    Bytes rgba;
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    if (!decodeInto(reader, source, rgba, width, height))
        return std::nullopt;
    Bitmap out(static_cast<int>(width), static_cast<int>(height));
    for (std::size_t i = 0; i < out.pixels.size(); ++i)
        out.pixels[i] = argb(rgba[4 * i + 3], rgba[4 * i], rgba[4 * i + 1], rgba[4 * i + 2]);
    return out;
}

} // namespace pictarium
