#pragma once
// Libraries that compress like real collections, for the benchmarks that read, write and
// open them, and large blocks of small icons for the window benchmarks.

#include "library/IconBlock.h"
#include "library/IconCodec.h"
#include "library/LibraryTree.h"
#include "support/TestIcons.h"

#include <random>

namespace benchlib {

using namespace pictarium;

// A 16-colour icon made by the program's own encoder from a varied picture (gradients,
// shapes, a transparent border), so the library compresses like a real collection.
inline Bytes realisticIcon(std::mt19937 &rng)
{
    Icon icon;
    icon.width = icon.height = 32;
    icon.image = Bitmap(32, 32);
    icon.mask.assign(32 * 32, 0);
    const unsigned style = rng() % 3;
    const std::uint32_t a = rng() & 0xffffff, b = rng() & 0xffffff;
    const int cx = 8 + static_cast<int>(rng() % 16), cy = 8 + static_cast<int>(rng() % 16);
    const int r = 5 + static_cast<int>(rng() % 10);
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            std::uint32_t c;
            const int dx = x - cx, dy = y - cy;
            if (style == 0)
                c = (dx * dx + dy * dy < r * r) ? a : b;
            else if (style == 1)
                c = ((x / 4 + y / 4) % 2) ? a : (b + static_cast<std::uint32_t>(y) * 0x060402u);
            else
                c = a + static_cast<std::uint32_t>(x * 7) * 0x010101u + (rng() % 16 == 0 ? 0x404040u : 0);
            icon.image.at(x, y) = 0xff000000u | (c & 0xffffff);
            icon.mask[static_cast<std::size_t>(y * 32 + x)] = (x < 2 || y < 2 || x > 29 || y > 29) ? 1 : 0;
        }
    }
    return *EncodeIconAsIco(icon);
}

// nodes top-level nodes of iconsPerNode icons each, drawn from a pool of 400 pictures.
inline LibraryTree makeLibrary(int nodes, int iconsPerNode)
{
    std::mt19937 rng(1234);
    std::vector<Bytes> pool;
    for (int i = 0; i < 400; ++i)
        pool.push_back(realisticIcon(rng));
    LibraryTree tree;
    for (int n = 0; n < nodes; ++n) {
        LibraryNode *node = tree.add(nullptr, Bytes{'n', static_cast<std::uint8_t>('0' + n % 10)});
        std::vector<ByteSpan> images;
        for (int i = 0; i < iconsPerNode; ++i)
            images.push_back(pool[rng() % pool.size()]);
        node->block = TIconBlock::fromImages(images);
    }
    return tree;
}

// A block of `entries` 16 x 16 icons, 16 distinct pictures over and over.
inline TIconBlock blockOfSmallIcons(std::size_t entries)
{
    std::vector<Bytes> images;
    for (unsigned i = 0; i < 16; ++i)
        images.push_back(testbytes::ico16(i));
    std::vector<ByteSpan> spans;
    for (std::size_t i = 0; i < entries; ++i)
        spans.emplace_back(images[i % images.size()]);
    return TIconBlock::fromImages(spans);
}

} // namespace benchlib
