// The library file reader, its checker, and a write/read round trip of whatever it accepts.
#include "library/Iconfat.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace pictarium;
    const ByteSpan input(data, size);
    auto result = parseILF(input);
    (void)checkILF(input);
    if (auto *contents = std::get_if<IlfContents>(&result)) {
        // What was accepted must write and read back to the same library.
        const Bytes written = serializeILF(contents->tree, 1);
        auto again = parseILF(written);
        auto *back = std::get_if<IlfContents>(&again);
        if (!back || back->tree.count() != contents->tree.count() || serializeILF(back->tree, 1) != written)
            std::abort();
    }
    return 0;
}
