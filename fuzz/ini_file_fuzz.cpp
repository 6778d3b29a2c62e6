// The settings file reader, and writes into whatever it read: a written value must read back
// as written, and the integer reader must take back what it would write.
#include "platform/IniFile.h"

#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace pictarium;
    const std::string text(data, data + size);
    const IniFile ini("fuzz.ini", text);

    if (auto n = parseProfileInteger(text); n && parseProfileInteger(std::to_string(*n)) != n)
        std::abort();

    struct Name {
        const char *section, *key;
    } names[] = {{"MainForm Option", "Top"}, {"color", "BKCOLOR"}, {"Dialog Path", "Save Dialog"}};
    for (const Name &name : names) {
        (void)ini.readInteger(name.section, name.key, 0);
        const std::string value = "/path with = and [x]/";
        const IniFile after("fuzz.ini", ini.textWith(name.section, name.key, value));
        if (after.readValue(name.section, name.key) != value)
            std::abort();
        // Every other name reads as before.
        for (const Name &other : names)
            if (&other != &name && after.readValue(other.section, other.key) != ini.readValue(other.section, other.key))
                std::abort();
    }
    return 0;
}
