#include "editor/CFindReplaceDlg.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "editor/CVarnIdeView.h"

namespace varn {

CFindReplaceDlg::CFindReplaceDlg(std::function<CVarnIdeView*()> activeView, QWidget* parent)
    : QDialog(parent), activeView_(std::move(activeView)) {
    setObjectName(QStringLiteral("FindReplace"));
    auto* grid = new QGridLayout(this);
    find_ = new QLineEdit(this);
    replace_ = new QLineEdit(this);
    replaceLabel_ = new QLabel(tr("Re&place with:"), this);
    replaceLabel_->setBuddy(replace_);
    auto* findLabel = new QLabel(tr("Fi&nd what:"), this);
    findLabel->setBuddy(find_);
    case_ = new QCheckBox(tr("Match &case"), this);
    word_ = new QCheckBox(tr("Match &whole word only"), this);
    regex_ = new QCheckBox(tr("Regular e&xpression"), this);
    up_ = new QCheckBox(tr("Search &up"), this);
    note_ = new QLabel(this);
    auto* next = new QPushButton(tr("&Find Next"), this);
    next->setDefault(true);
    replaceButton_ = new QPushButton(tr("&Replace"), this);
    replaceAllButton_ = new QPushButton(tr("Replace &All"), this);
    auto* close = new QPushButton(tr("Close"), this);
    grid->addWidget(findLabel, 0, 0);
    grid->addWidget(find_, 0, 1);
    grid->addWidget(next, 0, 2);
    grid->addWidget(replaceLabel_, 1, 0);
    grid->addWidget(replace_, 1, 1);
    grid->addWidget(replaceButton_, 1, 2);
    grid->addWidget(case_, 2, 0, 1, 2);
    grid->addWidget(replaceAllButton_, 2, 2);
    grid->addWidget(word_, 3, 0, 1, 2);
    grid->addWidget(close, 3, 2);
    grid->addWidget(regex_, 4, 0, 1, 2);
    grid->addWidget(up_, 5, 0, 1, 2);
    grid->addWidget(note_, 6, 0, 1, 3);
    connect(next, &QPushButton::clicked, this, &CFindReplaceDlg::findNext);
    connect(replaceButton_, &QPushButton::clicked, this, &CFindReplaceDlg::replaceOne);
    connect(replaceAllButton_, &QPushButton::clicked, this, &CFindReplaceDlg::replaceAll);
    connect(close, &QPushButton::clicked, this, &QDialog::hide);
}

void CFindReplaceDlg::showFor(bool replace) {
    setWindowTitle(replace ? tr("Replace") : tr("Find"));
    for (QWidget* w : {static_cast<QWidget*>(replace_), static_cast<QWidget*>(replaceLabel_),
                       static_cast<QWidget*>(replaceButton_), static_cast<QWidget*>(replaceAllButton_)})
        w->setVisible(replace);
    if (CVarnIdeView* v = activeView_()) {
        const QString selected = v->selectedText();
        if (!selected.isEmpty() && !selected.contains(QLatin1Char('\n'))) find_->setText(selected);
        else if (const std::string word = v->wordAtCaret(); !word.empty()) find_->setText(QString::fromStdString(word));
    }
    note_->clear();
    show();
    raise();
    activateWindow();
    find_->setFocus();
    find_->selectAll();
}

bool CFindReplaceDlg::search(CVarnIdeView& v, bool fromSelectionStart) {
    int line = -1, index = -1;
    if (fromSelectionStart && v.hasSelectedText()) {
        int l2 = 0, i2 = 0;
        v.getSelection(&line, &index, &l2, &i2);
    }
    const bool found = v.findFirst(find_->text(), regex_->isChecked(), case_->isChecked(), word_->isChecked(),
                                   true, !up_->isChecked(), line, index, true);
    note_->setText(found ? QString() : tr("Cannot find the string '%1'.").arg(find_->text()));
    return found;
}

bool CFindReplaceDlg::findNext() {
    CVarnIdeView* v = activeView_();
    if (!v || find_->text().isEmpty()) return false;
    return search(*v, false);
}

bool CFindReplaceDlg::replaceOne() {
    CVarnIdeView* v = activeView_();
    if (!v || find_->text().isEmpty() || v->isReadOnly()) return false;
    // The selection is replaced when it is the match; then the next is found.
    if (v->hasSelectedText() && search(*v, true)) v->replace(replace_->text());
    return search(*v, false);
}

int CFindReplaceDlg::replaceAll() {
    CVarnIdeView* v = activeView_();
    if (!v || find_->text().isEmpty() || v->isReadOnly()) return 0;
    int count = 0;
    v->beginUndoAction();
    bool found = v->findFirst(find_->text(), regex_->isChecked(), case_->isChecked(), word_->isChecked(), false,
                              true, 0, 0, false);
    while (found) {
        v->replace(replace_->text());
        ++count;
        found = v->findNext();
    }
    v->endUndoAction();
    note_->setText(tr("%1 occurrence(s) replaced.").arg(count));
    return count;
}

}  // namespace varn
