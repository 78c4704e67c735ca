// What a user does across the main window's commands: switching projects,
// saving a new document, fixing a build error, going to a line after a build,
// confirming the IDE settings. Each case is a fault once seen in the running IDE.
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QInputDialog>
#include <QLocalSocket>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QSpinBox>
#include <QTimer>
#include <QToolBar>
#include <QtTest>

#include "GuiFixture.h"
#include "app/CMainFrame.h"
#include "app/DocumentManager.h"
#include "app/SingleInstance.h"
#include "build/COutputControlBar.h"
#include "build/ProjectBuilder.h"
#include "debug/CWatchControlBar.h"
#include "debug/DebugCommands.h"
#include "debug/DebugControl.h"
#include "debug/WatchPanes.h"
#include "editor/CVarnIdeView.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "project/CProjectBar.h"
#include "project/ProjectCommands.h"

using namespace varn;

namespace {

// Runs `answer` on the next modal dialog once it is shown.
void whenModal(std::function<void(QWidget*)> answer) {
    QTimer::singleShot(0, [answer = std::move(answer)] {
        QWidget* w = nullptr;
        guitest::waitFor([&] { return (w = QApplication::activeModalWidget()) != nullptr; });
        if (w) answer(w);
    });
}

CVarnIdeView* activeView(CMainFrame& frame) {
    QMdiSubWindow* w = frame.mdiArea()->activeSubWindow();
    return w ? qobject_cast<CVarnIdeView*>(w->widget()) : nullptr;
}

}  // namespace

class UserFlowsTest : public QObject {
    Q_OBJECT
private slots:
    // The configuration box, the configuration F7 builds and the watch panes
    // follow the project that was opened last.
    void switchingProjectsBringsTheirConfigurationAndWatches() {
        guitest::Workspace ws(QStringLiteral("Demo"));
        CMainFrame frame(*ws.manager, ws.ui, ws.settings);
        const std::string other = ws.file(QStringLiteral("Other.vpj")).toStdString();
        ws.model().setActiveConfiguration("PalmOS Release");
        ws.model().watchLists[0] = {"taps"};
        QVERIFY(ws.manager->saveWorkspace(other));
        QVERIFY(frame.commands().closeProject());

        ws.ui.openAnswers.push_back({other});
        QVERIFY(frame.commands().openProject());
        QCOMPARE(ws.model().activeConfiguration, std::string("PalmOS Release"));
        QCOMPARE(frame.configurationBox()->currentText(), QStringLiteral("PalmOS Release"));
        QCOMPARE(frame.debugCommands().panes().watchLists()[0], std::vector<std::string>{"taps"});
    }

    // Save on an untitled document asks for its name in the project's folder.
    void saveOfAnUntitledDocumentAsksForItsName() {
        guitest::Window ws(QStringLiteral("Demo"));
        CVarnIdeView* v = ws.frame.documentManager().newDocument(DocumentTemplate::Source);
        QVERIFY(v);
        v->insert(QStringLiteral("numeric n;"));
        ws.frame.updateCommands();
        auto* save = ws.frame.findChild<QAction*>(QStringLiteral("FileSave"));
        QVERIFY(save->isEnabled());
        const QString target = ws.file(QStringLiteral("Notes.vsl"));
        ws.ui.saveAnswers.push_back(target.toStdString());
        save->trigger();
        QCOMPARE(ws.ui.dialogs.size(), std::size_t(1));
        QCOMPARE(ws.ui.dialogs[0].initialFolder, ws.projectFolder.toStdString());
        const auto saved = fsys::readFile(target.toStdString());
        QVERIFY(saved.ok());
        QCOMPARE(*saved, std::string("numeric n;"));
        QVERIFY(!v->modified());
    }

