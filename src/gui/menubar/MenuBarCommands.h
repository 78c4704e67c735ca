// The menu bar designer on the main window: "Add Menubar..." in the project
// tree's context menu and the Project menu, and the double-click on a menu
// bar of the tree, each opening the "MenuBars" dialog.
#pragma once

#include <QObject>
#include <QString>

#include "menubar/MenuBarDesigner.h"

class QAction;

namespace varn {

class CMainFrame;
class Ui;

class MenuBarCommands : public QObject {
    Q_OBJECT
public:
    static constexpr const char* kAddMenubar = "Add Menubar...";

    MenuBarCommands(CMainFrame& frame, Ui& ui);

    // Puts the commands into the frame's menus and project bar.
    void install();
    QAction* addMenubarAction() const { return addMenubar_; }

    // Opens the dialog on the project's menu bars with `select` chosen;
    // after OK the project tree shows the chosen menu bar.
    void openDesigner(const QString& select = {});
    // What the dialog asks of the project: the form walk and the sources.
    MenuDesignerHooks hooks();

private:
    CMainFrame& frame_;
    Ui& ui_;
    QAction* addMenubar_ = nullptr;
};

}  // namespace varn
