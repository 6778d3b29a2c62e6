#include "platform/Png.h"

namespace pictarium {

bool isPng(ByteView) { return false; }
std::optional<Bitmap> decodePng(ByteView) { return std::nullopt; }

} // namespace pictarium
