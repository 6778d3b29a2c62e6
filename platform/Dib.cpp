#include "platform/Dib.h"

namespace pictarium {

std::optional<DibInfo> parseDib(ByteView, const DibRules &, bool) { return std::nullopt; }
std::optional<std::size_t> dibPixelBytes(const DibInfo &) { return std::nullopt; }
std::optional<Bitmap> decodeDibPixels(const DibInfo &, ByteView) { return std::nullopt; }
std::optional<std::vector<std::uint8_t>> decodeMaskBits(ByteView, int, int, bool) { return std::nullopt; }
const std::array<std::uint32_t, 16> &vgaPalette()
{
    static const std::array<std::uint32_t, 16> p{};
    return p;
}
int nearestVgaIndex(std::uint32_t) { return 0; }
Bytes encodeDibBits4(const Bitmap &) { return {}; }
Bytes encodeMaskBits(const std::vector<std::uint8_t> &, int, int) { return {}; }

} // namespace pictarium
