#pragma once
// The library's title tree: the one model of the document. Nodes carry their title as bytes
// in the ANSI code page, an optional icon block, and the tree glyph indices the window shows.
// Every walk is iterative, so deep trees cost no stack.

#include "library/IconBlock.h"
#include "platform/Bytes.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace pictarium {

class LibraryTree;

// Glyph indices of the window's image list used for tree nodes.
inline constexpr int kTitleNodeImage = 0;
inline constexpr int kTitleNodeSelectedImage = 22;
inline constexpr int kModuleNodeImage = 3;
inline constexpr int kModuleNodeSelectedImage = 0;

class LibraryNode {
public:
    Bytes title;
    std::optional<TIconBlock> block;
    int imageIndex = kTitleNodeImage;
    int selectedIndex = kTitleNodeSelectedImage;

    // Null for a top-level node.
    [[nodiscard]] LibraryNode *parent() const { return parent_ && parent_->parent_ ? parent_ : nullptr; }
    [[nodiscard]] const std::vector<std::unique_ptr<LibraryNode>> &children() const { return children_; }
    [[nodiscard]] bool hasChildren() const { return !children_.empty(); }
    // 0 for top-level nodes.
    [[nodiscard]] int level() const;
    // Position among its siblings.
    [[nodiscard]] std::size_t row() const;
    // True when this node is `other` or one of its ancestors.
    [[nodiscard]] bool isSelfOrAncestorOf(const LibraryNode *other) const;
    [[nodiscard]] std::int32_t iconCount() const { return block ? block->Count() : 0; }

    ~LibraryNode();

    // Visits this node and its whole subtree in pre-order.
    template <typename Fn> void forEachInSubtree(Fn &&fn)
    {
        std::vector<LibraryNode *> stack{this};
        while (!stack.empty()) {
            LibraryNode *n = stack.back();
            stack.pop_back();
            fn(*n);
            for (auto it = n->children_.rbegin(); it != n->children_.rend(); ++it)
                stack.push_back(it->get());
        }
    }

private:
    friend class LibraryTree;
    friend struct NodeAccess;
    LibraryNode *parent_ = nullptr; // the tree's hidden root for top-level nodes
    std::vector<std::unique_ptr<LibraryNode>> children_;
};

class LibraryTree {
public:
    LibraryTree();
    LibraryTree(LibraryTree &&) noexcept;
    LibraryTree &operator=(LibraryTree &&) noexcept;
    ~LibraryTree();

    [[nodiscard]] const std::vector<std::unique_ptr<LibraryNode>> &topLevel() const { return root_->children_; }
    // Number of nodes.
    [[nodiscard]] std::size_t count() const { return count_; }
    [[nodiscard]] bool empty() const { return count_ == 0; }

    // Node by pre-order index, or null.
    [[nodiscard]] LibraryNode *nodeAt(std::size_t index) const;
    // Pre-order index of a node of this tree.
    [[nodiscard]] std::size_t indexOf(const LibraryNode *node) const;
    // The siblings of node (top-level nodes for a top-level node).
    [[nodiscard]] const std::vector<std::unique_ptr<LibraryNode>> &siblingsOf(const LibraryNode *node) const;

    // Visits every node in pre-order.
    template <typename Fn> void forEachPreorder(Fn &&fn) const
    {
        for (const auto &top : root_->children_)
            top->forEachInSubtree(fn);
    }

    // New last sibling of `sibling` (a new last top-level node when sibling is null).
    LibraryNode *add(LibraryNode *sibling, Bytes title);
    // New last child of `parent` (a new last top-level node when parent is null).
    LibraryNode *addChild(LibraryNode *parent, Bytes title);
    // New node right before `target` among its siblings (last top-level node when null).
    LibraryNode *insertBefore(LibraryNode *target, Bytes title);
    // Moves node (with its subtree) right before target, under target's parent. Refused
    // (false) when target lies in node's own subtree; true and no change when already there.
    bool moveBefore(LibraryNode *node, LibraryNode *target);
    // Removes node and its subtree.
    void remove(LibraryNode *node);
    void clear();

private:
    LibraryNode *attach(LibraryNode *parent, std::size_t position, Bytes title);

    std::unique_ptr<LibraryNode> root_;
    std::size_t count_ = 0;
};

// Sum of Count over every block of the tree.
std::int64_t totalIcons(const LibraryTree &tree);

// Frees the blocks of node and its whole subtree, lowering iconTotal by each freed Count.
void FreeSubtreeBlocks(LibraryNode *node, std::int32_t &iconTotal);
// Frees every block of the tree; the icon total is the caller's to reset.
void FreeAllIconBlocks(LibraryTree &tree);

} // namespace pictarium
