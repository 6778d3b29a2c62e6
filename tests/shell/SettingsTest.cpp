#include "platform/FileIO.h"
#include "platform/PlatformError.h"
#include "shell/Myinifile.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace pictarium;

namespace {

const std::string kFirstRun = "[MainForm Option]\n"
                              "Top=50\n"
                              "Left=100\n"
                              "Height=300\n"
                              "Width=400\n"
                              "[Color]\n"
                              "bkcolor=16777215\n";

class SettingsTest : public ::testing::Test {
protected:
    TempFolder config_{"pictarium-config"};
    ScopedEnv env_{"XDG_CONFIG_HOME", config_.path().string()};
    std::string file_ = config_ / "Pictarium.ini";
};

TEST_F(SettingsTest, LivesInTheXdgConfigFolder)
{
    EXPECT_EQ(settingsFilePath(), file_);
    ScopedEnv relative("XDG_CONFIG_HOME", "relative/dir");
    ScopedEnv home("HOME", "/home/someone");
    EXPECT_EQ(settingsFilePath(), "/home/someone/.config/Pictarium.ini");
}

TEST_F(SettingsTest, MissingFileGivesTheDefaults)
{
    TSettings s = LoadSettings();
    EXPECT_EQ(s.top, 50);
    EXPECT_EQ(s.left, 100);
    EXPECT_EQ(s.height, 300);
    EXPECT_EQ(s.width, 400);
    EXPECT_EQ(s.outPutBmpColor, 0xFFFFFF);
    EXPECT_EQ(s.saveDialogInitialDir, "");
    EXPECT_EQ(s.openDialogInitialDir, "");
    EXPECT_FALSE(fileExists(file_)) << "loading must not create the file";
}

TEST_F(SettingsTest, ReadsEveryValueAndFallsBackPerKey)
{
    writeText(file_, "[mainform option]\r\n"
                     "Top=abc\r\n"
                     "Left= -20\r\n"
                     "Height=0\r\n"
                     "Width=$200\r\n"
                     "[Color]\r\n"
                     "bkcolor=0xFF\r\n"
                     "[Dialog Path]\r\n"
                     "Save Dialog=/gone/folder/\r\n"
                     "Open Dialog=/home/u/图标/\r\n");
    TSettings s = LoadSettings();
    EXPECT_EQ(s.top, 50);
    EXPECT_EQ(s.left, -20);
    EXPECT_EQ(s.height, 0);
    EXPECT_EQ(s.width, 512);
    EXPECT_EQ(s.outPutBmpColor, 255);
    EXPECT_EQ(s.saveDialogInitialDir, "/gone/folder/");
    EXPECT_EQ(s.openDialogInitialDir, "/home/u/图标/");
}

TEST_F(SettingsTest, FirstRunWritesExactlyTheSevenLines)
{
    SaveSettings(TSettings{});
    EXPECT_EQ(readText(file_), kFirstRun);
    TSettings back = LoadSettings();
    EXPECT_EQ(std::tie(back.top, back.left, back.height, back.width, back.outPutBmpColor),
              std::make_tuple(50, 100, 300, 400, 0xFFFFFF));
    SaveSettings(back);
    EXPECT_EQ(readText(file_), kFirstRun) << "a second run changes nothing";
}

TEST_F(SettingsTest, CreatesAMissingConfigFolder)
{
    ScopedEnv nested("XDG_CONFIG_HOME", config_ / "a/b");
    SaveSettings(TSettings{});
    EXPECT_EQ(readText(config_.path() / "a/b/Pictarium.ini"), kFirstRun);
}

TEST_F(SettingsTest, ConfirmedDialogsStoreTheirFolders)
{
    TSettings s;
    s.top = 7;
    s.outPutBmpColor = 65280;
    s.saveDialogConfirmed = true;
    s.saveDialogFileName = "/data/lib/a.ILF";
    s.openDialogConfirmed = true;
    s.openDialogFileName = "/img/b.dll";
    SaveSettings(s);
    EXPECT_EQ(readText(file_), "[MainForm Option]\nTop=7\nLeft=100\nHeight=300\nWidth=400\n"
                               "[Color]\nbkcolor=65280\n"
                               "[Dialog Path]\nSave Dialog=/data/lib/\nOpen Dialog=/img/\n");
    TSettings back = LoadSettings();
    EXPECT_EQ(back.top, 7);
    EXPECT_EQ(back.outPutBmpColor, 65280);
    EXPECT_EQ(back.saveDialogInitialDir, "/data/lib/");
    EXPECT_EQ(back.openDialogInitialDir, "/img/");
}

TEST_F(SettingsTest, UnconfirmedDialogsKeepTheStoredFolders)
{
    writeText(file_, "[Dialog Path]\nSave Dialog=/old/save/\nOpen Dialog=/old/open/\n");
    struct Case {
        const char *name;
        bool confirmed;
        const char *fileName;
    } cases[] = {
        {"not confirmed", false, ""},
        {"not confirmed, stale name", false, "/elsewhere/x.ILF"},
        {"confirmed without a folder", true, "x.ILF"},
        {"folder the file cannot hold", true, "/odd\nname/x.ILF"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        TSettings s;
        s.saveDialogConfirmed = s.openDialogConfirmed = c.confirmed;
        s.saveDialogFileName = s.openDialogFileName = c.fileName;
        SaveSettings(s);
        TSettings back = LoadSettings();
        EXPECT_EQ(back.saveDialogInitialDir, "/old/save/");
        EXPECT_EQ(back.openDialogInitialDir, "/old/open/");
    }
}

TEST_F(SettingsTest, OtherContentOfTheFileIsKeptByteForByte)
{
    const std::string before = "; kept comment\r\n"
                               "[Foreign]\r\n"
                               "x = 1 \r\n"
                               "\r\n"
                               "[MainForm Option]\r\n"
                               "top = 1\r\n"
                               "Extra=yes\r\n"
                               "\r\n"
                               "[Tail]\r\n"
                               "y=\xB2\xE2\r\n";
    writeText(file_, before);
    TSettings s;
    s.top = 2;
    SaveSettings(s);
    EXPECT_EQ(readText(file_), "; kept comment\r\n"
                               "[Foreign]\r\n"
                               "x = 1 \r\n"
                               "\r\n"
                               "[MainForm Option]\r\n"
                               "top =2\r\n"
                               "Extra=yes\r\n"
                               "Left=100\r\n"
                               "Height=300\r\n"
                               "Width=400\r\n"
                               "\r\n"
                               "[Tail]\r\n"
                               "y=\xB2\xE2\r\n"
                               "[Color]\r\n"
                               "bkcolor=16777215\r\n");
}

TEST_F(SettingsTest, WriteFailureNamesTheFileAndStopsAtThatKey)
{
    static int writes;
    writes = 0;
    // The first three keys are written, the fourth write fails.
    setWriteFaultHook([](WriteStep step) { return step == WriteStep::Rename && ++writes == 4; });
    TSettings s;
    s.top = s.left = s.height = s.width = 1;
    try {
        SaveSettings(s);
        ADD_FAILURE() << "failure reported as success";
    } catch (const PlatformError &e) {
        EXPECT_EQ(std::string(e.what()), "Unable to write to " + file_);
    }
    setWriteFaultHook(nullptr);
    EXPECT_EQ(readText(file_), "[MainForm Option]\nTop=1\nLeft=1\nHeight=1\n");
}

TEST(FolderPart, KeepsTheLastSeparator)
{
    struct Case {
        const char *fileName, *folder;
    } cases[] = {
        {"/data/lib/a.ILF", "/data/lib/"}, {"/a.ILF", "/"},       {"a.ILF", ""},
        {"", ""},                          {"/dir/", "/dir/"},    {"D:\\icons\\star.ico", "D:\\icons\\"},
        {"/home/u/a:b.ILF", "/home/u/"},   {"/x.y/z", "/x.y/"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(folderPart(c.fileName), c.folder) << c.fileName;
}

} // namespace
