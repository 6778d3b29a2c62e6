#include "editing/Clipbd.h"

#include "library/LibraryTree.h"
#include "platform/LargeBuffer.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include <algorithm>

namespace pictarium::clipbd {

namespace {

bool registered = false;

QString mimeType() { return QString::fromLatin1(kIconDataMimeType); }

QClipboard *clipboard() { return qobject_cast<QGuiApplication *>(QCoreApplication::instance()) ? QGuiApplication::clipboard() : nullptr; }

} // namespace

bool RegisterIconClipboardFormat()
{
    registered = clipboard() != nullptr;
    return registered;
}

void UnregisterIconClipboardFormat() { registered = false; }

bool PutBlockOnClipboard(const TIconBlock &block)
{
    QClipboard *cb = clipboard();
    if (!registered || !cb)
        return false;
    const ByteSpan bytes = block.bytes();
    QByteArray data(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
    adviseLarge(data.data(), bytes.size());
    std::copy(bytes.begin(), bytes.end(), data.data());
    auto *mime = new QMimeData;
    mime->setData(mimeType(), data);
    cb->setMimeData(mime);
    // The clipboard may belong to another program a moment later; what counts is that it
    // took our bytes now.
    const QMimeData *now = cb->mimeData();
    return now && now->hasFormat(mimeType()) && now->data(mimeType()) == data;
}

std::optional<TIconBlock> GetBlockFromClipboard()
{
    QClipboard *cb = clipboard();
    if (!registered || !cb)
        return std::nullopt;
    const QMimeData *mime = cb->mimeData();
    if (!mime || !mime->hasFormat(mimeType()))
        return std::nullopt;
    const QByteArray data = mime->data(mimeType());
    const ByteSpan bytes(reinterpret_cast<const std::uint8_t *>(data.constData()), static_cast<std::size_t>(data.size()));
    return TIconBlock::parse(bytes);
}

std::optional<TIconBlock> BuildSelectionBlock(const LibraryNode *node, std::span<const std::int32_t> rows)
{
    if (!node || !node->block || rows.empty())
        return std::nullopt;
    TIconBlock selection = selectEntries(*node->block, rows, EmptySlots::Drop);
    if (selection.Count() == 0)
        return std::nullopt;
    return selection;
}

} // namespace pictarium::clipbd
