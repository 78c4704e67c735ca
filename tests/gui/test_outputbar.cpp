// The output bar: its panes, the build pane's scrolling and horizontal bar
// rules, and the jump from a double-clicked line.
#include <QMainWindow>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTextBlock>
#include <QtTest>

#include "GuiFixture.h"
#include "build/BuildLogReader.h"
#include "build/COutputControlBar.h"

using namespace varn;

namespace {

BuildLogResult logOf(const std::string& text, bool failed, std::size_t widest = 10) {
    BuildLogResult r;
    r.opened = true;
    r.buildFailed = failed;
    r.paneText = text;
    r.widestLine = widest;
    return r;
}

std::string manyLines(int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += "line " + std::to_string(i) + "\r\n";
    return s;
}

// Double-clicks the start of a pane's block.
void doubleClickBlock(COutputPane* pane, int block) {
    QTextCursor c(pane->document()->findBlockByNumber(block));
    pane->setTextCursor(c);
    pane->ensureCursorVisible();
    QPoint at = pane->cursorRect(c).center() + QPoint(2, 0);
    QTest::mouseDClick(pane->viewport(), Qt::LeftButton, Qt::NoModifier, at);
}

}  // namespace

class OutputBarTest : public QObject {
    Q_OBJECT
private:
    QMainWindow* window = nullptr;
    COutputControlBar* bar = nullptr;

private slots:
    void init() {
        window = new QMainWindow;
        window->setCentralWidget(new QWidget(window));
        bar = new COutputControlBar(window);
        window->addDockWidget(Qt::BottomDockWidgetArea, bar);
        window->resize(900, 600);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
    }
    void cleanup() {
        delete window;
        window = nullptr;
    }

