// The tree and icon-list models, checked by Qt's model tester through every kind of change.

#include "app/IconListModel.h"
#include "app/LibraryTreeModel.h"
#include "platform/Codepage.h"
#include "support/TestBytes.h"
#include "support/TestIcons.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

using pictarium::IconListModel;
using pictarium::LibraryNode;
using pictarium::LibraryTree;
using pictarium::LibraryTreeModel;
using pictarium::TIconBlock;
using testbytes::str;

std::vector<std::string> titles(const LibraryTree &tree)
{
    std::vector<std::string> t;
    tree.forEachPreorder([&](const LibraryNode &n) {
        t.push_back(std::string(static_cast<std::size_t>(n.level()), '\t') + std::string(n.title.begin(), n.title.end()));
    });
    return t;
}

TEST(LibraryTreeModel, EveryChangeKeepsTheModelConsistent)
{
    LibraryTree tree;
    LibraryTreeModel model(tree, [](int) { return QIcon(); });
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);

    LibraryNode *a = model.add(nullptr, str("A"));
    LibraryNode *b = model.add(a, str("B"));
    LibraryNode *a1 = model.addChild(a, str("A1"));
    model.addChild(a, str("A2"));
    LibraryNode *c = model.insertBefore(a, str("C"));
    model.addChild(a1, str("A1x"));
    EXPECT_EQ(titles(tree), (std::vector<std::string>{"C", "A", "\tA1", "\t\tA1x", "\tA2", "B"}));

    EXPECT_TRUE(model.moveBefore(b, a));     // among top-level nodes
    EXPECT_TRUE(model.moveBefore(c, a1));    // into another parent
    EXPECT_FALSE(model.moveBefore(a, a1));   // into its own subtree: refused
    EXPECT_TRUE(model.moveBefore(b, a));     // already there
    EXPECT_EQ(titles(tree), (std::vector<std::string>{"B", "A", "\tC", "\tA1", "\t\tA1x", "\tA2"}));

    model.setTitle(c, str("CC"));
    model.setImages(c, pictarium::kModuleNodeImage, pictarium::kModuleNodeSelectedImage);
    model.setBlock(c, TIconBlock::parse(testbytes::block({testbytes::ico16(1)})));
    model.remove(a1);
    EXPECT_EQ(titles(tree), (std::vector<std::string>{"B", "A", "\tCC", "\tA2"}));

    LibraryTree other;
    other.add(nullptr, str("X"));
    model.replaceTree(std::move(other));
    EXPECT_EQ(titles(tree), std::vector<std::string>{"X"});
    model.clear();
    EXPECT_EQ(model.rowCount(), 0);
}

TEST(LibraryTreeModel, IndexAndNodeMapBothWays)
{
    LibraryTree tree;
    LibraryTreeModel model(tree);
    LibraryNode *a = model.add(nullptr, str("A"));
    LibraryNode *a2 = (model.addChild(a, str("A1")), model.addChild(a, str("A2")));
    const QModelIndex i = model.indexOf(a2);
    EXPECT_EQ(i.row(), 1);
    EXPECT_EQ(i.parent(), model.indexOf(a));
    EXPECT_EQ(LibraryTreeModel::nodeOf(i), a2);
    EXPECT_FALSE(model.indexOf(nullptr).isValid());
    EXPECT_EQ(LibraryTreeModel::nodeOf({}), nullptr);
}

TEST(LibraryTreeModel, TitlesAreShownAndEditedAsTextButKeptAsAnsiBytes)
{
    LibraryTree tree;
    LibraryTreeModel model(tree);
    const pictarium::Bytes gbk{0xCD, 0xBC, 0xB1, 0xEA}; // "图标" in GBK
    LibraryNode *n = model.add(nullptr, gbk);
    EXPECT_EQ(model.data(model.indexOf(n)).toString(), QStringLiteral("图标"));

    QSignalSpy edited(&model, &LibraryTreeModel::titleEdited);
    ASSERT_TRUE(model.setData(model.indexOf(n), QStringLiteral("系统")));
    EXPECT_EQ(n->title, (pictarium::Bytes{0xCF, 0xB5, 0xCD, 0xB3}));
    EXPECT_EQ(edited.count(), 1);
    EXPECT_TRUE(model.flags(model.indexOf(n)) & Qt::ItemIsEditable);
}

