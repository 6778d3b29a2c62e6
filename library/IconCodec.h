#pragma once
// Stored icon images: drawing one from an entry, and the 16-colour ICO form of icons made in
// memory.

#include "platform/Bytes.h"
#include "platform/Icon.h"

#include <optional>

namespace pictarium {

// The icon of the first image of an entry's ICO bytes; nothing for a wrong directory, an
// entry too short, an image not wholly inside the entry, or an image that is no icon.
std::optional<Icon> IconFromEntry(ByteSpan image);

// The single-image 16-colour ICO file of icon (766 bytes at 32 x 32, 318 at 16 x 16);
// nothing for a monochrome icon or one larger than a directory entry can describe.
std::optional<Bytes> EncodeIconAsIco(const Icon &icon);

} // namespace pictarium
