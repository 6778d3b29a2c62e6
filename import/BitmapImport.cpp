// Importing ".bmp" files, each scaled into one icon.

#include "app/MainForm.h"

namespace pictarium {

void TMainForm::ImportBmpFileExecute() {}

} // namespace pictarium
