// Exporting stored icons as ".ico" files.

#include "app/MainForm.h"

namespace pictarium {

void TMainForm::ExportOneIconExecute() {}

void TMainForm::ExportIconsExecute() {}

void TMainForm::ExportAllIconsExecute() {}

} // namespace pictarium
