#include "library/LibraryTree.h"
#include "support/TestBytes.h"

#include <gtest/gtest.h>

using namespace pictarium;
using testbytes::str;

namespace {

std::string outline(const LibraryTree &tree)
{
    std::string s;
    tree.forEachPreorder([&](const LibraryNode &n) {
        s += std::string(static_cast<std::size_t>(n.level()), '.') + std::string(n.title.begin(), n.title.end()) + " ";
    });
    return s;
}

} // namespace

TEST(LibraryTree, AddInsertAndIndex)
{
    LibraryTree tree;
    LibraryNode *a = tree.add(nullptr, str("A"));
    LibraryNode *c = tree.add(a, str("C"));
    tree.insertBefore(c, str("B"));
    LibraryNode *a1 = tree.addChild(a, str("a1"));
    tree.add(a1, str("a2"));
    EXPECT_EQ(outline(tree), "A .a1 .a2 B C ");
    EXPECT_EQ(tree.count(), 5u);
    for (std::size_t i = 0; i < tree.count(); ++i)
        EXPECT_EQ(tree.indexOf(tree.nodeAt(i)), i);
    EXPECT_EQ(tree.nodeAt(5), nullptr);
    EXPECT_EQ(a1->parent(), a);
    EXPECT_EQ(a->parent(), nullptr);
}

TEST(LibraryTree, MoveBeforeRules)
{
    LibraryTree tree;
    LibraryNode *a = tree.add(nullptr, str("A"));
    LibraryNode *b = tree.addChild(a, str("B"));
    LibraryNode *c = tree.addChild(b, str("C"));
    LibraryNode *d = tree.add(nullptr, str("D"));
    EXPECT_FALSE(tree.moveBefore(a, c)) << "into its own subtree";
    EXPECT_FALSE(tree.moveBefore(a, a));
    EXPECT_TRUE(tree.moveBefore(a, d)) << "already right before: nothing to do";
    EXPECT_EQ(outline(tree), "A .B ..C D ");
    EXPECT_TRUE(tree.moveBefore(d, c));
    EXPECT_EQ(outline(tree), "A .B ..D ..C ");
    EXPECT_TRUE(tree.moveBefore(b, a));
    EXPECT_EQ(outline(tree), "B .D .C A ");
    EXPECT_EQ(tree.count(), 4u);
}

TEST(LibraryTree, RemoveSubtreeAndClear)
{
    LibraryTree tree;
    LibraryNode *a = tree.add(nullptr, str("A"));
    tree.addChild(tree.addChild(a, str("B")), str("C"));
    tree.add(nullptr, str("D"));
    tree.remove(a);
    EXPECT_EQ(outline(tree), "D ");
    EXPECT_EQ(tree.count(), 1u);
    tree.clear();
    EXPECT_TRUE(tree.empty());
}

TEST(LibraryTree, DeepTreesCostNoStack)
{
    LibraryTree tree;
    LibraryNode *n = nullptr;
    for (int i = 0; i < 200000; ++i)
        n = tree.addChild(n, str("x"));
    EXPECT_EQ(tree.count(), 200000u);
    EXPECT_EQ(tree.nodeAt(199999), n);
    LibraryTree moved = std::move(tree);
    EXPECT_EQ(moved.count(), 200000u);
    // Destruction of the chain must not recurse.
}
