// The module icon reader (PE32, PE32+, NE, ICO by content): count, every group whole, the
// image chosen for 32 x 32 (always inside the file), and the import built from them.
#include "library/ModuleImport.h"
#include "platform/Icon.h"
#include "platform/ModuleIcons.h"

#include <algorithm>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace pictarium;
    ModuleIcons module(Bytes(data, data + size));
    const ByteSpan file = module.bytes();
    // Bounded: a hostile table may claim many groups; the first ones exercise every path.
    const std::size_t n = std::min<std::size_t>(module.count(), 64);
    for (std::size_t i = 0; i < n; ++i) {
        (void)module.group(i);
        if (auto image = module.iconImage(i)) {
            if (image->data() < file.data() || image->data() + image->size() > file.data() + file.size())
                std::abort();
            (void)createIconFromResource(*image, 32, 32);
        }
    }
    (void)module.iconImage(module.count());
    // Every reported icon gets an entry, stored or empty.
    if (module.count() <= 64 &&
        importModule(module, "fuzz.dll").block.Count() != static_cast<std::int32_t>(module.count()))
        std::abort();
    return 0;
}
