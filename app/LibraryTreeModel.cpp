#include "app/LibraryTreeModel.h"

#include "platform/Codepage.h"

#include <utility>

namespace pictarium {

LibraryTreeModel::LibraryTreeModel(LibraryTree &tree, std::function<QIcon(int)> glyph, QObject *parent)
    : QAbstractItemModel(parent), tree_(tree), glyph_(std::move(glyph))
{
}

LibraryNode *LibraryTreeModel::nodeOf(const QModelIndex &index)
{
    return index.isValid() ? static_cast<LibraryNode *>(index.internalPointer()) : nullptr;
}

QModelIndex LibraryTreeModel::indexOf(const LibraryNode *node) const
{
    if (!node)
        return {};
    return createIndex(static_cast<int>(node->row()), 0, const_cast<LibraryNode *>(node));
}

QModelIndex LibraryTreeModel::parentIndexFor(const LibraryNode *parent) const { return indexOf(parent); }

QModelIndex LibraryTreeModel::index(int row, int column, const QModelIndex &parent) const
{
    if (row < 0 || column != 0)
        return {};
    const auto &kids = parent.isValid() ? nodeOf(parent)->children() : tree_.topLevel();
    if (static_cast<std::size_t>(row) >= kids.size())
        return {};
    return createIndex(row, 0, kids[static_cast<std::size_t>(row)].get());
}

QModelIndex LibraryTreeModel::parent(const QModelIndex &child) const
{
    const LibraryNode *node = nodeOf(child);
    return node ? indexOf(node->parent()) : QModelIndex();
}

int LibraryTreeModel::rowCount(const QModelIndex &parent) const
{
    if (parent.column() > 0)
        return 0;
    const auto &kids = parent.isValid() ? nodeOf(parent)->children() : tree_.topLevel();
    return static_cast<int>(kids.size());
}

int LibraryTreeModel::columnCount(const QModelIndex &) const { return 1; }

bool LibraryTreeModel::hasChildren(const QModelIndex &parent) const
{
    if (parent.column() > 0)
        return false;
    return parent.isValid() ? nodeOf(parent)->hasChildren() : !tree_.empty();
}

QVariant LibraryTreeModel::data(const QModelIndex &index, int role) const
{
    const LibraryNode *node = nodeOf(index);
    if (!node)
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return QString::fromStdString(ansiToUtf8(node->title));
    case Qt::DecorationRole: {
        if (!glyph_)
            return {};
        // Made once per pair of images: the view asks for every row it lays out.
        QIcon &icon = decorations_[{node->imageIndex, node->selectedIndex}];
        if (icon.isNull()) {
            // The view draws the Selected mode of the icon for the selected node.
            const QIcon normal = glyph_(node->imageIndex);
            const QIcon selected = glyph_(node->selectedIndex);
            for (const QSize size : {QSize(16, 16), QSize(32, 32)}) {
                icon.addPixmap(normal.pixmap(size), QIcon::Normal);
                icon.addPixmap(selected.pixmap(size), QIcon::Selected);
            }
        }
        return icon;
    }
    default:
        return {};
    }
}

bool LibraryTreeModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    LibraryNode *node = nodeOf(index);
    if (!node || role != Qt::EditRole)
        return false;
    // Titles are lines of the library's text section: a line break typed or pasted into one
    // would split it, so it becomes a space.
    QString text = value.toString();
    text.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    Bytes title = utf8ToAnsi(text.toStdString());
    if (title == node->title)
        return true;
    setTitle(node, std::move(title));
    emit titleEdited(node);
    return true;
}

Qt::ItemFlags LibraryTreeModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::ItemIsDropEnabled;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable | Qt::ItemIsDragEnabled |
           Qt::ItemIsDropEnabled;
}

LibraryNode *LibraryTreeModel::add(LibraryNode *sibling, Bytes title)
{
    const LibraryNode *parent = sibling ? sibling->parent() : nullptr;
    const int row = static_cast<int>(sibling ? tree_.siblingsOf(sibling).size() : tree_.topLevel().size());
    beginInsertRows(parentIndexFor(parent), row, row);
    LibraryNode *node = tree_.add(sibling, std::move(title));
    endInsertRows();
    return node;
}

