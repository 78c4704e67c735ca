#include "menubar/CMenuBarTree.h"

#include <QDropEvent>
#include <QKeyEvent>
#include <QMouseEvent>

namespace varn {

CMenuBarTree::CMenuBarTree(QWidget* parent) : QTreeWidget(parent) {
    setObjectName(QStringLiteral("MenuBarTree"));
    setHeaderHidden(true);
    setColumnCount(1);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setDragDropMode(QAbstractItemView::InternalMove);
    setDefaultDropAction(Qt::MoveAction);
}

int CMenuBarTree::indexOf(QTreeWidgetItem* row) const {
    return row->parent() ? row->parent()->indexOfChild(row) : indexOfTopLevelItem(row);
}

int CMenuBarTree::dropIndex(QTreeWidgetItem* dragged, QTreeWidgetItem* target, bool below) const {
    if (!dragged || !target || target->parent() != dragged->parent()) return -1;
    const int from = indexOf(dragged);
    const int onto = indexOf(target);
    if (below) return from < onto ? onto : onto + 1;
    return from < onto ? onto - 1 : onto;
}

int CMenuBarTree::dropIndexAt(const QPoint& at) const {
    // A drop onto a row puts the dragged one in its place.
    const DropIndicatorPosition place = dropIndicatorPosition();
    if (place == QAbstractItemView::OnViewport) return -1;
    return dropIndex(currentItem(), itemAt(at), place == QAbstractItemView::BelowItem);
}

void CMenuBarTree::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Delete && currentItem()) {
        emit deleteRequested();
        return;
    }
    QTreeWidget::keyPressEvent(e);
}

void CMenuBarTree::mousePressEvent(QMouseEvent* e) {
    // A click below the nodes chooses none: "New" then adds a menu bar.
    if (!itemAt(e->position().toPoint())) {
        setCurrentItem(nullptr);
        return;
    }
    QTreeWidget::mousePressEvent(e);
}

void CMenuBarTree::dragMoveEvent(QDragMoveEvent* e) {
    QTreeWidget::dragMoveEvent(e);
    if (dropIndexAt(e->position().toPoint()) < 0) e->ignore();
}

void CMenuBarTree::dropEvent(QDropEvent* e) {
    // The dialog moves the object and rebuilds the rows; the view moves nothing.
    QTreeWidgetItem* dragged = currentItem();
    const int to = dropIndexAt(e->position().toPoint());
    e->setDropAction(Qt::IgnoreAction);
    e->accept();
    if (to >= 0) emit moveRequested(dragged, to);
}

}  // namespace varn
