#include "library/IconBlock.h"
#include "library/LibraryTree.h"
#include "support/TestBytes.h"

#include <gtest/gtest.h>

using namespace pictarium;
using testbytes::filler;

namespace {

TIconBlock blockOf(std::initializer_list<std::size_t> sizes, unsigned seed = 1)
{
    std::vector<Bytes> images;
    for (auto s : sizes)
        images.push_back(filler(s, seed++));
    return *TIconBlock::parse(testbytes::block(images));
}

std::vector<std::size_t> entrySizes(const TIconBlock &b)
{
    std::vector<std::size_t> sizes;
    forEachEntry(b, [&](std::int32_t, ByteSpan img) { sizes.push_back(img.size()); });
    return sizes;
}

} // namespace

TEST(IconBlock, AppendToNodeWithoutBlockCopiesSourceExactly)
{
    LibraryNode node;
    const TIconBlock src = blockOf({766, 0, 318});
    AppendIconBlock(&node, &src);
    ASSERT_TRUE(node.block);
    EXPECT_EQ(*node.block, src);
}

TEST(IconBlock, AppendKeepsOrderAndSumsSizeAndCount)
{
    LibraryNode node;
    node.block = blockOf({2238}, 1);
    const TIconBlock src = blockOf({766, 1406}, 2);
    AppendIconBlock(&node, &src);
    EXPECT_EQ(node.block->Count(), 3);
    EXPECT_EQ(node.block->Size(), 4426);
    EXPECT_EQ(entrySizes(*node.block), (std::vector<std::size_t>{2238, 766, 1406}));
    EXPECT_EQ(std::vector<std::uint8_t>(node.block->image(1)->begin(), node.block->image(1)->end()), filler(766, 2));
}

TEST(IconBlock, AppendEmptySourceOrNullChangesNothing)
{
    LibraryNode node;
    node.block = blockOf({100, 200});
    const TIconBlock before = *node.block;
    const TIconBlock empty;
    AppendIconBlock(&node, &empty);
    EXPECT_EQ(*node.block, before);
    AppendIconBlock(&node, nullptr);
    AppendIconBlock(nullptr, &empty);
    EXPECT_EQ(*node.block, before);
}

TEST(IconBlock, GetIconEntryAnswersNothingForEmptySlotsAndBadIndices)
{
    LibraryNode node;
    EXPECT_FALSE(GetIconEntry(&node, 0));
    EXPECT_FALSE(GetIconEntry(nullptr, 0));
    node.block = blockOf({10, 0, 30});
    struct Case { std::int32_t index; std::optional<std::size_t> size; };
    for (auto c : {Case{0, 10}, Case{1, std::nullopt}, Case{2, 30}, Case{3, std::nullopt}, Case{-1, std::nullopt}}) {
        auto e = GetIconEntry(&node, c.index);
        ASSERT_EQ(e.has_value(), c.size.has_value()) << c.index;
        if (e) {
            EXPECT_EQ(e->size(), *c.size);
        }
    }
}

TEST(IconBlock, DeleteEntry)
{
    LibraryNode node;
    node.block = blockOf({10, 20, 30});
    EXPECT_FALSE(DeleteIconEntry(&node, 3));
    EXPECT_FALSE(DeleteIconEntry(&node, -1));
    const auto before = node.block->Size();
    ASSERT_TRUE(DeleteIconEntry(&node, 1));
    EXPECT_EQ(entrySizes(*node.block), (std::vector<std::size_t>{10, 30}));
    EXPECT_EQ(node.block->Size(), before - 24);
    ASSERT_TRUE(DeleteIconEntry(&node, 0));
    ASSERT_TRUE(DeleteIconEntry(&node, 0));
    ASSERT_TRUE(node.block);
    EXPECT_EQ(node.block->Count(), 0);
    EXPECT_EQ(node.block->Size(), 4);
}

TEST(IconBlock, SelectAndRemoveEntriesInOnePass)
{
    const TIconBlock b = blockOf({1, 2, 3, 4, 5});
    const std::int32_t picks[] = {0, 2, 4};
    EXPECT_EQ(entrySizes(selectEntries(b, picks)), (std::vector<std::size_t>{1, 3, 5}));
    EXPECT_EQ(entrySizes(removeEntries(b, picks)), (std::vector<std::size_t>{2, 4}));
    EXPECT_EQ(removeEntries(b, {}).bytes().size(), b.bytes().size());
}

