#pragma once
// The icon view's model: item n is entry n of the shown node's block ("Icon<n>"), or the one
// "No Icon" item when there is nothing to show. Pictures are decoded only when the view asks
// for them and kept in a bounded cache, so showing a node costs one walk over its entry
// offsets, whatever its size.

#include "library/LibraryTree.h"

#include <QAbstractListModel>
#include <QCache>
#include <QImage>

#include <memory>
#include <optional>
#include <vector>

namespace pictarium {

class IconListModel : public QAbstractListModel {
    Q_OBJECT
public:
    // The entry's position among the entries that yield an image, -1 for none.
    static constexpr int ImageIndexRole = Qt::UserRole + 1;
    // The type of the icons a drag from the view carries.
    static constexpr const char *kDragMimeType = "application/x-pictarium-icons";

    explicit IconListModel(QObject *parent = nullptr);

    // The empty state: one "No Icon" item without image.
    void showPlaceholder();
    // Items for every entry of the block; the block stays the node's (see releaseBlock).
    void showBlock(const LibraryNode *node, const TIconBlock &block);
    // No items at all.
    void clear();

    // The node's block (or, subtree true, the blocks of its subtree; null: every block) is
    // about to change: keep a private copy of what is shown, so the view stays as it was
    // until it is rebuilt.
    void releaseBlock(const LibraryNode *node, bool subtree);
    // The node's block was replaced; old is the block it had. When that is the block shown,
    // the model takes it over (moving it, not copying), so the view stays as it was until it
    // is rebuilt.
    void adoptReplacedBlock(const LibraryNode *node, std::optional<TIconBlock> *old);

    // Cell side of the pictures: 32 (large icons) or 16 (small icons, list).
    void setIconSide(int side);
    [[nodiscard]] int iconSide() const { return side_; }

    [[nodiscard]] bool isPlaceholder() const { return placeholder_; }
    [[nodiscard]] const LibraryNode *shownNode() const { return node_; }
    // The picture of item row at the given side (null: no image).
    [[nodiscard]] QImage image(int row, int side) const;
    // Exact image index of item row: found by checking the entries before it in order, each
    // once; the answers are kept until the model is rebuilt.
    [[nodiscard]] int imageIndex(int row) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    // A drag of items carries their entries as an icon block (empty slots left out).
    QStringList mimeTypes() const override;
    QMimeData *mimeData(const QModelIndexList &indexes) const override;
    Qt::DropActions supportedDragActions() const override;

private:
    // Drops the shown block and everything learned about it (no model signals).
    void forgetBlock();
    [[nodiscard]] bool yieldsImage(int row) const;
    [[nodiscard]] std::size_t entryCount() const { return offsets_ ? offsets_->size() : 0; }
    std::shared_ptr<const std::vector<std::size_t>> offsetsOf(const LibraryNode *node, const TIconBlock &block);
    [[nodiscard]] ByteSpan entryImage(int row) const;

    bool placeholder_ = false;
    const LibraryNode *node_ = nullptr;
    const TIconBlock *block_ = nullptr;
    std::optional<TIconBlock> ownCopy_;
    std::shared_ptr<const std::vector<std::size_t>> offsets_;
    // Entry offsets of the blocks shown lately, so that coming back to a node costs no walk.
    // An entry goes as soon as its node's block is about to change.
    struct KnownOffsets {
        const LibraryNode *node;
        const TIconBlock *block;
        std::shared_ptr<const std::vector<std::size_t>> offsets;
    };
    std::vector<KnownOffsets> knownOffsets_;
    int side_ = 32;

    mutable QCache<quint64, QImage> pictures_;
    // Per entry: -1 not yet known, 0 no image, 1 image. Filled in order up to known_.
    mutable std::vector<signed char> yields_;
    mutable std::vector<int> indexOf_;
    mutable int known_ = 0;
    mutable int imagesSoFar_ = 0;
};

} // namespace pictarium