TEST(LibraryTreeModel, NodesShowTheirImageAndTheirSelectedImage)
{
    // Glyph i is a solid square of colour i.
    auto glyph = [](int i) {
        QPixmap p(16, 16);
        p.fill(QColor::fromRgb(static_cast<QRgb>(0xFF000000u | static_cast<unsigned>(i))));
        return QIcon(p);
    };
    auto colourOf = [](const QVariant &v, QIcon::Mode mode) {
        return v.value<QIcon>().pixmap(16, 16, mode).toImage().pixel(8, 8) & 0xFFFFFFu;
    };
    LibraryTree tree;
    LibraryTreeModel model(tree, glyph);
    LibraryNode *title = model.add(nullptr, str("T"));
    LibraryNode *module = model.add(nullptr, str("M"));
    model.setImages(module, pictarium::kModuleNodeImage, pictarium::kModuleNodeSelectedImage);

    const QVariant t = model.data(model.indexOf(title), Qt::DecorationRole);
    const QVariant m = model.data(model.indexOf(module), Qt::DecorationRole);
    EXPECT_EQ(colourOf(t, QIcon::Normal), 0u);
    EXPECT_EQ(colourOf(t, QIcon::Selected), 22u);
    EXPECT_EQ(colourOf(m, QIcon::Normal), 3u);
    EXPECT_EQ(colourOf(m, QIcon::Selected), 0u);
}

TEST(LibraryTreeModel, BlockHoldersHearOfChangesFirst)
{
    LibraryTree tree;
    LibraryTreeModel model(tree);
    LibraryNode *a = model.add(nullptr, str("A"));
    LibraryNode *a1 = model.addChild(a, str("A1"));
    LibraryNode *b = model.add(nullptr, str("B"));
    QSignalSpy changing(&model, &LibraryTreeModel::blocksAboutToChange);
    QSignalSpy replaced(&model, &LibraryTreeModel::blockReplaced);
    auto replacedNodes = [&] {
        std::vector<const LibraryNode *> nodes;
        for (const auto &args : replaced)
            nodes.push_back(args[0].value<const LibraryNode *>());
        replaced.clear();
        return nodes;
    };
    const auto oneIcon = TIconBlock::parse(testbytes::block({testbytes::ico16(1)}));
    model.setBlock(a1, oneIcon);
    model.setBlock(b, oneIcon);
    EXPECT_EQ(replacedNodes(), (std::vector<const LibraryNode *>{a1, b}));

    // Changes in place are announced before they happen.
    model.appendBlock(a1, *oneIcon);
    EXPECT_TRUE(model.deleteIconEntry(a1, 0));
    ASSERT_EQ(changing.count(), 2);
    EXPECT_EQ(changing[0][0].value<const LibraryNode *>(), a1);
    EXPECT_FALSE(changing[0][1].toBool());

    // Blocks that go are offered one by one, nodes without a block are passed over.
    std::int32_t total = 2;
    model.freeSubtreeBlocks(a, total);
    EXPECT_EQ(total, 1);
    EXPECT_FALSE(a1->block);
    EXPECT_EQ(replacedNodes(), (std::vector<const LibraryNode *>{a1}));
    model.setBlock(a1, oneIcon);
    replacedNodes();
    model.remove(a);
    EXPECT_EQ(replacedNodes(), (std::vector<const LibraryNode *>{a1}));
    model.freeAllBlocks();
    EXPECT_FALSE(b->block);
    EXPECT_EQ(replacedNodes(), (std::vector<const LibraryNode *>{b}));
    model.setBlock(b, oneIcon);
    replacedNodes();
    model.replaceTree(LibraryTree{});
    EXPECT_EQ(replacedNodes(), (std::vector<const LibraryNode *>{b}));
    EXPECT_EQ(changing.count(), 2);
}

