// The "Display Variable" dialog: a variable's value asked of the program
// being debugged, refreshed, changed, or added to (or deleted from) the
// active watch pane.
#pragma once

#include <QDialog>

#include "debug/DebugControl.h"

class QLineEdit;
class QPushButton;

namespace varn {

class CDisplayVariable : public QDialog {
    Q_OBJECT
public:
    static constexpr int IDC_REFRESH = 1015;
    static constexpr int IDC_CHANGE = 1016;
    static constexpr int IDC_ADD_WATCH = 1017;
    static constexpr int IDC_DELETE_WATCH = 1018;

    // Asks for the value of `name` at once when it is not blank.
    CDisplayVariable(DebugControl& control, DebugControl::VariableMode mode, const QString& name,
                     QWidget* parent = nullptr);

    QLineEdit* nameField() const { return name_; }
    QLineEdit* valueField() const { return value_; }
    QPushButton* button(int id) const;

    void refreshValue();
    void changeValue();
    void addWatch();
    void deleteWatch();

private:
    DebugControl& control_;
    DebugControl::VariableMode mode_;
    QLineEdit* name_;
    QLineEdit* value_;
    QPushButton* refresh_;
    QPushButton* change_;
    QPushButton* addWatch_;
    QPushButton* deleteWatch_;
};

}  // namespace varn
