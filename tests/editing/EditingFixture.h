#pragma once
// A started window whose tree is built in code, with helpers to find nodes and to point the
// mouse at a node.

#include "app/FormFixture.h"

#include <QCursor>

#include <optional>

namespace formtest {

struct NodeSpec {
    int level; // 0: top level
    std::string title;
    std::optional<std::vector<testbytes::Bytes>> images; // nothing: no block
};

// n distinct icons.
inline std::vector<testbytes::Bytes> icons(unsigned first, unsigned n)
{
    std::vector<testbytes::Bytes> v;
    for (unsigned i = 0; i < n; ++i)
        v.push_back(testbytes::ico16(first + i));
    return v;
}

class Editing : public Form {
protected:
    // A shown window with the given nodes (in pre-order), FIconTotal their icon count.
    void build(const std::vector<NodeSpec> &nodes)
    {
        start();
        form->resize(600, 400);
        form->show();
        std::vector<pictarium::LibraryNode *> path;
        for (const auto &n : nodes) {
            path.resize(static_cast<std::size_t>(n.level));
            auto *parent = path.empty() ? nullptr : path.back();
            auto *made = form->treeModel().addChild(parent, testbytes::str(n.title));
            if (n.images)
                form->treeModel().setBlock(made, pictarium::TIconBlock::parse(testbytes::block(*n.images)));
            path.push_back(made);
        }
        form->TreeView->expandAll();
        form->FIconTotal = static_cast<std::int32_t>(pictarium::totalIcons(form->tree()));
    }

    pictarium::LibraryNode *byTitle(const std::string &title) const
    {
        pictarium::LibraryNode *found = nullptr;
        form->tree().forEachPreorder([&](pictarium::LibraryNode &n) {
            if (n.title == testbytes::str(title))
                found = &n;
        });
        return found;
    }

    // The mouse over the middle of a node's row (null: below the last row of the tree).
    void pointAt(const pictarium::LibraryNode *node) const
    {
        QWidget *area = form->TreeView->viewport();
        QPoint at;
        if (node) {
            at = form->TreeView->visualRect(form->treeModel().indexOf(node)).center();
        } else {
            at = QPoint(area->width() / 2, area->height() - 2);
        }
        QCursor::setPos(area->mapToGlobal(at));
    }

    // Titles in pre-order, each indented by two spaces per level.
    std::vector<std::string> outline() const
    {
        std::vector<std::string> lines;
        form->tree().forEachPreorder([&](pictarium::LibraryNode &n) {
            lines.push_back(std::string(2 * static_cast<std::size_t>(n.level()), ' ') +
                            std::string(n.title.begin(), n.title.end()));
        });
        return lines;
    }

    // Whether the node's title is open for editing in the tree.
    bool editing(const pictarium::LibraryNode *node) const
    {
        return form->TreeView->indexWidget(form->treeModel().indexOf(node)) != nullptr;
    }
};

} // namespace formtest
