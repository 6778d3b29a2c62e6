// Importing ".bmp" files, each scaled into one icon.

#include "app/MainForm.h"
#include "library/ModuleImport.h"

namespace pictarium {

void TMainForm::ImportBmpFileExecute()
{
    if (chooseImportFiles(".bmp", "位图文件(*.bmp)|*.bmp"))
        importIntoSelectedNode("导入位图文件", importBitmapFiles);
}

} // namespace pictarium
