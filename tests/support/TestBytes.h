#pragma once
// Byte builders for tests, written independently of the program's own writers so that a
// fault in those cannot hide in both.

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>
#include <zlib.h>

namespace testbytes {

using Bytes = std::vector<std::uint8_t>;

inline void le32(Bytes &b, std::int64_t v)
{
    auto u = static_cast<std::uint32_t>(v);
    for (int i = 0; i < 4; ++i)
        b.push_back(static_cast<std::uint8_t>(u >> (8 * i)));
}
inline void le16(Bytes &b, unsigned v)
{
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
}
inline void append(Bytes &b, const Bytes &more) { b.insert(b.end(), more.begin(), more.end()); }
inline void append(Bytes &b, std::string_view s) { b.insert(b.end(), s.begin(), s.end()); }
inline Bytes str(std::string_view s) { return Bytes(s.begin(), s.end()); }

// A filler "image" of n bytes whose content depends on seed.
inline Bytes filler(std::size_t n, unsigned seed)
{
    Bytes b(n);
    for (std::size_t i = 0; i < n; ++i)
        b[i] = static_cast<std::uint8_t>((i * 31 + seed * 7 + (i >> 5)) & 0xff);
    return b;
}

// Block payload (Count + entries, no Size field).
inline Bytes payload(const std::vector<Bytes> &images)
{
    Bytes p;
    le32(p, static_cast<std::int64_t>(images.size()));
    for (const auto &img : images) {
        le32(p, static_cast<std::int64_t>(img.size()));
        append(p, img);
    }
    return p;
}

// Whole block (Size field + payload).
inline Bytes block(const std::vector<Bytes> &images)
{
    Bytes p = payload(images);
    Bytes b;
    le32(b, static_cast<std::int64_t>(p.size()));
    append(b, p);
    return b;
}

inline Bytes zlibCompress(const Bytes &in)
{
    uLongf len = compressBound(static_cast<uLong>(in.size()));
    Bytes out(len);
    compress(out.data(), &len, in.data(), static_cast<uLong>(in.size()));
    out.resize(len);
    return out;
}

enum class Record { None, Raw, Compressed, V1 };

// A library file put together by hand: text bytes as given, records as given, header
// fields computed unless overridden.
struct IlfBuilder {
    IlfBuilder() = default;
    explicit IlfBuilder(char v) : version(v) {}
    char version = '2';
    Bytes text;
    Bytes records;

    IlfBuilder &line(std::string_view indentAndTitle, std::string_view end = "\r\n")
    {
        append(text, indentAndTitle);
        append(text, end);
        return *this;
    }
    IlfBuilder &record(Record kind, const Bytes &payloadBytes = {})
    {
        switch (kind) {
        case Record::None: le32(records, 0); break;
        case Record::Raw:
            le32(records, static_cast<std::int64_t>(payloadBytes.size()));
            le32(records, static_cast<std::int64_t>(payloadBytes.size()));
            append(records, payloadBytes);
            break;
        case Record::Compressed: {
            Bytes z = zlibCompress(payloadBytes);
            le32(records, static_cast<std::int64_t>(payloadBytes.size()));
            le32(records, static_cast<std::int64_t>(z.size()));
            append(records, z);
            break;
        }
        case Record::V1:
            le32(records, static_cast<std::int64_t>(payloadBytes.size()));
            append(records, payloadBytes);
            break;
        }
        return *this;
    }
    Bytes build() const
    {
        Bytes f = {')', ',', '&', static_cast<std::uint8_t>(version), '0', 0, 0, 0};
        const auto t = static_cast<std::int64_t>(text.size());
        le32(f, 44);
        le32(f, 44 + t);
        le32(f, 44 + t);
        le32(f, 44 + t + static_cast<std::int64_t>(records.size()));
        f.resize(44, 0);
        append(f, text);
        append(f, records);
        return f;
    }
};

} // namespace testbytes