// Replacing the shown node's block hands the old block to the icon model: until the view is
// rebuilt it keeps showing the old items and pictures, read from that block.
TEST(IconListModel, KeepsShowingABlockThatWasReplaced)
{
    LibraryTree tree;
    LibraryTreeModel treeModel(tree);
    IconListModel icons;
    QObject::connect(&treeModel, &LibraryTreeModel::blockReplaced, &icons, &IconListModel::adoptReplacedBlock);
    LibraryNode *a = treeModel.add(nullptr, str("A"));
    LibraryNode *b = treeModel.add(nullptr, str("B"));
    treeModel.setBlock(a, TIconBlock::parse(testbytes::block({testbytes::ico16(1), {}, testbytes::ico16(2)})));
    treeModel.setBlock(b, TIconBlock::parse(testbytes::block({testbytes::ico16(3)})));
    icons.showBlock(a, *a->block);
    // The picture item 2 must show, from a model of its own (the shown one decodes nothing yet).
    const TIconBlock same = *a->block;
    IconListModel reference;
    reference.showBlock(nullptr, same);
    const QImage last = reference.image(2, 32);
    ASSERT_FALSE(last.isNull());

    treeModel.setBlock(b, std::nullopt); // another node: nothing changes here
    EXPECT_EQ(icons.shownNode(), a);
    treeModel.setBlock(a, TIconBlock::parse(testbytes::block({testbytes::ico16(4)})));
    EXPECT_EQ(icons.shownNode(), nullptr);
    EXPECT_EQ(icons.rowCount(), 3);
    EXPECT_EQ(icons.data(icons.index(1)).toString(), QStringLiteral("Icon1"));
    EXPECT_EQ(icons.imageIndex(2), 1);
    EXPECT_EQ(icons.image(2, 32), last);
    EXPECT_EQ(a->block->Count(), 1) << "the node has its new block";

    // Replacing it again, or removing the node, leaves the taken block alone.
    treeModel.setBlock(a, std::nullopt);
    EXPECT_EQ(icons.image(2, 32), last);
    treeModel.remove(a);
    EXPECT_EQ(icons.rowCount(), 3);
    EXPECT_EQ(icons.image(2, 32), last);

    // So does removing a shown node: the block the view shows outlives it.
    treeModel.setBlock(b, TIconBlock::parse(testbytes::block({testbytes::ico16(3)})));
    icons.showBlock(b, *b->block);
    treeModel.remove(b);
    EXPECT_EQ(icons.rowCount(), 1);
    EXPECT_EQ(icons.data(icons.index(0)).toString(), QStringLiteral("Icon0"));
    EXPECT_FALSE(icons.image(0, 32).isNull());
}

TEST(IconListModel, EveryStateKeepsTheModelConsistent)
{
    IconListModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    const auto block = *TIconBlock::parse(testbytes::block({testbytes::ico16(1), {}, testbytes::ico16(2)}));
    LibraryNode node;

    EXPECT_EQ(model.rowCount(), 0);
    model.showPlaceholder();
    EXPECT_EQ(model.rowCount(), 1);
    EXPECT_EQ(model.data(model.index(0)).toString(), QStringLiteral("No Icon"));
    EXPECT_FALSE(model.data(model.index(0), Qt::DecorationRole).isValid());
    model.showBlock(&node, block);
    EXPECT_EQ(model.rowCount(), 3);
    model.setIconSide(16);
    EXPECT_EQ(model.data(model.index(2), Qt::DecorationRole).value<QImage>().size(), QSize(16, 16));
    model.releaseBlock(&node, false);
    EXPECT_EQ(model.shownNode(), nullptr);
    EXPECT_EQ(model.data(model.index(1)).toString(), QStringLiteral("Icon1"));
    model.clear();
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_FALSE(model.data(model.index(5)).isValid());
}

TEST(IconListModel, ReleasesOnlyForChangesThatTouchTheShownBlock)
{
    LibraryTree tree;
    LibraryNode *a = tree.add(nullptr, str("A"));
    LibraryNode *a1 = tree.addChild(a, str("A1"));
    LibraryNode *b = tree.add(nullptr, str("B"));
    a1->block = TIconBlock::parse(testbytes::block({testbytes::ico16(1)}));

    struct Case {
        const LibraryNode *node;
        bool subtree;
        bool releases;
    };
    for (const Case &c : {Case{b, true, false}, Case{a, false, false}, Case{a, true, true}, Case{a1, false, true},
                          Case{nullptr, true, true}}) {
        IconListModel model;
        model.showBlock(a1, *a1->block);
        model.releaseBlock(c.node, c.subtree);
        EXPECT_EQ(model.shownNode() == nullptr, c.releases);
    }
}

} // namespace
