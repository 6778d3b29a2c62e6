#pragma once
// PNG images inside icons, decoded through libpng from memory.

#include "platform/Bitmap.h"
#include "platform/Bytes.h"

#include <optional>

namespace pictarium {

// True when data starts with the 8-byte PNG signature.
bool isPng(ByteView data);

// The image as 8-bit RGBA (palettes, grey and low depths expanded, 16-bit channels reduced);
// nothing for a damaged image or one over kLimits (maxPngIconSide, maxImagePixels).
std::optional<Bitmap> decodePng(ByteView data);

} // namespace pictarium
