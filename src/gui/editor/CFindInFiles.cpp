#include "editor/CFindInFiles.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QCoreApplication>
#include <QGridLayout>
#include <QLabel>
#include <QProgressDialog>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QVBoxLayout>
#include <functional>

#include "build/COutputControlBar.h"

namespace varn {

namespace {

// The search writes "\r\n" line ends; the pane's document wants "\n".
QString paneText(const std::string& text) {
    QString s = QString::fromStdString(text);
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return s;
}

// Clears the pane and brings the bar, with that pane in front, into view.
COutputPane& preparePane(COutputControlBar& output, int paneIndex) {
    if (output.isHidden()) output.show();
    output.raise();
    output.activatePane(paneIndex);
    COutputPane& pane = *output.pane(paneIndex);
    pane.clear();
    return pane;
}

// Runs a list-mode search while the window stays alive: when the files take
// longer than half a second a busy box shows, whose "Cancel" ends the search.
FindSummary searchAlive(QWidget* window, Ui& ui, const OpenDocuments* documents,
                        const std::function<FindSummary(FindInFiles&)>& run) {
    QProgressDialog busy(QStringLiteral("Searching the project's files..."), QStringLiteral("Cancel"), 0, 0, window);
    busy.setWindowTitle(QStringLiteral("Find in Files"));
    busy.setWindowModality(Qt::WindowModal);
    busy.setMinimumDuration(500);
    busy.setValue(0);
    FindInFiles search(ui, documents);
    search.setWaitHook([&busy] {
        // Until the box shows, the window only paints: nothing typed or
        // clicked may change the project under the search.
        QCoreApplication::processEvents(busy.isVisible() ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
        return !busy.wasCanceled();
    });
    return run(search);
}

}  // namespace

// ---------------------------------------------------------------------------

COutputFindPane::COutputFindPane(COutputPane& pane) : pane_(pane) {
    const QTextDocument* doc = pane_.document();
    // Text already there counts as the search would have written it.
    if (!doc->isEmpty()) length_ = static_cast<std::size_t>(pane_.toPlainText().size() + doc->blockCount() - 1);
}

COutputFindPane::~COutputFindPane() { flush(); }

void COutputFindPane::append(std::string_view text) {
    pending_.append(text);
    length_ += text.size();
}

void COutputFindPane::flush() {
    if (pending_.empty()) return;
    QTextCursor end(pane_.document());
    end.movePosition(QTextCursor::End);
    end.insertText(paneText(pending_));
    pending_.clear();
}

void COutputFindPane::scrollToEnd() {
    flush();
    QTextCursor end(pane_.document());
    end.movePosition(QTextCursor::End);
    end.movePosition(QTextCursor::StartOfBlock);
    pane_.setTextCursor(end);
    pane_.verticalScrollBar()->setValue(pane_.verticalScrollBar()->maximum());
}

// ---------------------------------------------------------------------------

CFindInFiles::CFindInFiles(SettingsStore& store, QWidget* parent)
    : QDialog(parent), store_(store), history_(FindHistory::load(store)) {
    setObjectName(QStringLiteral("FindInFiles"));
    setWindowTitle(QStringLiteral("Find in Files"));

    findWhat_ = new QComboBox(this);
    findWhat_->setObjectName(QStringLiteral("FindWhat"));
    findWhat_->setEditable(true);
    findWhat_->setInsertPolicy(QComboBox::NoInsert);
    findWhat_->setMinimumContentsLength(32);
    findWhat_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    // Completing from the history must not change the case of what is typed.
    if (QCompleter* c = findWhat_->completer()) c->setCaseSensitivity(Qt::CaseSensitive);
    for (const std::string& entry : history_.entries) findWhat_->addItem(QString::fromStdString(entry));
    findWhat_->setEditText(QString::fromStdString(history_.initialText()));
    auto* findWhatLabel = new QLabel(QStringLiteral("Find what:"), this);
    findWhatLabel->setBuddy(findWhat_);

    matchCase_ = new QCheckBox(QStringLiteral("Match &case"), this);
    matchCase_->setObjectName(QStringLiteral("MatchCase"));
    matchCase_->setChecked(history_.matchCase);
    regex_ = new QCheckBox(QStringLiteral("Regular &expression"), this);
    regex_->setObjectName(QStringLiteral("RegularExpression"));
    regex_->setChecked(history_.regularExpression);
    pane2_ = new QCheckBox(QStringLiteral("O&utput to pane 2"), this);
    pane2_->setObjectName(QStringLiteral("OutputToPane2"));
    pane2_->setChecked(false);

    find_ = new QPushButton(QStringLiteral("Find"), this);
    find_->setObjectName(QStringLiteral("Find"));
    find_->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("Cancel"));
    connect(find_, &QPushButton::clicked, this, &CFindInFiles::accept);
    connect(cancel, &QPushButton::clicked, this, &CFindInFiles::reject);

    auto* grid = new QGridLayout(this);
    grid->addWidget(findWhatLabel, 0, 0);
    grid->addWidget(findWhat_, 0, 1);
    auto* checks = new QVBoxLayout;
    checks->addWidget(matchCase_);
    checks->addWidget(regex_);
    checks->addWidget(pane2_);
    checks->addStretch(1);
    grid->addLayout(checks, 1, 0, 1, 2);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(find_);
    buttons->addWidget(cancel);
    buttons->addStretch(1);
    grid->addLayout(buttons, 0, 2, 2, 1);
    grid->setColumnStretch(1, 1);
    grid->setSizeConstraint(QLayout::SetFixedSize);
}

FindOptions CFindInFiles::options() const {
    FindOptions o;
    o.text = findWhat_->currentText().toStdString();
    o.matchCase = matchCase_->isChecked();
    o.regularExpression = regex_->isChecked();
    return o;
}

int CFindInFiles::paneIndex() const {
    return pane2_->isChecked() ? COutputControlBar::FindPane2 : COutputControlBar::FindPane1;
}

void CFindInFiles::accept() {
    const FindOptions o = options();
    history_.record(store_, o.text, o.matchCase, o.regularExpression);
    QDialog::accept();
}

bool CFindInFiles::run(QWidget* parent, SettingsStore& store, COutputControlBar& output, const ProjectTree& tree,
                       Ui& ui, const OpenDocuments* documents) {
    FindOptions options;
    int paneIndex = COutputControlBar::FindPane1;
    {
        CFindInFiles dlg(store, parent);
        if (dlg.exec() != QDialog::Accepted) return false;
        options = dlg.options();
        paneIndex = dlg.paneIndex();
    }
    searchProject(output, paneIndex, options, tree, ui, documents);
    return true;
}

FindSummary CFindInFiles::searchProject(COutputControlBar& output, int paneIndex, const FindOptions& options,
                                        const ProjectTree& tree, Ui& ui, const OpenDocuments* documents) {
    COutputFindPane pane(preparePane(output, paneIndex));
    return searchAlive(output.window(), ui, documents, [&](FindInFiles& search) {
        return search.list(FindInFiles::projectFiles(tree), options, pane);
    });
}

FindSummary CFindInFiles::findAllFunctions(COutputControlBar& output, const ProjectTree& tree, Ui& ui,
                                           const OpenDocuments* documents) {
    COutputPane& target = preparePane(output, COutputControlBar::FindPane1);
    target.setHorizontalBar(false);
    COutputFindPane pane(target);
    return searchAlive(output.window(), ui, documents, [&](FindInFiles& search) {
        return search.listFunctions(FindInFiles::projectFiles(tree), pane);
    });
}

}  // namespace varn
