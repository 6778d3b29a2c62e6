// The document: start-up arguments, New, Open, Save, Save As, closing, library file effects.

#include "FormFixture.h"

#include "library/Iconfat.h"
#include "support/WriteFaults.h"

#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>

#include <QDir>
#include <QTest>

#include <fstream>

namespace formtest {
namespace {

using pictarium::MsgButtons;
using pictarium::MsgIcon;
using testbytes::Bytes;

const std::string kQuestion = "文件已被修改，是否保存?";

// ---- Start-up

struct StartCase {
    const char *name;
    std::vector<std::string> args; // "@name" stands for a file in the scratch folder
    std::string document;          // "@name", or "Untitled.ILF"
    std::vector<std::string> messages;
};

class StartUp : public Form, public ::testing::WithParamInterface<StartCase> {};

TEST_P(StartUp, OpensTheFirstLibraryArgumentThatReads)
{
    writeLibrary("B.ILF", {testbytes::ico16(1)});
    writeLibrary("good.ilf");
    writeFile("rejected.ilf", Bytes(60, 'x'));
    writeFile("a.txt", testbytes::str("text"));
    auto resolve = [&](const std::string &s) { return s.starts_with('@') ? path(s.substr(1)) : s; };

    std::vector<std::string> args;
    for (const auto &a : GetParam().args)
        args.push_back(resolve(a));
    start(args);

    const std::string document = resolve(GetParam().document);
    EXPECT_EQ(form->FFileName, document);
    EXPECT_EQ(caption(), "Pictarium - " + document);
    EXPECT_EQ(prompt->texts(), GetParam().messages);
    EXPECT_FALSE(form->FModified);
    EXPECT_EQ(panel(2), "无变化");
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, StartUp,
    ::testing::Values(StartCase{"none", {}, "Untitled.ILF", {}},
                      StartCase{"extension_case_ignored", {"@a.txt", "@B.ILF"}, "@B.ILF", {}},
                      StartCase{"rejected_then_good", {"@rejected.ilf", "@good.ilf"}, "@good.ilf", {"File Error!!"}},
                      StartCase{"missing_is_silent", {"@missing.ilf"}, "Untitled.ILF", {}},
                      StartCase{"first_that_reads_wins", {"@good.ilf", "@B.ILF"}, "@good.ilf", {}},
                      StartCase{"module_and_other_files_ignored_for_reading", {"x.exe", "i.ico", "@B.ILF"}, "@B.ILF", {}}),
    [](const auto &row) { return std::string(row.param.name); });

TEST_F(Form, StartUpFillsAllPanelsAndCounters)
{
    const std::string lib = writeLibrary("lib.ilf", {testbytes::ico16(1), testbytes::ico16(2)});
    start({lib});
    const auto size = std::to_string(std::ifstream(lib, std::ios::binary | std::ios::ate).tellg());
    EXPECT_EQ(form->FFileSize, std::stoi(size));
    EXPECT_EQ(form->FIconTotal, 2);
    EXPECT_EQ(panel(0), "图标个数:0");
    EXPECT_EQ(panel(1), "选中:0");
    EXPECT_EQ(panel(2), "无变化");
    EXPECT_EQ(panel(3), "文件大小:" + size);
    EXPECT_EQ(panel(4), "图标总数:2");
    for (int i = 5; i < 8; ++i)
        EXPECT_EQ(panel(i), "") << i;
    // Reading selects nothing; the view waits for a selection.
    EXPECT_EQ(form->selectedNode(), nullptr);
    EXPECT_EQ(form->tree().count(), 2u);
}

TEST_F(Form, StartUpWithBadTitleLevelShowsTheErrorAndKeepsAnEmptyDocument)
{
    testbytes::IlfBuilder b;
    b.line("A").line("\t\tB").record(testbytes::Record::None).record(testbytes::Record::None);
    const std::string lib = writeFile("level.ilf", b.build());
    start({lib});
    ASSERT_EQ(prompt->shown.size(), 1u);
    EXPECT_EQ(prompt->shown[0].text, "Invalid level (2) for item \"B\"");
    EXPECT_EQ(prompt->shown[0].icon, MsgIcon::Error);
    EXPECT_TRUE(form->tree().empty());
    EXPECT_EQ(form->FFileName, "Untitled.ILF");
    EXPECT_EQ(form->FFileSize, 0);
}

// ---- New

TEST_F(Form, NewEmptiesTheDocumentAndMarksItModified)
{
    start({writeLibrary("lib.ilf", {testbytes::ico16(1)})});
    form->selectNode(node(0));
    ASSERT_EQ(captions(), std::vector<std::string>{"Icon0"});
    form->runAction(pictarium::ActionId::CreatNewILFFile);

    EXPECT_TRUE(prompt->shown.empty()); // the library was not modified: no question
    EXPECT_TRUE(form->tree().empty());
    EXPECT_EQ(caption(), "Pictarium - Untitled.ILF");
    EXPECT_TRUE(form->FModified);
    EXPECT_EQ(form->FIconTotal, 0);
    EXPECT_EQ(form->FFileSize, 0);
    EXPECT_EQ(panel(0), "图标个数:0");
    EXPECT_EQ(panel(1), "选中:0");
    EXPECT_EQ(panel(2), "修改");
    EXPECT_EQ(panel(3), "文件大小:0");
    EXPECT_EQ(panel(4), "图标总数:0");
    // The shown node is gone with the tree: the view shows the empty state.
    EXPECT_EQ(captions(), std::vector<std::string>{"No Icon"});
}

// New and Open ask the closing question first when there are unsaved changes.
struct GuardCase {
    const char *name;
    pictarium::ActionId action;
    MsgResult answer;
    std::optional<std::string> saveAsChoice; // when Yes leads to Save As
    bool goesOn;
    bool saved;
};

class UnsavedChanges : public Form, public ::testing::WithParamInterface<GuardCase> {};

TEST_P(UnsavedChanges, AreAskedAboutBeforeNewAndOpen)
{
    const GuardCase &c = GetParam();
    const std::string other = writeLibrary("other.ilf");
    start();
    form->treeModel().add(nullptr, testbytes::str("kept"));
    form->FModified = true;
    prompt->answers = {c.answer};
    if (c.answer == MsgResult::Yes) { // the untitled document goes through Save As
        if (c.saveAsChoice)
            dialogs->fileAnswers.push_back(std::vector<std::string>{path(*c.saveAsChoice)});
        else
            dialogs->fileAnswers.push_back(std::nullopt);
    }
    dialogs->fileAnswers.push_back(std::vector<std::string>{other}); // Open's own dialog

    form->runAction(c.action);

    ASSERT_FALSE(prompt->shown.empty());
    EXPECT_EQ(prompt->shown[0].text, kQuestion);
    EXPECT_EQ(prompt->shown[0].caption, "警告");
    EXPECT_EQ(prompt->shown[0].buttons, MsgButtons::YesNoCancel);
    EXPECT_EQ(prompt->shown[0].icon, MsgIcon::Warning);
    EXPECT_EQ(pictarium::fileExists(path("saved.ILF")), c.saved);
    const bool kept = form->tree().count() == 1 && form->tree().nodeAt(0)->title == testbytes::str("kept");
    EXPECT_EQ(kept, !c.goesOn);
    if (!c.goesOn) {
        EXPECT_TRUE(form->FModified);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Commands, UnsavedChanges,
    ::testing::Values(
        GuardCase{"new_cancel", pictarium::ActionId::CreatNewILFFile, MsgResult::Cancel, {}, false, false},
        GuardCase{"new_no", pictarium::ActionId::CreatNewILFFile, MsgResult::No, {}, true, false},
        GuardCase{"new_yes_saves", pictarium::ActionId::CreatNewILFFile, MsgResult::Yes, "saved.ILF", true, true},
        GuardCase{"new_yes_save_as_cancelled", pictarium::ActionId::CreatNewILFFile, MsgResult::Yes, std::nullopt,
                  false, false},
        GuardCase{"open_cancel", pictarium::ActionId::OpenILFFile, MsgResult::Cancel, {}, false, false},
        GuardCase{"open_no", pictarium::ActionId::OpenILFFile, MsgResult::No, {}, true, false},
        GuardCase{"open_yes_saves", pictarium::ActionId::OpenILFFile, MsgResult::Yes, "saved.ILF", true, true}),
    [](const auto &row) { return std::string(row.param.name); });

// ---- Open

TEST_F(Form, OpenPreparesItsDialogAndReadsTheChosenLibrary)
{
    const std::string lib = writeLibrary("lib.ilf", {testbytes::ico16(1), {}, testbytes::ico16(2)});
    start();
    dialogs->fileAnswers.push_back(std::vector<std::string>{lib});
    form->runAction(pictarium::ActionId::OpenILFFile);

    ASSERT_EQ(dialogs->fileRuns.size(), 1u);
    const auto &run = dialogs->fileRuns[0];
    EXPECT_EQ(run.kind, pictarium::TFileDialog::Kind::Open);
    EXPECT_EQ(run.filter, "ILF图标库文件(*.ILF)|*.ILF");
    EXPECT_EQ(run.defaultExt, ".ILF");
    EXPECT_EQ(run.options, pictarium::ofHideReadOnly | pictarium::ofFileMustExist | pictarium::ofEnableSizing);
    EXPECT_EQ(caption(), "Pictarium - " + lib);
    EXPECT_EQ(form->FIconTotal, 3); // an empty slot counts as an icon of the block
    EXPECT_FALSE(form->FModified);
}

TEST_F(Form, OpenCancelledChangesNothing)
{
    start();
    dialogs->fileAnswers.push_back(std::nullopt);
    form->runAction(pictarium::ActionId::OpenILFFile);
    EXPECT_EQ(caption(), "Pictarium - Untitled.ILF");
    EXPECT_TRUE(prompt->shown.empty());
}

// A library that cannot be taken keeps the open document whole.
struct BadLibraryCase {
    const char *name;
    Bytes file;
    std::string message;
    MsgIcon icon;
};

class OpenBadLibrary : public Form, public ::testing::WithParamInterface<BadLibraryCase> {};

TEST_P(OpenBadLibrary, KeepsTheOpenDocument)
{
    const std::string lib = writeLibrary("lib.ilf", {testbytes::ico16(1), testbytes::ico16(2)});
    start({lib});
    form->selectNode(node(0));
    const auto sizeBefore = form->FFileSize;
    const std::string bad = writeFile("bad.ilf", GetParam().file);
    dialogs->fileAnswers.push_back(std::vector<std::string>{bad});
    form->runAction(pictarium::ActionId::OpenILFFile);

    ASSERT_EQ(prompt->shown.size(), 1u);
    EXPECT_EQ(prompt->shown[0].text, GetParam().message);
    EXPECT_EQ(prompt->shown[0].icon, GetParam().icon);
    EXPECT_EQ(form->FFileName, lib);
    EXPECT_EQ(caption(), "Pictarium - " + lib);
    EXPECT_EQ(form->FFileSize, sizeBefore);
    EXPECT_EQ(form->FIconTotal, 2);
    EXPECT_EQ(panel(3), "文件大小:" + std::to_string(sizeBefore));
    EXPECT_EQ(panel(4), "图标总数:2");
    EXPECT_EQ(form->tree().count(), 2u);
    EXPECT_EQ(form->selectedNode(), node(0));
    EXPECT_EQ(captions(), (std::vector<std::string>{"Icon0", "Icon1"}));
}

Bytes sizeFieldOneShort()
{
    testbytes::IlfBuilder b;
    b.line("A").record(testbytes::Record::None);
    Bytes f = b.build();
    f[20] = static_cast<std::uint8_t>(f[20] - 1);
    return f;
}

Bytes levelJump()
{
    testbytes::IlfBuilder b;
    b.line("A").line("\t\tdeep").record(testbytes::Record::None).record(testbytes::Record::None);
    return b.build();
}

INSTANTIATE_TEST_SUITE_P(
    Files, OpenBadLibrary,
    ::testing::Values(BadLibraryCase{"short", Bytes(43, 0), "File Error!!", MsgIcon::None},
                      BadLibraryCase{"wrong_signature", Bytes(44, 'x'), "File Error!!", MsgIcon::None},
                      BadLibraryCase{"size_field_one_short", sizeFieldOneShort(), "File Error!!", MsgIcon::None},
                      BadLibraryCase{"title_level_jump", levelJump(), "Invalid level (2) for item \"deep\"",
                                     MsgIcon::Error}),
    [](const auto &row) { return std::string(row.param.name); });

// ---- Save and Save As

TEST_F(Form, SaveOfUntitledRunsSaveAsAndCancellingWritesNothing)
{
    start();
    form->treeModel().add(nullptr, testbytes::str("A"));
    form->FModified = true;
    dialogs->fileAnswers.push_back(std::nullopt);
    form->runAction(pictarium::ActionId::SaveILFFile);

    ASSERT_EQ(dialogs->fileRuns.size(), 1u);
    EXPECT_EQ(dialogs->fileRuns[0].kind, pictarium::TFileDialog::Kind::Save);
    EXPECT_EQ(dialogs->fileRuns[0].filter, "ILF图标库文件(*.ILF)|*.ILF");
    EXPECT_EQ(dialogs->fileRuns[0].defaultExt, ".ILF");
    EXPECT_EQ(form->FFileName, "Untitled.ILF");
    EXPECT_TRUE(form->FModified);
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
}

TEST_F(Form, SaveAsNamesTheDocumentAndWritesIt)
{
    start();
    auto *a = form->treeModel().add(nullptr, testbytes::str("A"));
    form->treeModel().setBlock(a, pictarium::TIconBlock::parse(testbytes::block({testbytes::ico16(3)})));
    form->FIconTotal = 1;
    form->FModified = true;
    const std::string target = path("out.ILF");
    dialogs->fileAnswers.push_back(std::vector<std::string>{target});
    form->runAction(pictarium::ActionId::SaveAsILFFile);

    EXPECT_EQ(caption(), "Pictarium - " + target);
    const Bytes written = pictarium::readWholeFile(target);
    EXPECT_EQ(written, pictarium::serializeILF(form->tree()));
    EXPECT_EQ(form->FFileSize, static_cast<std::int32_t>(written.size()));
    EXPECT_FALSE(form->FModified);
    EXPECT_EQ(panel(2), "无变化");
    EXPECT_EQ(panel(3), "文件大小:" + std::to_string(written.size()));
}

TEST_F(Form, SaveAfterOpenWritesToTheOpenedFile)
{
    const std::string lib = writeLibrary("lib.ilf", {testbytes::ico16(1)});
    start({lib});
    form->treeModel().addChild(node(1), testbytes::str("child"));
    form->FModified = true;
    form->runAction(pictarium::ActionId::SaveILFFile);

    EXPECT_TRUE(dialogs->fileRuns.empty());
    auto reread = pictarium::loadILF(lib);
    ASSERT_TRUE(std::holds_alternative<pictarium::IlfContents>(reread));
    EXPECT_EQ(std::get<pictarium::IlfContents>(reread).tree.count(), 3u);
    EXPECT_FALSE(form->FModified);
}

TEST_F(Form, SaveAsToAnUnwritablePlaceShowsTheErrorAndKeepsTheFigures)
{
    start();
    form->FModified = true;
    const std::string target = path("no/such/folder/x.ILF");
    dialogs->fileAnswers.push_back(std::vector<std::string>{target});
    form->runAction(pictarium::ActionId::SaveAsILFFile);

    ASSERT_EQ(prompt->shown.size(), 1u);
    EXPECT_EQ(prompt->shown[0].icon, MsgIcon::Error);
    EXPECT_NE(prompt->shown[0].text.find(target), std::string::npos) << prompt->shown[0].text;
    // The name was given before writing; the figures of the last write stay.
    EXPECT_EQ(caption(), "Pictarium - " + target);
    EXPECT_TRUE(form->FModified);
    EXPECT_EQ(form->FFileSize, 0);
}

// ---- Save failures: whatever step fails, the file on disk stays byte for byte what it was,
// the document keeps its name, its modified state and the figures of the last write, and a
// later Save still works.

std::size_t filesIn(const QTemporaryDir &dir)
{
    return static_cast<std::size_t>(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot).size());
}

class SaveFault : public Form, public ::testing::WithParamInterface<writefaults::FaultPoint> {
protected:
    // An opened library with unsaved changes.
    std::string startModified()
    {
        const std::string lib = writeLibrary("lib.ilf", {testbytes::ico16(1)});
        start({lib});
        form->treeModel().addChild(node(1), testbytes::str("child"));
        form->FModified = true;
        form->UpdateStatusBar(pictarium::sfModified);
        return lib;
    }
    void expectUnchanged(const std::string &lib, const Bytes &before, const std::string &shownName)
    {
        EXPECT_EQ(pictarium::readWholeFile(lib), before);
        EXPECT_EQ(form->FFileName, shownName);
        EXPECT_EQ(caption(), "Pictarium - " + shownName);
        EXPECT_TRUE(form->FModified);
        EXPECT_EQ(panel(2), "修改");
        EXPECT_EQ(form->FFileSize, static_cast<std::int32_t>(before.size()));
        EXPECT_EQ(panel(3), "文件大小:" + std::to_string(before.size()));
    }
};

TEST_P(SaveFault, SaveKeepsTheFileAndTheDocument)
{
    const std::string lib = startModified();
    const Bytes before = pictarium::readWholeFile(lib);
    {
        writefaults::WriteFault fault(GetParam());
        form->runAction(pictarium::ActionId::SaveILFFile);
        ASSERT_TRUE(fault.fired());
    }
    ASSERT_EQ(prompt->shown.size(), 1u);
    EXPECT_EQ(prompt->shown[0].icon, MsgIcon::Error);
    EXPECT_NE(prompt->shown[0].text.find(lib), std::string::npos) << prompt->shown[0].text;
    expectUnchanged(lib, before, lib);
    EXPECT_EQ(filesIn(dir), 1u) << "temporary file left behind";

    form->runAction(pictarium::ActionId::SaveILFFile);
    EXPECT_EQ(pictarium::readWholeFile(lib), pictarium::serializeILF(form->tree()));
    EXPECT_FALSE(form->FModified);
}

TEST_P(SaveFault, SaveAsOverAnotherFileKeepsThatFile)
{
    const std::string lib = startModified();
    const Bytes before = pictarium::readWholeFile(lib);
    const std::string other = writeFile("other.ILF", testbytes::str("someone else's bytes"));
    dialogs->fileAnswers.push_back(std::vector<std::string>{other});
    {
        writefaults::WriteFault fault(GetParam());
        form->runAction(pictarium::ActionId::SaveAsILFFile);
        ASSERT_TRUE(fault.fired());
    }
    ASSERT_EQ(prompt->shown.size(), 1u);
    EXPECT_EQ(prompt->shown[0].icon, MsgIcon::Error);
    EXPECT_EQ(pictarium::readWholeFile(other), testbytes::str("someone else's bytes"));
    // Save As names the document before it writes; the rest is as it was.
    expectUnchanged(lib, before, other);
    EXPECT_EQ(filesIn(dir), 2u) << "temporary file left behind";
}

INSTANTIATE_TEST_SUITE_P(EveryStep, SaveFault, ::testing::ValuesIn(writefaults::everyStepOf(1)),
                         [](const auto &row) { return row.param.name(); });

// The same on a real small disk: a save that fills it part-way, then the disk made read-only.
// Needs the right to mount, which root has; the mount lives in this process's own namespace.
class SmallDisk {
public:
    explicit SmallDisk(const std::string &folder) : folder_(folder)
    {
        static const bool privateMounts = ::unshare(CLONE_NEWNS) == 0 &&
                                          ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
        mounted_ = privateMounts && ::mkdir(folder.c_str(), 0755) == 0 &&
                   ::mount("tmpfs", folder.c_str(), "tmpfs", 0, "size=128k") == 0;
    }
    ~SmallDisk()
    {
        if (mounted_)
            ::umount2(folder_.c_str(), MNT_DETACH);
    }
    SmallDisk(const SmallDisk &) = delete;
    SmallDisk &operator=(const SmallDisk &) = delete;

