// Exporting stored icons as ".ico" files.

#include "app/MainForm.h"
#include "library/IconExport.h"

#include <QItemSelectionModel>
#include <QListView>

#include <algorithm>

namespace pictarium {

std::string TMainForm::ChooseExportFile()
{
    SaveDialog1.DefaultExt = ".ico";
    SaveDialog1.Filter = "图标文件(*.ICO)|*.ico";
    if (!SaveDialog1.Execute())
        return {};
    return exportBase(SaveDialog1.FileName);
}

bool TMainForm::WriteIconFile(std::int32_t index, const std::string &path)
{
    const auto image = GetIconEntry(selectedNode(), index);
    if (!image)
        return false;
    pictarium::WriteIconFile(*image, path);
    return true;
}

int TMainForm::firstSelectedItem() const
{
    int first = -1;
    for (const QModelIndex &i : ListView1->selectionModel()->selectedIndexes())
        first = first < 0 ? i.row() : std::min(first, i.row());
    return first;
}

void TMainForm::ExportOneIconExecute()
{
    const int item = firstSelectedItem();
    if (item < 0)
        return;
    const std::string base = ChooseExportFile();
    if (base.empty())
        return;
    WriteIconFile(item, base + ".ico");
}

void TMainForm::ExportIconsExecute()
{
    const LibraryNode *node = selectedNode();
    if (!node || !node->block)
        return;
    const std::string base = ChooseExportFile();
    if (base.empty())
        return;
    const std::vector<std::int32_t> items = selectedItems();
    ProgressRun run(progress(), "导出所选的多个图标", items.size());
    // The number counts selected items, so an empty slot leaves a gap in the names.
    for (std::size_t n = 0; n < items.size(); ++n) {
        const std::string path = numberedIconFileName(base, static_cast<std::int32_t>(n));
        if (!run.step(n, path))
            return; // the files written so far stay
        WriteIconFile(items[n], path);
    }
}

void TMainForm::ExportAllIconsExecute()
{
    const LibraryNode *node = selectedNode();
    if (!node)
        return;
    if (!node->block) {
        prompt().ShowMessage("没有图标！");
        return;
    }
    const std::string base = ChooseExportFile();
    if (base.empty())
        return;
    const TIconBlock block = *node->block; // stays whole while the progress dialog is up
    ProgressRun run(progress(), "导出目录的所有图标", static_cast<std::size_t>(block.Count()));
    ExportAllIcons(block, base, run.asFileStep());
}

} // namespace pictarium
