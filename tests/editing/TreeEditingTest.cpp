// Tree editing: new titles, in-place renaming, deleting, sweeping empty nodes, moving by drag.

#include "EditingFixture.h"

#include "platform/Codepage.h"

#include <QApplication>
#include <QMouseEvent>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

namespace formtest {
namespace {

using pictarium::LibraryNode;
using pictarium::MsgButtons;
using pictarium::MsgIcon;
using testbytes::Bytes;

const Bytes kNewTitle = pictarium::utf8ToAnsi("新建标题");

// ---- New titles

struct CreateCase {
    const char *name;
    std::vector<NodeSpec> tree;
    const char *selected; // null: no node selected
    bool child;           // "新增子标题" rather than "新增标题"
    std::vector<std::string> outline; // "*" stands for the new node
};

class CreateTitle : public Editing, public ::testing::WithParamInterface<CreateCase> {};

TEST_P(CreateTitle, MakesASelectedTitleInEditing)
{
    const CreateCase &c = GetParam();
    build(c.tree);
    if (c.selected)
        form->selectNode(byTitle(c.selected));
    const auto total = form->FIconTotal;

    form->runAction(c.child ? pictarium::ActionId::CreateChildTreeNode : pictarium::ActionId::CreateTreeNode);

    LibraryNode *made = form->selectedNode();
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->title, kNewTitle);
    EXPECT_FALSE(made->block.has_value());
    EXPECT_EQ(made->imageIndex, 0);
    EXPECT_EQ(made->selectedIndex, 22);
    made->title = testbytes::str("*");
    EXPECT_EQ(outline(), c.outline);
    EXPECT_TRUE(editing(made));
    if (made->parent()) {
        EXPECT_TRUE(form->TreeView->isExpanded(form->treeModel().indexOf(made->parent())));
    }
    EXPECT_TRUE(form->FModified);
    EXPECT_EQ(panel(2), "修改");
    EXPECT_EQ(form->FIconTotal, total);
    EXPECT_EQ(captions(), std::vector<std::string>{"No Icon"});
}

const std::vector<NodeSpec> kFamily{{0, "P", {}}, {1, "C1", {}}, {1, "C2", {}}, {0, "Q", {}}};

INSTANTIATE_TEST_SUITE_P(
    Places, CreateTitle,
    ::testing::Values(CreateCase{"sibling_in_empty_tree", {}, nullptr, false, {"*"}},
                      CreateCase{"child_in_empty_tree", {}, nullptr, true, {"*"}},
                      CreateCase{"sibling_of_first_child_becomes_first_child", kFamily, "C1", false,
                                 {"P", "  *", "  C1", "  C2", "Q"}},
                      CreateCase{"sibling_goes_right_before_selected", kFamily, "Q", false, {"P", "  C1", "  C2", "*", "Q"}},
                      CreateCase{"child_goes_after_existing_children", kFamily, "P", true,
                                 {"P", "  C1", "  C2", "  *", "Q"}},
                      CreateCase{"child_of_leaf_gets_it_expanded", kFamily, "Q", true, {"P", "  C1", "  C2", "Q", "  *"}}),
    [](const auto &row) { return std::string(row.param.name); });

// ---- Renaming in place

class Rename : public Editing {
protected:
    QLineEdit *editor() const { return form->TreeView->viewport()->findChild<QLineEdit *>(); }
};

TEST_F(Rename, EditTitleWithoutNodeDoesNothing)
{
    build({});
    form->runAction(pictarium::ActionId::EditTreeNode);
    EXPECT_FALSE(form->FModified);
    EXPECT_EQ(form->TreeView->viewport()->findChild<QLineEdit *>(), nullptr);
}

struct EditCase {
    const char *name;
    QString typed;
    Qt::Key key;
    std::string title;
};

class RenameTyped : public Rename, public ::testing::WithParamInterface<EditCase> {};

TEST_P(RenameTyped, EnterConfirmsAnyTextAndEscKeepsTheOld)
{
    build({{0, "Old", {}}, {0, "Other", {}}});
    form->selectNode(byTitle("Old"));
    form->runAction(pictarium::ActionId::EditTreeNode);
    EXPECT_TRUE(form->FModified);
    EXPECT_EQ(panel(2), "修改");
    QLineEdit *line = editor();
    ASSERT_NE(line, nullptr);
    line->setText(GetParam().typed);
    QTest::keyClick(line, GetParam().key);
    QCoreApplication::processEvents(); // the delegate commits through a queued call
    EXPECT_EQ(form->tree().nodeAt(0)->title, testbytes::str(GetParam().title));
    EXPECT_EQ(form->tree().nodeAt(1)->title, testbytes::str("Other"));
}

INSTANTIATE_TEST_SUITE_P(Keys, RenameTyped,
                         ::testing::Values(EditCase{"enter", QStringLiteral("New"), Qt::Key_Return, "New"},
                                           EditCase{"enter_empty", QString(), Qt::Key_Return, ""},
                                           EditCase{"esc", QStringLiteral("New"), Qt::Key_Escape, "Old"}),
                         [](const auto &row) { return std::string(row.param.name); });

TEST_F(Rename, ChineseTitlesAreStoredAsAnsiAndLineBreaksBecomeSpaces)
{
    build({{0, "Old", {}}});
    auto &m = form->treeModel();
    const QModelIndex i = m.indexOf(form->tree().nodeAt(0));
    ASSERT_TRUE(m.setData(i, QStringLiteral("图标\r\n集\n")));
    EXPECT_EQ(form->tree().nodeAt(0)->title, pictarium::utf8ToAnsi("图标  集 "));
}

// ---- Deleting a title

TEST_F(Rename, DeleteTitleAsksFirstAndCancelKeepsEverything)
{
    build({{0, "A", icons(0, 2)}, {1, "A1", {}}});
    form->selectNode(byTitle("A"));
    prompt->answers.push_back(MsgResult::Cancel);
    form->runAction(pictarium::ActionId::DelTreeNode);
    ASSERT_EQ(prompt->shown.size(), 1u);
    EXPECT_EQ(prompt->shown[0].text, "是否删除该标题下的所有标题？");
    EXPECT_EQ(prompt->shown[0].caption, "Pictarium");
    EXPECT_EQ(prompt->shown[0].buttons, MsgButtons::OkCancel);
    EXPECT_EQ(prompt->shown[0].icon, MsgIcon::Warning);
    EXPECT_EQ(outline(), (std::vector<std::string>{"A", "  A1"}));
    EXPECT_EQ(form->FIconTotal, 2);
    EXPECT_FALSE(form->FModified);
}

TEST_F(Rename, DeleteTitleWithoutNodeAsksNothing)
{
    build({{0, "A", {}}});
    form->runAction(pictarium::ActionId::DelTreeNode);
    EXPECT_TRUE(prompt->shown.empty());
    EXPECT_EQ(outline(), std::vector<std::string>{"A"});
}

TEST_F(Rename, DeleteTitleTakesTheWholeSubtreeWithItsIcons)
{
    build({{0, "A", icons(0, 1)}, {1, "B", icons(1, 2)}, {2, "C", icons(3, 5)}, {1, "D", {}}, {0, "K", icons(8, 3)}});
    form->selectNode(byTitle("A"));
    prompt->answers.push_back(MsgResult::Ok);
    form->runAction(pictarium::ActionId::DelTreeNode);
    EXPECT_EQ(outline(), std::vector<std::string>{"K"});
    EXPECT_EQ(form->FIconTotal, 3);
    EXPECT_TRUE(form->FModified);
    EXPECT_EQ(panel(4), "图标总数:3");
    EXPECT_EQ(panel(2), "修改");
    // The view follows the tree's new selection.
    EXPECT_EQ(form->selectedNode(), byTitle("K"));
    EXPECT_EQ(captions(), (std::vector<std::string>{"Icon0", "Icon1", "Icon2"}));
}

TEST_F(Rename, DeletingTheOnlyNodeLeavesTheEmptyView)
{
    build({{0, "A", icons(0, 4)}});
    form->selectNode(byTitle("A"));
    prompt->answers.push_back(MsgResult::Ok);
    form->runAction(pictarium::ActionId::DelTreeNode);
    EXPECT_TRUE(form->tree().empty());
    EXPECT_EQ(captions(), std::vector<std::string>{"No Icon"});
    EXPECT_EQ(panel(0), "图标个数:0");
    EXPECT_EQ(panel(4), "图标总数:0");
    EXPECT_EQ(panel(2), "修改");
}

// ---- Sweeping nodes without icons and children

struct SweepCase {
    const char *name;
    std::vector<NodeSpec> tree;
    std::vector<std::string> left;
};

class Sweep : public Editing, public ::testing::WithParamInterface<SweepCase> {};

TEST_P(Sweep, RemovesEmptyBranchesBottomUp)
{
    build(GetParam().tree);
    if (!form->tree().empty())
        form->selectNode(form->tree().nodeAt(0));
    prompt->answers.push_back(MsgResult::Ok);
    form->runAction(pictarium::ActionId::DelNullDataNode);
    ASSERT_EQ(prompt->shown.size(), 1u);
    EXPECT_EQ(prompt->shown[0].text, "是否删除所有没有图标和子节点的节点？");
    EXPECT_EQ(prompt->shown[0].caption, "Pictarium");
    EXPECT_EQ(prompt->shown[0].buttons, MsgButtons::OkCancel);
    EXPECT_EQ(prompt->shown[0].icon, MsgIcon::Warning);
    EXPECT_EQ(outline(), GetParam().left);
    EXPECT_FALSE(form->FModified);
    EXPECT_EQ(panel(2), "无变化");
    // Whatever is selected now is what the view shows.
    const LibraryNode *sel = form->selectedNode();
    EXPECT_EQ(form->FNodeIconCount, sel ? sel->iconCount() : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Trees, Sweep,
    ::testing::Values(
        SweepCase{"empty_tree", {}, {}},
        SweepCase{"chain_without_icons", {{0, "A", {}}, {1, "B", {}}, {2, "C", {}}}, {}},
        SweepCase{"holder_stays_when_descendants_go",
                  {{0, "A", icons(0, 1)}, {1, "B", {}}, {2, "C", {}}, {0, "D", {}}},
                  {"A"}},
        SweepCase{"count_zero_block_holds", {{0, "A", {}}, {1, "B", std::vector<Bytes>{}}, {1, "C", {}}}, {"A", "  B"}},
        SweepCase{"deep_holder_keeps_its_ancestors",
                  {{0, "A", {}}, {1, "B", {}}, {2, "C", icons(0, 1)}, {2, "E", {}}, {1, "F", {}}, {0, "G", {}}},
                  {"A", "  B", "    C"}}),
    [](const auto &row) { return std::string(row.param.name); });

TEST_F(Sweep, CancelRemovesNothing)
{
    build({{0, "A", {}}});
    form->runAction(pictarium::ActionId::DelNullDataNode);
    EXPECT_EQ(prompt->shown.size(), 1u);
    EXPECT_EQ(outline(), std::vector<std::string>{"A"});
}

TEST_F(Sweep, BlockEmptiedByDeleteOneIconSurvives)
{
    build({{0, "A", icons(0, 1)}});
    form->selectNode(byTitle("A"));
    selectItems({0});
    form->runAction(pictarium::ActionId::DelOneIcon);
    ASSERT_TRUE(byTitle("A")->block.has_value());
    prompt->answers.push_back(MsgResult::Ok);
    form->runAction(pictarium::ActionId::DelNullDataNode);
    EXPECT_EQ(outline(), std::vector<std::string>{"A"});
}

// ---- Moving a node by dragging it

const std::vector<NodeSpec> kMoveTree{
    {0, "A", icons(0, 2)}, {1, "A1", {}}, {2, "A11", {}}, {0, "B", {}}, {1, "B1", {}}, {0, "T", icons(2, 1)}};

struct MoveCase {
    const char *name;
    const char *dragged;
    const char *target; // null: below the last row
    std::vector<std::string> outline;
};

class Move : public Editing, public ::testing::WithParamInterface<MoveCase> {};

TEST_P(Move, PutsTheNodeBeforeTheTargetWithoutTouchingTheDocument)
{
    const MoveCase &c = GetParam();
    build(kMoveTree);
    form->TreeView->collapseAll();
    form->TreeView->expand(form->treeModel().indexOf(byTitle("A")));
    form->TreeView->expand(form->treeModel().indexOf(byTitle("A1")));
    form->TreeView->expand(form->treeModel().indexOf(byTitle("B")));
    LibraryNode *dragged = byTitle(c.dragged);
    form->selectNode(dragged);
    const auto shown = captions();
    QSignalSpy rebuilt(&form->iconModel(), &QAbstractItemModel::modelReset);

    pointAt(c.target ? byTitle(c.target) : nullptr);
    form->TreeViewEndDrag();

    EXPECT_EQ(outline(), c.outline);
    EXPECT_EQ(form->selectedNode(), dragged);
    EXPECT_EQ(rebuilt.count(), 0);
    EXPECT_EQ(captions(), shown);
    EXPECT_FALSE(form->FModified);
    EXPECT_EQ(form->FIconTotal, 3);
    if (dragged->parent()) {
        EXPECT_TRUE(form->TreeView->isExpanded(form->treeModel().indexOf(dragged->parent())));
    }
}

const std::vector<std::string> kUnmoved{"A", "  A1", "    A11", "B", "  B1", "T"};

INSTANTIATE_TEST_SUITE_P(
    Targets, Move,
    ::testing::Values(MoveCase{"onto_own_child", "A", "A1", kUnmoved},
                      MoveCase{"onto_own_grandchild", "A", "A11", kUnmoved},
                      MoveCase{"onto_itself", "B", "B", kUnmoved},
                      MoveCase{"onto_next_node", "A", "B", kUnmoved},
                      MoveCase{"onto_empty_space", "A", nullptr, kUnmoved},
                      MoveCase{"onto_top_level_node", "A11", "T", {"A", "  A1", "B", "  B1", "A11", "T"}},
                      MoveCase{"with_subtree_and_icons", "A", "T", {"B", "  B1", "A", "  A1", "    A11", "T"}},
                      MoveCase{"into_another_parent", "T", "B1", {"A", "  A1", "    A11", "B", "  T", "  B1"}},
                      MoveCase{"up_before_earlier_sibling", "T", "A", {"T", "A", "  A1", "    A11", "B", "  B1"}}),
    [](const auto &row) { return std::string(row.param.name); });

TEST_F(Move, ReleasedOverTheIconListMovesNothing)
{
    build(kMoveTree);
    form->selectNode(byTitle("T"));
    QCursor::setPos(form->ListView1->viewport()->mapToGlobal(QPoint(5, 5)));
    form->TreeViewEndDrag();
    EXPECT_EQ(outline(), kUnmoved);
}

TEST_F(Move, MovedLibraryClosesWithoutQuestion)
{
    build(kMoveTree);
    form->FModified = false;
    form->selectNode(byTitle("T"));
    pointAt(byTitle("A"));
    form->TreeViewEndDrag();
    ASSERT_EQ(form->tree().nodeAt(0), byTitle("T"));
    EXPECT_TRUE(form->close());
    EXPECT_TRUE(prompt->shown.empty());
}

// A drag started with the mouse on the tree: when it ends, however it ends, the node goes
// before the node under the pointer. (The offscreen platform ends every drag at once, as if
// it had been cancelled where the pointer is.)
TEST_F(Move, MouseDragEndsWithAMoveToTheNodeUnderThePointer)
{
    build(kMoveTree);
    QWidget *area = form->TreeView->viewport();
    const QPoint from = form->TreeView->visualRect(form->treeModel().indexOf(byTitle("T"))).center();
    QTest::mousePress(area, Qt::LeftButton, {}, from);
    ASSERT_EQ(form->selectedNode(), byTitle("T"));
    pointAt(byTitle("B"));
    for (const QPoint step : {QPoint(0, 2), QPoint(0, 30)}) {
        QMouseEvent move(QEvent::MouseMove, from + step, area->mapToGlobal(from + step), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(area, &move);
        // Moving with the button down drags; it never selects another node.
        EXPECT_EQ(form->selectedNode(), byTitle("T"));
    }
    EXPECT_EQ(outline(), (std::vector<std::string>{"A", "  A1", "    A11", "T", "B", "  B1"}));
    EXPECT_EQ(form->selectedNode(), byTitle("T"));
    // No drop target stays lit: the tree shows the dragged node alone as selected.
    EXPECT_EQ(form->TreeView->selectionModel()->selectedIndexes(),
              QModelIndexList{form->treeModel().indexOf(byTitle("T"))});
}

} // namespace
} // namespace formtest
