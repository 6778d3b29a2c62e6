// The document: start-up, New, Open, Save, Save As, closing, and library files.

#include "app/IconListModel.h"
#include "app/LibraryTreeModel.h"
#include "app/MainForm.h"
#include "library/Iconfat.h"
#include "library/ModuleImport.h"
#include "platform/FileIO.h"
#include "platform/PlatformError.h"

#include <QTreeView>

namespace pictarium {


void TMainForm::setDocumentName(const std::string &name)
{
    FFileName = name;
    setWindowTitle(QString::fromStdString(kCaptionPrefix + name));
}

void TMainForm::FormCreate(const std::vector<std::string> &args)
{
    guarded([&] {
        RegisterFileType();
        FFileSize = 0;
        FIconTotal = 0;
        FNodeIconCount = 0;
        FModified = false;
        UpdateStatusBar(sfAll);
        setAcceptDrops(true);
        RegisterIconClipboardFormat();
        LoadSettings();

        bool read = false;
        for (const std::string &arg : args) {
            if (lowerExtension(arg) == ".ilf" && ReadILFFile(arg)) {
                read = true;
                break;
            }
        }
        if (!read)
            setDocumentName(kUntitledName);

        for (const std::string &arg : args) {
            if (isModuleFile(arg))
                ImportModuleIcons(arg, true);
        }
    });
}

bool TMainForm::ReadILFFile(const std::string &path)
{
    if (!fileExists(path))
        return false;
    const Bytes bytes = readWholeFile(path);
    IlfReadResult parsed = parseILF(bytes);
    if (std::holds_alternative<IlfRejected>(parsed)) {
        prompt().ShowMessage("File Error!!");
        UpdateStatusBar(sfFileSize | sfIconTotal);
        return false;
    }
    // A bad title level refuses the whole file; the open document stays as it was.
    if (const auto *bad = std::get_if<IlfInvalidLevel>(&parsed))
        throw PlatformError(bad->message());

    auto &contents = std::get<IlfContents>(parsed);
    FFileSize = static_cast<std::int32_t>(bytes.size());
    FIconTotal = 0;
    setDocumentName(path);
    treeModel_->replaceTree(std::move(contents.tree));
    FIconTotal = contents.iconTotal;
    UpdateStatusBar(sfFileSize | sfIconTotal);
    return true;
}

bool TMainForm::WriteILFFile(const std::string &path)
{
    const std::size_t written = saveILF(path, tree_);
    FFileSize = static_cast<std::int32_t>(written);
    FModified = false;
    UpdateStatusBar(sfFileSize | sfModified);
    return true;
}

void TMainForm::CreatNewILFFileExecute()
{
    if (!askToSaveChanges())
        return;
    treeModel_->freeAllBlocks();
    iconModel_->clear();
    treeModel_->clear();
    setDocumentName(kUntitledName);
    FModified = true;
    FFileSize = 0;
    FIconTotal = 0;
    FNodeIconCount = 0;
    UpdateStatusBar(sfAll);
}

void TMainForm::OpenILFFileExecute()
{
    if (!askToSaveChanges())
        return;
    OpenDialog1.DefaultExt = ".ILF";
    OpenDialog1.Filter = kIlfFilter;
    OpenDialog1.FilterIndex = 1;
    OpenDialog1.Options = ofHideReadOnly | ofFileMustExist | ofEnableSizing;
    if (OpenDialog1.Execute())
        ReadILFFile(OpenDialog1.FileName);
}

bool TMainForm::saveDocument()
{
    if (FFileName == kUntitledName)
        return saveDocumentAs();
    return WriteILFFile(FFileName);
}

bool TMainForm::saveDocumentAs()
{
    SaveDialog1.DefaultExt = ".ILF";
    SaveDialog1.Filter = kIlfFilter;
    SaveDialog1.FilterIndex = 1;
    if (!SaveDialog1.Execute())
        return false;
    setDocumentName(SaveDialog1.FileName);
    return WriteILFFile(FFileName);
}

void TMainForm::SaveILFFileExecute() { saveDocument(); }

void TMainForm::SaveAsILFFileExecute() { saveDocumentAs(); }

void TMainForm::ExportTreeNodeToILFFileExecute()
{
    if (!selectedNode())
        return;
    SaveDialog1.DefaultExt = ".ILF";
    SaveDialog1.Filter = kIlfFilter;
    SaveDialog1.FilterIndex = 1;
    if (SaveDialog1.Execute())
        prompt().ShowMessage("对不起，功能还没实现！");
}

void TMainForm::SysExitExecute() { close(); }

bool TMainForm::askToSaveChanges()
{
    if (!FModified)
        return true;
    switch (prompt().messageBox("文件已被修改，是否保存?", "警告", MsgButtons::YesNoCancel, MsgIcon::Warning)) {
    case MsgResult::Yes:
        // Going on without the save the user asked for would lose the changes.
        return saveDocument();
    case MsgResult::No:
        return true;
    default:
        return false;
    }
}

void TMainForm::FormCloseQuery(bool &canClose) { canClose = askToSaveChanges(); }

void TMainForm::FormDestroy()
{
    treeModel_->freeAllBlocks();
    SaveSettings();
}

} // namespace pictarium
