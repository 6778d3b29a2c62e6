// Editing the title tree: new titles, renaming, deleting, moving nodes by drag.

#include "app/LibraryTreeModel.h"
#include "app/MainForm.h"
#include "platform/Codepage.h"

#include <QCursor>
#include <QListView>
#include <QSignalBlocker>
#include <QTreeView>

#include <unordered_set>

namespace pictarium {

namespace {

constexpr const char *kNewTitle = "新建标题";
constexpr const char *kDeleteTitleQuestion = "是否删除该标题下的所有标题？";
constexpr const char *kDeleteEmptyQuestion = "是否删除所有没有图标和子节点的节点？";

// Every node that holds nothing, neither a block (even one of Count 0) nor a node that
// does: the nodes that removing childless empty nodes one by one would end up removing.
// Only the topmost of them are listed, since each takes its subtree along.
std::vector<LibraryNode *> emptyBranches(const LibraryTree &tree)
{
    std::vector<LibraryNode *> order;
    tree.forEachPreorder([&](LibraryNode &n) { order.push_back(&n); });
    // Children come after their parent in pre-order: walking backwards settles every
    // child before its parent.
    std::unordered_set<const LibraryNode *> holding;
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
        LibraryNode *n = *it;
        if ((n->block || holding.contains(n)) && n->parent())
            holding.insert(n->parent());
        if (n->block)
            holding.insert(n);
    }
    std::vector<LibraryNode *> top;
    for (LibraryNode *n : order) {
        if (!holding.contains(n) && (!n->parent() || holding.contains(n->parent())))
            top.push_back(n);
    }
    return top;
}

// A new title node gets the title glyphs, becomes the selected node and opens for typing.
void openNewTitle(TMainForm &form, LibraryNode *node)
{
    form.treeModel().setImages(node, kTitleNodeImage, kTitleNodeSelectedImage);
    form.selectNode(node);
    form.TreeView->edit(form.treeModel().indexOf(node));
}

} // namespace

void TMainForm::CreateTreeNodeExecute()
{
    FModified = true;
    UpdateStatusBar(sfModified);
    openNewTitle(*this, treeModel_->insertBefore(selectedNode(), utf8ToAnsi(kNewTitle)));
}

void TMainForm::CreateChildTreeNodeExecute()
{
    FModified = true;
    UpdateStatusBar(sfModified);
    LibraryNode *parent = selectedNode();
    LibraryNode *node = treeModel_->addChild(parent, utf8ToAnsi(kNewTitle));
    if (parent)
        TreeView->expand(treeModel_->indexOf(parent));
    openNewTitle(*this, node);
}

void TMainForm::EditTreeNodeExecute()
{
    LibraryNode *node = selectedNode();
    if (!node)
        return;
    FModified = true;
    UpdateStatusBar(sfModified);
    TreeView->edit(treeModel_->indexOf(node));
}

void TMainForm::DelTreeNodeExecute()
{
    LibraryNode *node = selectedNode();
    if (!node)
        return;
    if (prompt().messageBox(kDeleteTitleQuestion, kApplicationTitle, MsgButtons::OkCancel, MsgIcon::Warning) !=
        MsgResult::Ok)
        return;
    treeModel_->freeSubtreeBlocks(node, FIconTotal);
    // The tree picks a neighbour as the new selection; its change notice shows it.
    treeModel_->remove(node);
    FModified = true;
    UpdateStatusBar(sfIconTotal | sfModified);
}

void TMainForm::DelNullDataNodeExecute()
{
    if (prompt().messageBox(kDeleteEmptyQuestion, kApplicationTitle, MsgButtons::OkCancel, MsgIcon::Warning) !=
        MsgResult::Ok)
        return;
    const std::vector<LibraryNode *> doomed = emptyBranches(tree_);
    // Later nodes first, so the rows of those still to go stay put.
    for (auto it = doomed.rbegin(); it != doomed.rend(); ++it)
        treeModel_->remove(*it);
}

void TMainForm::TreeViewStartDrag() {}

bool TMainForm::TreeViewDragOver(const QObject *source) const
{
    return source && (source == TreeView || source == ListView1);
}

LibraryNode *TMainForm::nodeUnderMouse() const
{
    const QWidget *area = TreeView->viewport();
    const QPoint at = area->mapFromGlobal(QCursor::pos());
    if (!area->rect().contains(at))
        return nullptr;
    return LibraryTreeModel::nodeOf(TreeView->indexAt(at));
}

void TMainForm::TreeViewEndDrag()
{
    // However the drag ended, the node under the mouse is where the dragged one goes.
    LibraryNode *dragged = selectedNode();
    LibraryNode *target = nodeUnderMouse();
    if (!dragged || !target || dragged->isSelfOrAncestorOf(target))
        return;
    const bool alreadyThere = dragged->parent() == target->parent() && dragged->row() + 1 == target->row();
    if (alreadyThere)
        return;
    {
        // The dragged node stays selected and its icons stay shown: no change notice.
        const QSignalBlocker quiet(TreeView->selectionModel());
        if (!treeModel_->moveBefore(dragged, target))
            return;
    }
    if (LibraryNode *parent = dragged->parent())
        TreeView->expand(treeModel_->indexOf(parent));
    TreeView->scrollTo(treeModel_->indexOf(dragged));
}

} // namespace pictarium
