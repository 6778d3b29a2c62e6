// Saving a stored icon under a name of the user's choice, and as a bitmap on a background
// colour.

#include "app/MainForm.h"
#include "library/IconExport.h"

namespace pictarium {

namespace {

// The selected item when it has an icon; otherwise the message (noSelection when no item is
// selected at all) and nothing.
std::optional<int> itemToSave(TMainForm &form, const char *noSelection)
{
    const int item = form.firstSelectedItem();
    if (item < 0) {
        form.prompt().ShowMessage(noSelection);
        return std::nullopt;
    }
    if (!GetIconEntry(form.selectedNode(), item)) {
        form.prompt().ShowMessage("没有图标！");
        return std::nullopt;
    }
    return item;
}

} // namespace

void TMainForm::Export16x16IconExecute()
{
    const auto item = itemToSave(*this, "没有图标！");
    if (!item)
        return;
    SaveDialog1.DefaultExt = ".ICO";
    SaveDialog1.Filter = "图标文件(*.ICO)|*.ICO";
    if (!SaveDialog1.Execute())
        return;
    // The stored image at its stored size, under the name exactly as chosen.
    WriteIconFile(*item, SaveDialog1.FileName);
}

void TMainForm::SaveAsBmpFileExecute()
{
    const auto item = itemToSave(*this, "没有选中图标！");
    if (!item)
        return;
    SaveDialog1.DefaultExt = ".bmp";
    SaveDialog1.Filter = "位图文件(*.bmp)|*.bmp";
    if (!SaveDialog1.Execute())
        return;
    if (const auto image = GetIconEntry(selectedNode(), *item))
        SaveAsBmpFile(*image, FOutPutBmpColor, SaveDialog1.FileName);
}

void TMainForm::SetOutPutBmpColorExecute()
{
    // The dialog opens on its own last colour, not on the current background.
    if (ColorDialog1.Execute())
        FOutPutBmpColor = ColorDialog1.Color;
}

} // namespace pictarium
