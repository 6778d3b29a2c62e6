// Moving and copying icons through the clipboard and by drag, and deleting them.

#include "app/MainForm.h"

namespace pictarium {

void TMainForm::RegisterIconClipboardFormat() {}

void TMainForm::CopyIconsExecute() {}

void TMainForm::CutIconsExecute() {}

void TMainForm::PasteIconsExecute() {}

void TMainForm::DelOneIconExecute() {}

void TMainForm::DelSelectedIconsExecute() {}

void TMainForm::SelectedAllIconsExecute() {}

void TMainForm::TreeViewDragDrop() {}

} // namespace pictarium
