// A large generated library written and read back identical: 100,000 icons over 5,000 nodes,
// deep nesting, titles of every kind, empty slots and Count 0 blocks.
#include "library/Iconfat.h"
#include "platform/Codepage.h"
#include "support/TestBytes.h"

#include <gtest/gtest.h>

#include <random>

using namespace pictarium;

namespace {

// A title the text format can hold: no line breaks, no NUL, no leading blank (those are
// level marks). Mixes GBK text, characters beyond GBK (GB18030 four-byte forms) and raw bytes
// that are no valid sequence at all.
Bytes randomTitle(std::mt19937 &rng)
{
    Bytes t;
    switch (rng() % 4) {
    case 0: { // GBK hanzi and ASCII
        std::string s;
        for (unsigned i = rng() % 8; i > 0; --i)
            s += rng() % 2 ? "图标" : "Ab1";
        t = utf8ToAnsi(s);
        break;
    }
    case 1: { // characters outside GBK
        std::string s = "x";
        for (unsigned i = rng() % 5; i > 0; --i)
            s += rng() % 2 ? "😀" : "𠀀";
        t = utf8ToAnsi(s);
        break;
    }
    case 2: // raw high bytes, often invalid in any code page
        for (unsigned i = rng() % 12; i > 0; --i)
            t.push_back(static_cast<std::uint8_t>(0x80 + rng() % 0x80));
        break;
    default: // empty title
        break;
    }
    if (!t.empty() && (t[0] == ' ' || t[0] == '\t'))
        t[0] = 'x';
    return t;
}

} // namespace

TEST(IlfStress, HundredThousandIconsOverFiveThousandNodes)
{
    std::mt19937 rng(2026);
    LibraryTree tree;
    std::vector<LibraryNode *> nodes;
    LibraryNode *deepest = nullptr;
    for (int i = 0; i < 5000; ++i) {
        LibraryNode *parent = nullptr;
        if (i < 1500)
            parent = deepest; // a chain 1,500 levels deep
        else if (!nodes.empty() && rng() % 4)
            parent = nodes[rng() % nodes.size()];
        LibraryNode *n = tree.addChild(parent, randomTitle(rng));
        if (i < 1500)
            deepest = n;
        nodes.push_back(n);
    }
    // Spread 100,000 entries over the nodes: some without block, some Count 0, empty slots.
    const Bytes pool = testbytes::filler(600, 9);
    std::int64_t remaining = 100000;
    for (std::size_t i = 0; i < nodes.size() && remaining > 0; ++i) {
        const unsigned kind = rng() % 10;
        if (kind == 0)
            continue;
        if (kind == 1) {
            nodes[i]->block = TIconBlock();
            continue;
        }
        const auto count = std::min<std::int64_t>(remaining, i + 1 == nodes.size() ? remaining : 1 + rng() % 40);
        std::vector<ByteSpan> images;
        for (std::int64_t k = 0; k < count; ++k)
            images.push_back(rng() % 7 == 0 ? ByteSpan{} : ByteSpan(pool).first(20 + rng() % 500));
        nodes[i]->block = TIconBlock::fromImages(images);
        remaining -= count;
    }
    if (remaining > 0) {
        std::vector<ByteSpan> rest(static_cast<std::size_t>(remaining), ByteSpan(pool).first(30));
        const TIconBlock tail = TIconBlock::fromImages(rest);
        AppendIconBlock(nodes.back(), &tail);
    }
    ASSERT_EQ(totalIcons(tree), 100000);

    const Bytes file = serializeILF(tree);
    auto result = parseILF(file);
    auto *back = std::get_if<IlfContents>(&result);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->iconTotal, 100000);
    ASSERT_EQ(back->tree.count(), tree.count());
    for (std::size_t i = 0; i < tree.count(); ++i) {
        const LibraryNode *a = tree.nodeAt(i), *b = back->tree.nodeAt(i);
        ASSERT_EQ(a->title, b->title) << i;
        ASSERT_EQ(a->level(), b->level()) << i;
        ASSERT_EQ(a->block.has_value(), b->block.has_value()) << i;
        if (a->block) {
            ASSERT_EQ(*a->block, *b->block) << i;
        }
    }
    EXPECT_EQ(serializeILF(back->tree), file);
    EXPECT_TRUE(checkILF(file).empty());
}
