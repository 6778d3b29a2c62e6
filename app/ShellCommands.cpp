// What ties the program to the desktop: file type registration, settings, help, About.

#include "app/MainForm.h"

#include "shell/FileTypeRegistration.h"
#include "shell/Help.h"
#include "shell/Myinifile.h"

namespace pictarium {

// Best effort: registration never throws, so start-up always goes on to LoadSettings.
void TMainForm::RegisterFileType() { pictarium::RegisterFileType(); }

void TMainForm::LoadSettings()
{
    const TSettings s = pictarium::LoadSettings();
    // move/resize place the frame's outside the way the stored bounds were taken;
    // setGeometry would shift the window by its frame on every run.
    move(s.left, s.top);
    resize(s.width, s.height);
    FOutPutBmpColor = static_cast<std::uint32_t>(s.outPutBmpColor);
    SaveDialog1.InitialDir = s.saveDialogInitialDir;
    OpenDialog1.InitialDir = s.openDialogInitialDir;
}

void TMainForm::SaveSettings()
{
    TSettings s;
    s.top = y();
    s.left = x();
    s.height = height();
    s.width = width();
    s.outPutBmpColor = static_cast<std::int32_t>(FOutPutBmpColor);
    s.saveDialogConfirmed = !SaveDialog1.FileName.empty();
    s.saveDialogFileName = SaveDialog1.FileName;
    s.openDialogConfirmed = !OpenDialog1.FileName.empty();
    s.openDialogFileName = OpenDialog1.FileName;
    guarded([&] { pictarium::SaveSettings(s); });
}

void TMainForm::SysHelpExecute()
{
    pictarium::SysHelpExecute([this](const std::string &text) { prompt().ShowMessage(text); });
}

void TMainForm::SysAboutExecute() { pictarium::SysAboutExecute(); }

void TMainForm::N41Click()
{
    pictarium::N41Click([this](const std::string &text) { prompt().ShowMessage(text); });
}

} // namespace pictarium
