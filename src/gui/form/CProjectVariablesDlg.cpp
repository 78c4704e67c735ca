#include "form/CProjectVariablesDlg.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

#include "form/CVARNfbListBoxEditor.h"
#include "form/ProjectVariables.h"
#include "project/ProjectModel.h"

namespace varn {

CProjectVariablesDlg::CProjectVariablesDlg(std::vector<std::string>& variables, Ui& ui, QWidget* parent)
    : QDialog(parent), variables_(variables), ui_(ui) {
    setObjectName(QStringLiteral("ProjectVariablesDlg"));
    setWindowTitle(QString::fromUtf8(kProjectVariablesTitle));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QString::fromUtf8(kProjectVariablesHeading), this));
    editor_ = new CVARNfbListBoxEditor(this);
    QStringList lines;
    for (const std::string& v : variables_) lines << QString::fromStdString(v);
    editor_->setLines(lines);
    layout->addWidget(editor_, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(420, 300);
}

void CProjectVariablesDlg::accept() {
    std::vector<std::string> lines;
    for (const QString& line : editor_->lines()) lines.push_back(line.toStdString());
    if (acceptProjectVariables(lines, variables_, ui_)) QDialog::accept();
}

bool CProjectVariablesDlg::run(QWidget* parent, ProjectModel& project, Ui& ui) {
    const std::vector<std::string> before = project.projectVars;
    CProjectVariablesDlg dlg(project.projectVars, ui, parent);
    const bool ok = dlg.exec() == QDialog::Accepted;
    if (project.projectVars != before) project.modified = true;
    return ok;
}

}  // namespace varn
