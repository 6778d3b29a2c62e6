// The action table, its shortcuts, and the menus, toolbar and popups built from it.

#include "FormFixture.h"

#include "platform/PlatformError.h"

#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

namespace formtest {
namespace {

using pictarium::ActionId;

TEST(ActionTable, RowsAreInIdOrderWithUniqueNames)
{
    const auto &table = pictarium::actionTable();
    std::set<std::string> names;
    for (std::size_t i = 0; i < table.size(); ++i) {
        EXPECT_EQ(static_cast<std::size_t>(table[i].id), i) << table[i].name;
        EXPECT_TRUE(names.insert(table[i].name).second) << table[i].name;
    }
}

TEST(ActionTable, StoredShortcutsBecomeKeySequences)
{
    struct Case {
        int stored;
        QKeySequence expected;
    };
    for (const Case &c : {Case{16462, QKeySequence(Qt::CTRL | Qt::Key_N)}, Case{16467, QKeySequence(Qt::CTRL | Qt::Key_S)},
                          Case{46, QKeySequence(Qt::Key_Delete)}, Case{16451, QKeySequence(Qt::CTRL | Qt::Key_C)},
                          Case{16472, QKeySequence(Qt::CTRL | Qt::Key_X)}, Case{16470, QKeySequence(Qt::CTRL | Qt::Key_V)},
                          Case{32856, QKeySequence(Qt::ALT | Qt::Key_X)}, Case{16449, QKeySequence(Qt::CTRL | Qt::Key_A)},
                          Case{0x2000 | '1', QKeySequence(Qt::SHIFT | Qt::Key_1)}, Case{0, QKeySequence()},
                          Case{0x70, QKeySequence()}}) {
        EXPECT_EQ(pictarium::shortcutFromStored(c.stored), c.expected) << c.stored;
    }
}

class Actions : public Form {};

TEST_F(Actions, CaptionsShortcutsAndEnabledStateFollowTheTable)
{
    start();
    struct Case {
        ActionId id;
        const char *caption;
        QKeySequence shortcut;
        bool enabled;
    };
    for (const Case &c : {
             Case{ActionId::CreatNewILFFile, "新建(&N)", QKeySequence(Qt::CTRL | Qt::Key_N), true},
             Case{ActionId::OpenILFFile, "打开文件(&N)...", {}, true},
             Case{ActionId::SaveILFFile, "保存文件(&S)", QKeySequence(Qt::CTRL | Qt::Key_S), true},
             Case{ActionId::DelSelectedIcons, "删除所选图标", QKeySequence(Qt::Key_Delete), true},
             Case{ActionId::SysExit, "退出(&X)", QKeySequence(Qt::ALT | Qt::Key_X), true},
             Case{ActionId::SelectedAllIcons, "选择所有图标", QKeySequence(Qt::CTRL | Qt::Key_A), true},
             Case{ActionId::ImportILFFile, "导入ILF文件中的图标", {}, false},
             Case{ActionId::ExportTreeNodeIcons, "导出节点的所有图标", {}, false},
             Case{ActionId::SetIconSize, "SetIconSize", {}, false},
         }) {
        QAction *a = form->action(c.id);
        EXPECT_EQ(a->text(), QString::fromUtf8(c.caption));
        EXPECT_EQ(a->shortcut(), c.shortcut) << c.caption;
        EXPECT_EQ(a->isEnabled(), c.enabled) << c.caption;
    }
    int disabled = 0;
    for (const auto &def : pictarium::actionTable())
        disabled += form->action(def.id)->isEnabled() ? 0 : 1;
    EXPECT_EQ(disabled, 3);
}

// The captions of a menu's entries, "-" for separators, submenus as "title>".
std::vector<std::string> entries(const QMenu *menu)
{
    std::vector<std::string> e;
    for (QAction *a : menu->actions()) {
        if (a->isSeparator())
            e.push_back("-");
        else
            e.push_back(a->text().toStdString() + (a->menu() ? ">" : ""));
    }
    return e;
}

const QMenu *submenu(const QMenu *menu, const char *title)
{
    for (QAction *a : menu->actions())
        if (a->menu() && a->text() == QString::fromUtf8(title))
            return a->menu();
    return nullptr;
}

TEST_F(Actions, MenusListTheirEntriesInOrder)
{
    start();
    std::vector<std::string> bar;
    std::vector<const QMenu *> menus;
    for (QAction *a : form->menuBar()->actions()) {
        bar.push_back(a->text().toStdString());
        menus.push_back(a->menu());
    }
    ASSERT_EQ(bar, (std::vector<std::string>{"文件&F", "编辑(&E)", "选项(&O)", "工具", "帮助"}));
    EXPECT_EQ(entries(menus[0]), (std::vector<std::string>{"新建(&N)", "打开文件(&N)...", "保存文件(&S)", "另存为(&A)...",
                                                          "-", "导入>", "导出>", "-", "退出(&X)"}));
    EXPECT_EQ(entries(submenu(menus[0], "导入")),
              (std::vector<std::string>{"导入EXE/DLL文件的图标", "导入图标文件", "导入位图文件", "-", "导入ILF文件中的图标"}));
    EXPECT_EQ(entries(submenu(menus[0], "导出")),
              (std::vector<std::string>{"导出16x16的图标", "另存为位图文件...", "-", "导出单个图标文件", "导出所选的多个图标",
                                        "导出目录的所有图标", "导出节点的所有图标", "-", "导出节点的图标到ILF文件"}));
    EXPECT_EQ(entries(menus[1]), (std::vector<std::string>{"新增子标题", "新增标题", "编辑标题", "删除标题", "-", "拷贝到剪贴板",
                                                          "剪贴到剪贴板", "粘贴图标", "删除单个图标", "删除所选图标",
                                                          "选择所有图标"}));
    EXPECT_EQ(entries(menus[2]), std::vector<std::string>{"设置导出位图的底色"});
    EXPECT_EQ(entries(menus[3]), (std::vector<std::string>{"视图>", "删除没有图标和子节点的节点"}));
    EXPECT_EQ(entries(submenu(menus[3], "视图")), (std::vector<std::string>{"大图标", "小图标", "列表"}));
    EXPECT_EQ(entries(menus[4]), (std::vector<std::string>{"帮助(&H)", "索取源程序", "关于(&A)..."}));

    EXPECT_EQ(entries(form->TreeViewPopupMenu),
              (std::vector<std::string>{"新增标题", "新增子标题", "-", "删除标题", "编辑标题", "-", "导出节点的所有图标",
                                        "导出节点的图标到ILF文件"}));
    EXPECT_EQ(entries(form->ListPopupMenu),
              (std::vector<std::string>{"导出16x16的图标", "另存为位图文件...", "-", "导出单个图标文件", "导出所选的多个图标",
                                        "导出目录的所有图标", "-", "删除所选图标", "粘贴图标", "拷贝到剪贴板", "剪贴到剪贴板",
                                        "选择所有图标"}));
}

TEST_F(Actions, DisabledActionsAreGreyEverywhereAndPopupsShowNoImages)
{
    start();
    for (const QMenu *popup : {static_cast<const QMenu *>(form->TreeViewPopupMenu), static_cast<const QMenu *>(form->ListPopupMenu)}) {
        for (QAction *a : popup->actions()) {
            EXPECT_TRUE(a->icon().isNull()) << a->text().toStdString();
            if (a->text() == QStringLiteral("导出节点的所有图标")) {
                EXPECT_FALSE(a->isEnabled());
            }
        }
    }
    const QMenu *import = submenu(form->menuBar()->actions()[0]->menu(), "导入");
    EXPECT_FALSE(import->actions().back()->isEnabled());
}

TEST_F(Actions, ToolbarButtonsInOrder)
{
    start();
    std::vector<std::string> names;
    for (QAction *a : form->ToolBar1->actions()) {
        if (a->isSeparator())
            names.push_back("-");
        else if (auto *w = qobject_cast<QToolButton *>(form->ToolBar1->widgetForAction(a)); w && w->menu())
            names.push_back("视图>");
        else
            names.push_back(a->objectName().toStdString());
    }
    EXPECT_EQ(names, (std::vector<std::string>{"CreatNewILFFile", "OpenILFFile", "SaveILFFile", "-", "EditTreeNode",
                                               "CopyIcons", "CutIcons", "PasteIcons", "-", "视图>", "-"}));
    EXPECT_FALSE(form->action(ActionId::CreatNewILFFile)->icon().isNull());
}

TEST_F(Actions, RightClickOnATreeNodeSelectsItBeforeThePopup)
{
    start();
    form->treeModel().add(nullptr, testbytes::str("A"));
    auto *b = form->treeModel().add(nullptr, testbytes::str("B"));
    form->resize(600, 400);
    form->show();
    form->selectNode(node(0));
    const QRect r = form->TreeView->visualRect(form->treeModel().indexOf(b));
    emit form->TreeView->customContextMenuRequested(r.center());
    EXPECT_EQ(form->selectedNode(), b);
    EXPECT_TRUE(form->TreeViewPopupMenu->isVisible());
    form->TreeViewPopupMenu->hide();
}

TEST_F(Actions, ACommandsExceptionIsShownAndTheProgramGoesOn)
{
    start();
    EXPECT_FALSE(form->guarded([] { throw pictarium::PlatformError("Cannot open file x"); }));
    EXPECT_TRUE(form->guarded([] {}));
    ASSERT_EQ(prompt->shown.size(), 1u);
    EXPECT_EQ(prompt->shown[0].text, "Cannot open file x");
    EXPECT_EQ(prompt->shown[0].caption, "Pictarium");
    EXPECT_EQ(prompt->shown[0].icon, pictarium::MsgIcon::Error);
}

} // namespace
} // namespace formtest
