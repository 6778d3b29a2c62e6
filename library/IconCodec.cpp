#include "library/IconCodec.h"

namespace pictarium {

std::optional<Icon> IconFromEntry(ByteSpan) { return std::nullopt; }
std::optional<Bytes> EncodeIconAsIco(const Icon &) { return std::nullopt; }

} // namespace pictarium
