#include "app/Actions.h"

#include "app/MainForm.h"

namespace pictarium {

namespace {

using F = TMainForm;
using A = ActionId;

constexpr int kCtrl = 0x4000;
constexpr int kAlt = 0x8000;
constexpr int kShift = 0x2000;
constexpr int kVkDelete = 0x2E;

const std::array<ActionDef, kActionCount> kActions{{
    {A::CreatNewILFFile, "CreatNewILFFile", "新建(&N)", kCtrl | 'N', 0, &F::CreatNewILFFileExecute},
    {A::OpenILFFile, "OpenILFFile", "打开文件(&N)...", 0, 1, &F::OpenILFFileExecute},
    {A::SaveILFFile, "SaveILFFile", "保存文件(&S)", kCtrl | 'S', 2, &F::SaveILFFileExecute},
    {A::SaveAsILFFile, "SaveAsILFFile", "另存为(&A)...", 0, -1, &F::SaveAsILFFileExecute},
    {A::ImportExeDllFile, "ImportExeDllFile", "导入EXE/DLL文件的图标", 0, -1, &F::ImportExeDllFileExecute},
    {A::ImportIconFile, "ImportIconFile", "导入图标文件", 0, -1, &F::ImportIconFileExecute},
    {A::ImportILFFile, "ImportILFFile", "导入ILF文件中的图标", 0, -1, nullptr},
    {A::ExportOneIcon, "ExportOneIcon", "导出单个图标文件", 0, -1, &F::ExportOneIconExecute},
    {A::ExportIcons, "ExportIcons", "导出所选的多个图标", 0, -1, &F::ExportIconsExecute},
    {A::ExportTreeNodeIcons, "ExportTreeNodeIcons", "导出节点的所有图标", 0, -1, nullptr},
    {A::ExportAllIcons, "ExportAllIcons", "导出目录的所有图标", 0, -1, &F::ExportAllIconsExecute},
    {A::ExportTreeNodeToILFFile, "ExportTreeNodeToILFFile", "导出节点的图标到ILF文件", 0, -1,
     &F::ExportTreeNodeToILFFileExecute},
    {A::DelOneIcon, "DelOneIcon", "删除单个图标", 0, -1, &F::DelOneIconExecute},
    {A::DelSelectedIcons, "DelSelectedIcons", "删除所选图标", kVkDelete, -1, &F::DelSelectedIconsExecute},
    {A::CopyIcons, "CopyIcons", "拷贝到剪贴板", kCtrl | 'C', 12, &F::CopyIconsExecute},
    {A::CutIcons, "CutIcons", "剪贴到剪贴板", kCtrl | 'X', 11, &F::CutIconsExecute},
    {A::PasteIcons, "PasteIcons", "粘贴图标", kCtrl | 'V', 13, &F::PasteIconsExecute},
    {A::DelTreeNode, "DelTreeNode", "删除标题", 0, -1, &F::DelTreeNodeExecute},
    {A::EditTreeNode, "EditTreeNode", "编辑标题", 0, 4, &F::EditTreeNodeExecute},
    {A::SysHelp, "SysHelp", "帮助(&H)", 0, 10, &F::SysHelpExecute},
    {A::SysAbout, "SysAbout", "关于(&A)...", 0, -1, &F::SysAboutExecute},
    {A::SysExit, "SysExit", "退出(&X)", kAlt | 'X', -1, &F::SysExitExecute},
    {A::SelectedAllIcons, "SelectedAllIcons", "选择所有图标", kCtrl | 'A', -1, &F::SelectedAllIconsExecute},
    {A::CreateTreeNode, "CreateTreeNode", "新增标题", 0, -1, &F::CreateTreeNodeExecute},
    {A::CreateChildTreeNode, "CreateChildTreeNode", "新增子标题", 0, -1, &F::CreateChildTreeNodeExecute},
    {A::SetIconSize, "SetIconSize", "SetIconSize", 0, -1, nullptr},
    {A::DelNullDataNode, "DelNullDataNode", "删除没有图标和子节点的节点", 0, -1, &F::DelNullDataNodeExecute},
    {A::Export16x16Icon, "Export16x16Icon", "导出16x16的图标", 0, -1, &F::Export16x16IconExecute},
    {A::ImportBmpFile, "ImportBmpFile", "导入位图文件", 0, -1, &F::ImportBmpFileExecute},
    {A::SaveAsBmpFile, "SaveAsBmpFile", "另存为位图文件...", 0, -1, &F::SaveAsBmpFileExecute},
    {A::SetOutPutBmpColor, "SetOutPutBmpColor", "设置导出位图的底色", 0, -1, &F::SetOutPutBmpColorExecute},
}};

constexpr MenuEntry act(ActionId id) { return {MenuEntry::Kind::Action, id}; }
constexpr MenuEntry sep() { return {MenuEntry::Kind::Separator}; }
constexpr MenuEntry sub(const char *caption, std::span<const MenuEntry> entries)
{
    return {MenuEntry::Kind::Submenu, {}, caption, entries};
}
constexpr MenuEntry item(const char *caption, Handler handler)
{
    return {MenuEntry::Kind::Item, {}, caption, {}, handler};
}

const MenuEntry kImportMenu[] = {act(A::ImportExeDllFile), act(A::ImportIconFile), act(A::ImportBmpFile), sep(),
                                 act(A::ImportILFFile)};
const MenuEntry kExportMenu[] = {act(A::Export16x16Icon), act(A::SaveAsBmpFile), sep(),
                                 act(A::ExportOneIcon), act(A::ExportIcons), act(A::ExportAllIcons),
                                 act(A::ExportTreeNodeIcons), sep(), act(A::ExportTreeNodeToILFFile)};
const MenuEntry kFileMenu[] = {act(A::CreatNewILFFile), act(A::OpenILFFile), act(A::SaveILFFile),
                               act(A::SaveAsILFFile), sep(), sub("导入", kImportMenu), sub("导出", kExportMenu),
                               sep(), act(A::SysExit)};
const MenuEntry kEditMenu[] = {act(A::CreateChildTreeNode), act(A::CreateTreeNode), act(A::EditTreeNode),
                               act(A::DelTreeNode), sep(), act(A::CopyIcons), act(A::CutIcons),
                               act(A::PasteIcons), act(A::DelOneIcon), act(A::DelSelectedIcons),
                               act(A::SelectedAllIcons)};
const MenuEntry kOptionMenu[] = {act(A::SetOutPutBmpColor)};
const MenuEntry kViewMenu[] = {item("大图标", &F::SetListViewBigClick), item("小图标", &F::SetListViewSmallClick),
                               item("列表", &F::SetListViewListClick)};
const MenuEntry kToolMenu[] = {sub("视图", kViewMenu), act(A::DelNullDataNode)};
const MenuEntry kHelpMenu[] = {act(A::SysHelp), item("索取源程序", &F::N41Click), act(A::SysAbout)};

const MenuSpec kMainMenu[] = {
    {"文件&F", kFileMenu}, {"编辑(&E)", kEditMenu}, {"选项(&O)", kOptionMenu}, {"工具", kToolMenu}, {"帮助", kHelpMenu},
};

const MenuEntry kTreePopup[] = {act(A::CreateTreeNode), act(A::CreateChildTreeNode), sep(), act(A::DelTreeNode),
                                act(A::EditTreeNode), sep(), act(A::ExportTreeNodeIcons),
                                act(A::ExportTreeNodeToILFFile)};
const MenuEntry kListPopup[] = {act(A::Export16x16Icon), act(A::SaveAsBmpFile), sep(), act(A::ExportOneIcon),
                                act(A::ExportIcons), act(A::ExportAllIcons), sep(), act(A::DelSelectedIcons),
                                act(A::PasteIcons), act(A::CopyIcons), act(A::CutIcons), act(A::SelectedAllIcons)};
const MenuEntry kToolbar[] = {act(A::CreatNewILFFile), act(A::OpenILFFile), act(A::SaveILFFile), sep(),
                              act(A::EditTreeNode), act(A::CopyIcons), act(A::CutIcons), act(A::PasteIcons), sep(),
                              sub("视图", kViewMenu), sep()};

} // namespace

const std::array<ActionDef, kActionCount> &actionTable() { return kActions; }

const ActionDef &actionDef(ActionId id) { return kActions[static_cast<std::size_t>(id)]; }

QKeySequence shortcutFromStored(int stored)
{
    if (stored == 0)
        return {};
    const int vk = stored & 0xff;
    int key = 0;
    if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z'))
        key = Qt::Key_0 + (vk - '0'); // Qt's letter and digit keys are their ASCII codes
    else if (vk == kVkDelete)
        key = Qt::Key_Delete;
    else
        return {};
    Qt::KeyboardModifiers mods;
    if (stored & kShift)
        mods |= Qt::ShiftModifier;
    if (stored & kCtrl)
        mods |= Qt::ControlModifier;
    if (stored & kAlt)
        mods |= Qt::AltModifier;
    return QKeySequence(QKeyCombination(mods, static_cast<Qt::Key>(key)));
}

std::span<const MenuSpec> mainMenuDef() { return kMainMenu; }
std::span<const MenuEntry> viewMenuEntries() { return kViewMenu; }
std::span<const MenuEntry> treePopupEntries() { return kTreePopup; }
std::span<const MenuEntry> listPopupEntries() { return kListPopup; }
std::span<const MenuEntry> toolbarEntries() { return kToolbar; }

} // namespace pictarium
