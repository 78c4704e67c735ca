// The "Project Workspace" bar: the tree of the open project (ResourceView)
// over core's project tree. It shows the project item, the application file,
// the categories with their files and read-only icon variants, offers the
// project context menu and opens items on a double-click.
#pragma once

#include <QDockWidget>
#include <QHash>
#include <QIcon>
#include <QTreeWidget>

#include <functional>
#include <map>

#include "project/ProjectTree.h"

class QMenu;

namespace varn {

// The tree control of the bar.
class ResourceView : public QTreeWidget {
    Q_OBJECT
public:
    explicit ResourceView(QWidget* parent = nullptr);
};

class CProjectBar : public QDockWidget, public ProjectTreeListener {
    Q_OBJECT
public:
    // The entries of the context menu that run a command.
    enum class Command {
        AddFormFile,
        AddBitmapFile,
        AddIconFile,
        AddPackageFile,
        AddCFile,
        AddHFile,
        AddMenubar,
        RemoveProjectItem,
        ProjectSettings,
        ProjectVariables,
        PrcSettings,
        InstallSettings,
        UpdateIncludes,
        CheckForDuplicates,
    };

    // What a tree row stands for, beside the project items' own kinds.
    static constexpr int kCategoryRow = -1;
    static constexpr int kDummyRow = -2;
    static constexpr int kItemRole = Qt::UserRole;      // project item id (0: none)
    static constexpr int kKindRole = Qt::UserRole + 1;  // ItemKind, or a row constant above
    static constexpr int kPathRole = Qt::UserRole + 2;

    explicit CProjectBar(ProjectTree& tree, QWidget* parent = nullptr);
    ~CProjectBar() override;

    ResourceView* view() const { return view_; }
    ProjectTree& projectTree() { return tree_; }

    // Runs the command of a menu entry. An entry without a handler is disabled.
    void setHandler(Command c, std::function<void()> handler) { handlers_[c] = std::move(handler); }
    // Whether the project has an application file (the project commands need one).
    void setHasApplication(std::function<bool()> f) { hasApplication_ = std::move(f); }
    // While a tool runs the project must not change: every entry is disabled.
    void setCommandsBlocked(bool blocked) { blocked_ = blocked; }

    // The context menu for the present selection, entries in their order.
    QMenu* contextMenu();
    static QString commandText(Command c);
    bool commandEnabled(Command c) const;
    void runCommand(Command c);

    // The project item id and kind of the selected row (0 and -1 when no file item).
    int selectedItem() const;
    int selectedKind() const;
    // The row of a project item; null when it is not shown.
    QTreeWidgetItem* rowOf(int item) const;
    QTreeWidgetItem* categoryRow(const QString& label) const;
    QTreeWidgetItem* projectRow() const { return projectRow_; }
    // What a double-click on the row does.
    void activateRow(QTreeWidgetItem* row);

    // Rebuilds the rows from the project tree.
    void projectTreeChanged() override;
    void setTreeFont(const QFont& font) { view_->setFont(font); }

signals:
    void openFileRequested(const QString& path);
    void menuBarRequested(const QString& name);

private:
    QIcon iconOf(ItemKind kind, bool readOnly);
    QTreeWidgetItem* addRow(QTreeWidgetItem* parent, const QString& label, int kind, int item, const QString& path);

    ProjectTree& tree_;
    ResourceView* view_;
    QMenu* menu_ = nullptr;
    QTreeWidgetItem* projectRow_ = nullptr;
    std::map<Command, std::function<void()>> handlers_;
    std::function<bool()> hasApplication_;
    QHash<int, QIcon> icons_;
    bool blocked_ = false;
};

}  // namespace varn
