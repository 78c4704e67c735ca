#include "form/CVARNfbListBoxEditor.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace varn {

CVARNfbListBoxEditor::CVARNfbListBoxEditor(QWidget* parent) : QWidget(parent) {
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("Lines"));
    list_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    list_->installEventFilter(this);
    add_ = new QPushButton(tr("&Add"), this);
    delete_ = new QPushButton(tr("&Delete"), this);
    up_ = new QPushButton(tr("Move &Up"), this);
    down_ = new QPushButton(tr("Move Do&wn"), this);
    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {add_, delete_, up_, down_}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    buttons->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(list_, 1);
    layout->addLayout(buttons);
    connect(add_, &QPushButton::clicked, this, &CVARNfbListBoxEditor::addLine);
    connect(delete_, &QPushButton::clicked, this, &CVARNfbListBoxEditor::deleteCurrent);
    connect(up_, &QPushButton::clicked, this, [this] { moveCurrent(-1); });
    connect(down_, &QPushButton::clicked, this, [this] { moveCurrent(1); });
    connect(list_, &QListWidget::currentRowChanged, this, &CVARNfbListBoxEditor::updateButtons);
    connect(list_, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        if (!filling_) emit lineEdited(list_->row(item), item->text());
    });
    updateButtons();
}

void CVARNfbListBoxEditor::setLines(const QStringList& lines) {
    const int current = list_->currentRow();
    filling_ = true;
    list_->clear();
    for (const QString& line : lines) {
        auto* item = new QListWidgetItem(line, list_);
        item->setFlags(item->flags() | Qt::ItemIsEditable);
    }
    filling_ = false;
    list_->setCurrentRow(std::min(current, list_->count() - 1));
    updateButtons();
}

QStringList CVARNfbListBoxEditor::lines() const {
    QStringList out;
    for (int i = 0; i < list_->count(); ++i) out << list_->item(i)->text();
    return out;
}

void CVARNfbListBoxEditor::addLine() {
    const int row = list_->count();
    filling_ = true;
    auto* item = new QListWidgetItem(QString(), list_);
    item->setFlags(item->flags() | Qt::ItemIsEditable);
    filling_ = false;
    list_->setCurrentRow(row);
    emit lineAdded(row);
    // The dialog may have refused the line (a full list).
    if (list_->count() > row && list_->item(row) == item) list_->editItem(item);
    updateButtons();
}

void CVARNfbListBoxEditor::deleteCurrent() {
    const int row = list_->currentRow();
    if (row < 0) return;
    delete list_->takeItem(row);
    emit lineDeleted(row);
    updateButtons();
}

void CVARNfbListBoxEditor::moveCurrent(int by) {
    const int from = list_->currentRow();
    const int to = from + by;
    if (from < 0 || to < 0 || to >= list_->count()) return;
    QListWidgetItem* item = list_->takeItem(from);
    list_->insertItem(to, item);
    list_->setCurrentRow(to);
    emit lineMoved(from, to);
    updateButtons();
}

void CVARNfbListBoxEditor::editCurrent() {
    if (QListWidgetItem* item = list_->currentItem()) list_->editItem(item);
}

bool CVARNfbListBoxEditor::eventFilter(QObject* watched, QEvent* event) {
    if (watched == list_ && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool ctrl = key->modifiers() & Qt::ControlModifier;
        switch (key->key()) {
            case Qt::Key_Insert:
                addLine();
                return true;
            case Qt::Key_Delete:
                deleteCurrent();
                return true;
            case Qt::Key_Return:
            case Qt::Key_Enter:
                if (!list_->currentItem()) return false;
                editCurrent();
                return true;
            case Qt::Key_Up:
            case Qt::Key_Down:
                if (!ctrl) return false;
                moveCurrent(key->key() == Qt::Key_Up ? -1 : 1);
                return true;
            default:
                break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void CVARNfbListBoxEditor::updateButtons() {
    const int row = list_->currentRow();
    delete_->setEnabled(row >= 0);
    up_->setEnabled(row > 0);
    down_->setEnabled(row >= 0 && row + 1 < list_->count());
}

}  // namespace varn
