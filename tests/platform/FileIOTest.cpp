#include "platform/FileIO.h"
#include "platform/PlatformError.h"
#include "support/WriteFaults.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>

using namespace pictarium;
namespace fs = std::filesystem;

namespace {

struct TempDir {
    fs::path path;
    TempDir()
    {
        std::string pattern = (fs::temp_directory_path() / "pictarium-io-XXXXXX").string();
        path = mkdtemp(pattern.data());
    }
    ~TempDir()
    {
        std::error_code ec;
        fs::permissions(path, fs::perms::owner_all, ec);
        fs::remove_all(path, ec);
    }
};

std::size_t entriesIn(const fs::path &dir)
{
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
}

} // namespace

TEST(FileIO, WriteThenReadBack)
{
    TempDir dir;
    const std::string file = (dir.path / "lib.ilf").string();
    const Bytes data = {1, 2, 3};
    writeFileAtomically(file, data);
    EXPECT_EQ(readWholeFile(file), data);
    writeFileAtomically(file, Bytes{});
    EXPECT_TRUE(readWholeFile(file).empty());
    EXPECT_EQ(entriesIn(dir.path), 1u) << "no temporary file left behind";
}

TEST(FileIO, ReplacingKeepsThePermissions)
{
    TempDir dir;
    const std::string file = (dir.path / "lib.ilf").string();
    writeFileAtomically(file, Bytes{1});
    ::chmod(file.c_str(), 0640);
    writeFileAtomically(file, Bytes{2});
    struct stat st;
    ASSERT_EQ(::stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST(FileIO, AFailureAtAnyStepLeavesTheOldFileWholeOrNoFile)
{
    TempDir dir;
    const std::string file = (dir.path / "lib.ilf").string();
    const std::string fresh = (dir.path / "new.ilf").string();
    const Bytes old = {9, 9, 9, 9};
    writeFileAtomically(file, old);
    for (const auto &point : writefaults::everyStepOf(1)) {
        for (const std::string &target : {file, fresh}) {
            writefaults::WriteFault fault(point);
            EXPECT_THROW(writeFileAtomically(target, Bytes(100000, 7)), PlatformError) << point;
        }
        EXPECT_EQ(readWholeFile(file), old) << point;
        EXPECT_FALSE(fileExists(fresh)) << point;
        EXPECT_EQ(entriesIn(dir.path), 1u) << point << ": temporary file removed";
    }
}

TEST(FileIO, MessagesNameTheFile)
{
    TempDir dir;
    const std::string missing = (dir.path / "none" / "x.ilf").string();
    try {
        writeFileAtomically(missing, Bytes{1});
        FAIL();
    } catch (const PlatformError &e) {
        EXPECT_EQ(std::string(e.what()), "Cannot create file " + missing);
    }
    try {
        readWholeFile(missing);
        FAIL();
    } catch (const PlatformError &e) {
        EXPECT_EQ(std::string(e.what()), "Cannot open file " + missing);
    }
    EXPECT_FALSE(fileExists(missing));
    EXPECT_FALSE(fileExists(dir.path.string())) << "a folder is not a library file";
    EXPECT_THROW(writeFileAtomically(dir.path.string(), Bytes{1}), PlatformError);
}

TEST(FileIO, ReadOnlyFolderRefusesAndKeepsTheFile)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root ignores folder permissions";
    TempDir dir;
    const std::string file = (dir.path / "lib.ilf").string();
    writeFileAtomically(file, Bytes{5});
    fs::permissions(dir.path, fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_THROW(writeFileAtomically(file, Bytes{6}), PlatformError);
    EXPECT_EQ(readWholeFile(file), Bytes{5});
}
