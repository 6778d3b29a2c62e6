#include "app/IconListModel.h"

#include "app/IconImages.h"

#include <QMimeData>

#include <algorithm>

namespace pictarium {

namespace {
// Decoded pictures kept at once; enough for several screens of the largest cells.
constexpr int kPictureCacheSize = 4096;
// Blocks whose entry offsets are kept.
constexpr std::size_t kKnownBlocks = 8;
} // namespace

IconListModel::IconListModel(QObject *parent) : QAbstractListModel(parent)
{
    pictures_.setMaxCost(kPictureCacheSize);
}

void IconListModel::clear()
{
    beginResetModel();
    forgetBlock();
    endResetModel();
}

void IconListModel::forgetBlock()
{
    placeholder_ = false;
    node_ = nullptr;
    block_ = nullptr;
    ownCopy_.reset();
    offsets_.reset();
    pictures_.clear();
    yields_.clear();
    indexOf_.clear();
    known_ = 0;
    imagesSoFar_ = 0;
}

void IconListModel::showPlaceholder()
{
    clear();
    beginInsertRows({}, 0, 0);
    placeholder_ = true;
    endInsertRows();
}

void IconListModel::showBlock(const LibraryNode *node, const TIconBlock &block)
{
    beginResetModel();
    forgetBlock();
    node_ = node;
    block_ = &block;
    offsets_ = offsetsOf(node, block);
    endResetModel();
}

std::shared_ptr<const std::vector<std::size_t>> IconListModel::offsetsOf(const LibraryNode *node,
                                                                          const TIconBlock &block)
{
    for (const KnownOffsets &k : knownOffsets_) {
        if (k.node == node && k.block == &block)
            return k.offsets;
    }
    auto offsets = std::make_shared<const std::vector<std::size_t>>(block.entryOffsets());
    if (node) {
        if (knownOffsets_.size() >= kKnownBlocks)
            knownOffsets_.erase(knownOffsets_.begin());
        knownOffsets_.push_back({node, &block, offsets});
    }
    return offsets;
}

void IconListModel::releaseBlock(const LibraryNode *node, bool subtree)
{
    auto affects = [node, subtree](const LibraryNode *shown) {
        return node == nullptr ? subtree : (node == shown || (subtree && node->isSelfOrAncestorOf(shown)));
    };
    std::erase_if(knownOffsets_, [&](const KnownOffsets &k) { return affects(k.node); });
    if (!block_ || ownCopy_ || !node_ || !affects(node_))
        return;
    ownCopy_ = *block_;
    block_ = &*ownCopy_;
    node_ = nullptr;
}

void IconListModel::adoptReplacedBlock(const LibraryNode *node, std::optional<TIconBlock> *old)
{
    std::erase_if(knownOffsets_, [node](const KnownOffsets &k) { return k.node == node; });
    if (!block_ || ownCopy_ || node_ != node || !old || !*old)
        return;
    // Moving keeps the bytes where they are, so the entry offsets stay valid.
    ownCopy_ = std::move(*old);
    block_ = &*ownCopy_;
    node_ = nullptr;
}

void IconListModel::setIconSide(int side)
{
    if (side == side_)
        return;
    side_ = side;
    if (rowCount() > 0)
        emit dataChanged(index(0), index(rowCount() - 1), {Qt::DecorationRole});
}

int IconListModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid())
        return 0;
    if (placeholder_)
        return 1;
    return static_cast<int>(entryCount());
}

ByteSpan IconListModel::entryImage(int row) const
{
    if (!block_ || row < 0 || static_cast<std::size_t>(row) >= entryCount())
        return {};
    // offsets_ came from the block's own walk, so the reads below stay inside it.
    ByteView v(block_->bytes());
    const std::size_t at = (*offsets_)[static_cast<std::size_t>(row)];
    const auto size = v.u32(at);
    if (!size)
        return {};
    const auto image = v.sub(at + 4, *size);
    return image ? image->bytes() : ByteSpan();
}

QImage IconListModel::image(int row, int side) const
{
    const ByteSpan bytes = entryImage(row);
    if (bytes.empty())
        return {};
    const quint64 key = (static_cast<quint64>(static_cast<unsigned>(row)) << 16) | static_cast<unsigned>(side);
    if (const QImage *cached = pictures_.object(key))
        return *cached;
    QImage picture = iconImage(bytes, side);
    pictures_.insert(key, new QImage(picture));
    return picture;
}

bool IconListModel::yieldsImage(int row) const
{
    if (yields_.empty())
        yields_.assign(entryCount(), -1);
    signed char &known = yields_[static_cast<std::size_t>(row)];
    if (known < 0)
        known = image(row, side_).isNull() ? 0 : 1;
    return known == 1;
}

int IconListModel::imageIndex(int row) const
{
    if (placeholder_ || row < 0 || static_cast<std::size_t>(row) >= entryCount())
        return -1;
    if (indexOf_.empty())
        indexOf_.assign(entryCount(), -1);
    for (; known_ <= row; ++known_) {
        if (yieldsImage(known_))
            indexOf_[static_cast<std::size_t>(known_)] = imagesSoFar_++;
    }
    return indexOf_[static_cast<std::size_t>(row)];
}

QVariant IconListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const int row = index.row();
    switch (role) {
    case Qt::DisplayRole:
        return placeholder_ ? QStringLiteral("No Icon") : QStringLiteral("Icon%1").arg(row);
    case Qt::DecorationRole: {
        if (placeholder_)
            return {};
        QImage picture = image(row, side_);
        if (picture.isNull())
            return {};
        return picture;
    }
    case Qt::ToolTipRole:
        return data(index, Qt::DisplayRole);
    case ImageIndexRole:
        return imageIndex(row);
    default:
        return {};
    }
}

Qt::ItemFlags IconListModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::ItemIsDropEnabled;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled;
}

QStringList IconListModel::mimeTypes() const { return {QString::fromLatin1(kDragMimeType)}; }

QMimeData *IconListModel::mimeData(const QModelIndexList &indexes) const
{
    auto *mime = new QMimeData;
    if (placeholder_ || !block_)
        return mime;
    std::vector<std::int32_t> rows;
    rows.reserve(static_cast<std::size_t>(indexes.size()));
    for (const QModelIndex &i : indexes)
        rows.push_back(i.row());
    std::sort(rows.begin(), rows.end());
    const TIconBlock icons = selectEntries(*block_, rows, EmptySlots::Drop);
    const ByteSpan bytes = icons.bytes();
    mime->setData(QString::fromLatin1(kDragMimeType),
                  QByteArray(reinterpret_cast<const char *>(bytes.data()), static_cast<qsizetype>(bytes.size())));
    return mime;
}

Qt::DropActions IconListModel::supportedDragActions() const { return Qt::CopyAction | Qt::MoveAction; }

} // namespace pictarium
