#include "app/CUserToolsDlg.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace varn {

namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

CUserToolsDlg::CUserToolsDlg(std::vector<UserTool> tools, QWidget* parent) : QDialog(parent), tools_(std::move(tools)) {
    setObjectName(QStringLiteral("CustomizeTools"));
    setWindowTitle(tr("Customize Tools"));
    list_ = new QListWidget(this);
    menuText_ = new QLineEdit(this);
    command_ = new QLineEdit(this);
    arguments_ = new QLineEdit(this);
    folder_ = new QLineEdit(this);
    add_ = new QPushButton(tr("&Add"), this);
    auto* remove = new QPushButton(tr("&Remove"), this);
    auto* up = new QPushButton(tr("Move &Up"), this);
    auto* down = new QPushButton(tr("Move &Down"), this);
    auto* browse = new QPushButton(tr("..."), this);
    browse->setMaximumWidth(30);

    auto* side = new QVBoxLayout;
    for (QPushButton* b : {add_, remove, up, down}) side->addWidget(b);
    side->addStretch();
    auto* top = new QHBoxLayout;
    top->addWidget(list_);
    top->addLayout(side);

    auto* form = new QFormLayout;
    form->addRow(tr("&Menu text:"), menuText_);
    auto* commandRow = new QHBoxLayout;
    commandRow->addWidget(command_);
    commandRow->addWidget(browse);
    form->addRow(tr("&Command:"), commandRow);
    form->addRow(tr("A&rguments:"), arguments_);
    form->addRow(tr("&Initial folder:"), folder_);
    auto* macros = new QLabel(tr("Macros: $(ProjectName) $(ProjectPath) $(BuildPath) $(SourceName) $(SourcePath)"), this);
    macros->setWordWrap(true);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        storeFields();
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(form);
    layout->addWidget(macros);
    layout->addWidget(buttons);

    connect(add_, &QPushButton::clicked, this, &CUserToolsDlg::addTool);
    connect(remove, &QPushButton::clicked, this, &CUserToolsDlg::removeTool);
    connect(up, &QPushButton::clicked, this, [this] { move(-1); });
    connect(down, &QPushButton::clicked, this, [this] { move(1); });
    connect(browse, &QPushButton::clicked, this, [this] {
        const QString f = QFileDialog::getOpenFileName(this, tr("Command"), command_->text());
        if (!f.isEmpty()) command_->setText(f);
    });
    connect(list_, &QListWidget::currentRowChanged, this, [this](int row) {
        storeFields();
        showTool(row);
    });
    connect(menuText_, &QLineEdit::textEdited, this, [this](const QString& t) {
        if (QListWidgetItem* item = list_->item(shown_)) item->setText(t);
    });
    refreshList(tools_.empty() ? -1 : 0);
}

void CUserToolsDlg::storeFields() {
    if (shown_ < 0 || shown_ >= static_cast<int>(tools_.size())) return;
    UserTool& t = tools_[static_cast<std::size_t>(shown_)];
    t.menuText = menuText_->text().toStdString();
    t.command = command_->text().toStdString();
    t.arguments = arguments_->text().toStdString();
    t.initialFolder = folder_->text().toStdString();
}

void CUserToolsDlg::showTool(int row) {
    shown_ = row;
    const bool valid = row >= 0 && row < static_cast<int>(tools_.size());
    const UserTool t = valid ? tools_[static_cast<std::size_t>(row)] : UserTool{};
    for (QLineEdit* e : {menuText_, command_, arguments_, folder_}) e->setEnabled(valid);
    menuText_->setText(q(t.menuText));
    command_->setText(q(t.command));
    arguments_->setText(q(t.arguments));
    folder_->setText(q(t.initialFolder));
}

void CUserToolsDlg::refreshList(int select) {
    QSignalBlocker block(list_);
    list_->clear();
    for (const UserTool& t : tools_) list_->addItem(q(t.menuText));
    list_->setCurrentRow(select);
    showTool(select);
    add_->setEnabled(static_cast<int>(tools_.size()) < UserTools::kMaxTools);
}

void CUserToolsDlg::addTool() {
    storeFields();
    if (static_cast<int>(tools_.size()) >= UserTools::kMaxTools) return;
    tools_.push_back({"New Tool", "", "", ""});
    refreshList(static_cast<int>(tools_.size()) - 1);
    menuText_->setFocus();
    menuText_->selectAll();
}

void CUserToolsDlg::removeTool() {
    const int row = list_->currentRow();
    if (row < 0 || row >= static_cast<int>(tools_.size())) return;
    shown_ = -1;
    tools_.erase(tools_.begin() + row);
    refreshList(std::min(row, static_cast<int>(tools_.size()) - 1));
}

void CUserToolsDlg::move(int by) {
    storeFields();
    const int row = list_->currentRow();
    const int to = row + by;
    if (row < 0 || to < 0 || to >= static_cast<int>(tools_.size())) return;
    std::swap(tools_[static_cast<std::size_t>(row)], tools_[static_cast<std::size_t>(to)]);
    refreshList(to);
}

}  // namespace varn
