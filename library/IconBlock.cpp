#include "IconBlock.h"

#include "LibraryTree.h"
#include "platform/LargeBuffer.h"

#include <algorithm>
#include <limits>

namespace pictarium {
namespace {

constexpr std::size_t kMaxBlockSize = std::numeric_limits<std::int32_t>::max();

// Writes Size and Count over the first eight bytes of a block buffer.
void storeHeader(Bytes &b, std::size_t size, std::size_t count)
{
    ByteWriter::storeU32(std::span<std::uint8_t, 4>(b.data(), 4), static_cast<std::uint32_t>(size));
    ByteWriter::storeU32(std::span<std::uint8_t, 4>(b.data() + 4, 4), static_cast<std::uint32_t>(count));
}

// Walks the entries of a payload held in `whole` (Size field first) and answers how many of
// the first `count` entries lie wholly inside, and where the last of them ends.
struct Walk {
    std::size_t entries = 0;
    std::size_t end = 8;
};
Walk walkEntries(ByteView whole, std::int64_t count)
{
    Walk w;
    while (static_cast<std::int64_t>(w.entries) < count) {
        auto s = whole.i32(w.end);
        if (!s || *s < 0 || !whole.contains(w.end + 4, static_cast<std::size_t>(*s)))
            break;
        w.end += 4 + static_cast<std::size_t>(*s);
        ++w.entries;
    }
    return w;
}

} // namespace

TIconBlock::TIconBlock() : bytes_(8, 0) { storeHeader(bytes_, 4, 0); }

std::optional<TIconBlock> TIconBlock::parse(ByteSpan whole)
{
    return parse(Bytes(whole.begin(), whole.end()));
}

std::optional<TIconBlock> TIconBlock::parse(Bytes whole)
{
    ByteView v(whole);
    auto size = v.i32(0);
    auto count = v.i32(4);
    if (!size || !count || *size < 4 || *count < 0 ||
        static_cast<std::size_t>(*size) != whole.size() - 4)
        return std::nullopt;
    Walk w = walkEntries(v, *count);
    if (w.entries != static_cast<std::size_t>(*count) || w.end != whole.size())
        return std::nullopt;
    return TIconBlock(std::move(whole));
}

std::optional<TIconBlock> TIconBlock::salvage(Bytes buffer)
{
    ByteView v(buffer);
    auto count = v.i32(4);
    if (!count)
        return std::nullopt;
    Walk w = walkEntries(v, std::max<std::int32_t>(*count, 0));
    buffer.resize(w.end);
    storeHeader(buffer, w.end - 4, w.entries);
    return TIconBlock(std::move(buffer));
}

TIconBlock TIconBlock::fromImages(std::span<const ByteSpan> images)
{
    std::size_t total = 8;
    for (auto img : images)
        total += 4 + img.size();
    if (total - 4 > kMaxBlockSize)
        throw std::length_error("icon block too large");
    Bytes b;
    reserveLarge(b, total);
    ByteWriter w(b);
    w.i32(static_cast<std::int32_t>(total - 4));
    w.i32(static_cast<std::int32_t>(images.size()));
    for (auto img : images) {
        w.i32(static_cast<std::int32_t>(img.size()));
        w.bytes(img);
    }
    return TIconBlock(std::move(b));
}

std::int32_t TIconBlock::Size() const { return *ByteView(bytes_).i32(0); }
std::int32_t TIconBlock::Count() const { return *ByteView(bytes_).i32(4); }

std::vector<std::size_t> TIconBlock::entryOffsets() const
{
    std::vector<std::size_t> offsets;
    offsets.reserve(static_cast<std::size_t>(Count()));
    ByteView v(bytes_);
    std::size_t at = 8;
    for (std::int32_t i = 0; i < Count(); ++i) {
        offsets.push_back(at);
        at += 4 + static_cast<std::size_t>(*v.i32(at));
    }
    return offsets;
}

std::optional<ByteSpan> TIconBlock::image(std::int32_t index) const
{
    if (index < 0 || index >= Count())
        return std::nullopt;
    ByteView v(bytes_);
    std::size_t at = 8;
    for (std::int32_t i = 0; i < index; ++i)
        at += 4 + static_cast<std::size_t>(*v.i32(at));
    const auto s = static_cast<std::size_t>(*v.i32(at));
    if (s == 0)
        return std::nullopt;
    return v.sub(at + 4, s)->bytes();
}

std::optional<ByteSpan> GetIconEntry(const LibraryNode *node, std::int32_t index)
{
    if (!node || !node->block)
        return std::nullopt;
    return node->block->image(index);
}

void AppendIconBlock(LibraryNode *node, const TIconBlock *source)
{
    if (!node || !source)
        return;
    if (!node->block) {
        node->block = *source;
        return;
    }
    const TIconBlock &old = *node->block;
    const std::size_t size = static_cast<std::size_t>(old.Size()) + static_cast<std::size_t>(source->Size()) - 4;
    if (size > kMaxBlockSize)
        throw std::length_error("icon block too large");
    Bytes b;
    reserveLarge(b, size + 4);
    b.resize(8);
    storeHeader(b, size, static_cast<std::size_t>(old.Count()) + static_cast<std::size_t>(source->Count()));
    b.insert(b.end(), old.bytes().begin() + 8, old.bytes().end());
    b.insert(b.end(), source->bytes().begin() + 8, source->bytes().end());
    node->block = TIconBlock::parse(std::move(b)).value();
}

namespace {

// Copies the entries whose membership in the ascending `indices` equals `wanted`, in one walk.
TIconBlock filterEntries(const TIconBlock &block, std::span<const std::int32_t> indices, bool wanted,
                         EmptySlots empty)
{
    Bytes b(8);
    reserveLarge(b, block.bytes().size());
    ByteView v(block.bytes());
    std::size_t at = 8, kept = 0, next = 0;
    for (std::int32_t i = 0; i < block.Count(); ++i) {
        while (next < indices.size() && indices[next] < i)
            ++next;
        const bool listed = next < indices.size() && indices[next] == i;
        const std::size_t len = 4 + static_cast<std::size_t>(*v.i32(at));
        if (listed == wanted && (len > 4 || empty == EmptySlots::Keep)) {
            auto entry = v.sub(at, len)->bytes();
            b.insert(b.end(), entry.begin(), entry.end());
            ++kept;
        }
        at += len;
    }
    storeHeader(b, b.size() - 4, kept);
    return *TIconBlock::parse(std::move(b));
}

} // namespace

TIconBlock selectEntries(const TIconBlock &block, std::span<const std::int32_t> keep, EmptySlots empty)
{
    return filterEntries(block, keep, true, empty);
}

TIconBlock removeEntries(const TIconBlock &block, std::span<const std::int32_t> drop, EmptySlots empty)
{
    return filterEntries(block, drop, false, empty);
}

bool DeleteIconEntry(LibraryNode *node, std::int32_t index)
{
    if (!node || !node->block || index < 0 || index >= node->block->Count())
        return false;
    const std::int32_t drop[] = {index};
    node->block = removeEntries(*node->block, drop);
    return true;
}

} // namespace pictarium
