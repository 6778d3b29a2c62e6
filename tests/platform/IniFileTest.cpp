#include "platform/FileIO.h"
#include "platform/IniFile.h"
#include "platform/PlatformError.h"
#include "support/WriteFaults.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace pictarium;

namespace {

class IniFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "pictarium-ini-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
        path_ = (dir_ / "test.ini").string();
    }
    void TearDown() override
    {
        fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(dir_);
    }
    void put(const std::string &text)
    {
        std::ofstream out(path_, std::ios::binary);
        out << text;
    }
    std::string get() const
    {
        std::ifstream in(path_, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }

    fs::path dir_;
    std::string path_;
};

TEST(ProfileInteger, AcceptsDecimalAndHexFormsOnly)
{
    struct Case {
        const char *text;
        std::optional<std::int32_t> want;
    } cases[] = {
        {"0", 0},
        {"255", 255},
        {"  42", 42},
        {"-7", -7},
        {"+7", 7},
        {"0xFF", 255},
        {"0Xff", 255},
        {"xFF", 255},
        {"XfF", 255},
        {"$ff", 255},
        {"-$10", -16},
        {"$FFFFFFFF", -1},
        {"0x80000000", INT32_MIN},
        {"2147483647", INT32_MAX},
        {"-2147483648", INT32_MIN},
        {"2147483648", std::nullopt},
        {"-2147483649", std::nullopt},
        {"0x100000000", std::nullopt},
        {"99999999999999999999", std::nullopt},
        {"", std::nullopt},
        {"   ", std::nullopt},
        {"-", std::nullopt},
        {"0x", std::nullopt},
        {"$", std::nullopt},
        {"abc", std::nullopt},
        {"12abc", std::nullopt},
        {"12 ", std::nullopt},
        {"0xFG", std::nullopt},
        {"1.5", std::nullopt},
        {"--1", std::nullopt},
        {"- 1", std::nullopt},
    };
    for (const auto &c : cases)
        EXPECT_EQ(parseProfileInteger(c.text), c.want) << '"' << c.text << '"';
}

TEST_F(IniFileTest, ReadsValuesAsTheProfileServiceDoes)
{
    put("; a comment=1\r\n"
        "orphan=before any section\r\n"
        "[ Main ]\r\n"
        "  Top =  12  \r\n"
        "quoted=\"  spaced  \"\r\n"
        "single='x'\r\n"
        "half=\"open\r\n"
        "bare\r\n"
        "empty=\r\n"
        "top=second one loses\r\n"
        "[main]\r\n"
        "Left=in a later section of the same name\r\n"
        "[Other]\r\n"
        "Left=5");
    IniFile ini(path_);
    struct Case {
        const char *section, *key;
        std::optional<std::string> want;
    } cases[] = {
        {"Main", "Top", "12"},
        {"MAIN", "tOP", "12"},
        {"Main", "quoted", "  spaced  "},
        {"Main", "single", "x"},
        {"Main", "half", "\"open"},
        {"Main", "bare", ""},
        {"Main", "empty", ""},
        {"Main", "Left", std::nullopt},
        {"Other", "Left", "5"},
        {"Main", "; a comment", std::nullopt},
        {"", "orphan", std::nullopt},
        {"Missing", "Top", std::nullopt},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ini.readValue(c.section, c.key), c.want) << c.section << '/' << c.key;
    EXPECT_EQ(ini.readInteger("Main", "Top", 50), 12);
    EXPECT_EQ(ini.readInteger("Main", "quoted", 50), 50);
    EXPECT_EQ(ini.readInteger("Main", "empty", 50), 50);
    EXPECT_EQ(ini.readString("Main", "nothing", "dflt"), "dflt");
}

TEST_F(IniFileTest, LongValuesAreCutToTheReadBuffer)
{
    put("[S]\nk=" + std::string(5000, 'v') + "\n");
    EXPECT_EQ(IniFile(path_).readString("S", "k", "").size(), 2047u);
}

TEST_F(IniFileTest, ByteOrderMarkDoesNotHideTheFirstSection)
{
    put("\xEF\xBB\xBF[S]\nk=1\n");
    IniFile ini(path_);
    EXPECT_EQ(ini.readInteger("S", "k", 0), 1);
    ini.writeString("S", "k", "2");
    EXPECT_EQ(get(), "\xEF\xBB\xBF[S]\nk=2\n");
}

