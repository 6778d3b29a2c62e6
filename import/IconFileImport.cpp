// Importing ".ico" files, stored byte for byte.

#include "app/LibraryTreeModel.h"
#include "app/MainForm.h"
#include "library/ModuleImport.h"

namespace pictarium {

bool TMainForm::chooseImportFiles(const char *defaultExt, const char *filter)
{
    OpenDialog1.DefaultExt = defaultExt;
    OpenDialog1.Filter = filter;
    OpenDialog1.Options = ofHideReadOnly | ofAllowMultiSelect | ofFileMustExist | ofEnableSizing;
    return OpenDialog1.Execute();
}

void TMainForm::importIntoSelectedNode(const char *title, BlockOfFiles build)
{
    std::optional<TIconBlock> block;
    {
        ProgressRun run(progress(), title, OpenDialog1.Files.size());
        block = build(OpenDialog1.Files, run.asFileStep());
    }
    if (!block)
        return; // cancelled
    if (!selectedNode())
        CreateTreeNodeExecute();
    LibraryNode *node = selectedNode();
    if (!node)
        return; // no node to take the icons: nothing changes
    const std::int32_t added = block->Count();
    treeModel().appendBlock(node, std::move(*block));
    FIconTotal += added;
    FModified = true;
    UpdateStatusBar(sfIconTotal | sfModified);
    TreeViewChange();
}

void TMainForm::ImportIconFileExecute()
{
    if (chooseImportFiles(".ICO", "图标文件(*.ico)|*.ICO"))
        importIntoSelectedNode("导入图标文件", importIconFiles);
}

} // namespace pictarium
