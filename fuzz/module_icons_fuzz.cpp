// The module icon reader (PE, NE, ICO files) and the import of whatever it finds.
#include "library/ModuleImport.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace pictarium;
    const ModuleIcons module(Bytes(data, data + size));
    for (std::size_t i = 0; i < module.count(); ++i) {
        const auto image = module.iconImage(i);
        if (image && (image->data() < module.bytes().data() ||
                      image->data() + image->size() > module.bytes().data() + module.bytes().size()))
            std::abort();
        (void)module.group(i);
    }
    // Every reported icon gets an entry, stored or empty.
    const ModuleImport imported = importModule(module, "fuzz.dll");
    if (imported.block.Count() != static_cast<std::int32_t>(module.count()))
        std::abort();
    return 0;
}
