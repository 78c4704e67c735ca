// The main window: menus, toolbars, bars and the configuration box; the Build
// commands against the stand-in compiler with the busy state, the jump from
// the build pane into the source, and the Qt side of the Ui.
#include <QComboBox>
#include <QDockWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QProgressBar>
#include <QTextBlock>
#include <QToolBar>
#include <QtTest>

#include "GuiFixture.h"
#include "app/CMainFrame.h"
#include "app/DocumentManager.h"
#include "editor/CVarnIdeView.h"
#include "app/GuiUi.h"
#include "build/BuildLogReader.h"
#include "build/COutputControlBar.h"
#include "build/GuiBuildHost.h"
#include "build/ProjectBuilder.h"
#include "platform/Paths.h"
#include "project/CProjectBar.h"

using namespace varn;

namespace {

// A stand-in compiler that counts its runs, takes a while and writes `log`.
void slowCompiler(const QString& install, const QByteArray& log, double seconds) {
    const QString exe = install + QStringLiteral("/varn_c.exe");
    QFile::remove(exe);
    guitest::writeText(exe, "#!/bin/sh\necho run >> runs.txt\nsleep " + QByteArray::number(seconds) +
                                "\nprintf '" + log + "' > varn_c.log\n");
    QFile::setPermissions(exe, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

int lineCount(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return 0;
    return f.readAll().count('\n');
}

}  // namespace

class MainFrameTest : public QObject {
    Q_OBJECT
private slots:
    void windowPieces() {
        guitest::Window ws;
        QCOMPARE(ws.frame.centralWidget(), ws.frame.mdiArea());
        QCOMPARE(&ws.frame.workspace(), ws.manager.get());
        QCOMPARE(ws.frame.dockWidgetArea(ws.frame.projectBar()), Qt::LeftDockWidgetArea);
        QCOMPARE(ws.frame.dockWidgetArea(ws.frame.outputBar()), Qt::BottomDockWidgetArea);
        QVERIFY(ws.frame.busyIndicator()->isHidden());
        // The Execute toolbar carries Compile.
        QVERIFY(ws.frame.executeToolBar()->actions().contains(ws.frame.action(32829)));
    }

    void configurationBox() {
        guitest::Workspace ws(QStringLiteral("Demo"));
        CMainFrame frame(*ws.manager, ws.ui, ws.settings);
        QComboBox* box = frame.configurationBox();
        // The project's configuration shows.
        QCOMPARE(box->currentText(), QStringLiteral("Windows Debug"));
        QVERIFY(frame.windowTitle().startsWith(QStringLiteral("VARNide43")));
        QVERIFY(frame.windowTitle().contains(QStringLiteral("Demo")));
        // Choosing an entry makes it the active configuration.
        emit box->activated(6);
        QCOMPARE(ws.model().activeConfiguration, std::string("PocketPC Debug"));
        emit box->activated(1);
        QCOMPARE(ws.model().activeConfiguration, std::string("Pilot Debug"));
        // Setting it (as a batch build does) moves the box; empty is "Windows Debug".
        frame.setActiveConfiguration("PalmOS Release");
        QCOMPARE(box->currentText(), QStringLiteral("PalmOS Release"));
        frame.setActiveConfiguration("");
        QCOMPARE(box->currentText(), QStringLiteral("Windows Debug"));
        QCOMPARE(ws.model().activeConfiguration, std::string("Windows Debug"));
        frame.setActiveConfiguration("pocketpc release");  // names compare without case
        QCOMPARE(box->currentText(), QStringLiteral("PocketPC Release"));
    }

    void enablingFollowsTheConfiguration() {
        guitest::Workspace ws(QStringLiteral("Demo"));
        CMainFrame frame(*ws.manager, ws.ui, ws.settings);
        // Compile, C Build, Make PRC, PRC Install, VSM Install, PocketPC Install:
        // "e" enabled, "d" disabled, as the menu shows them when it opens.
        const int ids[] = {CMainFrame::ID_BUILD_COMPILE,    CMainFrame::ID_BUILD_CBUILD,
                           CMainFrame::ID_BUILD_MAKEPRC,    CMainFrame::ID_BUILD_PRCINSTALL,
                           CMainFrame::ID_BUILD_VSMINSTALL, CMainFrame::ID_BUILD_POCKETPCINSTALL};
        auto state = [&] {
            frame.updateCommands();
            QString out;
            for (int id : ids) out += frame.action(id)->isEnabled() ? QLatin1Char('e') : QLatin1Char('d');
            return out;
        };
        const std::pair<const char*, const char*> rows[] = {
            {"Windows Debug", "eedddd"}, {"PalmOS Debug", "eeeeed"},
            {"Pilot Debug", "eedddd"},  // the older "Pilot" names are not the PalmOS flavour
            {"PocketPC Release", "eeddde"},
        };
        for (const auto& [configuration, expected] : rows) {
            frame.setActiveConfiguration(configuration);
            QCOMPARE(state(), QString::fromLatin1(expected));
        }
        // An optimized build has no VSM install; C Build shows the setting.
        frame.setActiveConfiguration("PalmOS Debug");
        frame.onCBuild();
        QVERIFY(ws.model().settings.optimizedBuild);
        QVERIFY(ws.model().modified);
        QVERIFY(frame.action(CMainFrame::ID_BUILD_CBUILD)->isChecked());
        QCOMPARE(state(), QStringLiteral("eeeedd"));
        frame.onCBuild();
        QVERIFY(!frame.action(CMainFrame::ID_BUILD_CBUILD)->isChecked());
        // A watched run or debug process keeps Compile disabled.
        frame.setActiveConfiguration("PocketPC Release");
        frame.setProgramWatched([] { return true; });
        QCOMPARE(state(), QStringLiteral("deddde"));
    }

    void noApplicationNoCompile() {
        guitest::Workspace ws;
        CMainFrame frame(*ws.manager, ws.ui, ws.settings);
        frame.setActiveConfiguration("PalmOS Debug");
        QVERIFY(!frame.commandEnabled(CMainFrame::ID_BUILD_COMPILE));
        // No project open: nothing to make a PRC of.
        QVERIFY(!frame.commandEnabled(CMainFrame::ID_BUILD_MAKEPRC));
        frame.onCompile();
        QVERIFY(ws.ui.messages.empty());
    }

    void compileTheErrorSampleAndJumpToTheLine() {
        guitest::Window ws(QStringLiteral("Broken"));
        QVERIFY(QTest::qWaitForWindowExposed(&ws.frame));
        ws.frame.onCompile();
        QVERIFY2(ws.ui.messages.empty(), ws.ui.lastText().c_str());
        QVERIFY(ws.frame.builder().buildFailed());
        COutputPane* pane = ws.frame.outputBar()->buildPane();
        const QString text = pane->toPlainText();
        QVERIFY2(text.contains(QStringLiteral("Line: ")) && text.contains(QStringLiteral("File: ")), qPrintable(text));
        QCOMPARE(ws.frame.outputBar()->activePane(), int(COutputControlBar::BuildPane));
        // A failed build shows its first line.
        QCOMPARE(pane->textCursor().position(), 0);
        QVERIFY(ws.frame.busyIndicator()->isHidden());
        QVERIFY(ws.frame.action(CMainFrame::ID_BUILD_COMPILE)->isEnabled());

        // Double-click the first error line: the source opens at that line.
        QTextBlock block = pane->document()->firstBlock();
        while (block.isValid() && !block.text().contains(QStringLiteral("File: "))) block = block.next();
        QVERIFY(block.isValid());
        auto target = BuildLogReader::jumpTarget(block.text().toStdString(), ws.projectFolder.toStdString());
        QVERIFY(target);
        QTextCursor c(block);
        pane->setTextCursor(c);
        QTest::mouseDClick(pane->viewport(), Qt::LeftButton, Qt::NoModifier, pane->cursorRect(c).center() + QPoint(2, 0));
        const std::string opened = ws.frame.documents().activePath();
        QVERIFY2(paths::equalNoCase(opened, ws.file(QStringLiteral("Broken.vsl")).toStdString()), opened.c_str());
        auto* view = qobject_cast<CVarnIdeView*>(ws.frame.mdiArea()->activeSubWindow()->widget());
        QVERIFY(view);
        QCOMPARE(view->errorLine(), target->line - 1);
        QCOMPARE(view->caretLine(), target->line - 1);
        QVERIFY(!view->isReadOnly() && !view->modified());
        QVERIFY(view->text().contains(QStringLiteral("function startup()")));
        // A second jump reuses the window and moves the mark.
        ws.frame.openAtLine(opened, 0);
        QCOMPARE(ws.frame.mdiArea()->subWindowList().size(), 1);
        QCOMPARE(view->errorLine(), 0);
    }

    void compileTheDemoCleanly() {
        guitest::Window ws(QStringLiteral("Demo"));
        ws.frame.onCompile();
        QVERIFY2(ws.ui.messages.empty(), ws.ui.lastText().c_str());
        QVERIFY(!ws.frame.builder().buildFailed());
        COutputPane* pane = ws.frame.outputBar()->buildPane();
        QVERIFY(pane->toPlainText().contains(QStringLiteral("Compile complete")));
        // A clean build shows the end, where the summary stands.
        QCOMPARE(pane->textCursor().position(), pane->document()->characterCount() - 1);
        QVERIFY(QFileInfo::exists(ws.file(QStringLiteral("varn_c.opt"))));
    }

    void busyWhileTheCompilerRuns() {
        guitest::Workspace ws(QStringLiteral("Demo"));
        slowCompiler(ws.install, "Compile complete: 0 error(s)\\n", 1);
        CMainFrame frame(*ws.manager, ws.ui, ws.settings);
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        bool seen = false, compileEnabled = true, boxEnabled = true, indicatorShown = false, barBlocked = false;
        bool closedDuringBuild = true;
        QTimer::singleShot(300, &frame, [&] {
            seen = true;
            compileEnabled = frame.action(CMainFrame::ID_BUILD_COMPILE)->isEnabled();
            boxEnabled = frame.configurationBox()->isEnabled();
            indicatorShown = !frame.busyIndicator()->isHidden();
            barBlocked = !frame.projectBar()->commandEnabled(CProjectBar::Command::AddFormFile);
            // A second start is refused by the busy flag ...
            frame.onCompile();
            QTest::keyClick(&frame, Qt::Key_F7);
            // ... and closing waits for the tool.
            frame.close();
            closedDuringBuild = !frame.isVisible();
        });
        frame.onCompile();
        QVERIFY(seen);
        QVERIFY(frame.buildHost().pumpCount() >= 3);
        QVERIFY(!compileEnabled);
        QVERIFY(!boxEnabled);
        QVERIFY(indicatorShown);
        QVERIFY(barBlocked);
        QVERIFY(!closedDuringBuild);
        QCOMPARE(lineCount(ws.file(QStringLiteral("runs.txt"))), 1);
        QVERIFY(!frame.builder().busy());
        QVERIFY(frame.busyIndicator()->isHidden());
        QVERIFY(frame.action(CMainFrame::ID_BUILD_COMPILE)->isEnabled());
        // The close asked for during the build happens now.
        QTRY_VERIFY(!frame.isVisible());
    }

    void installCommandsReachCore() {
        guitest::Workspace ws(QStringLiteral("Demo"));
        CMainFrame frame(*ws.manager, ws.ui, ws.settings);
        frame.setActiveConfiguration("PalmOS Debug");
        frame.onVsmInstall();
        QCOMPARE(ws.ui.lastText(), std::string("HotSync install path not set (configured in IDE Settings...)"));
        frame.setActiveConfiguration("PocketPC Debug");
        frame.onPocketPCInstall();
        QCOMPARE(ws.ui.lastText(), std::string("PocketPC install path not set (configured in IDE Settings...)"));
        QVERIFY(!frame.builder().busy());
        QVERIFY(frame.action(CMainFrame::ID_BUILD_POCKETPCINSTALL)->isEnabled());
    }

    void makePrcBuildsThroughTheConverter() {
        guitest::Workspace ws(QStringLiteral("Demo"));
        CMainFrame frame(*ws.manager, ws.ui, ws.settings);
        int dialogs = 0;
        frame.buildHost().setApplicationSettingsDialog([&dialogs] {
            ++dialogs;
            return true;
        });
        frame.setActiveConfiguration("PalmOS Debug");
        ws.ui.answers.push_back(Answer::Yes);  // rebuild the out-of-date output
        frame.onMakePrc();
        QCOMPARE(dialogs, 1);
        QVERIFY2(!frame.builder().buildFailed(), qPrintable(frame.outputBar()->buildPane()->toPlainText()));
        const QStringList made = QDir(ws.file(QStringLiteral("PalmOS Debug"))).entryList(QDir::Files);
        QVERIFY2(made.contains(QStringLiteral("Demo.PRC"), Qt::CaseInsensitive), qPrintable(made.join(QLatin1Char(' '))));
        // Cancelling the settings dialog stops the next one.
        frame.buildHost().setApplicationSettingsDialog([] { return false; });
        frame.onMakePrc();
        QVERIFY(frame.builder().buildFailed());
    }

    void projectBarOpensFiles() {
        guitest::Workspace ws(QStringLiteral("Demo"));
        CMainFrame frame(*ws.manager, ws.ui, ws.settings);
        CProjectBar* bar = frame.projectBar();
        bar->activateRow(bar->view()->topLevelItem(1));
        QVERIFY(frame.documents().isOpen(ws.file(QStringLiteral("Demo.vsl")).toStdString()));
        QCOMPARE(frame.mdiArea()->subWindowList().size(), 1);
        bar->activateRow(bar->view()->topLevelItem(1));
        QCOMPARE(frame.mdiArea()->subWindowList().size(), 1);
        // A missing file still has its item; opening it says so.
        int form = ws.model().tree.addFormFile(ws.file(QStringLiteral("Gone.vff")).toStdString());
        QVERIFY(bar->rowOf(form));
        bar->activateRow(bar->rowOf(form));
        QCOMPARE(ws.ui.messages.size(), std::size_t(1));
        QVERIFY(ws.ui.lastText().find("Gone.vff") != std::string::npos);
        QCOMPARE(frame.mdiArea()->subWindowList().size(), 1);
        frame.documents().closeAll();
        QVERIFY(!frame.documents().isOpen(ws.file(QStringLiteral("Demo.vsl")).toStdString()));
    }

    void removeProjectItemFromTheBar() {
        guitest::Workspace ws(QStringLiteral("Demo"));
        CMainFrame frame(*ws.manager, ws.ui, ws.settings);
        CProjectBar* bar = frame.projectBar();
        int form = ws.model().tree.addFormFile(ws.file(QStringLiteral("A.vff")).toStdString());
        bar->view()->setCurrentItem(bar->rowOf(form));
        bar->runCommand(CProjectBar::Command::RemoveProjectItem);
        QVERIFY(ws.model().tree.forms().empty());
        QVERIFY(!bar->categoryRow(QStringLiteral("Forms")));
    }

    void workbookModeIsKeptInTheSettings() {
        guitest::Workspace ws(QStringLiteral("Demo"));
        ws.settings.setInt("Settings", "WorkbookMode", 1);
        {
            CMainFrame frame(*ws.manager, ws.ui, ws.settings);
            QVERIFY(frame.workbookMode());
            QCOMPARE(frame.mdiArea()->viewMode(), QMdiArea::TabbedView);
            QAction* toggle = nullptr;
            for (QAction* a : frame.menu(QStringLiteral("View"))->actions())
                if (a->text() == QStringLiteral("Workbook Mode")) toggle = a;
            QVERIFY(toggle && toggle->isChecked());
            toggle->trigger();
            QCOMPARE(frame.mdiArea()->viewMode(), QMdiArea::SubWindowView);
            frame.show();
            QVERIFY(frame.close());
        }
        QCOMPARE(ws.settings.getInt("Settings", "WorkbookMode", -1), 0);
        // Closing saved the project.
        QVERIFY(!ws.model().modified);
    }

    void filtersBecomeQtNameFilters() {
        QCOMPARE(GuiUi::qtFilter("Workspaces (*.vpj)|*.vpj|All Files (*.*)|*.*||"),
                 QStringLiteral("Workspaces (*.vpj);;All Files (*.*)"));
        QCOMPARE(GuiUi::qtFilter("Form Files (*.vff)|*.vff||"), QStringLiteral("Form Files (*.vff)"));
        QCOMPARE(GuiUi::qtFilter(""), QString());
    }
};

QTEST_MAIN(MainFrameTest)
#include "test_mainframe.moc"