    void panesAreReadOnlyWithoutWrapping() {
        QCOMPARE(bar->tabs()->count(), 3);
        QCOMPARE(bar->activePane(), int(COutputControlBar::BuildPane));
        for (int i = 0; i < 3; ++i) {
            QVERIFY(bar->pane(i)->isReadOnly());
            QCOMPARE(bar->pane(i)->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
            QVERIFY(!bar->pane(i)->horizontalBarShown());
            QCOMPARE(bar->pane(i)->lineWrapMode(), QPlainTextEdit::NoWrap);
            QCOMPARE(bar->pane(i)->isBuildPane(), i == COutputControlBar::BuildPane);
        }
    }

    // Build text and logs show the bar at the build tab, without blank lines
    // for carriage returns and without the horizontal bar.
    void buildTextAndLogsShowTheBuildTab() {
        bar->activatePane(COutputControlBar::FindPane1);
        bar->hide();
        bar->buildPane()->setHorizontalBar(true);
        bar->showBuildText(QStringLiteral("Compiling c_build code, please wait..."));
        QVERIFY(bar->isVisible());
        QCOMPARE(bar->buildPane()->toPlainText(), QStringLiteral("Compiling c_build code, please wait..."));
        QVERIFY(!bar->buildPane()->horizontalBarShown());
        bar->activatePane(COutputControlBar::FindPane1);
        bar->hide();
        bar->showBuildLog(logOf("first\r\nsecond\r\n", false));
        QVERIFY(bar->isVisible());
        QCOMPARE(bar->activePane(), int(COutputControlBar::BuildPane));
        QCOMPARE(bar->buildPane()->toPlainText(), QStringLiteral("first\nsecond\n"));
        QCOMPARE(bar->buildPane()->document()->blockCount(), 3);
        // A log that could not be opened gets no horizontal bar, however wide.
        BuildLogResult r;
        r.paneText = "Unable to open error log x, error code is 2.";
        r.widestLine = 100000;
        bar->showBuildLog(r);
        QVERIFY(!bar->buildPane()->horizontalBarShown());
        QCOMPARE(bar->buildPane()->toPlainText(), QStringLiteral("Unable to open error log x, error code is 2."));
    }

    // A failed build shows its first line, a clean one (empty included) its end.
    void buildLogScrollsByItsResult_data() {
        QTest::addColumn<int>("lines");
        QTest::addColumn<bool>("failed");
        QTest::newRow("failed") << 500 << true;
        QTest::newRow("clean") << 500 << false;
        QTest::newRow("empty") << 0 << false;
    }
    void buildLogScrollsByItsResult() {
        QFETCH(int, lines);
        QFETCH(bool, failed);
        bar->showBuildLog(logOf(manyLines(lines), failed, lines ? 10 : 0));
        QTest::qWait(10);
        QScrollBar* v = bar->buildPane()->verticalScrollBar();
        QCOMPARE(v->value(), failed ? 0 : v->maximum());
        QCOMPARE(bar->buildPane()->textCursor().position(),
                 failed ? 0 : bar->buildPane()->document()->characterCount() - 1);
        QVERIFY(!bar->buildPane()->horizontalBarShown());
        if (lines) QVERIFY(v->maximum() > 0);
    }

    void horizontalBarOnlyForAWideLine() {
        const int paneWidth = bar->buildPane()->viewport()->width();
        const int charWidth = QFontMetrics(bar->buildPane()->font()).horizontalAdvance(QLatin1Char('M'));
        const std::size_t fits = static_cast<std::size_t>((paneWidth - 60) / charWidth / 2);
        bar->showBuildLog(logOf(std::string(fits, 'x') + "\r\n", false, fits));
        QVERIFY(!bar->buildPane()->horizontalBarShown());
        const std::size_t wide = static_cast<std::size_t>(paneWidth / charWidth + 5);
        bar->showBuildLog(logOf(std::string(wide, 'x') + "\r\n", false, wide));
        QVERIFY(bar->buildPane()->horizontalBarShown());
        // Within 30 pixels of the edge counts as needing it.
        const std::size_t nearEdge =
            static_cast<std::size_t>((paneWidth - 2 * bar->buildPane()->document()->documentMargin() - 29) / charWidth);
        QVERIFY(bar->needsHorizontalBar(nearEdge + 1));
        // The next build text removes it again.
        bar->showBuildText(QString());
        QVERIFY(!bar->buildPane()->horizontalBarShown());
    }

    void doubleClickOnAnErrorLineAsksForTheFile() {
        bar->setProjectFolderSource([] { return std::string("/proj"); });
        QSignalSpy spy(bar, &COutputControlBar::openAtLine);
        const std::string error = BuildLogReader::rewriteLine("File /proj/x.vsl, Line 12: Undefined variable");
        bar->showBuildLog(logOf("Compiling\r\n" + error + "\r\nCompile complete: 1 error(s)\r\n", true));
        doubleClickBlock(bar->buildPane(), 1);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toString(), QStringLiteral("/proj/x.vsl"));
        QCOMPARE(spy.at(0).at(1).toInt(), 11);
        // A line that names no file does nothing.
        doubleClickBlock(bar->buildPane(), 0);
        QCOMPARE(spy.count(), 1);
    }

    void cCompilerLinesJumpFromTheBuildPaneOnly() {
        bar->setProjectFolderSource([] { return std::string("/proj"); });
        QSignalSpy spy(bar, &COutputControlBar::openAtLine);
        bar->showBuildText(QStringLiteral("../main.c:40: parse error"));
        doubleClickBlock(bar->buildPane(), 0);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toString(), QStringLiteral("/proj/main.c"));
        QCOMPARE(spy.at(0).at(1).toInt(), 39);

        bar->activatePane(COutputControlBar::FindPane1);
        bar->pane(0)->setPlainText(QStringLiteral("../main.c:40: parse error"));
        doubleClickBlock(bar->pane(0), 0);
        QCOMPARE(spy.count(), 1);
        bar->pane(0)->setPlainText(QStringLiteral("function f()  Line: 7     File: /proj/a.vsl"));
        doubleClickBlock(bar->pane(0), 0);
        QCOMPARE(spy.count(), 2);
        QCOMPARE(spy.at(1).at(1).toInt(), 6);
    }

    void longLineIsCutForTheJump() {
        QString line = QString(600, QLatin1Char('a'));
        bar->showBuildText(line);
        QCOMPARE(bar->buildPane()->lineTextAt(0).size(), 512);
    }
};

QTEST_MAIN(OutputBarTest)
#include "test_outputbar.moc"
