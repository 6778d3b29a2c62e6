// The icon view of the selected node and the status bar.

#include "app/IconListModel.h"
#include "app/LibraryTreeModel.h"
#include "app/MainForm.h"

#include <QLabel>
#include <QListView>
#include <QStyledItemDelegate>

namespace pictarium {

namespace {

// Large icons: the picture above its caption, centred, as in an icon grid.
class LargeIconDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        option->decorationPosition = QStyleOptionViewItem::Top;
        option->decorationAlignment = Qt::AlignHCenter | Qt::AlignVCenter;
        option->displayAlignment = Qt::AlignHCenter | Qt::AlignTop;
        option->decorationSize = QSize(32, 32);
        option->features |= QStyleOptionViewItem::HasDecoration;
    }
};

// Small icons and list: the picture left of its caption, in a fixed 16x16 cell.
class SmallIconDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        option->decorationSize = QSize(16, 16);
        option->features |= QStyleOptionViewItem::HasDecoration;
    }
};

enum class ViewStyle { Large, Small, List };

void applyStyle(QListView *view, IconListModel &model, ViewStyle style)
{
    // Every style lays items out in a static grid of uniform cells, which costs nothing per
    // item, so a node of any size is shown at once.
    view->setViewMode(QListView::ListMode);
    view->setMovement(QListView::Static);
    view->setResizeMode(QListView::Adjust);
    view->setLayoutMode(QListView::Batched);
    view->setBatchSize(1000);
    view->setWrapping(true);
    view->setSpacing(0);
    QAbstractItemDelegate *old = view->itemDelegate();
    switch (style) {
    case ViewStyle::Large:
        model.setIconSide(32);
        view->setFlow(QListView::LeftToRight);
        view->setIconSize(QSize(32, 32));
        view->setGridSize(QSize(75, 60));
        view->setWordWrap(true);
        view->setItemDelegate(new LargeIconDelegate(view));
        break;
    case ViewStyle::Small:
        model.setIconSide(16);
        view->setFlow(QListView::LeftToRight);
        view->setIconSize(QSize(16, 16));
        view->setGridSize(QSize(100, 20));
        view->setWordWrap(false);
        view->setItemDelegate(new SmallIconDelegate(view));
        break;
    case ViewStyle::List:
        model.setIconSide(16);
        view->setFlow(QListView::TopToBottom);
        view->setIconSize(QSize(16, 16));
        view->setGridSize(QSize(100, 20));
        view->setWordWrap(false);
        view->setItemDelegate(new SmallIconDelegate(view));
        break;
    }
    if (old && old->parent() == view)
        old->deleteLater();
}

} // namespace

void TMainForm::TreeViewChange()
{
    const LibraryNode *node = selectedNode();
    if (!node || !node->block) {
        iconModel_->showPlaceholder();
        FNodeIconCount = 0;
        UpdateStatusBar(sfNodeIcons);
        return;
    }
    FNodeIconCount = node->block->Count();
    iconModel_->showBlock(node, *node->block);
    UpdateStatusBar(sfNodeIcons);
}

void TMainForm::ListView1Change() { UpdateStatusBar(sfSelected); }

void TMainForm::UpdateStatusBar(int code)
{
    auto set = [this](int panel, const QString &text) { panels_[static_cast<std::size_t>(panel)]->setText(text); };
    if (code & sfFileSize)
        set(3, QStringLiteral("文件大小:%1").arg(FFileSize));
    if (code & sfIconTotal)
        set(4, QStringLiteral("图标总数:%1").arg(FIconTotal));
    if (code & sfNodeIcons)
        set(0, QStringLiteral("图标个数:%1").arg(FNodeIconCount));
    if (code & sfSelected)
        set(1, QStringLiteral("选中:%1").arg(ListView1->selectionModel()->selectedIndexes().size()));
    if (code & sfModified)
        set(2, FModified ? QStringLiteral("修改") : QStringLiteral("无变化"));
}

void TMainForm::SetListViewBigClick() { applyStyle(ListView1, *iconModel_, ViewStyle::Large); }

void TMainForm::SetListViewSmallClick() { applyStyle(ListView1, *iconModel_, ViewStyle::Small); }

void TMainForm::SetListViewListClick() { applyStyle(ListView1, *iconModel_, ViewStyle::List); }

} // namespace pictarium
