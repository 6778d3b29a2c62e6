// Importing ".bmp" files, each scaled into one icon.

#include "app/MainForm.h"
#include "library/ModuleImport.h"

namespace pictarium {

void TMainForm::ImportBmpFileExecute()
{
    OpenDialog1.DefaultExt = ".bmp";
    OpenDialog1.Filter = "位图文件(*.bmp)|*.bmp";
    OpenDialog1.Options = ofHideReadOnly | ofAllowMultiSelect | ofFileMustExist | ofEnableSizing;
    if (!OpenDialog1.Execute())
        return;
    std::optional<TIconBlock> block;
    {
        ProgressRun run(progress(), "导入位图文件", OpenDialog1.Files.size());
        block = importBitmapFiles(OpenDialog1.Files, run.asFileStep());
    }
    if (block)
        addImportedIcons(*block);
}

} // namespace pictarium
