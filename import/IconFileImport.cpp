// Importing ".ico" files, stored byte for byte.

#include "app/LibraryTreeModel.h"
#include "app/MainForm.h"
#include "library/ModuleImport.h"

namespace pictarium {

void TMainForm::ImportIconFileExecute()
{
    OpenDialog1.DefaultExt = ".ICO";
    OpenDialog1.Filter = "图标文件(*.ico)|*.ICO";
    OpenDialog1.Options = ofHideReadOnly | ofAllowMultiSelect | ofFileMustExist | ofEnableSizing;
    if (!OpenDialog1.Execute())
        return;
    std::optional<TIconBlock> block;
    {
        ProgressRun run(progress(), "导入图标文件", OpenDialog1.Files.size());
        block = importIconFiles(OpenDialog1.Files, run.asFileStep());
    }
    if (block)
        addImportedIcons(*block);
}

void TMainForm::addImportedIcons(const TIconBlock &block)
{
    if (!selectedNode())
        CreateTreeNodeExecute();
    LibraryNode *node = selectedNode();
    if (!node)
        return; // no node to take the icons: nothing changes
    treeModel().appendBlock(node, block);
    FIconTotal += block.Count();
    FModified = true;
    UpdateStatusBar(sfIconTotal | sfModified);
    TreeViewChange();
}

} // namespace pictarium
