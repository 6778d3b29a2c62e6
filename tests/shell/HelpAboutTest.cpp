#include "shell/AboutBox.h"
#include "shell/Help.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QUrl>

#include <filesystem>
#include <memory>

namespace fs = std::filesystem;
using namespace pictarium;

// Records what the program asks the desktop to open instead of opening it.
class UrlRecorder : public QObject {
    Q_OBJECT
public:
    UrlRecorder()
    {
        for (const char *scheme : {"file", "mailto", "http", "https"})
            QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), this, "open");
    }
    ~UrlRecorder() override
    {
        for (const char *scheme : {"file", "mailto", "http", "https"})
            QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
    }
    QList<QUrl> opened;

public slots:
    void open(const QUrl &url) { opened.push_back(url); }
};

namespace {

// One application object for the whole test program, gone before the program exits.
class QtEnvironment : public ::testing::Environment {
public:
    void SetUp() override { app_ = std::make_unique<QApplication>(argc_, argv_); }
    void TearDown() override { app_.reset(); }

private:
    int argc_ = 1;
    char name_[12] = "shell_tests";
    char *argv_[2] = {name_, nullptr};
    std::unique_ptr<QApplication> app_;
};
[[maybe_unused]] const auto *const kQtEnvironment = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

// Runs in a fresh current folder and goes back afterwards.
class InFolder {
public:
    InFolder() : old_(fs::current_path()) { fs::current_path(folder_.path()); }
    ~InFolder() { fs::current_path(old_); }
    const TempFolder &folder() const { return folder_; }

private:
    TempFolder folder_{"pictarium-cwd"};
    fs::path old_;
};

TEST(Help, OpensTheHelpFileOfTheCurrentFolderOrSaysThereIsNone)
{
    enum Setup { Nothing, FileHere, FolderNamedLikeIt, FileInProgramFolderOnly };
    struct Case {
        const char *name;
        Setup setup;
        bool opens;
    } cases[] = {
        {"no help file", Nothing, false},
        {"help file in the current folder", FileHere, true},
        {"a folder of that name", FolderNamedLikeIt, false},
        {"only beside the program", FileInProgramFolderOnly, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        InFolder cwd;
        if (c.setup == FileHere)
            writeText(cwd.folder().path() / "pictarium.chm", "help");
        if (c.setup == FolderNamedLikeIt)
            fs::create_directory(cwd.folder().path() / "pictarium.chm");
        if (c.setup == FileInProgramFolderOnly)
            writeText(fs::path(QCoreApplication::applicationDirPath().toStdString()) / "sub-none/pictarium.chm", "");

        UrlRecorder recorder;
        QStringList messages;
        SysHelpExecute([&](const std::string &text) { messages << QString::fromStdString(text); });
        if (c.opens) {
            EXPECT_TRUE(messages.isEmpty());
            ASSERT_EQ(recorder.opened.size(), 1);
            EXPECT_EQ(recorder.opened[0], QUrl::fromLocalFile(QString::fromStdString(cwd.folder() / "pictarium.chm")));
        } else {
            EXPECT_EQ(messages, QStringList{QStringLiteral("你能否替我们写一个帮助文件？")});
            EXPECT_TRUE(recorder.opened.isEmpty());
        }
    }
    fs::remove_all(fs::path(QCoreApplication::applicationDirPath().toStdString()) / "sub-none");
}

TEST(Help, SourceRequestNoticeIsOneMessageWithTheAddress)
{
    QStringList messages;
    N41Click([&](const std::string &text) { messages << QString::fromStdString(text); });
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(QString::fromUtf8(kAuthorEmail)));
    EXPECT_GE(messages[0].count('\n'), 2) << "several lines";
}

class AboutBoxTest : public ::testing::Test {
protected:
    QLabel *label(const char *name) { return box_.findChild<QLabel *>(QString::fromLatin1(name)); }
    QWidget *panel() { return box_.findChild<QWidget *>("Panel1"); }

