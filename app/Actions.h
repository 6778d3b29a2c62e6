#pragma once
// Every command of the main window is one row of the action table; menus, toolbar and popups
// list action ids.

#include <QKeySequence>

#include <array>
#include <cstddef>
#include <span>

namespace pictarium {

class TMainForm;

enum class ActionId {
    CreatNewILFFile,
    OpenILFFile,
    SaveILFFile,
    SaveAsILFFile,
    ImportExeDllFile,
    ImportIconFile,
    ImportILFFile,
    ExportOneIcon,
    ExportIcons,
    ExportTreeNodeIcons,
    ExportAllIcons,
    ExportTreeNodeToILFFile,
    DelOneIcon,
    DelSelectedIcons,
    CopyIcons,
    CutIcons,
    PasteIcons,
    DelTreeNode,
    EditTreeNode,
    SysHelp,
    SysAbout,
    SysExit,
    SelectedAllIcons,
    CreateTreeNode,
    CreateChildTreeNode,
    SetIconSize,
    DelNullDataNode,
    Export16x16Icon,
    ImportBmpFile,
    SaveAsBmpFile,
    SetOutPutBmpColor,
};

inline constexpr std::size_t kActionCount = 31;

using Handler = void (TMainForm::*)();

struct ActionDef {
    ActionId id;
    const char *name;
    const char *caption;
    // Shortcut as the form stores it: low byte the virtual key, 0x2000 Shift, 0x4000 Ctrl,
    // 0x8000 Alt; 0 for none.
    int shortcut;
    // Index into the window's image list, -1 for none.
    int glyph;
    // Null: the action has no handler and stays disabled.
    Handler handler;
};

const std::array<ActionDef, kActionCount> &actionTable();
const ActionDef &actionDef(ActionId id);

// The key sequence of a stored shortcut value.
QKeySequence shortcutFromStored(int stored);

// Entries of a menu: an action, a separator, or a submenu given by its own list.
struct MenuEntry {
    enum class Kind { Action, Separator, Submenu, Item };
    Kind kind;
    ActionId action{};
    const char *caption = nullptr; // submenu or item caption
    std::span<const MenuEntry> entries{};
    Handler handler = nullptr; // for plain items with their own click handler
};

struct MenuSpec {
    const char *caption;
    std::span<const MenuEntry> entries;
};

std::span<const MenuSpec> mainMenuDef();
std::span<const MenuEntry> viewMenuEntries();
std::span<const MenuEntry> treePopupEntries();
std::span<const MenuEntry> listPopupEntries();
// Toolbar buttons; the view drop-down button is added by the window where Item stands.
std::span<const MenuEntry> toolbarEntries();

} // namespace pictarium
