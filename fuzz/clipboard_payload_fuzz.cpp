// The check a pasted payload passes before it becomes a block: exact agreement of length,
// Size, Count and entries. Whatever it accepts must be a block that walks cleanly.
#include "library/IconBlock.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace pictarium;
    auto block = TIconBlock::parse(ByteSpan(data, size));
    if (!block)
        return 0;
    std::size_t total = 8;
    forEachEntry(*block, [&](std::int32_t, ByteSpan image) { total += 4 + image.size(); });
    if (total != size || block->entryOffsets().size() != static_cast<std::size_t>(block->Count()))
        std::abort();
    return 0;
}
