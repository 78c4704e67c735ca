// The watch bar: "Watch1", "Watch2", "Watch3" and "Locals" as tabs of
// two-column lists showing the panes of the debug control, with the watch
// tabs' context menu ("Clear Window", "Delete Variable") and an empty row
// at the end of each watch tab to type a new variable into.
#pragma once

#include <QDockWidget>

#include <array>

class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace varn {

class WatchPanes;

class CWatchControlBar : public QDockWidget {
    Q_OBJECT
public:
    static constexpr int ID_CLEAR_WINDOW = 32788;
    static constexpr int ID_DELETE_VARIABLE = 32789;

    CWatchControlBar(WatchPanes& panes, QWidget* parent = nullptr);

    // Shows the panes' items again.
    void refresh();
    void setPaneFont(const QFont& font);
    QTabWidget* tabs() const { return tabs_; }
    QTreeWidget* list(int pane) const { return lists_[static_cast<std::size_t>(pane)]; }

    // The watch tabs' menu commands on the active pane.
    void clearWindow();
    void deleteVariable();

signals:
    // A variable was double-clicked.
    void variableActivated(const QString& name);
    // The watch panes' names changed (they are kept with the project).
    void watchListsChanged();
    // A name was typed into the empty row of a watch pane.
    void watchAdded(int pane);

private:
    void showMenu(int pane, const QPoint& at);
    // The empty row at the end of a watch pane.
    bool isNewRow(QTreeWidget* list, QTreeWidgetItem* item) const;

    WatchPanes& panes_;
    QTabWidget* tabs_;
    std::array<QTreeWidget*, 4> lists_{};
};

}  // namespace varn
