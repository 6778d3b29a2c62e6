// The icon view of the selected node and the status bar codes.

#include "FormFixture.h"

#include <QItemSelectionModel>

namespace formtest {
namespace {

using pictarium::TIconBlock;
using testbytes::Bytes;

std::optional<TIconBlock> blockOf(const std::vector<Bytes> &images) { return TIconBlock::parse(testbytes::block(images)); }

class IconView : public Form {
protected:
    // An untitled document with one node per block (no block: nothing).
    void startWith(const std::vector<std::optional<TIconBlock>> &blocks)
    {
        start();
        for (const auto &b : blocks) {
            auto *n = form->treeModel().add(nullptr, testbytes::str("N"));
            form->treeModel().setBlock(n, b);
        }
    }
    [[nodiscard]] bool hasPicture(int row) const
    {
        auto &m = form->iconModel();
        return !m.data(m.index(row), Qt::DecorationRole).value<QImage>().isNull();
    }
};

struct ViewCase {
    const char *name;
    std::optional<std::vector<Bytes>> images; // nothing: the node has no block
    std::vector<std::string> captions;
    std::vector<int> imageIndices;
    std::string panel0;
};

class NodeView : public IconView, public ::testing::WithParamInterface<ViewCase> {};

TEST_P(NodeView, ShowsOneItemPerEntry)
{
    const ViewCase &c = GetParam();
    startWith({c.images ? blockOf(*c.images) : std::nullopt});
    form->selectNode(node(0));
    EXPECT_EQ(captions(), c.captions);
    EXPECT_EQ(imageIndices(), c.imageIndices);
    for (std::size_t i = 0; i < c.imageIndices.size(); ++i)
        EXPECT_EQ(hasPicture(static_cast<int>(i)), c.imageIndices[i] >= 0) << i;
    EXPECT_EQ(panel(0), c.panel0);
}

std::vector<Bytes> twelve()
{
    std::vector<Bytes> v;
    for (unsigned i = 0; i < 12; ++i)
        v.push_back(testbytes::ico16(i));
    return v;
}

std::vector<std::string> iconCaptions(int n)
{
    std::vector<std::string> v;
    for (int i = 0; i < n; ++i)
        v.push_back("Icon" + std::to_string(i));
    return v;
}

std::vector<int> upTo(int n)
{
    std::vector<int> v;
    for (int i = 0; i < n; ++i)
        v.push_back(i);
    return v;
}

INSTANTIATE_TEST_SUITE_P(
    Blocks, NodeView,
    ::testing::Values(
        ViewCase{"no_block", std::nullopt, {"No Icon"}, {-1}, "图标个数:0"},
        ViewCase{"count_zero", std::vector<Bytes>{}, {}, {}, "图标个数:0"},
        ViewCase{"empty_slot_in_the_middle",
                 std::vector<Bytes>{testbytes::ico16(1), {}, testbytes::ico16(2)},
                 {"Icon0", "Icon1", "Icon2"},
                 {0, -1, 1},
                 "图标个数:3"},
        ViewCase{"undecodable_entries_take_no_image",
                 std::vector<Bytes>{Bytes(40, 0xAB), testbytes::ico16(1), Bytes{0, 0, 1, 0}, testbytes::ico16(2)},
                 {"Icon0", "Icon1", "Icon2", "Icon3"},
                 {-1, 0, -1, 1},
                 "图标个数:4"},
        ViewCase{"twelve", twelve(), iconCaptions(12), upTo(12), "图标个数:12"}),
    [](const auto &row) { return std::string(row.param.name); });

TEST_F(IconView, ImageIndexOfALateItemIsExactWhenAskedFirst)
{
    startWith({blockOf({{}, testbytes::ico16(1), Bytes(10, 1), testbytes::ico16(2), testbytes::ico16(3)})});
    form->selectNode(node(0));
    auto &m = form->iconModel();
    EXPECT_EQ(m.imageIndex(4), 2);
    EXPECT_EQ(m.imageIndex(0), -1);
    EXPECT_EQ(m.imageIndex(3), 1);
}

TEST_F(IconView, NoNodeSelectedShowsThePlaceholder)
{
    startWith({blockOf({testbytes::ico16(1)})});
    form->selectNode(node(0));
    ASSERT_EQ(captions(), std::vector<std::string>{"Icon0"});
    // Deleting the last node leaves no selection.
    form->treeModel().remove(node(0));
    form->TreeViewChange();
    EXPECT_EQ(form->selectedNode(), nullptr);
    EXPECT_EQ(captions(), std::vector<std::string>{"No Icon"});
    EXPECT_EQ(imageIndices(), std::vector<int>{-1});
    EXPECT_EQ(form->FNodeIconCount, 0);
    EXPECT_EQ(panel(0), "图标个数:0");
}

TEST_F(IconView, SelectingAnotherNodeRebuildsTheView)
{
    startWith({blockOf({testbytes::ico16(1), testbytes::ico16(2)}), std::nullopt, blockOf({testbytes::ico16(3)})});
    form->selectNode(node(0));
    EXPECT_EQ(captions().size(), 2u);
    EXPECT_EQ(form->FNodeIconCount, 2);
    form->selectNode(node(1));
    EXPECT_EQ(captions(), std::vector<std::string>{"No Icon"});
    form->selectNode(node(2));
    EXPECT_EQ(captions(), std::vector<std::string>{"Icon0"});
    EXPECT_EQ(panel(0), "图标个数:1");
}

TEST_F(IconView, ABlockReplacedUnderTheViewStaysShownUntilTheRefresh)
{
    startWith({blockOf({testbytes::ico16(1), testbytes::ico16(2)})});
    form->selectNode(node(0));
    // The node's block goes away without a refresh; the view keeps what it showed.
    form->treeModel().setBlock(node(0), blockOf({testbytes::ico16(5)}));
    EXPECT_EQ(captions(), (std::vector<std::string>{"Icon0", "Icon1"}));
    EXPECT_TRUE(hasPicture(1));
    form->TreeViewChange();
    EXPECT_EQ(captions(), std::vector<std::string>{"Icon0"});

    form->treeModel().freeAllBlocks();
    EXPECT_TRUE(hasPicture(0));
    form->treeModel().remove(node(0));
    EXPECT_EQ(captions(), std::vector<std::string>{"No Icon"}); // the loss of the selection was reported
}

TEST_F(IconView, ComingBackToANodeShowsItsBlockAsItIsNow)
{
    startWith({blockOf({testbytes::ico16(1), testbytes::ico16(2), testbytes::ico16(3)}), blockOf({{}})});
    form->selectNode(node(0));
    form->selectNode(node(1));
    form->treeModel().setBlock(node(0), blockOf({testbytes::ico16(4), {}}));
    form->selectNode(node(0));
    EXPECT_EQ(captions(), (std::vector<std::string>{"Icon0", "Icon1"}));
    EXPECT_EQ(imageIndices(), (std::vector<int>{0, -1}));

    // Blocks freed with their subtree are not shown from memory either.
    form->selectNode(node(1));
    std::int32_t total = 2;
    form->treeModel().freeSubtreeBlocks(node(0), total);
    form->selectNode(node(0));
    EXPECT_EQ(captions(), std::vector<std::string>{"No Icon"});
}

TEST_F(IconView, PicturesFollowTheIconMaskAndCellSize)
{
    startWith({blockOf({testbytes::ico16(1)})});
    form->selectNode(node(0));
    const QImage big = form->iconModel().image(0, 32);
    const QImage small = form->iconModel().image(0, 16);
    ASSERT_EQ(big.size(), QSize(32, 32));
    ASSERT_EQ(small.size(), QSize(16, 16));
    EXPECT_EQ(qAlpha(big.pixel(0, 0)), 0);   // masked corner
    EXPECT_EQ(qAlpha(big.pixel(20, 20)), 255);
}

TEST_F(IconView, StatusBarCodesRefreshOnlyTheirPanels)
{
    start();
    const std::vector<std::string> before{panel(0), panel(1), panel(2), panel(3), panel(4)};
    form->FNodeIconCount = 7;
    form->FFileSize = -5;
    form->FIconTotal = 1234567;
    form->FModified = true;
    form->UpdateStatusBar(18);
    EXPECT_EQ(panel(0), before[0]);
    EXPECT_EQ(panel(1), before[1]);
    EXPECT_EQ(panel(2), "修改");
    EXPECT_EQ(panel(3), before[3]);
    EXPECT_EQ(panel(4), "图标总数:1234567");
    form->UpdateStatusBar(0x100 | 1); // unknown bits are ignored
    EXPECT_EQ(panel(3), "文件大小:-5");
    EXPECT_EQ(panel(0), before[0]);
    form->UpdateStatusBar(pictarium::sfAll);
    EXPECT_EQ(panel(0), "图标个数:7");
    for (int i = 5; i < 8; ++i)
        EXPECT_EQ(panel(i), "");
}

TEST_F(IconView, SelectedItemsAreCounted)
{
    std::vector<Bytes> five;
    for (unsigned i = 0; i < 5; ++i)
        five.push_back(testbytes::ico16(i));
    startWith({blockOf(five)});
    form->selectNode(node(0));
    auto *sel = form->ListView1->selectionModel();
    for (int r : {0, 2, 4})
        sel->select(form->iconModel().index(r), QItemSelectionModel::Select);
    EXPECT_EQ(panel(1), "选中:3");
    EXPECT_EQ(form->selectedItems(), (std::vector<std::int32_t>{0, 2, 4}));
    form->TreeViewChange(); // the rebuilt view has nothing selected
    EXPECT_EQ(panel(1), "选中:0");
}

TEST_F(IconView, ViewStylesKeepItemsAndImages)
{
    startWith({blockOf({testbytes::ico16(1), {}, testbytes::ico16(2)})});
    form->selectNode(node(0));
    const auto itemsBefore = captions();
    const auto imagesBefore = imageIndices();
    using Style = void (pictarium::TMainForm::*)();
    for (Style s : {&pictarium::TMainForm::SetListViewListClick, &pictarium::TMainForm::SetListViewSmallClick,
                    &pictarium::TMainForm::SetListViewBigClick}) {
        (form.get()->*s)();
        EXPECT_EQ(captions(), itemsBefore);
        EXPECT_EQ(imageIndices(), imagesBefore);
        const int side = form->iconModel().iconSide();
        EXPECT_EQ(form->iconModel().data(form->iconModel().index(0), Qt::DecorationRole).value<QImage>().width(), side);
    }
    EXPECT_EQ(form->iconModel().iconSide(), 32);
    EXPECT_EQ(form->ListView1->iconSize(), QSize(32, 32));
    form->SetListViewListClick();
    EXPECT_EQ(form->ListView1->iconSize(), QSize(16, 16));
    EXPECT_EQ(form->ListView1->flow(), QListView::TopToBottom);
}

} // namespace
} // namespace formtest
