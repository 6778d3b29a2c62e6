#pragma once
// The settings kept between runs in "Pictarium.ini" (in the XDG config folder): the main
// window's bounds, the bitmap export background and the folders of the last confirmed save
// and open dialogs. The main window reads them once at start-up and writes them once when it
// is destroyed.

#include <cstdint>
#include <string>

namespace pictarium {

struct TSettings {
    // "MainForm Option": the main window's bounds, applied unchecked.
    std::int32_t top = 50;
    std::int32_t left = 100;
    std::int32_t height = 300;
    std::int32_t width = 400;
    // "Color" / "bkcolor": FOutPutBmpColor, 0x00BBGGRR.
    std::int32_t outPutBmpColor = 0xFFFFFF;
    // "Dialog Path", as loaded: the InitialDir of SaveDialog1 and OpenDialog1.
    std::string saveDialogInitialDir;
    std::string openDialogInitialDir;
    // For saving: whether each dialog was confirmed during this run, and its FileName. Only
    // a confirmed dialog's folder is written; otherwise the stored folder stays as it is.
    bool saveDialogConfirmed = false;
    std::string saveDialogFileName;
    bool openDialogConfirmed = false;
    std::string openDialogFileName;
};

// "Pictarium.ini" in $XDG_CONFIG_HOME (default ~/.config).
std::string settingsFilePath();

// Every value of the file, the defaults standing in for whatever is missing or not a number.
TSettings LoadSettings();
TSettings LoadSettings(const std::string &path);

// Writes every value in the file's order, creating the file (and its folder) when needed.
// Throws PlatformError "Unable to write to %s" at the first key that cannot be written; the
// keys before it are written, the ones after it are not.
void SaveSettings(const TSettings &settings);
void SaveSettings(const TSettings &settings, const std::string &path);

// The folder part of a file name: up to and including its last path separator, empty when
// it has none ("/lib/a.ILF" gives "/lib/").
std::string folderPart(const std::string &fileName);

} // namespace pictarium
