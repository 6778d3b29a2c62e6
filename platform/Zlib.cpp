#include "Zlib.h"

#include <climits>
#include <stdexcept>
#include <zlib.h>

namespace pictarium {

struct Deflater::State {
    z_stream z{};
    bool ready = false;
};

Deflater::Deflater() : state_(std::make_unique<State>())
{
    state_->ready = deflateInit(&state_->z, Z_DEFAULT_COMPRESSION) == Z_OK;
}

Deflater::~Deflater()
{
    if (state_->ready)
        deflateEnd(&state_->z);
}

std::optional<std::size_t> Deflater::compress(ByteSpan in, std::span<std::uint8_t> out)
{
    if (!state_->ready || in.size() > UINT_MAX || out.size() > UINT_MAX)
        return std::nullopt;
    z_stream &z = state_->z;
    if (deflateReset(&z) != Z_OK)
        return std::nullopt;
    z.next_in = const_cast<Bytef *>(in.data());
    z.avail_in = static_cast<uInt>(in.size());
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    if (deflate(&z, Z_FINISH) != Z_STREAM_END)
        return std::nullopt;
    return static_cast<std::size_t>(z.total_out);
}

struct Inflater::State {
    z_stream z{};
    bool ready = false;
};

Inflater::Inflater() : state_(std::make_unique<State>())
{
    state_->ready = inflateInit(&state_->z) == Z_OK;
}

Inflater::~Inflater()
{
    if (state_->ready)
        inflateEnd(&state_->z);
}

std::optional<std::size_t> Inflater::uncompress(ByteSpan in, std::span<std::uint8_t> out)
{
    if (!state_->ready || in.size() > UINT_MAX || out.size() > UINT_MAX)
        return std::nullopt;
    z_stream &z = state_->z;
    if (inflateReset(&z) != Z_OK)
        return std::nullopt;
    z.next_in = const_cast<Bytef *>(in.data());
    z.avail_in = static_cast<uInt>(in.size());
    // zlib never writes through next_out when avail_out is 0, but wants a valid pointer.
    std::uint8_t dummy = 0;
    z.next_out = out.empty() ? &dummy : out.data();
    z.avail_out = static_cast<uInt>(out.size());
    if (inflate(&z, Z_FINISH) != Z_STREAM_END)
        return std::nullopt;
    return static_cast<std::size_t>(z.total_out);
}

} // namespace pictarium
