// Importing ".ico" files, stored byte for byte.

#include "app/MainForm.h"

namespace pictarium {

void TMainForm::ImportIconFileExecute() {}

} // namespace pictarium
