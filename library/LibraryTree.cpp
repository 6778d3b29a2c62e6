#include "LibraryTree.h"

#include <algorithm>
#include <utility>

namespace pictarium {
namespace {

// Destroys a subtree without recursion: children are detached level by level.
void destroyIteratively(std::vector<std::unique_ptr<LibraryNode>> &&nodes,
                        std::vector<std::unique_ptr<LibraryNode>> &(*childrenOf)(LibraryNode &))
{
    std::vector<std::unique_ptr<LibraryNode>> pending = std::move(nodes);
    while (!pending.empty()) {
        std::unique_ptr<LibraryNode> n = std::move(pending.back());
        pending.pop_back();
        auto &kids = childrenOf(*n);
        for (auto &k : kids)
            pending.push_back(std::move(k));
        kids.clear();
    }
}

} // namespace

struct NodeAccess {
    static std::vector<std::unique_ptr<LibraryNode>> &children(LibraryNode &n) { return n.children_; }
};

LibraryNode::~LibraryNode()
{
    if (!children_.empty())
        destroyIteratively(std::move(children_), &NodeAccess::children);
}

int LibraryNode::level() const
{
    int l = 0;
    for (const LibraryNode *p = parent(); p; p = p->parent())
        ++l;
    return l;
}

std::size_t LibraryNode::row() const
{
    const auto &sibs = parent_->children_;
    for (std::size_t i = 0; i < sibs.size(); ++i)
        if (sibs[i].get() == this)
            return i;
    return 0;
}

bool LibraryNode::isSelfOrAncestorOf(const LibraryNode *other) const
{
    for (const LibraryNode *p = other; p; p = p->parent_)
        if (p == this)
            return true;
    return false;
}

LibraryTree::LibraryTree() : root_(std::make_unique<LibraryNode>()) {}
LibraryTree::LibraryTree(LibraryTree &&other) noexcept
    : root_(std::exchange(other.root_, std::make_unique<LibraryNode>())),
      count_(std::exchange(other.count_, 0))
{
}
LibraryTree &LibraryTree::operator=(LibraryTree &&other) noexcept
{
    if (this != &other) {
        root_ = std::exchange(other.root_, std::make_unique<LibraryNode>());
        count_ = std::exchange(other.count_, 0);
    }
    return *this;
}
LibraryTree::~LibraryTree() = default;

LibraryNode *LibraryTree::nodeAt(std::size_t index) const
{
    if (index >= count_)
        return nullptr;
    LibraryNode *found = nullptr;
    std::size_t i = 0;
    // A bounded pre-order walk: stop once the index is reached.
    std::vector<std::pair<LibraryNode *, std::size_t>> stack{{root_.get(), 0}};
    while (!stack.empty() && !found) {
        auto &[n, next] = stack.back();
        if (next == n->children_.size()) {
            stack.pop_back();
            continue;
        }
        LibraryNode *c = n->children_[next++].get();
        if (i++ == index)
            found = c;
        else
            stack.push_back({c, 0});
    }
    return found;
}

std::size_t LibraryTree::indexOf(const LibraryNode *node) const
{
    std::size_t i = 0, result = 0;
    forEachPreorder([&](const LibraryNode &n) {
        if (&n == node)
            result = i;
        ++i;
    });
    return result;
}

const std::vector<std::unique_ptr<LibraryNode>> &LibraryTree::siblingsOf(const LibraryNode *node) const
{
    return node->parent_->children_;
}

LibraryNode *LibraryTree::attach(LibraryNode *parent, std::size_t position, Bytes title)
{
    auto node = std::make_unique<LibraryNode>();
    node->title = std::move(title);
    node->parent_ = parent;
    LibraryNode *raw = node.get();
    parent->children_.insert(parent->children_.begin() + static_cast<std::ptrdiff_t>(position), std::move(node));
    ++count_;
    return raw;
}

LibraryNode *LibraryTree::add(LibraryNode *sibling, Bytes title)
{
    LibraryNode *parent = sibling ? sibling->parent_ : root_.get();
    return attach(parent, parent->children_.size(), std::move(title));
}

LibraryNode *LibraryTree::addChild(LibraryNode *parent, Bytes title)
{
    LibraryNode *p = parent ? parent : root_.get();
    return attach(p, p->children_.size(), std::move(title));
}

LibraryNode *LibraryTree::insertBefore(LibraryNode *target, Bytes title)
{
    if (!target)
        return attach(root_.get(), root_->children_.size(), std::move(title));
    return attach(target->parent_, target->row(), std::move(title));
}

bool LibraryTree::moveBefore(LibraryNode *node, LibraryNode *target)
{
    if (!node || !target || node->isSelfOrAncestorOf(target))
        return false;
    LibraryNode *oldParent = node->parent_;
    const std::size_t from = node->row();
    LibraryNode *newParent = target->parent_;
    if (oldParent == newParent && from + 1 == target->row())
        return true;
    std::unique_ptr<LibraryNode> owned = std::move(oldParent->children_[from]);
    oldParent->children_.erase(oldParent->children_.begin() + static_cast<std::ptrdiff_t>(from));
    const std::size_t to = target->row();
    owned->parent_ = newParent;
    newParent->children_.insert(newParent->children_.begin() + static_cast<std::ptrdiff_t>(to), std::move(owned));
    return true;
}

void LibraryTree::remove(LibraryNode *node)
{
    if (!node)
        return;
    std::size_t removed = 0;
    std::vector<const LibraryNode *> stack{node};
    while (!stack.empty()) {
        const LibraryNode *n = stack.back();
        stack.pop_back();
        ++removed;
        for (auto &c : n->children_)
            stack.push_back(c.get());
    }
    auto &sibs = node->parent_->children_;
    sibs.erase(sibs.begin() + static_cast<std::ptrdiff_t>(node->row()));
    count_ -= removed;
}

void LibraryTree::clear()
{
    destroyIteratively(std::move(root_->children_), &NodeAccess::children);
    root_->children_.clear();
    count_ = 0;
}

std::int64_t totalIcons(const LibraryTree &tree)
{
    std::int64_t total = 0;
    tree.forEachPreorder([&](const LibraryNode &n) { total += n.iconCount(); });
    return total;
}

void FreeSubtreeBlocks(LibraryNode *node, std::int32_t &iconTotal)
{
    if (!node)
        return;
    node->forEachInSubtree([&](LibraryNode &n) {
        iconTotal -= n.iconCount();
        n.block.reset();
    });
}

void FreeAllIconBlocks(LibraryTree &tree)
{
    tree.forEachPreorder([](LibraryNode &n) { n.block.reset(); });
}

} // namespace pictarium
