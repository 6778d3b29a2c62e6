#pragma once
// The main window: owns the document (the title tree and its blocks), the controls, the
// actions and the shared dialogs. Its handlers are spread over files by subsystem:
//   app/Document.cpp        start-up, New/Open/Save/Save As, closing, library files
//   app/IconView.cpp        the icon view and the status bar
//   app/ShellCommands.cpp   help, About, file type registration, settings
//   import/*.cpp            module, icon file and bitmap import
//   export/*.cpp            icon file and bitmap export
//   editing/*.cpp           tree editing, icon transfer and deletion

#include "app/Actions.h"
#include "app/Dialogs.h"
#include "app/Progress.h"
#include "app/Prompt.h"
#include "library/LibraryTree.h"

#include <QIcon>
#include <QMainWindow>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QLabel;
class QListView;
class QMenu;
class QTreeView;
class QToolBar;

namespace Ui {
class TMainForm;
}

namespace pictarium {

class IconListModel;
class LibraryTreeModel;

// Status bar refresh bits.
enum StatusFlags : int {
    sfFileSize = 1,
    sfIconTotal = 2,
    sfNodeIcons = 4,
    sfSelected = 8,
    sfModified = 16,
    sfAll = 255,
};

inline constexpr const char *kUntitledName = "Untitled.ILF";
inline constexpr const char *kCaptionPrefix = "Pictarium - ";
inline constexpr const char *kIlfFilter = "ILF图标库文件(*.ILF)|*.ILF";
inline constexpr int kStatusPanelCount = 8;

// The window's replaceable ties to the user: message boxes and dialogs.
struct UiServices {
    std::shared_ptr<PromptService> prompt;
    std::shared_ptr<DialogService> dialogs;
    std::shared_ptr<ProgressService> progress = nullptr;
};

class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    // Builds the window and its controls; services left empty get the Qt ones. Call
    // FormCreate with the command-line arguments next.
    explicit TMainForm(UiServices services = {}, QWidget *parent = nullptr);
    ~TMainForm() override;

    // ---- Document fields
    std::string FFileName = kUntitledName;
    std::int32_t FFileSize = 0;
    std::int32_t FIconTotal = 0;
    std::int32_t FNodeIconCount = 0;
    bool FModified = false;
    std::uint32_t FOutPutBmpColor = 0x00FFFFFF;

    // ---- Shared dialogs
    TFileDialog OpenDialog1{TFileDialog::Kind::Open};
    TFileDialog SaveDialog1{TFileDialog::Kind::Save};
    TColorDialog ColorDialog1;

    // ---- Controls and models
    QTreeView *TreeView = nullptr;
    QListView *ListView1 = nullptr;
    QToolBar *ToolBar1 = nullptr;
    QMenu *TreeViewPopupMenu = nullptr;
    QMenu *ListPopupMenu = nullptr;
    QMenu *SetListViewOption = nullptr;
    [[nodiscard]] LibraryTree &tree() { return tree_; }
    [[nodiscard]] LibraryTreeModel &treeModel() const { return *treeModel_; }
    [[nodiscard]] IconListModel &iconModel() const { return *iconModel_; }
    [[nodiscard]] PromptService &prompt() const { return *services_.prompt; }
    [[nodiscard]] ProgressService &progress() const { return *services_.progress; }
    // Image i of the window's image list (toolbar, menus, tree nodes).
    [[nodiscard]] QIcon glyph(int index) const;
    [[nodiscard]] QAction *action(ActionId id) const { return actions_[static_cast<std::size_t>(id)]; }
    [[nodiscard]] QString panelText(int panel) const;

    // The tree's selected node (null: none) and selecting one (runs TreeViewChange).
    [[nodiscard]] LibraryNode *selectedNode() const;
    void selectNode(LibraryNode *node);
    // Rows of the selected icon items, ascending.
    [[nodiscard]] std::vector<std::int32_t> selectedItems() const;

    // Runs f the way every command runs: an exception it throws is shown by the
    // application's exception display and the program goes on. Answers false then.
    bool guarded(const std::function<void()> &f);
    // Runs an action's handler through guarded().
    void runAction(ActionId id);

    // ---- Start and end (Document.cpp)
    void FormCreate(const std::vector<std::string> &args);
    void FormCloseQuery(bool &canClose);
    void FormDestroy();
    bool ReadILFFile(const std::string &path);
    bool WriteILFFile(const std::string &path);

    // ---- Action handlers: document (Document.cpp)
    void CreatNewILFFileExecute();
    void OpenILFFileExecute();
    void SaveILFFileExecute();
    void SaveAsILFFileExecute();
    void ExportTreeNodeToILFFileExecute();
    void SysExitExecute();

