// The modal "MenuBars" dialog: the project's menu bars as a tree with the
// fields of the chosen node (Expression, Display, Name, Invokes and its
// browse button), New, OK and Cancel, and a preview of the chosen menu bar.
// The rules are core's MenuBarDesigner; the dialog shows and forwards.
#pragma once

#include <QDialog>

#include "menubar/MenuBarDesigner.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QTreeWidgetItem;

namespace varn {

class CMenuBarPreview;
class CMenuBarTree;
class Ui;
struct ProjectModel;

class CMenuBarDlg : public QDialog {
    Q_OBJECT
public:
    // Opens on the project's menu bars with the bar `select` chosen (none
    // when empty or unknown).
    CMenuBarDlg(ProjectModel& project, Ui& ui, MenuDesignerHooks hooks, const QString& select,
                QWidget* parent = nullptr);

    // Runs the dialog; the name of the menu bar chosen at OK (empty after
    // Cancel, after OK on a read-only file or with no bar chosen).
    static QString run(QWidget* parent, ProjectModel& project, Ui& ui, MenuDesignerHooks hooks, const QString& select);

    const MenuBarDesigner& designer() const { return designer_; }
    CMenuBarTree* tree() const { return tree_; }
    CMenuBarPreview* preview() const { return preview_; }
    MenuNode currentNode() const { return current_; }
    bool readOnly() const { return readOnly_; }
    QString chosenBar() const { return chosenBar_; }

    // The buttons' work, also for tests.
    void addNew();
    void deleteCurrent();
    void browseInvokes();
    void accept() override;

private:
    MenuFields typed() const;
    void showFields();
    void updatePreview();
    void rebuild();
    void select(const MenuNode& node);
    void currentChanged(QTreeWidgetItem* now);
    void moveRow(QTreeWidgetItem* row, int to);
    MenuNode nodeOf(QTreeWidgetItem* row) const;
    QTreeWidgetItem* rowOf(const MenuNode& node) const;

    ProjectModel& project_;
    Ui& ui_;
    MenuBarDesigner designer_;
    MenuNode current_;
    bool readOnly_ = false;
    QString chosenBar_;

    CMenuBarTree* tree_ = nullptr;
    QCheckBox* expression_ = nullptr;
    QLineEdit* display_ = nullptr;
    QLineEdit* name_ = nullptr;
    QLineEdit* invokes_ = nullptr;
    QPushButton* browse_ = nullptr;
    QPushButton* new_ = nullptr;
    CMenuBarPreview* preview_ = nullptr;
};

}  // namespace varn