LibraryNode *LibraryTreeModel::addChild(LibraryNode *parent, Bytes title)
{
    const int row = static_cast<int>(parent ? parent->children().size() : tree_.topLevel().size());
    beginInsertRows(parentIndexFor(parent), row, row);
    LibraryNode *node = tree_.addChild(parent, std::move(title));
    endInsertRows();
    return node;
}

LibraryNode *LibraryTreeModel::insertBefore(LibraryNode *target, Bytes title)
{
    if (!target)
        return add(nullptr, std::move(title));
    const int row = static_cast<int>(target->row());
    beginInsertRows(parentIndexFor(target->parent()), row, row);
    LibraryNode *node = tree_.insertBefore(target, std::move(title));
    endInsertRows();
    return node;
}

bool LibraryTreeModel::moveBefore(LibraryNode *node, LibraryNode *target)
{
    if (!node || !target || node->isSelfOrAncestorOf(target))
        return false;
    if (node == target)
        return true;
    const QModelIndex from = parentIndexFor(node->parent());
    const QModelIndex to = parentIndexFor(target->parent());
    const int row = static_cast<int>(node->row());
    const int dest = static_cast<int>(target->row());
    // Already right before target: nothing moves.
    if (from == to && dest == row + 1)
        return true;
    if (!beginMoveRows(from, row, row, to, dest))
        return false;
    const bool moved = tree_.moveBefore(node, target);
    endMoveRows();
    return moved;
}

void LibraryTreeModel::remove(LibraryNode *node)
{
    if (!node)
        return;
    letGoOfBlocks(node);
    const int row = static_cast<int>(node->row());
    beginRemoveRows(parentIndexFor(node->parent()), row, row);
    tree_.remove(node);
    endRemoveRows();
}

void LibraryTreeModel::clear()
{
    letGoOfBlocks(nullptr);
    beginResetModel();
    tree_.clear();
    endResetModel();
}

void LibraryTreeModel::replaceTree(LibraryTree &&tree)
{
    letGoOfBlocks(nullptr);
    beginResetModel();
    tree_ = std::move(tree);
    endResetModel();
}

void LibraryTreeModel::setTitle(LibraryNode *node, Bytes title)
{
    if (!node)
        return;
    node->title = std::move(title);
    const QModelIndex i = indexOf(node);
    emit dataChanged(i, i, {Qt::DisplayRole, Qt::EditRole});
}

void LibraryTreeModel::setImages(LibraryNode *node, int imageIndex, int selectedIndex)
{
    if (!node)
        return;
    node->imageIndex = imageIndex;
    node->selectedIndex = selectedIndex;
    const QModelIndex i = indexOf(node);
    emit dataChanged(i, i, {Qt::DecorationRole});
}

void LibraryTreeModel::setBlock(LibraryNode *node, std::optional<TIconBlock> block)
{
    if (!node)
        return;
    std::optional<TIconBlock> old = std::exchange(node->block, std::move(block));
    emit blockReplaced(node, &old);
}

void LibraryTreeModel::appendBlock(LibraryNode *node, TIconBlock source)
{
    if (!node)
        return;
    // A node without icons simply takes the block: no copy of it.
    if (!node->block) {
        setBlock(node, std::move(source));
        return;
    }
    emit blocksAboutToChange(node, false);
    AppendIconBlock(node, &source);
}

bool LibraryTreeModel::deleteIconEntry(LibraryNode *node, std::int32_t index)
{
    if (!node || !node->block)
        return false;
    emit blocksAboutToChange(node, false);
    return DeleteIconEntry(node, index);
}

void LibraryTreeModel::freeSubtreeBlocks(LibraryNode *node, std::int32_t &iconTotal)
{
    if (!node)
        return;
    iconTotal -= letGoOfBlocks(node);
}

void LibraryTreeModel::freeAllBlocks() { letGoOfBlocks(nullptr); }

std::int32_t LibraryTreeModel::letGoOfBlocks(LibraryNode *root)
{
    std::int32_t icons = 0;
    auto letGo = [&](LibraryNode &n) {
        if (!n.block)
            return;
        icons += n.block->Count();
        std::optional<TIconBlock> old = std::exchange(n.block, std::nullopt);
        emit blockReplaced(&n, &old);
    };
    if (root)
        root->forEachInSubtree(letGo);
    else
        tree_.forEachPreorder(letGo);
    return icons;
}

} // namespace pictarium
