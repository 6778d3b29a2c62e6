#pragma once
// The one place where a stored icon becomes a picture for the screen.

#include "platform/Bytes.h"

#include <QImage>

namespace pictarium {

// The picture of one entry's ICO image, drawn into a side x side cell with transparency
// where the icon is transparent; a null image when the entry yields no icon.
QImage iconImage(ByteSpan entryImage, int side);

} // namespace pictarium
