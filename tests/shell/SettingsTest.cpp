#include "platform/FileIO.h"
#include "platform/PlatformError.h"
#include "shell/Myinifile.h"
#include "support/WriteFaults.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
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

// Each key is its own whole-file write. A failure at any step of any of them names the file,
// stops there, and leaves the file exactly as the keys before it made it: never damaged,
// never missing.
class SettingsFault : public SettingsTest, public ::testing::WithParamInterface<writefaults::FaultPoint> {
protected:
    static constexpr int kWrites = 7;
    const std::string before_ = "; mine\n[Color]\nbkcolor=1\n[Dialog Path]\nSave Dialog=/old/\n";

    static TSettings changed()
    {
        TSettings s;
        s.top = s.left = s.height = s.width = 1;
        s.outPutBmpColor = 2;
        s.saveDialogConfirmed = s.openDialogConfirmed = true;
        s.saveDialogFileName = "/new/save/a.ILF";
        s.openDialogFileName = "/new/open/b.ico";
        return s;
    }

    // The file as it stands before each key's write, then after the last.
    std::vector<std::string> states()
    {
        static std::vector<std::string> *seen;
        static const std::string *file;
        std::vector<std::string> out;
        seen = &out;
        file = &file_;
        writeText(file_, before_);
        setWriteFaultHook([](WriteStep step) {
            if (step == WriteStep::Create)
                seen->push_back(readText(*file));
            return false;
        });
        SaveSettings(changed());
        setWriteFaultHook(nullptr);
        out.push_back(readText(file_));
        return out;
    }
};

TEST_P(SettingsFault, LeavesTheFileAsTheKeysBeforeMadeIt)
{
    const auto point = GetParam();
    const std::vector<std::string> expected = states();
    ASSERT_EQ(expected.size(), static_cast<std::size_t>(kWrites + 1)) << "one write per key";

    writeText(file_, before_);
    std::string message;
    {
        writefaults::WriteFault fault(point);
        try {
            SaveSettings(changed());
        } catch (const PlatformError &e) {
            message = e.what();
        }
        ASSERT_TRUE(fault.fired());
    }
    EXPECT_EQ(message, "Unable to write to " + file_) << "failure reported as success";
    EXPECT_EQ(readText(file_), expected[static_cast<std::size_t>(point.occurrence - 1)]);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(config_.path()), std::filesystem::directory_iterator()), 1)
        << "temporary file left behind";
}

INSTANTIATE_TEST_SUITE_P(EveryStepOfEveryKey, SettingsFault, ::testing::ValuesIn(writefaults::everyStepOf(7)),
                         [](const auto &row) { return row.param.name(); });

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
