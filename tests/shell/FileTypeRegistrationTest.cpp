#include "shell/FileTypeRegistration.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>

#include <algorithm>
#include <filesystem>
#include <sys/stat.h>
#include <thread>

namespace fs = std::filesystem;
using namespace pictarium;

namespace {

pictarium::Bytes pngOf(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(QColor(200, 30, 30));
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return pictarium::Bytes(data.begin(), data.end());
}

bool have(const char *tool) { return !QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty(); }

bool ran(const RegistrationReport &report, const std::string &tool)
{
    return std::find(report.toolsRun.begin(), report.toolsRun.end(), tool) != report.toolsRun.end();
}

// Runs a program with a clean desktop environment: only PATH, HOME and the XDG folders.
QString runClean(const QString &program, const QStringList &arguments, const fs::path &home, const fs::path &data)
{
    QProcess process;
    QProcessEnvironment env;
    env.insert("PATH", qEnvironmentVariable("PATH"));
    env.insert("HOME", QString::fromStdString(home.string()));
    env.insert("XDG_DATA_HOME", QString::fromStdString(data.string()));
    env.insert("XDG_CONFIG_HOME", QString::fromStdString((home / ".config").string()));
    process.setProcessEnvironment(env);
    process.start(program, arguments);
    if (!process.waitForFinished(30'000))
        return "<timed out>";
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

class RegistrationTest : public ::testing::Test {
protected:
    TempFolder home_{"pictarium-home"};
    fs::path data_ = home_.path() / ".local/share";
    ScopedEnv env_{"XDG_DATA_HOME", data_.string()};
    std::string program_ = (home_.path() / "my programs/pictarium").string();
    fs::path entry_ = data_ / "applications/pictarium.desktop";
    fs::path package_ = data_ / "mime/packages/pictarium.xml";
    fs::path appIcon_ = data_ / "icons/hicolor/32x32/apps/pictarium.png";
    fs::path typeIcon_ = data_ / "icons/hicolor/32x32/mimetypes/application-x-pictarium-ilf.png";
};

TEST_F(RegistrationTest, WritesEntryTypeAndIconsOnceThenOnlyWhatChanged)
{
    const auto icon = pngOf(32, 32);
    RegistrationReport first = RegisterFileType(program_, icon);
    EXPECT_EQ(first.written.size(), 4u);

    const std::string entry = readText(entry_);
    EXPECT_NE(entry.find("\nExec=\"" + program_ + "\" %f\n"), std::string::npos) << entry;
    EXPECT_NE(entry.find("\nMimeType=application/x-pictarium-ilf;\n"), std::string::npos);
    EXPECT_NE(entry.find("\nIcon=pictarium\n"), std::string::npos);
    const std::string package = readText(package_);
    EXPECT_NE(package.find("<mime-type type=\"application/x-pictarium-ilf\">"), std::string::npos);
    EXPECT_NE(package.find("<comment>图标库文件</comment>"), std::string::npos);
    EXPECT_NE(package.find("<glob pattern=\"*.ilf\"/>"), std::string::npos);
    EXPECT_EQ(readText(appIcon_), std::string(icon.begin(), icon.end()));
    EXPECT_EQ(readText(typeIcon_), std::string(icon.begin(), icon.end()));
    if (have("desktop-file-validate")) {
        QProcess validate;
        validate.start("desktop-file-validate", {QString::fromStdString(entry_.string())});
        ASSERT_TRUE(validate.waitForFinished(30'000));
        EXPECT_EQ(validate.exitCode(), 0) << validate.readAllStandardOutput().toStdString();
    }

    if (have("update-mime-database")) {
        EXPECT_TRUE(ran(first, "update-mime-database"));
        EXPECT_TRUE(fs::exists(data_ / "mime/mime.cache"));
    }
    if (have("update-desktop-database")) {
        EXPECT_TRUE(ran(first, "update-desktop-database"));
        EXPECT_NE(readText(data_ / "applications/mimeinfo.cache").find("application/x-pictarium-ilf=pictarium.desktop"),
                  std::string::npos);
    }

    // Nothing to do on the next start, as long as the caches exist.
    const auto entryTime = fs::last_write_time(entry_);
    RegistrationReport second = RegisterFileType(program_, icon);
    EXPECT_TRUE(second.written.empty());
    EXPECT_EQ(fs::last_write_time(entry_), entryTime);
    if (have("update-mime-database") && have("update-desktop-database")) {
        EXPECT_TRUE(second.toolsRun.empty());
    }

    // The program moved: only the desktop entry and its cache are renewed.
    const std::string moved = (home_.path() / "elsewhere/pictarium").string();
    RegistrationReport third = RegisterFileType(moved, icon);
    EXPECT_EQ(third.written, std::vector<std::string>{entry_.string()});
    EXPECT_NE(readText(entry_).find("\nExec=\"" + moved + "\" %f\n"), std::string::npos);
    EXPECT_FALSE(ran(third, "update-mime-database"));
    if (have("update-desktop-database")) {
        EXPECT_TRUE(ran(third, "update-desktop-database"));
    }
}

TEST_F(RegistrationTest, ShellFindsTheTypeAndItsOpener)
{
    // Without a desktop running, xdg-mime asks `mimetype` (File::MimeInfo), which reads the
    // MIME database; without it, it falls back to `file`, which knows nothing of our type.
    if (!have("xdg-mime") || !have("mimetype") || !have("update-mime-database") || !have("update-desktop-database"))
        GTEST_SKIP() << "xdg-mime, mimetype or the desktop database tools are not installed";
    RegisterFileType(program_, pngOf(32, 32));
    for (const char *name : {"x.ilf", "Y.ILF"}) {
        const fs::path file = home_.path() / name;
        writeText(file, "ILF library");
        EXPECT_EQ(runClean("xdg-mime", {"query", "filetype", QString::fromStdString(file.string())}, home_.path(), data_),
                  "application/x-pictarium-ilf")
            << name;
    }
    EXPECT_EQ(runClean("xdg-mime", {"query", "default", "application/x-pictarium-ilf"}, home_.path(), data_),
              "pictarium.desktop");
}

TEST_F(RegistrationTest, DesktopLaunchPassesTheFileToAProgramWithAnAwkwardPath)
{
    if (!have("gio"))
        GTEST_SKIP() << "gio is not installed";
    // A stand-in program that records its arguments, in a folder whose name needs quoting.
    const fs::path folder = home_.path() / "my \"odd\" $HOME `x` \\ progs";
    const fs::path program = folder / "pictarium";
    const fs::path log = home_.path() / "args.txt";
    writeText(program, "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + log.string() + ".part' && mv '" + log.string() +
                           ".part' '" + log.string() + "'\n");
    ::chmod(program.c_str(), 0755);

    RegisterFileType(program.string(), {});
    const QString library = QString::fromStdString((home_.path() / "a b.ILF").string());
    runClean("gio", {"launch", QString::fromStdString(entry_.string()), library}, home_.path(), data_);
    for (int i = 0; i < 100 && !fs::exists(log); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(readText(log), library.toStdString() + "\n");
}

TEST(DesktopExec, QuotesEveryPath)
{
    struct Case {
        const char *path;
        std::optional<std::string> exec;
    } cases[] = {
        {"/usr/bin/pictarium", "\"/usr/bin/pictarium\""},
        {"/opt/my programs/pictarium", "\"/opt/my programs/pictarium\""},
        {"/a\"b", "\"/a\\\\\"b\""},
        {"/a$b`c", "\"/a\\\\$b\\\\`c\""},
        {"/a\\b", "\"/a\\\\\\\\b\""},
        {"/100%/p", "\"/100%%/p\""},
        {"/中文/程序", "\"/中文/程序\""},
        {"/a\nb", std::nullopt},
        {"/a\tb", std::nullopt},
    };
    for (const auto &c : cases)
        EXPECT_EQ(desktopExecArgument(c.path), c.exec) << c.path;
}

TEST_F(RegistrationTest, IconsOfOtherSizesOrNoneAtAll)
{
    const auto whole = pngOf(32, 32);
    struct Case {
        const char *name;
        pictarium::Bytes png;
        const char *folder; // nullptr: no icon written
        int side;
    } cases[] = {
        {"theme size kept", pngOf(48, 48), "48x48", 48},
        {"odd size scaled", pngOf(40, 30), "32x32", 32},
        {"not an image", {'n', 'o', 'p', 'e'}, nullptr, 0},
        {"truncated PNG", pictarium::Bytes(whole.begin(), whole.begin() + 40), nullptr, 0},
        {"none", {}, nullptr, 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(data_);
        RegistrationReport report = RegisterFileType(program_, c.png);
        EXPECT_TRUE(fs::exists(entry_));
        EXPECT_TRUE(fs::exists(package_));
        const fs::path icons = data_ / "icons/hicolor";
        if (!c.folder) {
            EXPECT_FALSE(fs::exists(icons));
            EXPECT_EQ(report.written.size(), 2u);
            continue;
        }
        const fs::path icon = icons / c.folder / "apps/pictarium.png";
        QImage written(QString::fromStdString(icon.string()));
        EXPECT_EQ(written.width(), c.side);
        EXPECT_TRUE(fs::exists(icons / c.folder / "mimetypes/application-x-pictarium-ilf.png"));
    }
}

TEST_F(RegistrationTest, AFailingPartIsSkippedAndTheRestIsDone)
{
    // A file where the applications folder should be: no desktop entry can be written.
    writeText(data_ / "applications", "in the way");
    RegistrationReport report = RegisterFileType(program_, pngOf(32, 32));
    EXPECT_EQ(readText(data_ / "applications"), "in the way");
    EXPECT_TRUE(fs::exists(package_));
    EXPECT_TRUE(fs::exists(appIcon_));
    EXPECT_EQ(report.written.size(), 3u);

    // A program path no desktop entry can carry is skipped the same way.
    fs::remove(data_ / "applications");
    report = RegisterFileType("/bad\npath", {});
    EXPECT_FALSE(fs::exists(entry_));
    EXPECT_TRUE(report.written.empty());
}

TEST_F(RegistrationTest, UnwritableDataFolderIsNoError)
{
    writeText(data_, "a file, not a folder");
    RegistrationReport report;
    EXPECT_NO_THROW(report = RegisterFileType(program_, pngOf(32, 32)));
    EXPECT_TRUE(report.written.empty());
    EXPECT_EQ(readText(data_), "a file, not a folder");
}

} // namespace
