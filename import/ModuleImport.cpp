// Importing the icons of EXE and DLL modules: by command, by drop, from the command line.

#include "app/LibraryTreeModel.h"
#include "app/MainForm.h"
#include "library/ModuleImport.h"

namespace pictarium {

namespace {

constexpr const char *kImportExeDllCaption = "导入EXE/DLL文件的图标";

// The module's node goes after the selected node (last top-level node when none) and
// becomes the selected node, so the nodes of one run follow each other in order.
void installModule(TMainForm &form, ModuleImport &&made)
{
    LibraryTreeModel &model = form.treeModel();
    const std::int32_t count = made.block.Count();
    LibraryNode *node = model.add(form.selectedNode(), std::move(made.title));
    model.setBlock(node, std::move(made.block));
    model.setImages(node, 3, 0);
    form.selectNode(node);
    form.FIconTotal += count;
    form.FModified = true;
    form.UpdateStatusBar(sfIconTotal | sfModified);
}

} // namespace

void TMainForm::ImportExeDllFileExecute()
{
    if (!chooseImportFiles(".exe", "EXE FILE AND DLL FILE|*.exe;*.dll"))
        return;
    const std::vector<std::string> files = OpenDialog1.Files;
    // A module without icons gets a node of its own only when it was chosen alone.
    importModules(files, files.size() == 1, kImportExeDllCaption);
}

void TMainForm::ImportModuleIcons(const std::string &path, bool addEmpty)
{
    if (auto made = pictarium::ImportModuleIcons(path, addEmpty))
        installModule(*this, std::move(*made));
}

void TMainForm::importModules(const std::vector<std::string> &paths, bool addEmpty, const std::string &title)
{
    std::vector<ModuleImport> made;
    {
        ProgressRun run(progress(), title, paths.size());
        try {
            for (std::size_t i = 0; i < paths.size(); ++i) {
                if (!run.step(i, paths[i]))
                    return; // cancelled: the library stays as it was
                if (auto m = pictarium::ImportModuleIcons(paths[i], addEmpty))
                    made.push_back(std::move(*m));
            }
        } catch (...) {
            // A module that cannot be read ends the run; the ones read before it keep
            // their nodes.
            for (ModuleImport &m : made)
                installModule(*this, std::move(m));
            throw;
        }
    }
    for (ModuleImport &m : made)
        installModule(*this, std::move(m));
}

void TMainForm::WMDropFiles(const std::vector<std::string> &paths)
{
    std::vector<std::string> modules;
    for (const std::string &p : paths) {
        if (isModuleFile(p))
            modules.push_back(p);
    }
    if (!modules.empty())
        importModules(modules, true, kImportExeDllCaption);
}

} // namespace pictarium
