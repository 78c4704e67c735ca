// Run and debug in the main window against the stand-in runtime: breakpoints
// with F9, a debug session that stops, steps and shows its variables, the
// layout switch, and the commands' enabling per configuration.
#include <QAction>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

#include "GuiFixture.h"
#include "app/CMainFrame.h"
#include "app/DocumentManager.h"
#include "build/COutputControlBar.h"
#include "build/ProjectBuilder.h"
#include "debug/CDisplayVariable.h"
#include "debug/CWatchControlBar.h"
#include "debug/DebugCommands.h"
#include "debug/DebugControl.h"
#include "debug/WatchPanes.h"
#include "editor/CVarnIdeView.h"

using namespace varn;

namespace {

std::string s(const QString& v) { return v.toStdString(); }

QAction* command(CMainFrame& frame, DebugCommand id) {
    frame.updateCommands();
    return frame.debugCommands().action(id);
}

QString valueOf(QTreeWidget* list, const QString& name) {
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        if (list->topLevelItem(i)->text(0) == name) return list->topLevelItem(i)->text(1);
    return QStringLiteral("<none>");
}

}  // namespace

class DebugTest : public QObject {
    Q_OBJECT
private slots:
    void runAndDebugFollowTheConfiguration() {
        guitest::Window ws(QStringLiteral("Demo"));
        QVERIFY(ws.frame.documents().open(s(ws.file(QStringLiteral("Demo.vsl"))), false));
        const struct {
            const char* configuration;
            bool run, debug, breakpoint;
        } rows[] = {{"Windows Debug", true, true, true},
                    {"Windows Release", true, false, false},
                    {"PalmOS Debug", false, false, false}};
        for (const auto& r : rows) {
            ws.frame.setActiveConfiguration(r.configuration);
            QCOMPARE(command(ws.frame, DebugCommand::Run)->isEnabled(), r.run);
            QCOMPARE(command(ws.frame, DebugCommand::Debug)->isEnabled(), r.debug);
            QCOMPARE(command(ws.frame, DebugCommand::Breakpoint)->isEnabled(), r.breakpoint);
            QVERIFY(!command(ws.frame, DebugCommand::Step)->isEnabled());
        }
        QVERIFY(!ws.frame.debugCommands().debugMenu()->menuAction()->isVisible());
    }

    void f9SetsTheBreakpointFlagAndTheProjectKeepsIt() {
        guitest::Window ws(QStringLiteral("Demo"));
        ws.frame.setActiveConfiguration("Windows Debug");
        const std::string path = s(ws.file(QStringLiteral("Demo.vsl")));
        QVERIFY(ws.frame.documents().open(path, false));
        CVarnIdeView* v = ws.frame.documentManager().view(path);
        v->setCursorPosition(8, 0);
        command(ws.frame, DebugCommand::Breakpoint)->trigger();
        QCOMPARE(v->lineFlags(8), CVarnIdeView::kBreakpoint);
        QCOMPARE(ws.model().breakpoints.size(), std::size_t(1));
        QCOMPARE(ws.model().breakpoints[0].line, 9);
        // Lines added above move it, in the view and in the project.
        v->insertAt(QStringLiteral("#\r\n#\r\n"), 0, 0);
        QCOMPARE(v->linesWithFlag(CVarnIdeView::kBreakpoint), std::vector<int>{10});
        QCOMPARE(ws.model().breakpoints[0].line, 11);
        v->SendScintilla(QsciScintilla::SCI_UNDO);
        QCOMPARE(ws.model().breakpoints[0].line, 9);
        // A document opened again takes its breakpoints back.
        ws.frame.documentManager().closeAll();
        QVERIFY(ws.frame.documents().open(path, false));
        QCOMPARE(ws.frame.documentManager().view(path)->lineFlags(8), CVarnIdeView::kBreakpoint);
        command(ws.frame, DebugCommand::RemoveAllBreakpoints)->trigger();
        QVERIFY(ws.frame.documentManager().view(path)->linesWithFlag(CVarnIdeView::kBreakpoint).empty());
        QVERIFY(ws.model().breakpoints.empty());
    }

