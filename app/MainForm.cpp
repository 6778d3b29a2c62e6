#include "app/MainForm.h"

#include "app/IconListModel.h"
#include "app/LibraryTreeModel.h"
#include "platform/PlatformError.h"
#include "ui_MainForm.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QHeaderView>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>

#include <new>

// The resources live in a static library; register them before the first use.
static void initResources() { Q_INIT_RESOURCE(pictarium); }

namespace pictarium {

namespace {

constexpr std::array<int, kStatusPanelCount> kPanelWidths{120, 120, 80, 120, 120, 50, 50, 50};
constexpr int kTreeWidth = 153;
constexpr int kGlyphCount = 23;

// Desktop theme icons that fit an image list slot; our own artwork stands in otherwise.
const char *themeNameOf(int index)
{
    switch (index) {
    case 1: return "document-open";
    case 2: return "document-save";
    case 10: return "help-contents";
    case 11: return "edit-cut";
    case 12: return "edit-copy";
    case 13: return "edit-paste";
    default: return nullptr;
    }
}

} // namespace

TMainForm::TMainForm(UiServices services, QWidget *parent)
    : QMainWindow(parent), ui_(std::make_unique<Ui::TMainForm>()), services_(std::move(services))
{
    if (!services_.prompt)
        services_.prompt = std::make_shared<QtPromptService>();
    if (!services_.dialogs)
        services_.dialogs = std::make_shared<QtDialogService>(this);
    if (!services_.progress)
        services_.progress = std::make_shared<QtProgressService>(this);
    OpenDialog1.service = services_.dialogs.get();
    SaveDialog1.service = services_.dialogs.get();
    ColorDialog1.service = services_.dialogs.get();
    OpenDialog1.Filter = "EXE FILE AND DLL FILE|*.exe;*.dll|ILF File|*.ilf|All File|*.*";
    OpenDialog1.Options = ofHideReadOnly | ofAllowMultiSelect | ofEnableSizing;
    SaveDialog1.Filter = "ILF 文件|*.ILF";
    SaveDialog1.Options = ofHideReadOnly | ofEnableSizing;

    initResources();
    ui_->setupUi(this);
    setWindowIcon(QIcon(QStringLiteral(":/icons/pictarium.png")));
    TreeView = ui_->TreeView;
    ListView1 = ui_->ListView1;
    ToolBar1 = ui_->ToolBar1;

    buildActions();
    buildViews();
    installDragHooks();
    buildMenus();
    buildStatusBar();
}

TMainForm::~TMainForm()
{
    if (!destroyed_) {
        destroyed_ = true;
        guarded([this] { FormDestroy(); });
    }
}

QIcon TMainForm::glyph(int index) const
{
    if (index < 0 || index >= kGlyphCount)
        return {};
    const QIcon own(QStringLiteral(":/glyphs/%1.png").arg(index, 2, 10, QLatin1Char('0')));
    if (const char *name = themeNameOf(index))
        return QIcon::fromTheme(QString::fromLatin1(name), own);
    return own;
}

void TMainForm::buildActions()
{
    for (const ActionDef &def : actionTable()) {
        auto *a = new QAction(QString::fromUtf8(def.caption), this);
        a->setObjectName(QString::fromLatin1(def.name));
        a->setShortcut(shortcutFromStored(def.shortcut));
        a->setShortcutContext(Qt::WindowShortcut);
        if (def.glyph >= 0)
            a->setIcon(glyph(def.glyph));
        a->setEnabled(def.handler != nullptr);
        const ActionId id = def.id;
        connect(a, &QAction::triggered, this, [this, id] { runAction(id); });
        actions_[static_cast<std::size_t>(def.id)] = a;
    }
    // Shortcuts work anywhere in the window, also for actions on no menu.
    for (QAction *a : actions_)
        addAction(a);
}

QMenu *TMainForm::buildMenu(QMenu *menu, std::span<const MenuEntry> entries, bool withGlyphs)
{
    for (const MenuEntry &e : entries) {
        switch (e.kind) {
        case MenuEntry::Kind::Separator:
            menu->addSeparator();
            break;
        case MenuEntry::Kind::Submenu:
            buildMenu(menu->addMenu(QString::fromUtf8(e.caption)), e.entries, withGlyphs);
            break;
        case MenuEntry::Kind::Item: {
            const Handler h = e.handler;
            menu->addAction(QString::fromUtf8(e.caption), this, [this, h] { guarded([this, h] { (this->*h)(); }); });
            break;
        }
        case MenuEntry::Kind::Action: {
            QAction *a = action(e.action);
            if (withGlyphs) {
                menu->addAction(a);
                break;
            }
            // Popup menus show no images: a stand-in item mirrors the action without its glyph.
            QAction *proxy = menu->addAction(a->text());
            proxy->setShortcut(a->shortcut());
            proxy->setShortcutContext(Qt::WidgetShortcut);
            proxy->setEnabled(a->isEnabled());
            connect(a, &QAction::changed, proxy, [a, proxy] {
                proxy->setText(a->text());
                proxy->setEnabled(a->isEnabled());
            });
            connect(proxy, &QAction::triggered, a, &QAction::trigger);
            break;
        }
        }
    }
    return menu;
}

void TMainForm::buildMenus()
{
    const std::array<QMenu *, 5> menus{ui_->FileMenu, ui_->EditMenu, ui_->OptionMenu, ui_->ToolMenu, ui_->HelpMenu};
    const auto defs = mainMenuDef();
    for (std::size_t i = 0; i < menus.size() && i < defs.size(); ++i) {
        menus[i]->setTitle(QString::fromUtf8(defs[i].caption));
        buildMenu(menus[i], defs[i].entries, true);
    }
    // The "视图" submenu of "工具", shared by the toolbar's drop-down button.
    for (QAction *a : ui_->ToolMenu->actions()) {
        if (a->menu()) {
            SetListViewOption = a->menu();
            SetListViewOption->setObjectName(QStringLiteral("SetListViewOption"));
            break;
        }
    }

    TreeViewPopupMenu = buildMenu(new QMenu(this), treePopupEntries(), false);
    TreeViewPopupMenu->setObjectName(QStringLiteral("TreeViewPopupMenu"));
    ListPopupMenu = buildMenu(new QMenu(this), listPopupEntries(), false);
    ListPopupMenu->setObjectName(QStringLiteral("ListPopupMenu"));

    for (const MenuEntry &e : toolbarEntries()) {
        switch (e.kind) {
        case MenuEntry::Kind::Action: ToolBar1->addAction(action(e.action)); break;
        case MenuEntry::Kind::Separator: ToolBar1->addSeparator(); break;
        case MenuEntry::Kind::Submenu: {
            auto *button = new QToolButton(ToolBar1);
            button->setObjectName(QStringLiteral("ViewButton"));
            // The caption is not shown: the button is a bare drop-down arrow.
            button->setToolTip(QString::fromUtf8(e.caption));
            button->setAccessibleName(QString::fromUtf8(e.caption));
            button->setMenu(SetListViewOption);
            button->setPopupMode(QToolButton::InstantPopup);
            button->setToolButtonStyle(Qt::ToolButtonIconOnly);
            button->setFixedSize(23, 22);
            ToolBar1->addWidget(button);
            break;
        }
        case MenuEntry::Kind::Item: break;
        }
    }
}

void TMainForm::buildStatusBar()
{
    QStatusBar *bar = statusBar();
    bar->setSizeGripEnabled(true);
    for (int i = 0; i < kStatusPanelCount; ++i) {
        auto *label = new QLabel(bar);
        label->setObjectName(QStringLiteral("Panel%1").arg(i));
        label->setFixedWidth(kPanelWidths[static_cast<std::size_t>(i)]);
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
        bar->addWidget(label);
        panels_[static_cast<std::size_t>(i)] = label;
    }
}

void TMainForm::buildViews()
{
    treeModel_ = new LibraryTreeModel(tree_, [this](int i) { return glyph(i); }, this);
    iconModel_ = new IconListModel(this);
    connect(treeModel_, &LibraryTreeModel::blocksAboutToChange, iconModel_, &IconListModel::releaseBlock);
    connect(treeModel_, &LibraryTreeModel::blockReplaced, iconModel_, &IconListModel::adoptReplacedBlock);

    TreeView->setModel(treeModel_);
    TreeView->setHeaderHidden(true);
    TreeView->setIndentation(19);
    TreeView->setSelectionMode(QAbstractItemView::SingleSelection);
    TreeView->setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed);
    TreeView->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(TreeView->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this] { guarded([this] { TreeViewChange(); }); });
    // The tree reports the loss of its selection when it is emptied.
    auto hadSelection = std::make_shared<bool>(false);
    connect(treeModel_, &QAbstractItemModel::modelAboutToBeReset, this,
            [this, hadSelection] { *hadSelection = TreeView->currentIndex().isValid(); });
    connect(treeModel_, &QAbstractItemModel::modelReset, this, [this, hadSelection] {
        if (*hadSelection)
            guarded([this] { TreeViewChange(); });
    });
    connect(TreeView, &QWidget::customContextMenuRequested, this, [this](const QPoint &pos) {
        // A right click selects the node under the mouse before the popup opens.
        const QModelIndex at = TreeView->indexAt(pos);
        if (at.isValid())
            TreeView->setCurrentIndex(at);
        TreeViewPopupMenu->popup(TreeView->viewport()->mapToGlobal(pos));
    });

    ListView1->setModel(iconModel_);
    ListView1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ListView1->setUniformItemSizes(true);
    ListView1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(ListView1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { ListPopupMenu->popup(ListView1->viewport()->mapToGlobal(pos)); });
    connect(ListView1->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { guarded([this] { ListView1Change(); }); });
    connect(iconModel_, &QAbstractItemModel::modelReset, this, [this] { guarded([this] { ListView1Change(); }); });
    connect(ListView1, &QAbstractItemView::doubleClicked, this, [this] { guarded([this] { ExportOneIconExecute(); }); });
    SetListViewBigClick();

    ui_->Splitter1->setSizes({kTreeWidth, width() - kTreeWidth});
    ui_->Splitter1->setStretchFactor(0, 0);
    ui_->Splitter1->setStretchFactor(1, 1);
}

