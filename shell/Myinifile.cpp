#include "shell/Myinifile.h"

#include "platform/IniFile.h"
#include "platform/XdgDirs.h"

namespace pictarium {
namespace {

constexpr const char *kFileName = "Pictarium.ini";
constexpr const char *kWindowSection = "MainForm Option";
constexpr const char *kColorSection = "Color";
constexpr const char *kDialogSection = "Dialog Path";

void saveDialogFolder(IniFile &ini, const char *key, bool confirmed, const std::string &fileName)
{
    std::string folder = folderPart(fileName);
    // A folder the file cannot hold on one line is treated like an unconfirmed dialog.
    if (!confirmed || folder.empty() || folder.find_first_of("\r\n") != std::string::npos)
        return;
    ini.writeString(kDialogSection, key, folder);
}

} // namespace

std::string settingsFilePath() { return xdgConfigHome() + "/" + kFileName; }

std::string folderPart(const std::string &fileName)
{
#ifdef _WIN32
    auto end = fileName.find_last_of("/\\:");
#else
    auto end = fileName.find_last_of("/\\");
#endif
    return end == std::string::npos ? std::string() : fileName.substr(0, end + 1);
}

TSettings LoadSettings() { return LoadSettings(settingsFilePath()); }

TSettings LoadSettings(const std::string &path)
{
    const IniFile ini(path);
    TSettings s;
    s.top = ini.readInteger(kWindowSection, "Top", s.top);
    s.left = ini.readInteger(kWindowSection, "Left", s.left);
    s.height = ini.readInteger(kWindowSection, "Height", s.height);
    s.width = ini.readInteger(kWindowSection, "Width", s.width);
    s.outPutBmpColor = ini.readInteger(kColorSection, "bkcolor", s.outPutBmpColor);
    s.saveDialogInitialDir = ini.readString(kDialogSection, "Save Dialog", "");
    s.openDialogInitialDir = ini.readString(kDialogSection, "Open Dialog", "");
    return s;
}

void SaveSettings(const TSettings &settings)
{
    makeDirectories(xdgConfigHome());
    SaveSettings(settings, settingsFilePath());
}

void SaveSettings(const TSettings &settings, const std::string &path)
{
    IniFile ini(path);
    ini.writeInteger(kWindowSection, "Top", settings.top);
    ini.writeInteger(kWindowSection, "Left", settings.left);
    ini.writeInteger(kWindowSection, "Height", settings.height);
    ini.writeInteger(kWindowSection, "Width", settings.width);
    ini.writeInteger(kColorSection, "bkcolor", settings.outPutBmpColor);
    saveDialogFolder(ini, "Save Dialog", settings.saveDialogConfirmed, settings.saveDialogFileName);
    saveDialogFolder(ini, "Open Dialog", settings.openDialogConfirmed, settings.openDialogFileName);
}

} // namespace pictarium
