#include "form/CSelectionListDlg.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

#include "form/CVARNfbListBoxEditor.h"

namespace varn {

CSelectionListDlg::CSelectionListDlg(const std::string& title, std::vector<std::string> items, int size, Ui& ui,
                                     QWidget* parent)
    : QDialog(parent), model_(std::move(items), size), ui_(ui) {
    setObjectName(QStringLiteral("SelectionListDlg"));
    setWindowTitle(QString::fromUtf8(kSelectionListTitle));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QString::fromStdString(SelectionList::heading(title)), this));
    editor_ = new CVARNfbListBoxEditor(this);
    layout->addWidget(editor_, 1);
    auto* numbers = new QFormLayout;
    count_ = new QLabel(this);
    count_->setObjectName(QStringLiteral("Count"));
    size_ = new QSpinBox(this);
    size_->setObjectName(QStringLiteral("Size"));
    size_->setRange(0, SelectionList::kMaxSize);
    // The size is taken when the user has finished typing it, not per digit.
    size_->setKeyboardTracking(false);
    numbers->addRow(tr("Count"), count_);
    numbers->addRow(tr("Size"), size_);
    layout->addLayout(numbers);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    connect(editor_, &CVARNfbListBoxEditor::lineAdded, this, [this](int row) {
        if (model_.insert(row, {}))
            refresh(false);
        else
            refresh(true);
    });
    connect(editor_, &CVARNfbListBoxEditor::lineDeleted, this, [this](int row) {
        model_.remove(row);
        refresh(false);
    });
    connect(editor_, &CVARNfbListBoxEditor::lineMoved, this, [this](int from, int to) { model_.move(from, to); });
    connect(editor_, &CVARNfbListBoxEditor::lineEdited, this,
            [this](int row, const QString& text) { model_.setItem(row, text.toStdString()); });
    connect(size_, &QSpinBox::valueChanged, this, &CSelectionListDlg::sizeEntered);
    refresh(true);
    resize(380, 320);
}

void CSelectionListDlg::sizeEntered(int size) {
    if (size == model_.size()) return;
    const bool shrinks = size < model_.count();
    model_.setSize(size, ui_);
    refresh(shrinks);
}

void CSelectionListDlg::refresh(bool lines) {
    if (lines) {
        QStringList out;
        for (const std::string& item : model_.items()) out << QString::fromStdString(item);
        editor_->setLines(out);
    }
    count_->setText(QString::number(model_.count()));
    const QSignalBlocker block(size_);
    size_->setValue(model_.size());
}

bool CSelectionListDlg::run(QWidget* parent, const std::string& title, std::vector<std::string>& items, int& size,
                            Ui& ui) {
    CSelectionListDlg dlg(title, items, size, ui, parent);
    if (dlg.exec() != QDialog::Accepted) return false;
    dlg.model().apply(items, size);
    return true;
}

}  // namespace varn
