// The module icon reader (PE32, PE32+, NE, ICO by content): count, every group whole, and the
// image chosen for 32 x 32 made into an icon.
#include "platform/Icon.h"
#include "platform/ModuleIcons.h"

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace pictarium;
    ModuleIcons module(Bytes(data, data + size));
    // Bounded: a hostile table may claim many groups; the first ones exercise every path.
    const std::size_t n = std::min<std::size_t>(module.count(), 64);
    for (std::size_t i = 0; i < n; ++i) {
        (void)module.group(i);
        if (auto image = module.iconImage(i))
            (void)createIconFromResource(*image, 32, 32);
    }
    (void)module.iconImage(module.count());
    return 0;
}
