// The Tools menu's "Customize..." dialog: the user tools with their menu
// text, command, arguments and initial folder, added, edited, removed and
// put in order; OK writes them to "VARNTools.dat".
#pragma once

#include <QDialog>

#include <vector>

#include "app/UserTools.h"

class QLineEdit;
class QListWidget;
class QPushButton;

namespace varn {

class Ui;

class CUserToolsDlg : public QDialog {
    Q_OBJECT
public:
    CUserToolsDlg(std::vector<UserTool> tools, QWidget* parent = nullptr);

    const std::vector<UserTool>& tools() const { return tools_; }
    QListWidget* list() const { return list_; }
    QLineEdit* menuText() const { return menuText_; }
    QLineEdit* command() const { return command_; }
    QLineEdit* arguments() const { return arguments_; }
    QLineEdit* initialFolder() const { return folder_; }

    void addTool();
    void removeTool();
    void move(int by);

private:
    void showTool(int row);
    void storeFields();
    void refreshList(int select);

    std::vector<UserTool> tools_;
    QListWidget* list_;
    QLineEdit* menuText_;
    QLineEdit* command_;
    QLineEdit* arguments_;
    QLineEdit* folder_;
    QPushButton* add_;
    int shown_ = -1;
};

}  // namespace varn
