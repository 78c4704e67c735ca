// The HotSync user list: a combo box of the users the install library
// reports, with the remembered user preselected.
#pragma once

#include <QDialog>

#include <string>
#include <vector>

class QComboBox;

namespace varn {

class CUserListDlg : public QDialog {
    Q_OBJECT
public:
    CUserListDlg(const std::vector<std::string>& users, const std::string& preselected, QWidget* parent = nullptr);

    QComboBox* combo() const { return combo_; }
    std::string chosen() const;

private:
    QComboBox* combo_;
};

}  // namespace varn