    // ---- Icon view and status bar (IconView.cpp)
    void TreeViewChange();
    void ListView1Change();
    void UpdateStatusBar(int code);
    void SetListViewBigClick();
    void SetListViewSmallClick();
    void SetListViewListClick();

    // ---- Module import (import/ModuleImport.cpp)
    void ImportExeDllFileExecute();
    // Imports a module's icons as a new node; addEmpty: add the node even without icons.
    void ImportModuleIcons(const std::string &path, bool addEmpty);
    // Files dropped on the window from a file manager.
    void WMDropFiles(const std::vector<std::string> &paths);
    // Imports each module as ImportModuleIcons does, all of them or (when the user cancels
    // between files) none.
    void importModules(const std::vector<std::string> &paths, bool addEmpty, const std::string &title);

    // ---- Icon file and bitmap import (import/IconFileImport.cpp, import/BitmapImport.cpp)
    void ImportIconFileExecute();
    void ImportBmpFileExecute();
    // Runs the shared open dialog for an import of existing files, several at a time; false
    // when cancelled.
    bool chooseImportFiles(const char *defaultExt, const char *filter);
    // Builds a block from the chosen files (one progress run, title naming the command) and
    // adds it after the selected node's icons, making a node when none is selected. A file
    // that fails, or Cancel between files, changes nothing.
    using BlockOfFiles = std::optional<TIconBlock> (*)(const std::vector<std::string> &, const FileStep &);
    void importIntoSelectedNode(const char *title, BlockOfFiles build);

    // ---- Icon file export (export/IconExport.cpp)
    void ExportOneIconExecute();
    void ExportIconsExecute();
    void ExportAllIconsExecute();
    // The export base chosen in the save dialog (name cut at its first '.'); "" on cancel.
    std::string ChooseExportFile();
    // Entry index of the selected node to path; false (nothing written) when there is no
    // such entry or it is an empty slot.
    bool WriteIconFile(std::int32_t index, const std::string &path);
    // The selected item with the lowest index, the "No Icon" item included; -1 for none.
    [[nodiscard]] int firstSelectedItem() const;

    // ---- Icon save-as and bitmap export (export/BitmapExport.cpp)
    void Export16x16IconExecute();
    void SaveAsBmpFileExecute();
    void SetOutPutBmpColorExecute();

    // ---- Tree editing (editing/TreeEditing.cpp)
    void CreateTreeNodeExecute();
    void CreateChildTreeNodeExecute();
    void EditTreeNodeExecute();
    void DelTreeNodeExecute();
    void DelNullDataNodeExecute();
    void TreeViewStartDrag();
    // Whether the tree takes a drag from source: only from the tree itself or the icon list.
    [[nodiscard]] bool TreeViewDragOver(const QObject *source) const;
    void TreeViewEndDrag();
    // The tree's node under the mouse pointer (null: none, or the pointer is not over the tree).
    [[nodiscard]] LibraryNode *nodeUnderMouse() const;

    // ---- Icon transfer and deletion (editing/IconTransfer.cpp)
    void RegisterIconClipboardFormat();
    void CopyIconsExecute();
    void CutIconsExecute();
    void PasteIconsExecute();
    void DelOneIconExecute();
    void DelSelectedIconsExecute();
    void SelectedAllIconsExecute();
    void TreeViewDragDrop(const QObject *source);

    // ---- Shell (app/ShellCommands.cpp)
    void RegisterFileType();
    void LoadSettings();
    void SaveSettings();
    void SysHelpExecute();
    void SysAboutExecute();
    void N41Click();

protected:
    void closeEvent(QCloseEvent *event) override;
    // Files dragged from a file manager onto the window go to WMDropFiles.
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void buildActions();
    void buildMenus();
    void buildStatusBar();
    void buildViews();
    // Drag starts from the tree and drops on it (editing/DragHooks.cpp).
    void installDragHooks();
    QMenu *buildMenu(QMenu *menu, std::span<const MenuEntry> entries, bool withGlyphs);
    // Makes path the document's name and caption.
    void setDocumentName(const std::string &name);
    // The closing question for unsaved changes; true when the caller may go on.
    bool askToSaveChanges();
    // Save; true when the library was written (false: the Save As dialog was cancelled).
    bool saveDocument();
    bool saveDocumentAs();

    std::unique_ptr<Ui::TMainForm> ui_;
    UiServices services_;
    LibraryTree tree_;
    LibraryTreeModel *treeModel_ = nullptr;
    IconListModel *iconModel_ = nullptr;
    std::array<QAction *, kActionCount> actions_{};
    std::array<QLabel *, kStatusPanelCount> panels_{};
    bool destroyed_ = false;
};

} // namespace pictarium
