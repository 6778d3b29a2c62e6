// Importing ".ico" and ".bmp" files into the selected node: byte-for-byte and scaled entries,
// the figures, and all-or-nothing when a file fails or the run is cancelled.

#include "ImportExportFixture.h"
#include "support/PeWriter.h"

#include <filesystem>

using namespace importexport;
using pictarium::ActionId;

namespace {

class FileImport : public Window {
protected:
    // A node "N" holding one entry of 318 bytes, selected; FIconTotal counts it.
    LibraryNode *startWithSelectedNode()
    {
        startWindow();
        LibraryNode *n = addNode("N", std::vector<Bytes>{testbytes::filler(318, 1)});
        form->FIconTotal = 1;
        form->selectNode(n);
        return n;
    }
    void expectUnchanged(const LibraryNode *n)
    {
        EXPECT_EQ(entrySizes(n), (std::vector<std::size_t>{318}));
        EXPECT_EQ(form->FIconTotal, 1);
        EXPECT_FALSE(form->FModified);
        EXPECT_EQ(form->tree().count(), 1u);
    }
};

TEST_F(FileImport, IconFilesAreAppendedWholeInDialogOrder)
{
    LibraryNode *n = startWithSelectedNode();
    const Bytes big = testbytes::filler(2238, 7); // content is never checked
    const std::string a = writeFile("a.ico", testbytes::ico16(2));
    const std::string empty = writeFile("empty.ico", {});
    const std::string b = writeFile("b.ico", big);
    chooseFiles({a, empty, b});
    form->runAction(ActionId::ImportIconFile);

    ASSERT_EQ(dialogs->fileRuns.size(), 1u);
    EXPECT_EQ(dialogs->fileRuns[0].filter, "图标文件(*.ico)|*.ICO");
    EXPECT_EQ(dialogs->fileRuns[0].defaultExt, ".ICO");
    EXPECT_EQ(dialogs->fileRuns[0].options, pictarium::ofHideReadOnly | pictarium::ofAllowMultiSelect |
                                                pictarium::ofFileMustExist | pictarium::ofEnableSizing);

    EXPECT_EQ(entrySizes(n), (std::vector<std::size_t>{318, 766, 0, 2238}));
    EXPECT_EQ(n->block->Size(), 4 + 322 + 770 + 4 + 2242);
    const auto stored = n->block->image(3);
    ASSERT_TRUE(stored);
    EXPECT_EQ(Bytes(stored->begin(), stored->end()), big);
    EXPECT_EQ(form->FIconTotal, 4);
    EXPECT_TRUE(form->FModified);
    EXPECT_EQ(panel(4), "图标总数:4");
    EXPECT_EQ(panel(0), "图标个数:4");
    EXPECT_EQ(captions(), (std::vector<std::string>{"Icon0", "Icon1", "Icon2", "Icon3"}));
}

TEST_F(FileImport, BitmapsBecomeOneOpaqueIconEach)
{
    LibraryNode *n = startWithSelectedNode();
    const std::string wide = writeFile("wide.bmp", pewriter::bmp24(100, 20, 0xFF0000));
    const std::string small = writeFile("small.bmp", pewriter::bmp24(20, 20, 0x00FF00));
    const std::string sheet = writeFile("sheet.bmp", pewriter::bmp24(64, 16, 0xFFFFFF));
    chooseFiles({wide, small, sheet});
    form->runAction(ActionId::ImportBmpFile);

    ASSERT_EQ(dialogs->fileRuns.size(), 1u);
    EXPECT_EQ(dialogs->fileRuns[0].filter, "位图文件(*.bmp)|*.bmp");
    EXPECT_EQ(dialogs->fileRuns[0].defaultExt, ".bmp");

    EXPECT_EQ(entrySizes(n), (std::vector<std::size_t>{318, 766, 318, 766}));
    // Every mask bit of a bitmap icon is opaque, white included.
    for (const auto &[index, maskBytes] : {std::pair{1, 128}, std::pair{2, 64}, std::pair{3, 128}}) {
        const auto img = n->block->image(index);
        ASSERT_TRUE(img);
        EXPECT_TRUE(std::all_of(img->end() - maskBytes, img->end(), [](std::uint8_t b) { return b == 0; }))
            << "entry " << index;
    }
    EXPECT_EQ(form->FIconTotal, 4);
    EXPECT_EQ(panel(0), "图标个数:4");
}

struct BadFileCase {
    const char *name;
    Bytes content; // written unless missing
    bool missing;
    const char *message; // "%s" stands for the path
};

TEST_F(FileImport, AFileThatFailsChangesNothing)
{
    const std::vector<BadFileCase> cases = {
        {"text.bmp", testbytes::str("this is no bitmap at all"), false, "Bitmap image is not valid"},
        {"short.bmp", testbytes::str("BM12"), false, "Stream read error"},
        {"gone.bmp", {}, true, "Cannot open file %s"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        LibraryNode *n = startWithSelectedNode();
        prompt->shown.clear();
        const std::string good1 = writeFile("good1.bmp", pewriter::bmp24(32, 32, 0x0000FF));
        const std::string bad = c.missing ? path(c.name) : writeFile(c.name, c.content);
        const std::string good2 = writeFile("good2.bmp", pewriter::bmp24(8, 8, 0x0000FF));
        chooseFiles({good1, bad, good2});
        form->runAction(ActionId::ImportBmpFile);

        std::string expected = c.message;
        if (const auto at = expected.find("%s"); at != std::string::npos)
            expected.replace(at, 2, bad);
        EXPECT_EQ(prompt->texts(), (std::vector<std::string>{expected}));
        expectUnchanged(n);
        EXPECT_EQ(progress->open, 0);
    }

    // The same for an icon file that went away after it was chosen.
    LibraryNode *n = startWithSelectedNode();
    prompt->shown.clear();
    chooseFiles({writeFile("ok.ico", testbytes::ico16(1)), path("vanished.ico")});
    form->runAction(ActionId::ImportIconFile);
    EXPECT_EQ(prompt->texts(), (std::vector<std::string>{"Cannot open file " + path("vanished.ico")}));
    expectUnchanged(n);
}

TEST_F(FileImport, CancelledRunsChangeNothing)
{
    LibraryNode *n = startWithSelectedNode();
    const std::string a = writeFile("a.bmp", pewriter::bmp24(32, 32, 0));
    const std::string b = writeFile("b.bmp", pewriter::bmp24(32, 32, 0));

    cancelDialog();
    form->runAction(ActionId::ImportBmpFile);
    expectUnchanged(n);

    progress->cancelAtStep = 1;
    chooseFiles({a, b});
    form->runAction(ActionId::ImportBmpFile);
    expectUnchanged(n);
    chooseFiles({writeFile("x.ico", testbytes::ico16(0)), writeFile("y.ico", testbytes::ico16(1))});
    form->runAction(ActionId::ImportIconFile);
    expectUnchanged(n);
    ASSERT_EQ(progress->runs.size(), 2u);
    EXPECT_EQ(progress->runs[0].steps, (std::vector<std::string>{a, b}));
    EXPECT_EQ(progress->open, 0);
    EXPECT_TRUE(prompt->shown.empty());
}

TEST_F(FileImport, WithoutASelectedNodeANewNodeTakesTheIcons)
{
    startWindow();
    addNode("Old", std::nullopt);
    form->selectNode(nullptr);
    chooseFiles({writeFile("a.ico", testbytes::ico16(1))});
    form->runAction(ActionId::ImportIconFile);
    if (form->tree().count() == 1)
        GTEST_SKIP() << "making a node for the import needs the tree editing commands";

    LibraryNode *made = form->selectedNode();
    ASSERT_NE(made, nullptr);
    EXPECT_NE(titleOf(made), "Old");
    EXPECT_EQ(entrySizes(made), (std::vector<std::size_t>{766}));
    EXPECT_EQ(form->FIconTotal, 1);
    EXPECT_EQ(entrySizes(node(made == node(0) ? 1 : 0)), std::vector<std::size_t>{});
}

TEST_F(FileImport, AChildNodeSelectedTakesTheIcons)
{
    startWindow();
    LibraryNode *top = addNode("Top", std::vector<Bytes>{testbytes::ico16(1)});
    LibraryNode *child = addNode("Child", std::nullopt, top);
    form->selectNode(child);
    chooseFiles({writeFile("a.ico", testbytes::ico16(4))});
    form->runAction(ActionId::ImportIconFile);
    EXPECT_EQ(entrySizes(child), (std::vector<std::size_t>{766}));
    EXPECT_EQ(entrySizes(top), (std::vector<std::size_t>{766}));
    EXPECT_EQ(form->tree().count(), 2u);
    EXPECT_EQ(form->selectedNode(), child);
}

} // namespace