    // A fixed error builds cleanly and its mark leaves the source; then Go
    // To Line with a number past the end goes to the last line and the keys
    // go to the source again.
    void aFixedErrorLosesItsMarkAndGoToLineKeepsTheKeys() {
        guitest::Window ws(QStringLiteral("Broken"));
        ws.frame.onCompile();
        QVERIFY(ws.frame.builder().buildFailed());
        const std::string source = ws.file(QStringLiteral("Broken.vsl")).toStdString();
        QVERIFY(ws.frame.openAtLine(source, 2));
        CVarnIdeView* v = activeView(ws.frame);
        QCOMPARE(v->errorLine(), 2);

        const auto demo = fsys::readFile(ws.install.toStdString() + "/samples/Demo/Demo.vsl");
        QVERIFY(demo.ok());
        v->selectAll();
        v->replaceSelectedText(QString::fromStdString(*demo));
        ws.frame.onCompile();
        QVERIFY2(!ws.frame.builder().buildFailed(), ws.ui.lastText().c_str());
        QCOMPARE(v->errorLine(), -1);
        QCOMPARE(ws.frame.focusWidget(), static_cast<QWidget*>(v));

        whenModal([](QWidget* w) {
            auto* d = qobject_cast<QInputDialog*>(w);
            QVERIFY(d);
            // Typed as a user types it, digit by digit.
            auto* spin = d->findChild<QSpinBox*>();
            QVERIFY(spin);
            spin->selectAll();
            QTest::keyClicks(spin, QStringLiteral("99999"));
            d->accept();
        });
        QAction* goToLine = nullptr;
        for (QAction* a : ws.frame.menu(QStringLiteral("Edit"))->actions())
            if (a->shortcut() == QKeySequence(Qt::CTRL | Qt::Key_G)) goToLine = a;
        QVERIFY(goToLine);
        goToLine->trigger();
        QCOMPARE(v->caretLine(), v->lineCount() - 1);
        QCOMPARE(ws.frame.focusWidget(), static_cast<QWidget*>(v));
    }

    // OK in the IDE settings writes the settings file at once.
    void ideSettingsReachTheDiskOnOk() {
        guitest::Workspace ws(QStringLiteral("Demo"));
        const std::string file = ws.tmp.filePath(QStringLiteral("config/VARNide43.ini")).toStdString();
        ws.settings = SettingsStore::open(file);
        ws.settings.setInt("Settings", "TabSize", 7);
        CMainFrame frame(*ws.manager, ws.ui, ws.settings);
        whenModal([](QWidget* w) { qobject_cast<QDialog*>(w)->accept(); });
        frame.showIdeSettings();
        const auto read = fsys::readFile(file);
        const std::string written = read.ok() ? *read : std::string();
        QVERIFY2(written.find("TabSize=7") != std::string::npos, written.c_str());
    }

