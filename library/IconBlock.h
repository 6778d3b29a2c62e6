#pragma once
// The icon set a node owns: int32 Size (bytes after it), int32 Count, then Count entries back
// to back, each int32 S followed by S bytes of an ICO file (S = 0: an empty slot). All
// integers little-endian, unaligned. The same bytes travel into library records, onto the
// clipboard and between nodes.

#include "platform/Bytes.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace pictarium {

class LibraryNode;

// A block is always well-formed: Size = 4 + sum(4 + S), Count entries, nothing else. Outside
// bytes become a block only through parse() (exact) or salvage() (keeps what lies wholly
// inside), so every walk over a block can trust its own fields.
class TIconBlock {
public:
    // Size 4, Count 0.
    TIconBlock();

    // The whole block (Size field first) when Size, Count and the entries agree exactly with
    // the bytes; nothing otherwise.
    static std::optional<TIconBlock> parse(ByteSpan whole);
    // The same, adopting the buffer instead of copying it.
    static std::optional<TIconBlock> parse(Bytes whole);

    // A block from a record payload (Count and entries, without the Size field), given in a
    // buffer whose first four bytes are room for the Size field. Keeps the leading entries
    // that lie wholly inside the payload, up to Count; answers nothing when not even Count
    // fits. The buffer is adopted, not copied.
    static std::optional<TIconBlock> salvage(Bytes bufferWithRoom);

    // A block of the given entry images in order (an empty span makes an empty slot).
    static TIconBlock fromImages(std::span<const ByteSpan> images);

    [[nodiscard]] std::int32_t Size() const;
    [[nodiscard]] std::int32_t Count() const;
    // Size field + payload, exactly Size + 4 bytes.
    [[nodiscard]] ByteSpan bytes() const { return bytes_; }
    // Count and entries, without the Size field.
    [[nodiscard]] ByteSpan payload() const { return ByteSpan(bytes_).subspan(4); }

    // Byte offset (into bytes()) of every entry's S field, in one walk.
    [[nodiscard]] std::vector<std::size_t> entryOffsets() const;

    // The image bytes of entry index; nothing for an empty slot or an index outside the block.
    [[nodiscard]] std::optional<ByteSpan> image(std::int32_t index) const;

    bool operator==(const TIconBlock &other) const = default;

private:
    explicit TIconBlock(Bytes bytes) : bytes_(std::move(bytes)) {}
    Bytes bytes_;
};

// Visits every entry in order with its index and image bytes (empty for an empty slot).
template <typename Fn> void forEachEntry(const TIconBlock &block, Fn &&fn)
{
    ByteView v(block.bytes());
    std::size_t at = 8;
    const std::int32_t count = block.Count();
    for (std::int32_t i = 0; i < count; ++i) {
        const auto s = static_cast<std::size_t>(*v.i32(at));
        fn(i, v.sub(at + 4, s)->bytes());
        at += 4 + s;
    }
}

// The routines that work on the selected node take it as an argument; the window passes
// its selection.

// The image of entry index of the node's block, or nothing (no node, no block, bad index,
// empty slot).
std::optional<ByteSpan> GetIconEntry(const LibraryNode *node, std::int32_t index);

// Adds the source's entries after the node's own; a node without block gets a copy of the
// source. The source stays with the caller.
void AppendIconBlock(LibraryNode *node, const TIconBlock *source);

// Removes entry index from the node's block; false when nothing changed (no node, no block,
// index outside the block). Removing the last entry leaves a block of Count 0.
bool DeleteIconEntry(LibraryNode *node, std::int32_t index);

// Whether a filtered block keeps the empty slots it would otherwise take over.
enum class EmptySlots { Keep, Drop };

// The entries whose index is in `keep` (ascending, inside the block), in one pass.
TIconBlock selectEntries(const TIconBlock &block, std::span<const std::int32_t> keep,
                         EmptySlots empty = EmptySlots::Keep);
// The block without the entries whose index is in `drop` (ascending), in one pass.
TIconBlock removeEntries(const TIconBlock &block, std::span<const std::int32_t> drop,
                         EmptySlots empty = EmptySlots::Keep);

} // namespace pictarium
