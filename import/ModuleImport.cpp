// Importing the icons of EXE and DLL modules: by command, by drop, from the command line.

#include "app/MainForm.h"

namespace pictarium {

void TMainForm::ImportExeDllFileExecute() {}

void TMainForm::ImportModuleIcons(const std::string &, bool) {}

void TMainForm::WMDropFiles(const std::vector<std::string> &) {}

} // namespace pictarium
