#include "form/FormDialogCommands.h"

#include <QAction>
#include <QWidget>

#include "form/CProjectVariablesDlg.h"
#include "project/VARNWorkspaceManager.h"

namespace varn {

FormDialogCommands::FormDialogCommands(QWidget* window, VARNWorkspaceManager& workspace, Ui& ui)
    : QObject(window), window_(window), workspace_(workspace), ui_(ui) {
    projectVariables_ = new QAction(QStringLiteral("Project Variables..."), this);
    projectVariables_->setObjectName(QStringLiteral("ProjectVariables"));
    connect(projectVariables_, &QAction::triggered, this, &FormDialogCommands::projectVariables);
}

void FormDialogCommands::projectVariables() { CProjectVariablesDlg::run(window_, workspace_.project(), ui_); }

}  // namespace varn
