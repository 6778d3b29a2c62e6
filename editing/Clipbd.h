#pragma once
// Icons on the system clipboard: one private format whose data is exactly the bytes of an
// icon block (Size, Count, entries), readable only by running instances of this program.

#include "library/IconBlock.h"

#include <optional>
#include <span>

namespace pictarium::clipbd {

// Qt's name for the registered Windows clipboard format "Icon_Data_Format"; a plain MIME
// type on other systems.
inline constexpr const char *kIconDataMimeType = "application/x-qt-windows-mime;value=\"Icon_Data_Format\"";

// Makes the format known for this run; true when it can be used.
bool RegisterIconClipboardFormat();
// Forgets the registration, as before start-up: puts then fail and gets find nothing.
void UnregisterIconClipboardFormat();

// Replaces the clipboard's content with the block. False when the format is not registered
// or the clipboard did not take the bytes.
bool PutBlockOnClipboard(const TIconBlock &block);

// A copy of the block on the clipboard, or nothing: no data of the format, or data whose
// length, Size, Count and entries do not agree exactly.
std::optional<TIconBlock> GetBlockFromClipboard();

// The entries of the selected items (rows ascending) that hold an image, in row order;
// nothing when no selected item has one (no block, empty slots, rows past the entries).
std::optional<TIconBlock> BuildSelectionBlock(const LibraryNode *node, std::span<const std::int32_t> rows);

} // namespace pictarium::clipbd
