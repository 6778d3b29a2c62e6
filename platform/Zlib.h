#pragma once
// zlib streams (RFC 1950) with one reusable state each: a stream made here is byte for byte
// what zlib's compress() makes at the default level, without allocating and freeing the
// compressor's state for every record.

#include "Bytes.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <span>

namespace pictarium {

class Deflater {
public:
    Deflater();
    ~Deflater();
    Deflater(const Deflater &) = delete;
    Deflater &operator=(const Deflater &) = delete;

    // Compresses `in` into `out`; the stream's length, or nothing when it does not fit into
    // out (or zlib fails).
    std::optional<std::size_t> compress(ByteSpan in, std::span<std::uint8_t> out);

private:
    struct State;
    std::unique_ptr<State> state_;
};

class Inflater {
public:
    Inflater();
    ~Inflater();
    Inflater(const Inflater &) = delete;
    Inflater &operator=(const Inflater &) = delete;

    // Decompresses one whole zlib stream from `in` into `out`; the number of bytes produced,
    // or nothing when the stream is damaged, incomplete, or would not fit into out.
    std::optional<std::size_t> uncompress(ByteSpan in, std::span<std::uint8_t> out);

private:
    struct State;
    std::unique_ptr<State> state_;
};

} // namespace pictarium
