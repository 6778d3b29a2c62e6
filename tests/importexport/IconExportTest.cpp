// Exporting stored icons as ".ico" files: the dialog, the names, skipped slots, the messages,
// cancelling and write failures.

#include "ImportExportFixture.h"

#include <QAction>

#include <filesystem>

using namespace importexport;
using pictarium::ActionId;

namespace {

class IconExport : public Window {
protected:
    // A selected node whose entry i is a distinct image, except the empty slots listed.
    LibraryNode *startWithIcons(int count, std::vector<int> emptySlots = {})
    {
        startWindow();
        std::vector<Bytes> images;
        for (int i = 0; i < count; ++i) {
            const bool empty = std::find(emptySlots.begin(), emptySlots.end(), i) != emptySlots.end();
            images.push_back(empty ? Bytes{} : testbytes::ico16(static_cast<unsigned>(i)));
        }
        LibraryNode *n = addNode("N", images);
        form->selectNode(n);
        return n;
    }
    std::string out() { return path("out"); }
    void makeOut() { std::filesystem::create_directory(out()); }
};

TEST_F(IconExport, OneIconIsTheFirstSelectedEntryUnderTheCutName)
{
    startWithIcons(3);
    makeOut();
    selectItems({2, 1});
    dialogs->fileAnswers.push_back(std::vector<std::string>{out() + "/my.star.ico"});
    form->runAction(ActionId::ExportOneIcon);

    ASSERT_EQ(dialogs->fileRuns.size(), 1u);
    EXPECT_EQ(dialogs->fileRuns[0].kind, pictarium::TFileDialog::Kind::Save);
    EXPECT_EQ(dialogs->fileRuns[0].filter, "图标文件(*.ICO)|*.ico");
    EXPECT_EQ(dialogs->fileRuns[0].defaultExt, ".ico");
    EXPECT_EQ(filesIn("out"), (std::vector<std::string>{"my.ico"}));
    EXPECT_EQ(readFile("out/my.ico"), testbytes::ico16(1));
    EXPECT_FALSE(form->FModified);
    EXPECT_TRUE(prompt->shown.empty());
}

TEST_F(IconExport, DoubleClickExportsOneIcon)
{
    startWithIcons(2);
    makeOut();
    selectItems({1});
    dialogs->fileAnswers.push_back(std::vector<std::string>{out() + "/dbl.ico"});
    emit form->ListView1->doubleClicked(form->iconModel().index(1));
    EXPECT_EQ(readFile("out/dbl.ico"), testbytes::ico16(1));
}

TEST_F(IconExport, SelectedIconsAreNumberedBySelectionOrder)
{
    startWithIcons(8, {5});
    makeOut();
    // Folders with a dot keep it; the name is cut at its own first dot.
    std::filesystem::create_directory(path("out/icons.old"));
    selectItems({7, 2, 5});
    dialogs->fileAnswers.push_back(std::vector<std::string>{out() + "/icons.old/a.b.ico"});
    form->runAction(ActionId::ExportIcons);

    // Entry 5 is an empty slot: its number is used up, no file is written for it.
    EXPECT_EQ(filesIn("out/icons.old"), (std::vector<std::string>{"a0000.ico", "a0002.ico"}));
    EXPECT_EQ(readFile("out/icons.old/a0000.ico"), testbytes::ico16(2));
    EXPECT_EQ(readFile("out/icons.old/a0002.ico"), testbytes::ico16(7));
    ASSERT_EQ(progress->runs.size(), 1u);
    EXPECT_EQ(progress->runs[0].total, 3u);
}

TEST_F(IconExport, AllIconsKeepTheirPlaceAsNumber)
{
    LibraryNode *n = startWithIcons(3, {1});
    addNode("Child", std::vector<Bytes>{testbytes::ico16(9)}, n);
    makeOut();
    dialogs->fileAnswers.push_back(std::vector<std::string>{out() + "/all"});
    form->runAction(ActionId::ExportAllIcons);
    EXPECT_EQ(filesIn("out"), (std::vector<std::string>{"all0000.ico", "all0002.ico"}));
    EXPECT_EQ(readFile("out/all0002.ico"), testbytes::ico16(2));
}

TEST_F(IconExport, EntryTenThousandGetsFiveDigits)
{
    startWindow();
    std::vector<Bytes> images(10001);
    images.back() = testbytes::ico16(3);
    form->selectNode(addNode("Many", images));
    makeOut();
    dialogs->fileAnswers.push_back(std::vector<std::string>{out() + "/m.ico"});
    form->runAction(ActionId::ExportAllIcons);
    EXPECT_EQ(filesIn("out"), (std::vector<std::string>{"m10000.ico"}));
}

TEST_F(IconExport, NothingToExport)
{
    startWindow();
    LibraryNode *bare = addNode("Bare", std::nullopt);
    LibraryNode *empty = addNode("Empty", std::vector<Bytes>{});
    makeOut();

    // No node selected: all three stay silent and ask nothing.
    for (ActionId a : {ActionId::ExportOneIcon, ActionId::ExportIcons, ActionId::ExportAllIcons})
        form->runAction(a);
    EXPECT_TRUE(dialogs->fileRuns.empty());
    EXPECT_TRUE(prompt->shown.empty());

    // A node without block: "No Icon" shown; only ExportAllIcons speaks.
    form->selectNode(bare);
    form->runAction(ActionId::ExportIcons);
    form->runAction(ActionId::ExportAllIcons);
    EXPECT_TRUE(dialogs->fileRuns.empty());
    EXPECT_EQ(prompt->texts(), (std::vector<std::string>{"没有图标！"}));
    // Selecting the "No Icon" item asks for a name and writes nothing.
    selectItems({0});
    dialogs->fileAnswers.push_back(std::vector<std::string>{out() + "/x.ico"});
    form->runAction(ActionId::ExportOneIcon);
    EXPECT_EQ(dialogs->fileRuns.size(), 1u);

    // A block without entries: the dialog, then nothing.
    prompt->shown.clear();
    form->selectNode(empty);
    form->runAction(ActionId::ExportOneIcon); // no item to select
    dialogs->fileAnswers.push_back(std::vector<std::string>{out() + "/y.ico"});
    form->runAction(ActionId::ExportAllIcons);
    dialogs->fileAnswers.push_back(std::vector<std::string>{out() + "/z.ico"});
    form->runAction(ActionId::ExportIcons);
    EXPECT_EQ(dialogs->fileRuns.size(), 3u);
    EXPECT_TRUE(prompt->shown.empty());
    EXPECT_TRUE(filesIn("out").empty());
}

TEST_F(IconExport, CancellingWritesNothingOrKeepsWhatWasWritten)
{
    startWithIcons(4);
    makeOut();
    for (ActionId a : {ActionId::ExportOneIcon, ActionId::ExportIcons, ActionId::ExportAllIcons}) {
        selectItems({0, 1, 2, 3});
        cancelDialog();
        form->runAction(a);
    }
    EXPECT_TRUE(filesIn("out").empty());

    progress->cancelAtStep = 2;
    dialogs->fileAnswers.push_back(std::vector<std::string>{out() + "/c.ico"});
    form->runAction(ActionId::ExportAllIcons);
    EXPECT_EQ(filesIn("out"), (std::vector<std::string>{"c0000.ico", "c0001.ico"}));
    dialogs->fileAnswers.push_back(std::vector<std::string>{out() + "/s.ico"});
    form->runAction(ActionId::ExportIcons);
    EXPECT_EQ(filesIn("out"), (std::vector<std::string>{"c0000.ico", "c0001.ico", "s0000.ico", "s0001.ico"}));
    EXPECT_EQ(progress->open, 0);
}

TEST_F(IconExport, AFileThatCannotBeCreatedStopsTheRun)
{
    startWithIcons(3);
    makeOut();
    // The second name is taken by a folder, so that file cannot be made.
    std::filesystem::create_directory(path("out/f0001.ico"));
    dialogs->fileAnswers.push_back(std::vector<std::string>{out() + "/f.ico"});
    form->runAction(ActionId::ExportAllIcons);
    EXPECT_EQ(prompt->texts(), (std::vector<std::string>{"Cannot create file " + out() + "/f0001.ico"}));
    EXPECT_EQ(filesIn("out"), (std::vector<std::string>{"f0000.ico"}));
    EXPECT_EQ(progress->open, 0);
    EXPECT_FALSE(form->FModified);
}

TEST_F(IconExport, ExportingANodesIconsIsDisabled)
{
    startWindow();
    EXPECT_FALSE(form->action(ActionId::ExportTreeNodeIcons)->isEnabled());
}

} // namespace
