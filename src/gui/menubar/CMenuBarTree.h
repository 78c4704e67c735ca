// The tree of the "MenuBars" dialog: menu bars at the first level, their tops
// at the second, items at the third. It reports the Delete key, a click on
// empty space (no node chosen) and a node dragged to another place among its
// siblings; the dialog decides what happens.
#pragma once

#include <QTreeWidget>

namespace varn {

class CMenuBarTree : public QTreeWidget {
    Q_OBJECT
public:
    explicit CMenuBarTree(QWidget* parent = nullptr);

    // The position `to` among its siblings that a drop above (or `below`)
    // `target` gives the dragged row; -1 when the drop leaves the row's parent.
    int dropIndex(QTreeWidgetItem* dragged, QTreeWidgetItem* target, bool below) const;

signals:
    void deleteRequested();
    void moveRequested(QTreeWidgetItem* row, int to);

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void dragMoveEvent(QDragMoveEvent* e) override;
    void dropEvent(QDropEvent* e) override;

private:
    int indexOf(QTreeWidgetItem* row) const;
    // The drop index for the present drag over `at` (viewport coordinates).
    int dropIndexAt(const QPoint& at) const;
};

}  // namespace varn
