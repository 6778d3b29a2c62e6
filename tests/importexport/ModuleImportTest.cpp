// Importing modules into the window: by the command's dialog, by drops from a file manager and
// from the command line; placement of the new nodes, their images, the figures, cancelling.

#include "ImportExportFixture.h"
#include "support/PeWriter.h"

#include <QCoreApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

using namespace importexport;
using namespace pewriter;
using pictarium::ActionId;

namespace {

class ModuleImport : public Window {
protected:
    // A module with n 32x32 icons.
    std::string module(const std::string &name, std::size_t n) { return writeFile(name, writePe(coloredGroups(n)).bytes); }
    // A module whose only resource is no icon.
    std::string iconless(const std::string &name) { return writeFile(name, writePe({{num(6), num(1), 0x409, tag(1)}}).bytes); }
};

TEST_F(ModuleImport, CommandSetsUpTheDialogAndImportsEachModuleAsANode)
{
    startWindow();
    const std::string a = module("Alpha.dll", 3);
    const std::string b = module("beta.v2.exe", 1);
    chooseFiles({a, b});
    form->runAction(ActionId::ImportExeDllFile);

    ASSERT_EQ(dialogs->fileRuns.size(), 1u);
    const auto &run = dialogs->fileRuns[0];
    EXPECT_EQ(run.kind, pictarium::TFileDialog::Kind::Open);
    EXPECT_EQ(run.filter, "EXE FILE AND DLL FILE|*.exe;*.dll");
    EXPECT_EQ(run.defaultExt, ".exe");
    EXPECT_EQ(run.options, pictarium::ofHideReadOnly | pictarium::ofAllowMultiSelect | pictarium::ofFileMustExist |
                               pictarium::ofEnableSizing);

    EXPECT_EQ(topTitles(), (std::vector<std::string>{"Alpha", "beta"}));
    const LibraryNode *alpha = node(0);
    EXPECT_EQ(entrySizes(alpha), (std::vector<std::size_t>{766, 766, 766}));
    EXPECT_EQ(alpha->block->Size(), 2314);
    EXPECT_EQ(alpha->imageIndex, 3);
    EXPECT_EQ(alpha->selectedIndex, 0);
    // The last module's node ends up selected and shown.
    EXPECT_EQ(form->selectedNode(), node(1));
    EXPECT_EQ(captions(), (std::vector<std::string>{"Icon0"}));
    EXPECT_EQ(form->FIconTotal, 4);
    EXPECT_TRUE(form->FModified);
    EXPECT_EQ(panel(4), "图标总数:4");
    EXPECT_EQ(panel(2), "修改");
    EXPECT_EQ(panel(0), "图标个数:1");
    EXPECT_TRUE(prompt->shown.empty());
}

TEST_F(ModuleImport, AnIconlessModuleGetsANodeOnlyWhenChosenAlone)
{
    startWindow();
    const std::string none = iconless("NoIcons.dll");
    const std::string other = module("other.dll", 2);

    chooseFiles({none});
    form->runAction(ActionId::ImportExeDllFile);
    ASSERT_EQ(topTitles(), (std::vector<std::string>{"NoIcons"}));
    ASSERT_TRUE(node(0)->block);
    EXPECT_EQ(node(0)->block->Count(), 0);
    EXPECT_EQ(node(0)->block->Size(), 4);
    EXPECT_TRUE(captions().empty()) << "an empty block shows no items, not the No Icon item";
    EXPECT_TRUE(form->FModified);

    chooseFiles({none, other});
    form->runAction(ActionId::ImportExeDllFile);
    EXPECT_EQ(topTitles(), (std::vector<std::string>{"NoIcons", "other"}));
    EXPECT_EQ(form->FIconTotal, 2);
}

TEST_F(ModuleImport, NodesGoAfterTheSelectedNodeAmongItsSiblings)
{
    startWindow();
    LibraryNode *top = addNode("Top", std::nullopt);
    LibraryNode *child = addNode("Child", std::nullopt, top);
    addNode("Second", std::nullopt, top);
    addNode("After", std::nullopt);
    form->selectNode(child);

    chooseFiles({module("one.dll", 1), module("two.dll", 1)});
    form->runAction(ActionId::ImportExeDllFile);

    std::vector<std::string> children;
    for (const auto &c : top->children())
        children.push_back(titleOf(c.get()));
    EXPECT_EQ(children, (std::vector<std::string>{"Child", "Second", "one", "two"}));
    EXPECT_EQ(topTitles(), (std::vector<std::string>{"Top", "After"}));
    EXPECT_EQ(titleOf(form->selectedNode()), "two");

    // Without a selection the node is the last top-level one.
    form->selectNode(nullptr);
    chooseFiles({module("three.dll", 1)});
    form->runAction(ActionId::ImportExeDllFile);
    EXPECT_EQ(topTitles(), (std::vector<std::string>{"Top", "After", "three"}));
}

TEST_F(ModuleImport, CancellingTheDialogOrTheRunChangesNothing)
{
    startWindow();
    addNode("Keep", std::vector<Bytes>{testbytes::ico16(1)});
    form->FIconTotal = 1;
    const std::string a = module("a.dll", 2), b = module("b.dll", 2), c = module("c.dll", 2);

    cancelDialog();
    form->runAction(ActionId::ImportExeDllFile);
    EXPECT_TRUE(progress->runs.empty());

    progress->cancelAtStep = 2; // Cancel pressed while the third module is next
    chooseFiles({a, b, c});
    form->runAction(ActionId::ImportExeDllFile);
    ASSERT_EQ(progress->runs.size(), 1u);
    EXPECT_EQ(progress->runs[0].total, 3u);
    EXPECT_EQ(progress->runs[0].steps, (std::vector<std::string>{a, b, c}));
    EXPECT_EQ(progress->open, 0);

    EXPECT_EQ(topTitles(), (std::vector<std::string>{"Keep"}));
    EXPECT_EQ(form->FIconTotal, 1);
    EXPECT_FALSE(form->FModified);
    EXPECT_TRUE(prompt->shown.empty());
}

TEST_F(ModuleImport, DropsImportModulesInDropOrderAndIgnoreOtherFiles)
{
    startWindow();
    const std::string a = module("A.DLL", 1);
    const std::string b = module("b.Exe", 2);
    const std::string c = writeFile("c.ico", testbytes::ico16(3));
    const std::string d = writeFile("d.ilf", testbytes::str("not a library"));
    const std::string e = iconless("e.dll");

    QMimeData mime;
    QList<QUrl> urls;
    for (const auto &p : {a, b, c, d, e})
        urls.push_back(QUrl::fromLocalFile(QString::fromStdString(p)));
    urls.push_back(QUrl(QStringLiteral("https://example.org/f.dll"))); // not a local file
    mime.setUrls(urls);
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(form.get(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(form.get(), &drop);

    ASSERT_EQ(topTitles(), (std::vector<std::string>{"A", "b", "e"}));
    EXPECT_EQ(node(2)->block->Count(), 0) << "a dropped module without icons still gets its node";
    EXPECT_EQ(form->FIconTotal, 3);
    EXPECT_TRUE(prompt->shown.empty());

    // Nothing to import: no progress, no change.
    form->FModified = false;
    form->WMDropFiles({c, d, path("missing.dll")});
    EXPECT_EQ(topTitles(), (std::vector<std::string>{"A", "b", "e"}));
    EXPECT_FALSE(form->FModified);
}

TEST_F(ModuleImport, CommandLineModulesAreImportedAtStartUp)
{
    const std::string lib = writeLibrary("lib.ilf", {testbytes::ico16(1)});
    const std::string m = module("tool.exe", 2);
    startWindow({m, lib, path("gone.dll")});
    EXPECT_EQ(topTitles(), (std::vector<std::string>{"A", "B", "tool"}));
    EXPECT_EQ(form->FIconTotal, 3);
    EXPECT_TRUE(form->FModified);
    EXPECT_EQ(panel(4), "图标总数:3");
}

} // namespace