    void aDebugSessionStopsStepsAndEnds() {
        guitest::Workspace ws(QStringLiteral("Demo"));
        ws.model().watchLists[0] = {"taps", "title"};
        CMainFrame frame(*ws.manager, ws.ui, ws.settings);
        frame.show();
        frame.setActiveConfiguration("Windows Debug");
        const std::string path = s(ws.file(QStringLiteral("Demo.vsl")));
        QVERIFY(frame.documents().open(path, false));
        CVarnIdeView* v = frame.documentManager().view(path);
        const int callLine = guitest::lineOf(*v, "count_taps(3);");
        const int pointsLine = guitest::lineOf(*v, "points = 2;");
        QVERIFY(callLine > 0 && pointsLine > 0);
        v->setCursorPosition(pointsLine, 0);
        command(frame, DebugCommand::Breakpoint)->trigger();
        frame.onCompile();
        QVERIFY2(!frame.builder().buildFailed(), qPrintable(QString::fromStdString(ws.ui.lastText())));

        DebugControl& control = frame.debugCommands().control();
        command(frame, DebugCommand::Debug)->trigger();
        QVERIFY(control.debugMode());
        QVERIFY(guitest::waitFor([&] { return control.stopped(); }));
        // Stopped before the first statement: the watch bar replaces the output bar.
        QVERIFY(frame.debugCommands().watchBar()->isVisible());
        QVERIFY(!frame.outputBar()->isVisible());
        QVERIFY(frame.debugCommands().debugMenu()->menuAction()->isVisible());
        CVarnIdeView* shown = frame.documentManager().view(path);
        QCOMPARE(shown->linesWithFlag(CVarnIdeView::kCurrentStatement), std::vector<int>{callLine - 2});

        // Resume runs to the breakpoint inside count_taps.
        command(frame, DebugCommand::Resume)->trigger();
        QVERIFY(guitest::waitFor([&] { return control.stopped(); }));
        QCOMPARE(shown->linesWithFlag(CVarnIdeView::kCurrentStatement), std::vector<int>{pointsLine});
        QCOMPARE(shown->lineFlags(pointsLine), CVarnIdeView::kBreakpoint | CVarnIdeView::kCurrentStatement);
        CWatchControlBar* bar = frame.debugCommands().watchBar();
        QCOMPARE(valueOf(bar->list(WatchPanes::kLocals), QStringLiteral("times")), QStringLiteral("3"));
        QCOMPARE(valueOf(bar->list(0), QStringLiteral("title")), QStringLiteral("<Invalid expression>"));
        // A watch typed in while stopped shows its value at once.
        QTreeWidget* watch1 = bar->list(0);
        watch1->topLevelItem(watch1->topLevelItemCount() - 1)->setText(0, QStringLiteral("times + 1"));
        QCOMPARE(valueOf(watch1, QStringLiteral("times + 1")), QStringLiteral("4"));

        // Step over the assignment; the locals follow.
        command(frame, DebugCommand::StepOver)->trigger();
        QVERIFY(guitest::waitFor([&] { return control.stopped(); }));
        QCOMPARE(shown->linesWithFlag(CVarnIdeView::kCurrentStatement), std::vector<int>{pointsLine + 1});
        QCOMPARE(valueOf(bar->list(WatchPanes::kLocals), QStringLiteral("points")), QStringLiteral("2"));

        // Change a value from the display dialog, then look at it as a tip would.
        {
            CDisplayVariable dlg(control, DebugControl::VariableMode::Display, QStringLiteral(" taps "));
            QCOMPARE(dlg.valueField()->text(), QStringLiteral("0"));
            dlg.valueField()->setText(QStringLiteral("40"));
            dlg.changeValue();
            QCOMPARE(dlg.valueField()->text(), QStringLiteral("40"));
        }
        auto tip = control.valueTip("  taps = taps + times * points;", 3);
        QVERIFY(tip);
        QCOMPARE(*tip, std::string("taps = 40"));

        // Resume to the end: debug mode ends and the output bar comes back.
        command(frame, DebugCommand::Resume)->trigger();
        QVERIFY(guitest::waitFor([&] { return !control.debugMode() && !control.programWatched(); }));
        QVERIFY(!frame.debugCommands().watchBar()->isVisible());
        QVERIFY(frame.outputBar()->isVisible());
        QVERIFY(shown->linesWithFlag(CVarnIdeView::kCurrentStatement).empty());
        QVERIFY(command(frame, DebugCommand::Debug)->isEnabled());
        guitest::screenshot(frame, QStringLiteral("debug-ended.png"));
    }

    void doubleClickOutsideDebuggingExplains() {
        guitest::Workspace ws(QStringLiteral("Demo"));
        ws.model().watchLists[1] = {"taps"};
        CMainFrame frame(*ws.manager, ws.ui, ws.settings);
        frame.show();
        emit frame.debugCommands().watchBar()->variableActivated(QStringLiteral("taps"));
        QCOMPARE(ws.ui.lastText(), std::string("Variables can only be viewed when the debugger is running."));
        frame.debugCommands().watchBar()->tabs()->setCurrentIndex(1);
        frame.debugCommands().watchBar()->list(1)->topLevelItem(0)->setSelected(true);
        frame.debugCommands().watchBar()->deleteVariable();
        QVERIFY(ws.model().watchLists[1].empty());
        // A name typed into the empty last row becomes a watch of the project.
        QTreeWidget* list = frame.debugCommands().watchBar()->list(1);
        QCOMPARE(list->topLevelItemCount(), 1);
        list->topLevelItem(0)->setText(0, QStringLiteral(" total "));
        QCOMPARE(ws.model().watchLists[1], std::vector<std::string>{"total"});
        QCOMPARE(list->topLevelItemCount(), 2);
        QVERIFY(list->topLevelItem(1)->text(0).isEmpty());
        // The Locals pane takes no names from the user.
        QCOMPARE(frame.debugCommands().watchBar()->list(WatchPanes::kLocals)->topLevelItemCount(), 0);
    }
};

QTEST_MAIN(DebugTest)
#include "test_debug.moc"
