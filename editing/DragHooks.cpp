// Drag and drop around the tree: the tree starts its own drags so that the end of every
// drag, however it ends, reaches TreeViewEndDrag; it takes drops from the tree and the icon
// list only. The icon list drags its selected icons through the view's own drag support.

#include "app/IconListModel.h"
#include "app/MainForm.h"

#include <QApplication>
#include <QDrag>
#include <QItemSelectionModel>
#include <QDropEvent>
#include <QListView>
#include <QMimeData>
#include <QMouseEvent>
#include <QTreeView>

namespace pictarium {

namespace {

constexpr const char *kTreeNodeMimeType = "application/x-pictarium-tree-node";

class TreeDragHooks : public QObject {
public:
    explicit TreeDragHooks(TMainForm &form) : QObject(form.TreeView->viewport()), form_(form), area_(form.TreeView->viewport()) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // The window may be half torn down when its last events arrive: look at nothing of it
        // before the event is known to be ours.
        if (watched != area_)
            return false;
        switch (event->type()) {
        case QEvent::MouseButtonPress: {
            const auto *e = static_cast<QMouseEvent *>(event);
            pressedOnNode_ = e->button() == Qt::LeftButton && form_.TreeView->indexAt(e->position().toPoint()).isValid();
            pressAt_ = e->position().toPoint();
            return false; // the tree selects the node
        }
        case QEvent::MouseMove: {
            const auto *e = static_cast<QMouseEvent *>(event);
            if (!pressedOnNode_ || !(e->buttons() & Qt::LeftButton))
                return false;
            // While the button is down over a node, moving drags it rather than selecting others.
            if ((e->position().toPoint() - pressAt_).manhattanLength() >= QApplication::startDragDistance()) {
                pressedOnNode_ = false;
                dragNode();
            }
            return true;
        }
        case QEvent::MouseButtonRelease:
            pressedOnNode_ = false;
            return false;
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto *e = static_cast<QDropEvent *>(event);
            if (form_.TreeViewDragOver(e->source())) {
                // A moved icon is removed by the drop itself, not by the list afterwards.
                e->setDropAction(e->source() == form_.TreeView ? Qt::MoveAction : Qt::CopyAction);
                e->accept();
                showDropTarget(form_.TreeView->indexAt(e->position().toPoint()));
            } else {
                e->ignore();
            }
            return true;
        }
        case QEvent::DragLeave:
            showDropTarget({});
            return true;
        case QEvent::Drop: {
            auto *e = static_cast<QDropEvent *>(event);
            showDropTarget({});
            if (!form_.TreeViewDragOver(e->source())) {
                e->ignore();
                return true;
            }
            QObject *source = e->source();
            form_.guarded([&] { form_.TreeViewDragDrop(source); });
            e->setDropAction(source == form_.TreeView ? Qt::MoveAction : Qt::CopyAction);
            e->accept();
            return true;
        }
        default:
            return false;
        }
    }

private:
    void dragNode()
    {
        form_.guarded([this] { form_.TreeViewStartDrag(); });
        auto *drag = new QDrag(form_.TreeView);
        auto *mime = new QMimeData;
        mime->setData(QString::fromLatin1(kTreeNodeMimeType), {});
        drag->setMimeData(mime);
        drag->exec(Qt::MoveAction);
        drag->deleteLater();
        showDropTarget({});
        form_.guarded([this] { form_.TreeViewEndDrag(); });
    }

    // The node under a drag is shown selected, as a drop target; the current node (the one
    // selected for the commands) stays as it is. An invalid index shows the current node again.
    void showDropTarget(const QModelIndex &target)
    {
        QItemSelectionModel *selection = form_.TreeView->selectionModel();
        const QModelIndex shown = target.isValid() ? target : selection->currentIndex();
        if (shown.isValid())
            selection->select(shown, QItemSelectionModel::ClearAndSelect);
        else
            selection->clearSelection();
    }

    TMainForm &form_;
    QWidget *area_;
    bool pressedOnNode_ = false;
    QPoint pressAt_;
};

} // namespace

void TMainForm::installDragHooks()
{
    TreeView->setDragEnabled(false);
    TreeView->setAcceptDrops(true);
    TreeView->viewport()->setAcceptDrops(true);
    TreeView->viewport()->installEventFilter(new TreeDragHooks(*this));

    ListView1->setDragEnabled(true);
    ListView1->setDragDropMode(QAbstractItemView::DragOnly);
    ListView1->setDefaultDropAction(Qt::CopyAction);
}

} // namespace pictarium
