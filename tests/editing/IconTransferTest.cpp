// Icon transfer: copy, cut and paste through the clipboard, dragging icons to another node,
// deleting icons and selecting them all.

#include "EditingFixture.h"

#include "editing/Clipbd.h"
#include "platform/Codepage.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QListView>
#include <QToolBar>
#include <QMimeData>

namespace formtest {
namespace {

using pictarium::ActionId;
using pictarium::LibraryNode;
using pictarium::TIconBlock;
using testbytes::Bytes;

const QString kFormat = QString::fromLatin1(pictarium::clipbd::kIconDataMimeType);

Bytes bytesOf(const TIconBlock &b) { return Bytes(b.bytes().begin(), b.bytes().end()); }
Bytes blockBytes(const LibraryNode *n) { return n && n->block ? bytesOf(*n->block) : Bytes{}; }

// What another program leaves on the clipboard.
void putOnClipboard(const QString &format, const Bytes &bytes)
{
    auto *mime = new QMimeData;
    mime->setData(format, QByteArray(reinterpret_cast<const char *>(bytes.data()), static_cast<qsizetype>(bytes.size())));
    QGuiApplication::clipboard()->setMimeData(mime);
}

Bytes clipboardBytes()
{
    const QMimeData *mime = QGuiApplication::clipboard()->mimeData();
    if (!mime || !mime->hasFormat(kFormat))
        return {};
    const QByteArray d = mime->data(kFormat);
    return Bytes(d.begin(), d.end());
}

class Transfer : public Editing {
protected:
    void SetUp() override { QGuiApplication::clipboard()->clear(); }
    void TearDown() override { pictarium::clipbd::RegisterIconClipboardFormat(); }
};

// ---- Copy and paste

TEST_F(Transfer, CopyThenPasteOntoEmptyNodeGivesTheSelectionByteForByte)
{
    const auto src = icons(0, 5);
    build({{0, "A", src}, {0, "B", {}}});
    form->selectNode(byTitle("A"));
    selectItems({4, 1, 3});
    form->runAction(ActionId::CopyIcons);
    const Bytes selection = testbytes::block({src[1], src[3], src[4]});
    EXPECT_EQ(clipboardBytes(), selection);
    EXPECT_FALSE(form->FModified);

    form->selectNode(byTitle("B"));
    form->runAction(ActionId::PasteIcons);
    EXPECT_EQ(blockBytes(byTitle("B")), selection);
    EXPECT_EQ(blockBytes(byTitle("A")), testbytes::block(src));
    EXPECT_EQ(form->FIconTotal, 8);
    EXPECT_TRUE(form->FModified);
    EXPECT_EQ(panel(4), "图标总数:8");
    EXPECT_EQ(panel(2), "修改");
    EXPECT_EQ(captions(), (std::vector<std::string>{"Icon0", "Icon1", "Icon2"}));
}

TEST_F(Transfer, PasteAppendsAfterTheNodesOwnIcons)
{
    const auto mine = icons(0, 2), theirs = icons(5, 2);
    build({{0, "A", mine}});
    form->selectNode(byTitle("A"));
    putOnClipboard(kFormat, testbytes::block(theirs));
    form->runAction(ActionId::PasteIcons);
    EXPECT_EQ(blockBytes(byTitle("A")), testbytes::block({mine[0], mine[1], theirs[0], theirs[1]}));
    EXPECT_EQ(panel(0), "图标个数:4");
}

TEST_F(Transfer, PasteWithoutNodeMakesANewTitleEvenForAnEmptyClipboard)
{
    for (bool withIcons : {true, false}) {
        SCOPED_TRACE(withIcons);
        build({});
        QGuiApplication::clipboard()->clear();
        if (withIcons)
            putOnClipboard(kFormat, testbytes::block(icons(0, 2)));
        form->runAction(ActionId::PasteIcons);
        ASSERT_EQ(form->tree().count(), 1u);
        LibraryNode *n = form->tree().nodeAt(0);
        EXPECT_EQ(n->title, pictarium::utf8ToAnsi("新建标题"));
        EXPECT_EQ(form->selectedNode(), n);
        EXPECT_TRUE(editing(n));
        EXPECT_EQ(n->iconCount(), withIcons ? 2 : 0);
        EXPECT_EQ(form->FIconTotal, withIcons ? 2 : 0);
    }
}

TEST_F(Transfer, PastedEmptySlotsCountInTheTotal)
{
    build({{0, "A", {}}});
    form->selectNode(byTitle("A"));
    putOnClipboard(kFormat, testbytes::block({testbytes::ico16(1), Bytes{}, Bytes{}}));
    form->runAction(ActionId::PasteIcons);
    EXPECT_EQ(form->FIconTotal, 3);
    EXPECT_EQ(byTitle("A")->iconCount(), 3);
}

TEST_F(Transfer, OtherFormatsAreNotPasted)
{
    build({{0, "A", {}}});
    form->selectNode(byTitle("A"));
    putOnClipboard(QStringLiteral("application/octet-stream"), testbytes::block(icons(0, 1)));
    form->runAction(ActionId::PasteIcons);
    EXPECT_FALSE(byTitle("A")->block.has_value());
    EXPECT_FALSE(form->FModified);
}

// A payload is taken only when every field agrees with the bytes received.
struct PayloadCase {
    const char *name;
    Bytes bytes;
};

Bytes withLe32(Bytes b, std::size_t at, std::int64_t v)
{
    Bytes f;
    testbytes::le32(f, v);
    std::copy(f.begin(), f.end(), b.begin() + static_cast<std::ptrdiff_t>(at));
    return b;
}

const Bytes kGood = testbytes::block({testbytes::filler(10, 1), testbytes::filler(6, 2)});
Bytes truncated() { return Bytes(kGood.begin(), kGood.end() - 3); }
Bytes trailing()
{
    Bytes b = kGood;
    b.push_back(0);
    return b;
}

class HostilePayload : public Transfer, public ::testing::WithParamInterface<PayloadCase> {};

TEST_P(HostilePayload, PastesNothingAndSaysNothing)
{
    build({{0, "A", icons(0, 1)}});
    form->selectNode(byTitle("A"));
    const Bytes before = blockBytes(byTitle("A"));
    putOnClipboard(kFormat, GetParam().bytes);
    form->runAction(ActionId::PasteIcons);
    EXPECT_EQ(blockBytes(byTitle("A")), before);
    EXPECT_EQ(form->FIconTotal, 1);
    EXPECT_FALSE(form->FModified);
    EXPECT_TRUE(prompt->shown.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Payloads, HostilePayload,
    ::testing::Values(PayloadCase{"empty", {}}, PayloadCase{"three_bytes", {8, 0, 0}},
                      PayloadCase{"truncated", truncated()}, PayloadCase{"trailing_byte", trailing()},
                      PayloadCase{"size_promises_more", withLe32(kGood, 0, static_cast<std::int64_t>(kGood.size()) + 100)},
                      PayloadCase{"size_promises_less", withLe32(kGood, 0, 12)},
                      PayloadCase{"negative_size", withLe32(kGood, 0, -4)},
                      PayloadCase{"negative_count", withLe32(kGood, 4, -1)},
                      PayloadCase{"count_too_high", withLe32(kGood, 4, 3)},
                      PayloadCase{"count_too_low", withLe32(kGood, 4, 1)},
                      PayloadCase{"entry_size_too_big", withLe32(kGood, 8, 11)},
                      PayloadCase{"entry_size_too_small", withLe32(kGood, 8, 9)},
                      PayloadCase{"negative_entry_size", withLe32(kGood, 8, -10)},
                      PayloadCase{"huge_entry_size", withLe32(kGood, 8, 0x7fffffff)}),
    [](const auto &row) { return std::string(row.param.name); });

TEST_F(Transfer, CopyWithoutUsableSelectionKeepsTheClipboard)
{
    // Nothing selected; only an empty slot selected; the "No Icon" item selected.
    build({{0, "A", std::vector<Bytes>{testbytes::ico16(0), Bytes{}}}, {0, "E", {}}});
    putOnClipboard(kFormat, kGood);
    form->selectNode(byTitle("A"));
    form->runAction(ActionId::CopyIcons);
    EXPECT_EQ(clipboardBytes(), kGood);
    selectItems({1});
    form->runAction(ActionId::CopyIcons);
    EXPECT_EQ(clipboardBytes(), kGood);
    form->selectNode(byTitle("E"));
    form->runAction(ActionId::SelectedAllIcons);
    EXPECT_EQ(panel(1), "选中:1");
    form->runAction(ActionId::CopyIcons);
    EXPECT_EQ(clipboardBytes(), kGood);
}

// ---- Cut

TEST_F(Transfer, CutMovesTheSelectionToTheClipboard)
{
    const auto src = icons(0, 4);
    build({{0, "A", src}});
    form->selectNode(byTitle("A"));
    selectItems({0, 2});
    form->runAction(ActionId::CutIcons);
    EXPECT_EQ(clipboardBytes(), testbytes::block({src[0], src[2]}));
    EXPECT_EQ(blockBytes(byTitle("A")), testbytes::block({src[1], src[3]}));
    EXPECT_EQ(form->FIconTotal, 2);
    EXPECT_EQ(panel(4), "图标总数:2");
    EXPECT_EQ(panel(2), "修改");
    EXPECT_EQ(captions(), (std::vector<std::string>{"Icon0", "Icon1"}));
}

TEST_F(Transfer, CutWithNothingSelectedKeepsTheClipboardAndDropsEmptySlots)
{
    const Bytes a = testbytes::ico16(0), b = testbytes::ico16(1);
    build({{0, "A", std::vector<Bytes>{a, Bytes{}, b, Bytes{}}}});
    form->selectNode(byTitle("A"));
    putOnClipboard(kFormat, kGood);
    form->runAction(ActionId::CutIcons);
    EXPECT_EQ(clipboardBytes(), kGood);
    EXPECT_EQ(blockBytes(byTitle("A")), testbytes::block({a, b}));
    EXPECT_EQ(form->FIconTotal, 2);
    EXPECT_TRUE(form->FModified);
}

TEST_F(Transfer, CutThatCannotReachTheClipboardDeletesNothing)
{
    const auto src = icons(0, 3);
    build({{0, "A", src}});
    form->selectNode(byTitle("A"));
    selectItems({1});
    pictarium::clipbd::UnregisterIconClipboardFormat();
    form->runAction(ActionId::CutIcons);
    EXPECT_EQ(blockBytes(byTitle("A")), testbytes::block(src));
    EXPECT_EQ(form->FIconTotal, 3);
    EXPECT_FALSE(form->FModified);
    EXPECT_TRUE(clipboardBytes().empty());
    // Without the format paste finds nothing either.
    putOnClipboard(kFormat, kGood);
    form->runAction(ActionId::PasteIcons);
    EXPECT_EQ(byTitle("A")->iconCount(), 3);
}

// ---- Dragging icons onto another node

TEST_F(Transfer, DraggedIconsMoveToTheNodeUnderTheMouse)
{
    const auto a = icons(0, 4), b = icons(10, 2);
    build({{0, "A", a}, {0, "B", b}});
    form->selectNode(byTitle("A"));
    selectItems({1, 3});
    pointAt(byTitle("B"));
    form->TreeViewDragDrop(form->ListView1);
    EXPECT_EQ(blockBytes(byTitle("B")), testbytes::block({b[0], b[1], a[1], a[3]}));
    EXPECT_EQ(blockBytes(byTitle("A")), testbytes::block({a[0], a[2]}));
    EXPECT_EQ(form->selectedNode(), byTitle("B"));
    EXPECT_EQ(captions().size(), 4u);
    EXPECT_EQ(form->FIconTotal, 6);
    EXPECT_EQ(panel(4), "图标总数:6");
    EXPECT_TRUE(form->FModified);
}

struct DropCase {
    const char *name;
    const char *target; // null: empty space
    bool fromTree;      // the drag came from the tree, not the list
};

class IgnoredDrop : public Transfer, public ::testing::WithParamInterface<DropCase> {};

TEST_P(IgnoredDrop, ChangesNothing)
{
    build({{0, "A", icons(0, 3)}, {0, "B", {}}});
    form->selectNode(byTitle("A"));
    selectItems({0});
    pointAt(GetParam().target ? byTitle(GetParam().target) : nullptr);
    form->TreeViewDragDrop(GetParam().fromTree ? static_cast<QObject *>(form->TreeView) : form->ListView1);
    EXPECT_EQ(byTitle("A")->iconCount(), 3);
    EXPECT_FALSE(byTitle("B")->block.has_value());
    EXPECT_EQ(form->selectedNode(), byTitle("A"));
    EXPECT_FALSE(form->FModified);
}

INSTANTIATE_TEST_SUITE_P(Drops, IgnoredDrop,
                         ::testing::Values(DropCase{"onto_source_node", "A", false}, DropCase{"onto_empty_space", nullptr, false},
                                           DropCase{"from_the_tree", "B", true}),
                         [](const auto &row) { return std::string(row.param.name); });

TEST_F(Transfer, TreeTakesDragsFromTheTreeAndTheListOnly)
{
    build({});
    EXPECT_TRUE(form->TreeViewDragOver(form->TreeView));
    EXPECT_TRUE(form->TreeViewDragOver(form->ListView1));
    EXPECT_FALSE(form->TreeViewDragOver(form->ToolBar1));
    EXPECT_FALSE(form->TreeViewDragOver(form.get()));
    EXPECT_FALSE(form->TreeViewDragOver(nullptr));
}

TEST_F(Transfer, ListDragCarriesTheSelectedIcons)
{
    const auto a = icons(0, 3);
    build({{0, "A", std::vector<Bytes>{a[0], Bytes{}, a[2]}}});
    form->selectNode(byTitle("A"));
    auto &m = form->iconModel();
    std::unique_ptr<QMimeData> mime(m.mimeData({m.index(2), m.index(1), m.index(0)}));
    ASSERT_TRUE(mime);
    const QByteArray d = mime->data(QString::fromLatin1(pictarium::IconListModel::kDragMimeType));
    EXPECT_EQ(Bytes(d.begin(), d.end()), testbytes::block({a[0], a[2]}));
}

// ---- Deleting icons

TEST_F(Transfer, DeleteOneIconRemovesTheFirstSelected)
{
    const auto a = icons(0, 3);
    build({{0, "A", a}});
    form->selectNode(byTitle("A"));
    selectItems({2, 1});
    form->runAction(ActionId::DelOneIcon);
    EXPECT_EQ(blockBytes(byTitle("A")), testbytes::block({a[0], a[2]}));
    EXPECT_EQ(form->FIconTotal, 2);
    EXPECT_EQ(panel(4), "图标总数:2");
    EXPECT_EQ(panel(2), "修改");
    EXPECT_EQ(captions(), (std::vector<std::string>{"Icon0", "Icon1"}));
}

TEST_F(Transfer, DeleteOneIconCases)
{
    // No item selected: nothing at all.
    build({{0, "A", icons(0, 1)}, {0, "E", {}}});
    form->selectNode(byTitle("A"));
    form->runAction(ActionId::DelOneIcon);
    EXPECT_EQ(byTitle("A")->iconCount(), 1);
    EXPECT_FALSE(form->FModified);

    // The last icon: a block of Count 0 and no item at all.
    selectItems({0});
    form->runAction(ActionId::DelOneIcon);
    ASSERT_TRUE(byTitle("A")->block.has_value());
    EXPECT_EQ(byTitle("A")->iconCount(), 0);
    EXPECT_TRUE(captions().empty());
    EXPECT_EQ(form->FIconTotal, 0);

    // The "No Icon" item: the total stays, the library counts as changed.
    form->FIconTotal = 7;
    form->FModified = false;
    form->selectNode(byTitle("E"));
    selectItems({0});
    form->runAction(ActionId::DelOneIcon);
    EXPECT_EQ(form->FIconTotal, 7);
    EXPECT_TRUE(form->FModified);
    EXPECT_FALSE(byTitle("E")->block.has_value());
}

struct DeleteCase {
    const char *name;
    std::vector<Bytes> images;
    std::vector<int> selected;
    std::optional<std::vector<Bytes>> left; // nothing: the node has no block afterwards
    std::int32_t total;
};

const Bytes kI0 = testbytes::ico16(0), kI1 = testbytes::ico16(1), kI2 = testbytes::ico16(2);

class DeleteSelected : public Transfer, public ::testing::WithParamInterface<DeleteCase> {};

TEST_P(DeleteSelected, KeepsUnselectedIconsAndDropsEmptySlots)
{
    const DeleteCase &c = GetParam();
    build({{0, "A", c.images}});
    form->selectNode(byTitle("A"));
    selectItems(c.selected);
    form->runAction(ActionId::DelSelectedIcons);
    if (c.left)
        EXPECT_EQ(blockBytes(byTitle("A")), testbytes::block(*c.left));
    else
        EXPECT_FALSE(byTitle("A")->block.has_value());
    EXPECT_EQ(form->FIconTotal, c.total);
    EXPECT_EQ(panel(4), "图标总数:" + std::to_string(c.total));
    EXPECT_TRUE(form->FModified);
    EXPECT_EQ(panel(0), "图标个数:" + std::to_string(c.left ? c.left->size() : 0));
}

INSTANTIATE_TEST_SUITE_P(
    Selections, DeleteSelected,
    ::testing::Values(DeleteCase{"some", {kI0, kI1, kI2}, {0, 2}, std::vector<Bytes>{kI1}, 1},
                      DeleteCase{"all_leaves_no_block", {kI0, kI1}, {0, 1}, std::nullopt, 0},
                      DeleteCase{"nothing_selected_drops_empty_slots", {kI0, {}, kI1}, {}, std::vector<Bytes>{kI0, kI1}, 2},
                      DeleteCase{"only_empty_slots_left_means_no_block", {{}, kI0, {}}, {1}, std::nullopt, 0},
                      DeleteCase{"count_zero_block_goes", {}, {}, std::nullopt, 0}),
    [](const auto &row) { return std::string(row.param.name); });

TEST_F(Transfer, SelectAllSelectsEveryItem)
{
    build({{0, "A", icons(0, 5)}, {0, "E", {}}});
    form->selectNode(byTitle("A"));
    form->runAction(ActionId::SelectedAllIcons);
    EXPECT_EQ(form->selectedItems(), (std::vector<std::int32_t>{0, 1, 2, 3, 4}));
    EXPECT_EQ(panel(1), "选中:5");
    EXPECT_FALSE(form->FModified);
    form->selectNode(byTitle("E"));
    form->runAction(ActionId::SelectedAllIcons);
    EXPECT_EQ(form->ListView1->selectionModel()->selectedIndexes().size(), 1);
    EXPECT_EQ(panel(1), "选中:1");
}

} // namespace
} // namespace formtest
