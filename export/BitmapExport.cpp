// Saving icons as 16x16 icons and as bitmaps on a background colour.

#include "app/MainForm.h"

namespace pictarium {

void TMainForm::Export16x16IconExecute() {}

void TMainForm::SaveAsBmpFileExecute() {}

void TMainForm::SetOutPutBmpColorExecute() {}

} // namespace pictarium