QString TMainForm::panelText(int panel) const
{
    if (panel < 0 || panel >= kStatusPanelCount)
        return {};
    return panels_[static_cast<std::size_t>(panel)]->text();
}

LibraryNode *TMainForm::selectedNode() const { return LibraryTreeModel::nodeOf(TreeView->currentIndex()); }

void TMainForm::selectNode(LibraryNode *node)
{
    const QModelIndex i = treeModel_->indexOf(node);
    if (i.isValid())
        TreeView->setCurrentIndex(i);
    else
        TreeView->selectionModel()->clearCurrentIndex();
}

std::vector<std::int32_t> TMainForm::selectedItems() const
{
    std::vector<std::int32_t> rows;
    if (iconModel_->isPlaceholder())
        return rows;
    for (const QModelIndex &i : ListView1->selectionModel()->selectedIndexes())
        rows.push_back(i.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

bool TMainForm::guarded(const std::function<void()> &f)
{
    try {
        f();
        return true;
    } catch (const std::bad_alloc &) {
        prompt().ShowException("Out of memory");
    } catch (const std::exception &e) {
        prompt().ShowException(e.what());
    }
    return false;
}

void TMainForm::runAction(ActionId id)
{
    const ActionDef &def = actionDef(id);
    if (!def.handler)
        return;
    guarded([this, &def] { (this->*def.handler)(); });
}

void TMainForm::closeEvent(QCloseEvent *event)
{
    bool canClose = true;
    if (!guarded([&] { FormCloseQuery(canClose); }))
        canClose = false;
    if (canClose)
        event->accept();
    else
        event->ignore();
}

} // namespace pictarium

namespace pictarium {

namespace {
std::vector<std::string> droppedFiles(const QMimeData *mime)
{
    std::vector<std::string> files;
    if (!mime || !mime->hasUrls())
        return files;
    for (const QUrl &url : mime->urls()) {
        if (url.isLocalFile())
            files.push_back(url.toLocalFile().toStdString());
    }
    return files;
}
} // namespace

void TMainForm::dragEnterEvent(QDragEnterEvent *event)
{
    if (!droppedFiles(event->mimeData()).empty())
        event->acceptProposedAction();
}

void TMainForm::dropEvent(QDropEvent *event)
{
    const std::vector<std::string> files = droppedFiles(event->mimeData());
    if (files.empty())
        return;
    event->acceptProposedAction();
    guarded([this, &files] { WMDropFiles(files); });
}

} // namespace pictarium
