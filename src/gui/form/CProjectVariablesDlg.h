// The "Project Variables" dialog: the project's variables, one "name = value"
// line each, in the in-place list editor. OK takes the lines into the project
// through core's rule and stays open on the first line it refuses.
#pragma once

#include <QDialog>
#include <string>
#include <vector>

namespace varn {

class CVARNfbListBoxEditor;
class Ui;
struct ProjectModel;

class CProjectVariablesDlg : public QDialog {
    Q_OBJECT
public:
    CProjectVariablesDlg(std::vector<std::string>& variables, Ui& ui, QWidget* parent = nullptr);

    CVARNfbListBoxEditor* editor() const { return editor_; }
    void accept() override;

    // Shows the dialog on the project's variables; a change marks the project
    // modified. True when it was closed with OK.
    static bool run(QWidget* parent, ProjectModel& project, Ui& ui);

private:
    std::vector<std::string>& variables_;
    Ui& ui_;
    CVARNfbListBoxEditor* editor_;
};

}  // namespace varn
