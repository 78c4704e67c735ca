#include "build/COutputControlBar.h"

#include <QFontDatabase>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTabWidget>
#include <QTextBlock>

#include "build/BuildLogReader.h"

namespace varn {

namespace {

constexpr int kFindPane1Id = 3093;
constexpr int kFindPane2Id = 3094;
constexpr int kBuildPaneId = 3093;
constexpr int kMaxJumpLine = 512;
constexpr int kHorizontalSlack = 30;

// Pane text from core's "\r\n" lines: a carriage return would make a blank
// line of its own in the text document.
QString paneText(const std::string& text) {
    QString s = QString::fromStdString(text);
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return s;
}

}  // namespace

COutputPane::COutputPane(int controlId, bool buildPane, QWidget* parent)
    : QPlainTextEdit(parent), controlId_(controlId), buildPane_(buildPane) {
    setReadOnly(true);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setUndoRedoEnabled(false);
    // The caret line decides where a double-click jumps; keep it visible.
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
}

QString COutputPane::lineTextAt(int position) const {
    QTextBlock block = document()->findBlock(position);
    return block.isValid() ? block.text().left(kMaxJumpLine) : QString();
}

void COutputPane::setHorizontalBar(bool shown) {
    setHorizontalScrollBarPolicy(shown ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
}

void COutputPane::mouseDoubleClickEvent(QMouseEvent* e) {
    QPlainTextEdit::mouseDoubleClickEvent(e);
    QTextCursor at = cursorForPosition(e->position().toPoint());
    emit lineDoubleClicked(lineTextAt(at.position()));
}

COutputControlBar::COutputControlBar(QWidget* parent) : QDockWidget(tr("Output Window"), parent) {
    setWindowTitle(QStringLiteral("Output Window"));
    setObjectName(QStringLiteral("OutputWindow"));
    tabs_ = new QTabWidget(this);
    tabs_->setTabPosition(QTabWidget::South);
    tabs_->setDocumentMode(true);
    const struct {
        int id;
        bool build;
        QString title;
    } panes[] = {
        {kFindPane1Id, false, QStringLiteral("Find In Files %1").arg(1)},
        {kFindPane2Id, false, QStringLiteral("Find In Files %1").arg(2)},
        {kBuildPaneId, true, QStringLiteral("Build")},
    };
    for (int i = 0; i < 3; ++i) {
        auto* p = new COutputPane(panes[i].id, panes[i].build, tabs_);
        tabs_->addTab(p, panes[i].title);
        connect(p, &COutputPane::lineDoubleClicked, this, [this, i](const QString& line) { jumpFrom(i, line); });
    }
    tabs_->setCurrentIndex(BuildPane);
    setWidget(tabs_);
}

COutputPane* COutputControlBar::pane(int index) const { return qobject_cast<COutputPane*>(tabs_->widget(index)); }

int COutputControlBar::activePane() const { return tabs_->currentIndex(); }

void COutputControlBar::activatePane(int index) { tabs_->setCurrentIndex(index); }

void COutputControlBar::setPaneFont(const QFont& font) {
    for (int i = 0; i < tabs_->count(); ++i) pane(i)->setFont(font);
}

void COutputControlBar::showBar() {
    if (isHidden()) show();
}

void COutputControlBar::showBuildText(const QString& text) {
    showBar();
    COutputPane* p = buildPane();
    p->setPlainText(paneText(text.toStdString()));
    p->setHorizontalBar(false);
}

void COutputControlBar::appendBuildLine(const QString& line) {
    showBar();
    activatePane(BuildPane);
    buildPane()->appendPlainText(line);
}

bool COutputControlBar::needsHorizontalBar(std::size_t widestChars) const {
    const COutputPane* p = buildPane();
    const QFontMetrics m(p->font());
    const qreal widest = static_cast<qreal>(widestChars) * m.horizontalAdvance(QLatin1Char('M'));
    const qreal formatting = p->viewport()->width() - 2 * p->document()->documentMargin();
    return formatting <= widest + kHorizontalSlack;
}

void COutputControlBar::showBuildLog(const BuildLogResult& result) {
    showBar();
    activatePane(BuildPane);
    COutputPane* p = buildPane();
    p->setHorizontalBar(false);
    p->setPlainText(paneText(result.paneText));
    QTextCursor c(p->document());
    if (result.opened && result.buildFailed) {
        c.movePosition(QTextCursor::Start);
        p->setTextCursor(c);
        p->verticalScrollBar()->setValue(0);
    } else {
        c.movePosition(QTextCursor::End);
        p->setTextCursor(c);
        p->verticalScrollBar()->setValue(p->verticalScrollBar()->maximum());
    }
    if (result.opened && needsHorizontalBar(result.widestLine)) p->setHorizontalBar(true);
}

void COutputControlBar::jumpFrom(int paneIndex, const QString& line) {
    const std::string folder = projectFolder_ ? projectFolder_() : std::string();
    auto target = BuildLogReader::jumpTarget(line.left(kMaxJumpLine).toStdString(), folder, paneIndex == BuildPane);
    if (!target) return;
    emit openAtLine(QString::fromStdString(target->path), target->line - 1);
}

}  // namespace varn
