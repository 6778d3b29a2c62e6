#pragma once
// PE modules full of icons, for the import benchmarks.

#include "support/PeWriter.h"

#include <cstdint>

namespace benchmodule {

// A PE module of `groups` icon groups, each with 16, 32 and 48 pixel 32-bit images with some
// shading (so colour reduction has work to do); seed varies the pictures between modules.
inline testbytes::Bytes moduleWithIcons(std::size_t groups, std::uint32_t seed)
{
    std::vector<pewriter::Resource> res;
    std::uint16_t id = 1;
    for (std::size_t g = 0; g < groups; ++g) {
        std::vector<pewriter::IconEntry> entries;
        for (int side : {16, 32, 48}) {
            testbytes::Bytes dib = pewriter::dib32(side, side, static_cast<std::uint32_t>(g * 0x010305 + side + seed * 0x0F0F0F));
            for (std::size_t p = 40; p + 3 < 40 + static_cast<std::size_t>(side * side * 4); p += 4)
                dib[p] = static_cast<std::uint8_t>(p * 7 + g + seed);
            entries.push_back({static_cast<std::uint8_t>(side), static_cast<std::uint8_t>(side), 32, id,
                               static_cast<std::uint32_t>(dib.size())});
            res.push_back(pewriter::icon(id++, std::move(dib)));
        }
        res.push_back(pewriter::groupIcon(pewriter::num(static_cast<std::uint16_t>(g + 1)), pewriter::groupDir(entries)));
    }
    return pewriter::writePe(res).bytes;
}

} // namespace benchmodule