TEST(IconBlock, FilteringCanLeaveEmptySlotsOut)
{
    const TIconBlock b = blockOf({0, 2, 0, 4, 0});
    const std::int32_t picks[] = {0, 1, 2};
    EXPECT_EQ(entrySizes(selectEntries(b, picks)), (std::vector<std::size_t>{0, 2, 0}));
    EXPECT_EQ(entrySizes(selectEntries(b, picks, EmptySlots::Drop)), (std::vector<std::size_t>{2}));
    EXPECT_EQ(entrySizes(removeEntries(b, picks, EmptySlots::Drop)), (std::vector<std::size_t>{4}));
    const TIconBlock none = removeEntries(b, std::vector<std::int32_t>{1, 3}, EmptySlots::Drop);
    EXPECT_EQ(none.Count(), 0);
    EXPECT_EQ(none.Size(), 4);
}

TEST(IconBlock, ParseAcceptsOnlyExactBlocks)
{
    const Bytes good = testbytes::block({filler(5, 1), {}, filler(7, 2)});
    EXPECT_TRUE(TIconBlock::parse(good));

    struct Case { const char *name; Bytes bytes; };
    Bytes truncated(good.begin(), good.end() - 1);
    Bytes longer = good;
    longer.push_back(0);
    Bytes lyingSize = good;
    lyingSize[0] += 1;
    Bytes lyingCount = good;
    lyingCount[4] = 4;
    Bytes negativeCount = good;
    negativeCount[7] = 0x80;
    Bytes lyingEntry = good;
    lyingEntry[8] = 6;
    Bytes negativeEntry = good;
    negativeEntry[11] = 0xff;
    for (const auto &c : {Case{"truncated", truncated}, Case{"trailing byte", longer}, Case{"Size", lyingSize},
                          Case{"Count", lyingCount}, Case{"negative Count", negativeCount},
                          Case{"entry size", lyingEntry}, Case{"negative entry", negativeEntry},
                          Case{"empty", {}}, Case{"three bytes", {4, 0, 0}}})
        EXPECT_FALSE(TIconBlock::parse(c.bytes)) << c.name;
}

TEST(IconBlock, SalvageKeepsWholeEntriesOnly)
{
    // Count says 3 but the third entry runs past the payload.
    Bytes buffer(4);
    testbytes::le32(buffer, 3);
    testbytes::le32(buffer, 5);
    testbytes::append(buffer, filler(5, 1));
    testbytes::le32(buffer, 0);
    testbytes::le32(buffer, 100);
    testbytes::append(buffer, filler(10, 2));
    auto b = TIconBlock::salvage(buffer);
    ASSERT_TRUE(b);
    EXPECT_EQ(b->Count(), 2);
    EXPECT_EQ(b->Size(), 4 + 9 + 4);
    EXPECT_TRUE(TIconBlock::parse(b->bytes()));
    EXPECT_FALSE(TIconBlock::salvage(Bytes{0, 0, 0, 0, 1}));
}

TEST(IconBlock, FreeSubtreeBlocksLowersTotalByEveryFreedCount)
{
    LibraryTree tree;
    LibraryNode *a = tree.add(nullptr, testbytes::str("A"));
    LibraryNode *b = tree.addChild(a, testbytes::str("B"));
    LibraryNode *c = tree.addChild(b, testbytes::str("C"));
    LibraryNode *other = tree.add(nullptr, testbytes::str("D"));
    a->block = blockOf({1});
    b->block = blockOf({1, 2});
    c->block = blockOf({1, 2, 3, 4, 5});
    other->block = blockOf({9});
    std::int32_t total = 9;
    FreeSubtreeBlocks(a, total);
    EXPECT_EQ(total, 1);
    EXPECT_FALSE(a->block || b->block || c->block);
    EXPECT_TRUE(other->block);
    FreeAllIconBlocks(tree);
    EXPECT_FALSE(other->block);
}
