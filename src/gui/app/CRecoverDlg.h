// The "Recover Unsaved Work" dialog: the documents that IDEs which ended
// without saving left in the recovery journal, each with its kind and time,
// and the choice to recover them, discard them or decide later.
#pragma once

#include <QDialog>
#include <vector>

#include "app/RecoveryJournal.h"

class QTreeWidget;

namespace varn {

class CRecoverDlg : public QDialog {
    Q_OBJECT
public:
    enum Result { Later = 0, Recover = 1, Discard = 2 };

    CRecoverDlg(const std::vector<JournalEntry>& entries, QWidget* parent = nullptr);
    QTreeWidget* list() const { return list_; }

private:
    QTreeWidget* list_;
};

}  // namespace varn
