// Moving and copying icons through the clipboard and by drag, and deleting them.

#include "app/IconListModel.h"
#include "app/LibraryTreeModel.h"
#include "app/MainForm.h"
#include "editing/Clipbd.h"

#include <QItemSelectionModel>
#include <QListView>

namespace pictarium {

namespace {

enum class Copied { Nothing, Placed, Failed };

// Puts the selected icons on the clipboard.
Copied copySelection(const TMainForm &form)
{
    const std::optional<TIconBlock> selection = clipbd::BuildSelectionBlock(form.selectedNode(), form.selectedItems());
    if (!selection)
        return Copied::Nothing;
    return clipbd::PutBlockOnClipboard(*selection) ? Copied::Placed : Copied::Failed;
}

} // namespace

void TMainForm::RegisterIconClipboardFormat() { clipbd::RegisterIconClipboardFormat(); }

void TMainForm::CopyIconsExecute() { copySelection(*this); }

void TMainForm::CutIconsExecute()
{
    // Icons that could not be placed on the clipboard would be lost: keep them.
    if (copySelection(*this) == Copied::Failed)
        return;
    DelSelectedIconsExecute();
}

void TMainForm::PasteIconsExecute()
{
    if (!selectedNode())
        CreateTreeNodeExecute();
    std::optional<TIconBlock> payload = clipbd::GetBlockFromClipboard();
    LibraryNode *node = selectedNode();
    if (!payload || !node)
        return;
    const std::int32_t added = payload->Count();
    treeModel_->appendBlock(node, std::move(*payload));
    FIconTotal += added;
    FModified = true;
    UpdateStatusBar(sfIconTotal | sfModified);
    TreeViewChange();
}

void TMainForm::DelOneIconExecute()
{
    // The first selected item; the "No Icon" item of a node without icons counts too.
    const int row = firstSelectedItem();
    if (row < 0)
        return;
    LibraryNode *node = selectedNode();
    const bool isEntry = node && node->block && !iconModel_->isPlaceholder() && row < node->block->Count();
    if (isEntry)
        FIconTotal -= 1;
    FModified = true;
    UpdateStatusBar(sfIconTotal | sfModified);
    if (isEntry)
        treeModel_->deleteIconEntry(node, row);
    TreeViewChange();
}

void TMainForm::DelSelectedIconsExecute()
{
    LibraryNode *node = selectedNode();
    if (!node)
        return;
    // Survivors: unselected entries that hold an image; empty slots go as well.
    std::optional<TIconBlock> kept;
    if (node->block) {
        TIconBlock rest = removeEntries(*node->block, selectedItems(), EmptySlots::Drop);
        if (rest.Count() > 0)
            kept = std::move(rest);
    }
    FIconTotal -= node->iconCount() - (kept ? kept->Count() : 0);
    FModified = true;
    UpdateStatusBar(sfIconTotal | sfModified);
    treeModel_->setBlock(node, std::move(kept));
    TreeViewChange();
}

void TMainForm::SelectedAllIconsExecute() { ListView1->selectAll(); }

void TMainForm::TreeViewDragDrop(const QObject *source)
{
    // A node dragged within the tree is moved when its drag ends (TreeViewEndDrag).
    if (source != ListView1)
        return;
    LibraryNode *from = selectedNode();
    LibraryNode *to = nodeUnderMouse();
    if (!from || !to || from == to)
        return;
    std::optional<TIconBlock> moving = clipbd::BuildSelectionBlock(from, selectedItems());
    if (!moving)
        return;
    const std::int32_t added = moving->Count();
    treeModel_->appendBlock(to, std::move(*moving));
    FIconTotal += added;
    DelSelectedIconsExecute();
    selectNode(to);
}

} // namespace pictarium
