// Editing the title tree: new titles, renaming, deleting, moving nodes by drag.

#include "app/MainForm.h"

namespace pictarium {

void TMainForm::CreateTreeNodeExecute() {}

void TMainForm::CreateChildTreeNodeExecute() {}

void TMainForm::EditTreeNodeExecute() {}

void TMainForm::DelTreeNodeExecute() {}

void TMainForm::DelNullDataNodeExecute() {}

void TMainForm::TreeViewStartDrag() {}

void TMainForm::TreeViewEndDrag() {}

} // namespace pictarium
