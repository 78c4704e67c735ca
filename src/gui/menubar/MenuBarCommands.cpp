#include "menubar/MenuBarCommands.h"

#include <QAction>
#include <QMenu>

#include "app/CMainFrame.h"
#include "app/DocumentManager.h"
#include "editor/FindInFiles.h"
#include "menubar/CMenuBarDlg.h"
#include "project/CProjectBar.h"
#include "project/ProjectCommands.h"
#include "project/VARNWorkspaceManager.h"

namespace varn {

MenuBarCommands::MenuBarCommands(CMainFrame& frame, Ui& ui) : QObject(&frame), frame_(frame), ui_(ui) {
    setObjectName(QStringLiteral("MenuBarCommands"));
}

void MenuBarCommands::install() {
    CProjectBar* bar = frame_.projectBar();
    bar->setHandler(CProjectBar::Command::AddMenubar, [this] { openDesigner(); });
    connect(bar, &CProjectBar::menuBarRequested, this, [this](const QString& name) { openDesigner(name); });

    // On the Project menu after "Add Files...".
    addMenubar_ = new QAction(QString::fromLatin1(kAddMenubar), this);
    addMenubar_->setObjectName(QStringLiteral("AddMenubar"));
    connect(addMenubar_, &QAction::triggered, this, [this] { openDesigner(); });
    if (QMenu* project = frame_.menu(QStringLiteral("Project"))) {
        const QList<QAction*> entries = project->actions();
        QAction* before = nullptr;
        for (int i = 0; i + 1 < entries.size(); ++i)
            if (entries[i]->text() == QStringLiteral("Add Files...")) before = entries[i + 1];
        project->insertAction(before, addMenubar_);
        // Only with a project, and not while a tool runs.
        connect(project, &QMenu::aboutToShow, this,
                [this] { addMenubar_->setEnabled(!frame_.workspace().project().projectPath.empty()); });
    }
    connect(&frame_, &CMainFrame::busyChanged, addMenubar_, [this](bool busy) { addMenubar_->setEnabled(!busy); });
}

MenuDesignerHooks MenuBarCommands::hooks() {
    DuplicateCheck& check = frame_.commands().duplicates();
    MenuDesignerHooks h;
    h.formOfObject = [&check](const std::string& name, bool quiet) { return check.findObjectForm(name, quiet); };
    h.frameOfMenuBar = check.menuBarUserFinder();
    h.findInvoker = [this](const std::string& name) {
        DocumentManager& documents = frame_.documentManager();
        FindInFiles finder(ui_, &documents);
        auto at = finder.findInvoker(FindInFiles::projectFiles(frame_.workspace().project().tree), name, false);
        if (!at) return false;
        documents.openAtLine(at->path, at->line - 1, false);
        return true;
    };
    return h;
}

void MenuBarCommands::openDesigner(const QString& select) {
    ProjectModel& project = frame_.workspace().project();
    if (project.projectPath.empty()) return;
    const QString chosen = CMenuBarDlg::run(&frame_, project, ui_, hooks(), select);
    if (chosen.isEmpty()) return;
    // The project tree shows the menu bar that was chosen at OK.
    project.tree.expand(ProjectTree::kMenuBars);
    CProjectBar* bar = frame_.projectBar();
    for (const PROJECT_ITEM* r : project.tree.itemsOfKind(ItemKind::MenuBar)) {
        if (QString::fromStdString(r->path) == chosen) {
            bar->view()->setCurrentItem(bar->rowOf(r->item));
            break;
        }
    }
}

}  // namespace varn
