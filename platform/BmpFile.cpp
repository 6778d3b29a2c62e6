#include "platform/BmpFile.h"

namespace pictarium {

std::variant<Bitmap, BmpError> decodeBitmapFile(ByteView) { return BmpError::Invalid; }
Bitmap readBitmapFile(const std::string &) { return {}; }
Icon iconFromPicture(const Bitmap &) { return {}; }
Bitmap renderIconOnBackground(const Icon *, std::uint32_t) { return {}; }
Bytes encodeBitmapFile(const Bitmap &) { return {}; }
void writeBitmapFile(const std::string &, const Bitmap &) {}

} // namespace pictarium
