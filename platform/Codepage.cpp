#include "Codepage.h"

#include <cerrno>
#include <iconv.h>

namespace pictarium {
namespace {

// Runs iconv over the whole input; on an invalid or incomplete sequence emits `replacement`
// and resumes one byte later, so conversion never fails as a whole.
std::string convert(const char *to, const char *from, ByteSpan in, std::string_view replacement)
{
    std::string out;
    if (in.empty())
        return out;
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        // No converter: keep ASCII, mark the rest.
        for (auto b : in)
            out += b < 0x80 ? std::string(1, static_cast<char>(b)) : std::string(replacement);
        return out;
    }
    out.reserve(in.size() * 2);
    std::string chunk(4 * in.size() + 16, '\0');
    char *src = const_cast<char *>(reinterpret_cast<const char *>(in.data()));
    size_t srcLeft = in.size();
    while (srcLeft > 0) {
        char *dst = chunk.data();
        size_t dstLeft = chunk.size();
        size_t rc = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        out.append(chunk.data(), chunk.size() - dstLeft);
        if (rc == static_cast<size_t>(-1)) {
            if (errno == E2BIG)
                continue;
            out += replacement;
            ++src;
            --srcLeft;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    iconv_close(cd);
    return out;
}

} // namespace

std::string ansiToUtf8(ByteSpan ansi)
{
    bool ascii = true;
    for (auto b : ansi)
        ascii = ascii && b < 0x80;
    if (ascii)
        return std::string(ansi.begin(), ansi.end());
    return convert("UTF-8", "GB18030", ansi, "\xEF\xBF\xBD");
}

Bytes utf8ToAnsi(std::string_view utf8)
{
    bool ascii = true;
    for (unsigned char c : utf8)
        ascii = ascii && c < 0x80;
    if (ascii)
        return asciiBytes(utf8);
    auto s = convert("GB18030", "UTF-8",
                     ByteSpan(reinterpret_cast<const std::uint8_t *>(utf8.data()), utf8.size()),
                     "?");
    return Bytes(s.begin(), s.end());
}

} // namespace pictarium
