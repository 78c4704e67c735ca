#include "build/CUserListDlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

namespace varn {

CUserListDlg::CUserListDlg(const std::vector<std::string>& users, const std::string& preselected, QWidget* parent)
    : QDialog(parent), combo_(new QComboBox(this)) {
    setWindowTitle(tr("HotSync User"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("Install for the HotSync user:"), this));
    for (const auto& u : users) combo_->addItem(QString::fromStdString(u));
    const int at = combo_->findText(QString::fromStdString(preselected), Qt::MatchExactly);
    if (at >= 0) combo_->setCurrentIndex(at);
    layout->addWidget(combo_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

std::string CUserListDlg::chosen() const { return combo_->currentText().toStdString(); }

}  // namespace varn
