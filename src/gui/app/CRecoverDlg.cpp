#include "app/CRecoverDlg.h"

#include <QDateTime>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace varn {

namespace {

QString noteOf(const JournalEntry& e) {
    if (e.damaged) return CRecoverDlg::tr("Damaged: can only be discarded");
    if (e.originalChanged) return CRecoverDlg::tr("The file changed on disk since");
    return {};
}

}  // namespace

CRecoverDlg::CRecoverDlg(const std::vector<JournalEntry>& entries, QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("Recover Unsaved Work"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(
        new QLabel(tr("The IDE ended without saving these documents. Their last changes were kept."), this));
    list_ = new QTreeWidget(this);
    list_->setObjectName(QStringLiteral("RecoverList"));
    list_->setRootIsDecorated(false);
    list_->setHeaderLabels({tr("Document"), tr("Kind"), tr("Time"), tr("Note")});
    for (const JournalEntry& e : entries) {
        auto* item = new QTreeWidgetItem(list_);
        item->setText(0, QString::fromStdString(e.name()));
        item->setText(1, QString::fromUtf8(journalKindName(e.info.kind)));
        item->setText(2, QDateTime::fromSecsSinceEpoch(e.info.time).toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")));
        item->setText(3, noteOf(e));
    }
    list_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    layout->addWidget(list_);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* recover = buttons->addButton(tr("Recover"), QDialogButtonBox::AcceptRole);
    QPushButton* discard = buttons->addButton(tr("Discard"), QDialogButtonBox::DestructiveRole);
    QPushButton* later = buttons->addButton(tr("Later"), QDialogButtonBox::RejectRole);
    recover->setObjectName(QStringLiteral("Recover"));
    discard->setObjectName(QStringLiteral("Discard"));
    later->setObjectName(QStringLiteral("Later"));
    recover->setDefault(true);
    connect(recover, &QPushButton::clicked, this, [this] { done(Recover); });
    connect(discard, &QPushButton::clicked, this, [this] { done(Discard); });
    connect(later, &QPushButton::clicked, this, [this] { done(Later); });
    layout->addWidget(buttons);
    resize(640, 300);
}

}  // namespace varn
