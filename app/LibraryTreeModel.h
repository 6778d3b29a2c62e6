#pragma once
// The tree view's model: a thin adapter over the document's LibraryTree. Every change the
// window makes to the tree goes through here, so the view always hears of it.

#include "library/LibraryTree.h"

#include <QAbstractItemModel>
#include <QIcon>

#include <functional>
#include <map>
#include <optional>

namespace pictarium {

class LibraryTreeModel : public QAbstractItemModel {
    Q_OBJECT
public:
    // glyph(i) gives image i of the window's image list (node images).
    explicit LibraryTreeModel(LibraryTree &tree, std::function<QIcon(int)> glyph = {},
                              QObject *parent = nullptr);

    [[nodiscard]] LibraryTree &tree() const { return tree_; }

    // Index <-> node; an invalid index is "no node".
    [[nodiscard]] QModelIndex indexOf(const LibraryNode *node) const;
    [[nodiscard]] static LibraryNode *nodeOf(const QModelIndex &index);

    // The tree operations, each announced to the views.
    LibraryNode *add(LibraryNode *sibling, Bytes title);
    LibraryNode *addChild(LibraryNode *parent, Bytes title);
    LibraryNode *insertBefore(LibraryNode *target, Bytes title);
    bool moveBefore(LibraryNode *node, LibraryNode *target);
    void remove(LibraryNode *node);
    void clear();
    // Takes over a whole new tree (a library read from a file).
    void replaceTree(LibraryTree &&tree);
    void setTitle(LibraryNode *node, Bytes title);
    void setImages(LibraryNode *node, int imageIndex, int selectedIndex);
    // Installs a node's block (nothing: no block).
    void setBlock(LibraryNode *node, std::optional<TIconBlock> block);
    // AppendIconBlock / DeleteIconEntry, announced.
    void appendBlock(LibraryNode *node, TIconBlock source);
    bool deleteIconEntry(LibraryNode *node, std::int32_t index);
    // FreeSubtreeBlocks / FreeAllIconBlocks, each freed block offered through blockReplaced.
    void freeSubtreeBlocks(LibraryNode *node, std::int32_t &iconTotal);
    void freeAllBlocks();

    // QAbstractItemModel
    QModelIndex index(int row, int column, const QModelIndex &parent = {}) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool hasChildren(const QModelIndex &parent = {}) const override;

signals:
    // Before a block is changed in place (appended to, an entry deleted), so that holders of
    // it can let go: the block of `node` (subtree false) or of every node of its subtree
    // (subtree true; a null node then means the whole tree).
    void blocksAboutToChange(const pictarium::LibraryNode *node, bool subtree);
    // The block of `node` has just been replaced or taken away (freed, node removed, tree
    // replaced); `old` holds the block it had, which is dropped after this signal unless a
    // holder moves it out. Whoever still shows it takes it instead of copying it.
    void blockReplaced(const pictarium::LibraryNode *node, std::optional<pictarium::TIconBlock> *old);
    // A title was changed by editing it in place in the tree view.
    void titleEdited(pictarium::LibraryNode *node);

private:
    [[nodiscard]] QModelIndex parentIndexFor(const LibraryNode *parent) const;
    // Takes the block of every node of root's subtree (the whole tree for null), offering
    // each through blockReplaced before it is freed, so that whoever shows one keeps it
    // without a copy. Answers the number of icons let go.
    std::int32_t letGoOfBlocks(LibraryNode *root);

    LibraryTree &tree_;
    std::function<QIcon(int)> glyph_;
    // Node icons by (image index, selected image index).
    mutable std::map<std::pair<int, int>, QIcon> decorations_;
};

} // namespace pictarium
