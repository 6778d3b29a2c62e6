// What ties the program to the desktop: file type registration, settings, help, About.

#include "app/MainForm.h"

namespace pictarium {

void TMainForm::RegisterFileType() {}

void TMainForm::LoadSettings() {}

void TMainForm::SaveSettings() {}

void TMainForm::SysHelpExecute() {}

void TMainForm::SysAboutExecute() {}

void TMainForm::N41Click() {}

} // namespace pictarium