    [[nodiscard]] bool mounted() const { return mounted_; }
    bool makeReadOnly() { return ::mount(nullptr, folder_.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0; }

private:
    std::string folder_;
    bool mounted_ = false;
};

TEST_F(Form, SaveOnAFullOrReadOnlyDiskKeepsTheFile)
{
    SmallDisk disk(path("disk"));
    if (!disk.mounted())
        GTEST_SKIP() << "cannot mount a small disk here";
    const std::string lib = writeLibrary("disk/lib.ilf", {testbytes::ico16(1)});
    start({lib});
    const Bytes before = pictarium::readWholeFile(lib);
    // Far more than the disk holds, and as good as incompressible.
    Bytes noise(400000);
    std::uint32_t x = 12345;
    for (auto &b : noise) {
        x = x * 1103515245u + 12345u;
        b = static_cast<std::uint8_t>(x >> 24);
    }
    auto *n = form->treeModel().add(nullptr, testbytes::str("big"));
    const std::vector<pictarium::ByteSpan> images = {noise};
    form->treeModel().setBlock(n, pictarium::TIconBlock::fromImages(images));
    form->FModified = true;

    form->runAction(pictarium::ActionId::SaveILFFile);
    ASSERT_EQ(prompt->texts(), std::vector<std::string>{"Error writing file " + lib});
    EXPECT_EQ(pictarium::readWholeFile(lib), before);
    EXPECT_TRUE(form->FModified);
    EXPECT_EQ(QDir(QString::fromStdString(path("disk"))).entryList(QDir::Files | QDir::Hidden).size(), 1);

    ASSERT_TRUE(disk.makeReadOnly());
    form->treeModel().remove(n);
    form->runAction(pictarium::ActionId::SaveILFFile);
    EXPECT_EQ(prompt->texts().back(), "Cannot create file " + lib);
    EXPECT_EQ(pictarium::readWholeFile(lib), before);
    EXPECT_TRUE(form->FModified);
}

TEST_F(Form, ExportNodeToLibraryOnlyReportsThatItIsMissing)
{
    start({writeLibrary("lib.ilf")});
    form->runAction(pictarium::ActionId::ExportTreeNodeToILFFile);
    EXPECT_TRUE(dialogs->fileRuns.empty()); // no node selected: nothing happens

    form->selectNode(node(0));
    dialogs->fileAnswers.push_back(std::vector<std::string>{path("x.ILF")});
    form->runAction(pictarium::ActionId::ExportTreeNodeToILFFile);
    EXPECT_EQ(prompt->texts(), std::vector<std::string>{"对不起，功能还没实现！"});
    EXPECT_FALSE(pictarium::fileExists(path("x.ILF")));
    EXPECT_FALSE(form->FModified);
}

// ---- Closing

struct CloseCase {
    const char *name;
    bool modified;
    bool named; // the document has a file
    std::vector<MsgResult> answers;
    std::optional<std::string> saveAs; // the Save As dialog's answer, when it runs
    bool closes;
    bool written;
};

class Closing : public Form, public ::testing::WithParamInterface<CloseCase> {};

TEST_P(Closing, AsksAboutUnsavedChanges)
{
    const CloseCase &c = GetParam();
    const std::string lib = writeLibrary("lib.ilf");
    start(c.named ? std::vector<std::string>{lib} : std::vector<std::string>{});
    form->treeModel().add(nullptr, testbytes::str("new"));
    form->FModified = c.modified;
    prompt->answers = {c.answers.begin(), c.answers.end()};
    if (c.saveAs)
        dialogs->fileAnswers.push_back(std::vector<std::string>{path(*c.saveAs)});
    else
        dialogs->fileAnswers.push_back(std::nullopt);
    form->show();

    EXPECT_EQ(form->close(), c.closes);
    EXPECT_EQ(prompt->shown.empty(), !c.modified);
    if (c.modified) {
        EXPECT_EQ(prompt->shown[0].text, kQuestion);
    }
    if (c.named) {
        auto r = pictarium::loadILF(lib);
        ASSERT_TRUE(std::holds_alternative<pictarium::IlfContents>(r));
        EXPECT_EQ(std::get<pictarium::IlfContents>(r).tree.count() == form->tree().count(), c.written);
    } else if (c.saveAs) {
        EXPECT_EQ(pictarium::fileExists(path(*c.saveAs)), c.written);
    }
    if (!c.closes) {
        EXPECT_TRUE(form->isVisible());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Answers, Closing,
    ::testing::Values(CloseCase{"unmodified_closes_at_once", false, false, {}, {}, true, false},
                      CloseCase{"cancel_stays", true, true, {MsgResult::Cancel}, {}, false, false},
                      CloseCase{"no_closes_without_saving", true, true, {MsgResult::No}, {}, true, false},
                      CloseCase{"yes_saves_named_and_closes", true, true, {MsgResult::Yes}, {}, true, true},
                      CloseCase{"yes_untitled_save_as_and_closes", true, false, {MsgResult::Yes}, "s.ILF", true, true},
                      CloseCase{"yes_untitled_save_as_cancelled_stays", true, false, {MsgResult::Yes}, {}, false, false}),
    [](const auto &row) { return std::string(row.param.name); });

TEST_F(Form, ClosingRightAfterNewAsksAndAfterStartUpDoesNot)
{
    start();
    form->show();
    EXPECT_TRUE(form->close());
    EXPECT_TRUE(prompt->shown.empty());

    start();
    form->runAction(pictarium::ActionId::CreatNewILFFile);
    form->show();
    prompt->answers = {MsgResult::Cancel};
    EXPECT_FALSE(form->close());
    EXPECT_EQ(prompt->texts(), std::vector<std::string>{kQuestion});
}

TEST_F(Form, ClosingWhenTheSaveFailsShowsTheErrorAndStays)
{
    const std::string lib = writeLibrary("lib.ilf");
    start({lib});
    form->FModified = true;
    // The library's folder disappears: the save cannot create its file.
    ASSERT_TRUE(dir.remove());
    prompt->answers = {MsgResult::Yes};
    form->show();
    EXPECT_FALSE(form->close());
    ASSERT_EQ(prompt->shown.size(), 2u);
    EXPECT_EQ(prompt->shown[1].icon, MsgIcon::Error);
    EXPECT_TRUE(form->FModified);
}

TEST_F(Form, AltXClosesThroughTheQuestion)
{
    start();
    form->runAction(pictarium::ActionId::CreatNewILFFile);
    form->show();
    QApplication::setActiveWindow(form.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    prompt->answers = {MsgResult::Cancel};
    QTest::keyClick(form.get(), Qt::Key_X, Qt::AltModifier);
    EXPECT_EQ(prompt->texts(), std::vector<std::string>{kQuestion});
    EXPECT_TRUE(form->isVisible());

    prompt->answers = {MsgResult::No};
    QTest::keyClick(form.get(), Qt::Key_X, Qt::AltModifier);
    EXPECT_FALSE(form->isVisible());
}

} // namespace
} // namespace formtest
