#include "platform/Icon.h"

namespace pictarium {

std::optional<Icon> createIconFromResource(ByteSpan, int, int) { return std::nullopt; }
Icon scaleIcon(const Icon &icon, int, int) { return icon; }
void drawIcon(Bitmap &, int, int, const Icon &) {}
std::optional<IconBits4> readIconBits4(const Icon &) { return std::nullopt; }

} // namespace pictarium