    void moveOver(QWidget *widget, QPoint at = {2, 2})
    {
        QMouseEvent move(QEvent::MouseMove, at, widget->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(widget, &move);
    }
    void click(QWidget *widget)
    {
        const QPoint at(2, 2);
        for (auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QMouseEvent e(type, at, widget->mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(widget, &e);
        }
    }
    QColor color(const char *name) { return TAboutBox::labelColor(label(name)); }

    TAboutBox box_;
    const QColor form_ = box_.palette().color(QPalette::Window);
    const QColor red_{255, 0, 0};
};

TEST_F(AboutBoxTest, ShowsTheTextsInTheirPlaces)
{
    EXPECT_EQ(box_.windowTitle(), "Pictarium");
    EXPECT_EQ(box_.size(), QSize(326, 256));
    EXPECT_EQ(box_.minimumSize(), box_.maximumSize()) << "fixed border";
    EXPECT_EQ(panel()->geometry(), QRect(8, 8, 297, 185));
    EXPECT_EQ(label("ProgramIcon")->geometry(), QRect(8, 8, 65, 57));

    struct Case {
        const char *name;
        QString text;
        QPoint at;
    } cases[] = {
        {"ProductName", "Pictarium", {88, 16}},
        {"Version", "版本2.00.00", {88, 45}},
        {"BuildDate", "最后编译：2002.7.12", {89, 69}},
        {"AuthorLabel", "作者：" + QString::fromUtf8(kAuthorName), {8, 98}},
        {"EmailCaption", "Email:", {8, 122}},
        {"EmailLabel", QString::fromUtf8(kAuthorEmail), {64, 122}},
        {"HomeCaption", "主页：", {8, 146}},
        {"Httplable", QString::fromUtf8(kHomePageHost), {64, 146}},
    };
    for (const auto &c : cases) {
        QLabel *l = label(c.name);
        ASSERT_NE(l, nullptr) << c.name;
        EXPECT_EQ(l->text(), c.text) << c.name;
        EXPECT_EQ(l->pos(), c.at) << c.name;
        EXPECT_EQ(l->parentWidget(), panel()) << c.name;
        EXPECT_EQ(l->font().pixelSize(), 16) << c.name;
        EXPECT_EQ(l->palette().color(QPalette::WindowText), QColor(Qt::black)) << c.name;
        EXPECT_GE(l->width(), l->sizeHint().width()) << c.name << " text cut off";
        EXPECT_TRUE(panel()->contentsRect().contains(l->geometry())) << c.name << " runs past the panel";
    }
    EXPECT_TRUE(label("EmailLabel")->font().underline());
    EXPECT_TRUE(label("Httplable")->font().underline());

    auto *ok = box_.findChild<QPushButton *>("OKButton");
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->text(), "确定");
    EXPECT_EQ(ok->geometry(), QRect(136, 202, 65, 33));
    EXPECT_TRUE(ok->isDefault());
    box_.show();
    EXPECT_EQ(box_.focusWidget(), ok);
    ok->click();
    EXPECT_EQ(box_.result(), QDialog::Accepted);
    EXPECT_FALSE(box_.isVisible());
}

TEST_F(AboutBoxTest, LinksLightUpUnderTheMouse)
{
    box_.show();
    EXPECT_EQ(color("EmailLabel"), form_);
    EXPECT_EQ(color("Httplable"), form_);
    EXPECT_TRUE(label("EmailLabel")->autoFillBackground());

    struct Step {
        const char *over; // a label's name, or "Panel1" at a bare spot
        QColor email, home;
    } steps[] = {
        {"EmailLabel", red_, form_},   {"Httplable", form_, red_},  {"EmailLabel", red_, form_},
        {"EmailCaption", red_, form_}, {"ProgramIcon", red_, form_}, {"Version", red_, form_},
        {"Panel1", form_, form_},      {"Httplable", form_, red_},   {"HomeCaption", form_, red_},
        {"Panel1", form_, form_},
    };
    for (const auto &s : steps) {
        if (std::string(s.over) == "Panel1")
            moveOver(panel(), {290, 180});
        else
            moveOver(label(s.over));
        EXPECT_EQ(color("EmailLabel"), s.email) << "over " << s.over;
        EXPECT_EQ(color("Httplable"), s.home) << "over " << s.over;
    }
}

TEST_F(AboutBoxTest, ClicksOpenMailAndHomePage)
{
    const QUrl mail("mailto:" + QString::fromUtf8(kAuthorEmail));
    const QUrl home(QString::fromUtf8(kHomePageUrl));
    struct Case {
        const char *label;
        QUrl opens;
    } cases[] = {
        {"EmailLabel", mail},
        {"Httplable", home},
        {"EmailCaption", home},
        {"HomeCaption", home},
    };
    box_.show();
    for (const auto &c : cases) {
        UrlRecorder recorder;
        click(label(c.label));
        EXPECT_EQ(recorder.opened, QList<QUrl>{c.opens}) << c.label;
    }
    UrlRecorder recorder;
    for (const char *name : {"ProductName", "Version", "AuthorLabel", "ProgramIcon"})
        click(label(name));
    click(panel());
    EXPECT_TRUE(recorder.opened.isEmpty());
}

TEST_F(AboutBoxTest, ShowsTheProgramIcon)
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::red);
    TAboutBox withIcon(nullptr, QIcon(pixmap));
    QLabel *icon = withIcon.findChild<QLabel *>("ProgramIcon");
    EXPECT_EQ(icon->pixmap().size(), QSize(32, 32));
    EXPECT_EQ(icon->pixmap().toImage().pixelColor(16, 16), QColor(Qt::red));
}

} // namespace

#include "HelpAboutTest.moc"
