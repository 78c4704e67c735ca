// The main window's commands that open the designer's project-wide dialogs:
// "Project Variables..." on the Project menu and in the project tree's
// context menu.
#pragma once

#include <QObject>

class QAction;
class QWidget;

namespace varn {

class Ui;
class VARNWorkspaceManager;

class FormDialogCommands : public QObject {
    Q_OBJECT
public:
    FormDialogCommands(QWidget* window, VARNWorkspaceManager& workspace, Ui& ui);

    // The Project menu's entry; it runs projectVariables().
    QAction* projectVariablesAction() const { return projectVariables_; }
    // Opens the "Project Variables" dialog on the open project.
    void projectVariables();

private:
    QWidget* window_;
    VARNWorkspaceManager& workspace_;
    Ui& ui_;
    QAction* projectVariables_;
};

}  // namespace varn