TEST_F(IniFileTest, WritesChangeOnlyWhatTheyMust)
{
    struct Case {
        const char *name, *before, *section, *key, *value, *after;
    } cases[] = {
        {"new file", nullptr, "S", "k", "v", "[S]\nk=v\n"},
        {"replace in place keeps spacing and case", "[s]\r\n  K = old  \r\nz=1\r\n", "S", "k", "new",
         "[s]\r\n  K =new\r\nz=1\r\n"},
        {"key without value gets one", "[S]\nk\nz=1\n", "S", "k", "v", "[S]\nk=v\nz=1\n"},
        {"missing key goes after the section's last key", "[S]\na=1\n\n; about T\n[T]\nb=2\n", "S", "k", "v",
         "[S]\na=1\nk=v\n\n; about T\n[T]\nb=2\n"},
        {"missing key in an empty section", "[S]\n[T]\n", "S", "k", "v", "[S]\nk=v\n[T]\n"},
        {"missing key in the last section without final newline", "[S]\na=1", "S", "k", "v", "[S]\na=1\nk=v\n"},
        {"missing section goes to the end with the file's line ending", "; c\r\n[T]\r\nb=2", "S", "k", "v",
         "; c\r\n[T]\r\nb=2\r\n[S]\r\nk=v\r\n"},
        {"first of duplicate sections is used", "[S]\na=1\n[S]\nk=old\n", "S", "k", "v",
         "[S]\na=1\nk=v\n[S]\nk=old\n"},
        {"foreign bytes stay", "[X]\nGB=\xD6\xD0\xCE\xC4\n\t\n[S]\nk=1\n", "S", "k", "2",
         "[X]\nGB=\xD6\xD0\xCE\xC4\n\t\n[S]\nk=2\n"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove(path_);
        if (c.before)
            put(c.before);
        IniFile ini(path_);
        ini.writeString(c.section, c.key, c.value);
        EXPECT_EQ(get(), c.after);
        EXPECT_EQ(ini.text(), c.after);
        EXPECT_EQ(IniFile(path_).readString(c.section, c.key, "?"), c.value);
    }
}

TEST_F(IniFileTest, UnstorableNamesAndValuesAreRefusedAndChangeNothing)
{
    put("[S]\nk=1\n");
    IniFile ini(path_);
    struct Case {
        const char *section, *key, *value;
    } cases[] = {
        {"S", "k", "two\nlines"}, {"S", "k", "cr\r"}, {"S", "a=b", "v"},   {"S]", "k", "v"},
        {"", "k", "v"},           {"S", "  ", "v"},   {"S", ";note", "v"}, {"S\n[T", "k", "v"},
    };
    for (const auto &c : cases) {
        try {
            ini.writeString(c.section, c.key, c.value);
            ADD_FAILURE() << "accepted " << c.section << '/' << c.key;
        } catch (const PlatformError &e) {
            EXPECT_EQ(std::string(e.what()), "Unable to write to " + path_);
        }
    }
    EXPECT_EQ(get(), "[S]\nk=1\n");
}

TEST_F(IniFileTest, FailedWriteReportsTheFileAndKeepsIt)
{
    put("[S]\nk=1\n");
    IniFile ini(path_);
    {
        writefaults::WriteFault fault({WriteStep::Rename});
        try {
            ini.writeString("S", "k", "2");
            ADD_FAILURE() << "write reported success";
        } catch (const PlatformError &e) {
            EXPECT_EQ(std::string(e.what()), "Unable to write to " + path_);
        }
    }
    EXPECT_EQ(get(), "[S]\nk=1\n");
    EXPECT_EQ(ini.readString("S", "k", ""), "1");
    EXPECT_EQ(fs::directory_iterator(dir_)->path().filename(), "test.ini") << "temporary file left behind";
}

TEST_F(IniFileTest, UnreadableFileIsNeverOverwritten)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root reads every file";
    put("[S]\nsecret=1\n");
    ::chmod(path_.c_str(), 0200);
    IniFile ini(path_);
    EXPECT_EQ(ini.readInteger("S", "secret", 7), 7);
    EXPECT_THROW(ini.writeString("S", "k", "v"), PlatformError);
    ::chmod(path_.c_str(), 0600);
    EXPECT_EQ(get(), "[S]\nsecret=1\n");
}

TEST_F(IniFileTest, FolderWithoutWriteRightGivesTheWriteError)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes everywhere";
    fs::permissions(dir_, fs::perms::owner_read | fs::perms::owner_exec);
    IniFile ini(path_);
    EXPECT_THROW(ini.writeInteger("S", "k", 1), PlatformError);
    EXPECT_FALSE(fileExists(path_));
}

} // namespace
