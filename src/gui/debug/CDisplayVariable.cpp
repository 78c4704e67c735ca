#include "debug/CDisplayVariable.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace varn {

CDisplayVariable::CDisplayVariable(DebugControl& control, DebugControl::VariableMode mode, const QString& name,
                                   QWidget* parent)
    : QDialog(parent), control_(control), mode_(mode) {
    setObjectName(QStringLiteral("DisplayVariable"));
    setWindowTitle(QStringLiteral("Display Variable"));
    name_ = new QLineEdit(name.trimmed(), this);
    value_ = new QLineEdit(this);
    value_->setMinimumWidth(320);
    refresh_ = new QPushButton(QStringLiteral("Refresh"), this);
    change_ = new QPushButton(QStringLiteral("Change"), this);
    addWatch_ = new QPushButton(QStringLiteral("Add Watch"), this);
    deleteWatch_ = new QPushButton(QStringLiteral("Delete Watch"), this);
    auto* ok = new QPushButton(QStringLiteral("Ok"), this);
    ok->setDefault(true);
    if (mode_ == DebugControl::VariableMode::Display) {
        addWatch_->setEnabled(false);
        deleteWatch_->setEnabled(false);
    }
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Name:"), name_);
    form->addRow(QStringLiteral("Value:"), value_);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {refresh_, change_, addWatch_, deleteWatch_, ok}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    ok->setAutoDefault(true);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    connect(refresh_, &QPushButton::clicked, this, &CDisplayVariable::refreshValue);
    connect(change_, &QPushButton::clicked, this, &CDisplayVariable::changeValue);
    connect(addWatch_, &QPushButton::clicked, this, &CDisplayVariable::addWatch);
    connect(deleteWatch_, &QPushButton::clicked, this, &CDisplayVariable::deleteWatch);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    if (!name_->text().isEmpty()) refreshValue();
}

QPushButton* CDisplayVariable::button(int id) const {
    switch (id) {
    case IDC_REFRESH: return refresh_;
    case IDC_CHANGE: return change_;
    case IDC_ADD_WATCH: return addWatch_;
    case IDC_DELETE_WATCH: return deleteWatch_;
    default: return nullptr;
    }
}

void CDisplayVariable::refreshValue() {
    if (auto value = control_.requestValue(name_->text().toStdString(), mode_))
        value_->setText(QString::fromStdString(*value));
}

void CDisplayVariable::changeValue() {
    if (auto value = control_.changeValue(name_->text().toStdString(), value_->text().toStdString(), mode_))
        value_->setText(QString::fromStdString(*value));
}

void CDisplayVariable::addWatch() {
    control_.addWatch(name_->text().trimmed().toStdString());
    accept();
}

void CDisplayVariable::deleteWatch() {
    control_.deleteWatch(name_->text().trimmed().toStdString());
    accept();
}

}  // namespace varn