    // Run shows the program's life in the build pane: started, ended with its
    // code; its end is noticed and the commands come back.
    void runShowsTheProgramsLife() {
        guitest::Window ws(QStringLiteral("Demo"));
        ws.frame.setActiveConfiguration("Windows Debug");
        QAction* run = ws.frame.debugCommands().action(DebugCommand::Run);
        run->trigger();
        QVERIFY(!ws.frame.debugCommands().control().debugMode());
        auto* pane = ws.frame.outputBar()->buildPane();
        QVERIFY2(guitest::waitFor([&] { return pane->toPlainText().contains(QStringLiteral("ended")); }),
                 qPrintable(pane->toPlainText()));
        const QString text = pane->toPlainText();
        QVERIFY2(text.contains(QStringLiteral(" started.")), qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral(" ended with exit code 0.")), qPrintable(text));
        QVERIFY(guitest::waitFor([&] { return !ws.frame.debugCommands().control().programWatched(); }));
        ws.frame.updateCommands();
        QVERIFY(ws.frame.commandEnabled(CMainFrame::ID_BUILD_COMPILE) && run->isEnabled());
        QVERIFY(!ws.frame.debugCommands().watchBar()->isVisible());
    }

    // One IDE per user, display and settings folder.
    void instancesAreKeptApartByDisplayAndSettingsFolder() {
        const QByteArray display = qgetenv("DISPLAY"), config = qgetenv("XDG_CONFIG_HOME");
        qputenv("DISPLAY", ":1");
        qputenv("XDG_CONFIG_HOME", "/tmp/a");
        const QString first = SingleInstance::defaultServerName();
        QCOMPARE(SingleInstance::defaultServerName(), first);
        qputenv("DISPLAY", ":2");
        const QString otherDisplay = SingleInstance::defaultServerName();
        qputenv("DISPLAY", ":1");
        qputenv("XDG_CONFIG_HOME", "/tmp/b");
        const QString otherSettings = SingleInstance::defaultServerName();
        qputenv("DISPLAY", display);
        qputenv("XDG_CONFIG_HOME", config);
        QVERIFY(otherDisplay != first && otherSettings != first && otherDisplay != otherSettings);
    }

    // A later start hands its file over: the running IDE opens it; a project
    // file opens as the project.
    void aFileHandedOverOpens() {
        guitest::Workspace ws(QStringLiteral("Demo"));
        CMainFrame frame(*ws.manager, ws.ui, ws.settings);
        const QString name = QStringLiteral("varnide-test-%1").arg(QCoreApplication::applicationPid());
        SingleInstance running(name);
        int activations = 0;
        QVERIFY(running.listen([&] { ++activations; },
                               [&](const QString& file) { frame.openFromShell(file.toStdString()); }));
        QLocalSocket later;
        later.connectToServer(name);
        QVERIFY(later.waitForConnected(2000));
        const QString source = ws.file(QStringLiteral("Demo.vsl"));
        later.write("open " + source.toUtf8() + "\nactivate\n");
        QVERIFY(guitest::waitFor([&] { return activations == 1; }));
        QCOMPARE(QString::fromStdString(frame.documents().activePath()), source);

        const std::string other = ws.file(QStringLiteral("Other.vpj")).toStdString();
        QVERIFY(ws.manager->saveWorkspace(other));
        QVERIFY(frame.commands().closeProject());
        QVERIFY(frame.openFromShell(other));
        QCOMPARE(ws.manager->currentWorkspaceName().value_or(""), other);
    }

    // Every entry of the project bar's context menu is wired in the real main
    // frame: an entry without a handler shows disabled, so a dead one fails here.
    void projectBarEntriesAreWired() {
        using Command = CProjectBar::Command;
        guitest::Workspace ws(QStringLiteral("Demo"));
        CMainFrame frame(*ws.manager, ws.ui, ws.settings);
        for (int c = 0; c <= static_cast<int>(Command::CheckForDuplicates); ++c) {
            const auto command = static_cast<Command>(c);
            if (command == Command::RemoveProjectItem) continue;  // follows the selection
            QVERIFY2(frame.projectBar()->commandEnabled(command), qPrintable(CProjectBar::commandText(command)));
        }
    }

    // The window's pieces a user looks for: Find All Functions on the File
    // menu too, the "Debugger" toolbar and the "Watch Window" bar.
    void debuggerBarsAndFileMenu() {
        guitest::Workspace ws;
        CMainFrame frame(*ws.manager, ws.ui, ws.settings);
        auto* findAll = frame.findChild<QAction*>(QStringLiteral("FindAllFunctions"));
        QVERIFY(findAll);
        QVERIFY(frame.menu(QStringLiteral("File"))->actions().contains(findAll));
        QVERIFY(frame.menu(QStringLiteral("Edit"))->actions().contains(findAll));
        QToolBar* debugger = frame.debugCommands().debuggerToolBar();
        QCOMPARE(debugger->windowTitle(), QStringLiteral("Debugger"));
        QCOMPARE(debugger->actions().size(), 6);
        QCOMPARE(frame.debugCommands().watchBar()->windowTitle(), QStringLiteral("Watch Window"));
    }
};

QTEST_MAIN(UserFlowsTest)
#include "test_userflows.moc"
