// Saving one icon under a chosen name and as a bitmap on the background colour, and choosing
// that colour.

#include "ImportExportFixture.h"
#include "support/ImageBytes.h"

#include <filesystem>

using namespace importexport;
using pictarium::ActionId;

namespace {

class BitmapExport : public Window {
protected:
    LibraryNode *startWithIcons(const std::vector<Bytes> &images)
    {
        startWindow();
        LibraryNode *n = addNode("N", images);
        form->selectNode(n);
        return n;
    }
    void saveAs(const std::string &name) { dialogs->fileAnswers.push_back(std::vector<std::string>{path(name)}); }

    // Pixel (x, y) of a 32-bit bottom-up bitmap file as 0x00RRGGBB.
    static std::uint32_t pixel(const Bytes &bmp, int x, int y)
    {
        const std::size_t at = 1078 + static_cast<std::size_t>((31 - y) * 32 + x) * 4;
        return static_cast<std::uint32_t>(bmp.at(at)) | static_cast<std::uint32_t>(bmp.at(at + 1)) << 8 |
               static_cast<std::uint32_t>(bmp.at(at + 2)) << 16;
    }
    static std::uint32_t le32At(const Bytes &b, std::size_t at)
    {
        return static_cast<std::uint32_t>(b.at(at)) | static_cast<std::uint32_t>(b.at(at + 1)) << 8 |
               static_cast<std::uint32_t>(b.at(at + 2)) << 16 | static_cast<std::uint32_t>(b.at(at + 3)) << 24;
    }
};

TEST_F(BitmapExport, SaveAsIconWritesTheStoredImageUnderTheWholeName)
{
    startWithIcons({testbytes::ico16(5)});
    selectItems({0});
    saveAs("a.b.ico");
    form->runAction(ActionId::Export16x16Icon);
    ASSERT_EQ(dialogs->fileRuns.size(), 1u);
    EXPECT_EQ(dialogs->fileRuns[0].filter, "图标文件(*.ICO)|*.ICO");
    EXPECT_EQ(dialogs->fileRuns[0].defaultExt, ".ICO");
    EXPECT_EQ(readFile("a.b.ico"), testbytes::ico16(5));
    EXPECT_TRUE(prompt->shown.empty());
}

TEST_F(BitmapExport, MessagesComeBeforeAnyDialog)
{
    struct Case {
        const char *what;
        std::optional<std::vector<Bytes>> images;
        std::vector<int> selected;
        const char *saveAsIcon;
        const char *saveAsBitmap;
    };
    const std::vector<Case> cases = {
        {"nothing selected", std::vector<Bytes>{testbytes::ico16(1)}, {}, "没有图标！", "没有选中图标！"},
        {"an empty slot selected", std::vector<Bytes>{Bytes{}, testbytes::ico16(1)}, {0, 1}, "没有图标！", "没有图标！"},
        {"the No Icon item selected", std::nullopt, {0}, "没有图标！", "没有图标！"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        startWindow();
        form->selectNode(addNode("N", c.images));
        selectItems(c.selected);
        prompt->shown.clear();
        dialogs->fileRuns.clear();
        form->runAction(ActionId::Export16x16Icon);
        form->runAction(ActionId::SaveAsBmpFile);
        EXPECT_EQ(prompt->texts(), (std::vector<std::string>{c.saveAsIcon, c.saveAsBitmap}));
        EXPECT_TRUE(dialogs->fileRuns.empty());
    }
}

TEST_F(BitmapExport, BitmapsAreSystemIconSizedOnTheBackgroundColour)
{
    // A 16x16 icon of one colour (no alpha, so the mask rules), transparent in its top-left 4x4 corner.
    std::vector<std::uint32_t> pixels(16 * 16, 0x0000FF00);
    std::vector<std::uint8_t> mask(16 * 16, 0);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) {
            mask[static_cast<std::size_t>(y * 16 + x)] = 1;
            pixels[static_cast<std::size_t>(y * 16 + x)] = 0; // black under the mask: drawn as-is
        }
    const Bytes small = testimages::ico(testimages::iconImage32(16, 16, pixels, mask), 0, 1, 16, 16);
    startWithIcons({small, testbytes::str("no icon at all")});
    form->FOutPutBmpColor = 0xFFFFFF; // the default background

    struct Case {
        const char *file;
        int item;
        std::optional<std::uint32_t> chosen; // colour confirmed in the colour dialog first
        std::uint32_t corner;                // 0x00RRGGBB at (0, 0)
        std::uint32_t middle;                // at (20, 20)
    };
    const std::vector<Case> cases = {
        {"white.bmp", 0, std::nullopt, 0xFFFFFF, 0x00FF00},
        {"red.bmp", 0, 0x0000FFu, 0xFF0000, 0x00FF00},
        {"broken.bmp", 1, std::nullopt, 0xFF0000, 0xFF0000}, // no icon: background only
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.file);
        if (c.chosen) {
            dialogs->colorAnswers.push_back(*c.chosen);
            form->runAction(ActionId::SetOutPutBmpColor);
        }
        selectItems({c.item});
        saveAs(c.file);
        form->runAction(ActionId::SaveAsBmpFile);
        EXPECT_EQ(dialogs->fileRuns.back().filter, "位图文件(*.bmp)|*.bmp");
        EXPECT_EQ(dialogs->fileRuns.back().defaultExt, ".bmp");
        const Bytes bmp = readFile(c.file);
        ASSERT_EQ(bmp.size(), 5174u);
        EXPECT_EQ(le32At(bmp, 10), 1078u);
        EXPECT_EQ(le32At(bmp, 18), 32u);
        EXPECT_EQ(le32At(bmp, 22), 32u);
        EXPECT_EQ(le32At(bmp, 46), 256u);
        // The 16x16 icon is enlarged: its 4x4 transparent corner covers 8x8.
        EXPECT_EQ(pixel(bmp, 0, 0), c.corner);
        EXPECT_EQ(pixel(bmp, 7, 7), c.corner);
        EXPECT_EQ(pixel(bmp, 20, 20), c.middle);
    }
    EXPECT_TRUE(prompt->shown.empty());
    EXPECT_FALSE(form->FModified);
}

TEST_F(BitmapExport, TheColourDialogKeepsItsOwnColour)
{
    startWindow();
    form->FOutPutBmpColor = 0x123456; // as the settings gave it
    EXPECT_EQ(form->ColorDialog1.Color, 0u) << "opens on black, not on the current background";

    dialogs->colorAnswers.push_back(std::nullopt);
    form->runAction(ActionId::SetOutPutBmpColor);
    EXPECT_EQ(form->FOutPutBmpColor, 0x123456u);

    dialogs->colorAnswers.push_back(0x00FF00u);
    form->runAction(ActionId::SetOutPutBmpColor);
    EXPECT_EQ(form->FOutPutBmpColor, 0x00FF00u);
    form->FOutPutBmpColor = 0xABCDEF;
    EXPECT_EQ(form->ColorDialog1.Color, 0x00FF00u) << "the next run opens on the colour last confirmed";
    EXPECT_EQ(dialogs->colorRuns, 2);
}

TEST_F(BitmapExport, CancellingTheSaveDialogWritesNothing)
{
    startWithIcons({testbytes::ico16(1)});
    selectItems({0});
    cancelDialog();
    form->runAction(ActionId::Export16x16Icon);
    cancelDialog();
    form->runAction(ActionId::SaveAsBmpFile);
    EXPECT_EQ(dialogs->fileRuns.size(), 2u);
    EXPECT_TRUE(filesIn().empty());
}

} // namespace
