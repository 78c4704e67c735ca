// Start-up pieces of the interactive IDE: the single-instance hand-over
// between two processes, the tip of the day and its index, the start-up path
// through the application object, and the idle process watch.
#include <QCheckBox>
#include <QLocalServer>
#include <QMdiArea>
#include <QMenu>
#include <QPointer>
#include <QProcess>
#include <QtTest>

#include <csignal>
#include <cstring>

#include "GuiFixture.h"
#include "app/CMainFrame.h"
#include "app/CVarnIdeApp.h"
#include "app/GuiStartupHost.h"
#include "app/SingleInstance.h"
#include "app/VARNTipOfDay.h"
#include "app/WindowState.h"

using namespace varn;

namespace {

const char* kFirstInstanceSwitch = "--first-instance";
const char* kSecondInstanceSwitch = "--second-instance";

// The first IDE of the hand-over test, run as a child process: a minimised
// window that answers on `name`, reports its state once activated and ends.
int runFirstInstance(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("VARNide43"));
    window.resize(300, 200);
    window.showMinimized();
    SingleInstance instance(QString::fromLocal8Bit(argv[2]));
    if (!instance.listen([&] {
            bringToFront(window);
            std::printf("activated minimized=%d visible=%d\n", window.isMinimized() ? 1 : 0, window.isVisible() ? 1 : 0);
            std::fflush(stdout);
            // Long enough for the answer to reach the second instance.
            QTimer::singleShot(300, &app, &QApplication::quit);
        }))
        return 2;
    std::printf("listening\n");
    std::fflush(stdout);
    QTimer::singleShot(20000, &app, [] { QApplication::exit(3); });
    return QApplication::exec();
}

// A later start, run as a child process: asks the IDE on `name` to come forward.
int runSecondInstance(const char* name) {
    static int argc = 0;
    QCoreApplication app(argc, nullptr);
    return SingleInstance(QString::fromLocal8Bit(name)).activateOther() ? 0 : 1;
}

QString uniqueName(const char* what) {
    return QStringLiteral("VARNide43-test-%1-%2").arg(QString::fromLatin1(what)).arg(QCoreApplication::applicationPid());
}

bool startFirst(QProcess& first, const QString& name) {
    first.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    first.setProcessEnvironment(env);
    first.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(kFirstInstanceSwitch), name});
    if (!first.waitForStarted(5000)) return false;
    while (!first.canReadLine())
        if (!first.waitForReadyRead(10000)) return false;
    return first.readLine().trimmed() == "listening";
}

}  // namespace

class StartupTest : public QObject {
    Q_OBJECT
private slots:
    // The started IDEs keep their recovery journal here, not in the user's folder.
    void initTestCase() { qputenv("XDG_STATE_HOME", stateHome_.path().toUtf8()); }

    // A second start finds the first, which comes back from minimised; the
    // second ends before building any window.
    void secondInstanceHandsOver() {
        const QString name = uniqueName("handover");
        QProcess first;
        QVERIFY(startFirst(first, name));

        RecordingUi ui;
        CVarnIdeApp app(ui, SettingsStore(), SettingsStore());
        GuiStartupHost host(ui, app, name);
        QVERIFY(!app.initInstance({}, host));
        QVERIFY(!host.mainFrame());
        QVERIFY(first.waitForFinished(10000));
        QCOMPARE(first.exitCode(), 0);
        QCOMPARE(first.readAll().trimmed(), QByteArray("activated minimized=0 visible=1"));

        // With the first gone nobody answers any more.
        QVERIFY(!SingleInstance(name).activateOther());
    }

    // An IDE that did not end cleanly leaves its name behind; the next one takes it over.
    void staleNameIsTakenOver() {
        const QString name = uniqueName("stale");
        QProcess first;
        QVERIFY(startFirst(first, name));
        ::kill(static_cast<pid_t>(first.processId()), SIGKILL);
        QVERIFY(first.waitForFinished(5000));
        QVERIFY(!SingleInstance(name).activateOther());

        int activations = 0;
        SingleInstance mine(name);
        QVERIFY(mine.listen([&] { ++activations; }));
        QVERIFY(mine.listening());
        // A second one under the same name does not take it away.
        SingleInstance other(name);
        QVERIFY(!other.listen({}));
        QVERIFY(mine.listening());
        QCOMPARE(activations, 0);
    }

    void tipIndex() {
        TipList tips = TipList::fromLines({"; tips of the IDE", "first", "", "  second  ", "third\r", ";", "fourth"});
        QCOMPARE(tips.tips(), (std::vector<std::string>{"first", "second", "third", "fourth"}));
        tips.start(1);
        QCOMPARE(tips.current(), std::string("second"));
        QCOMPARE(tips.nextStartIndex(), 2);
        tips.next();
        tips.next();
        QCOMPARE(tips.current(), std::string("fourth"));
        QCOMPARE(tips.nextStartIndex(), 0);  // after the last comes the first
        tips.next();
        QCOMPARE(tips.current(), std::string("first"));
        tips.start(9);  // a stored index beyond a shortened file wraps
        QCOMPARE(tips.currentIndex(), 1);
        tips.start(-3);
        QCOMPARE(tips.currentIndex(), 0);

        TipList none = TipList::load("/nonexistent/VARNide.tip");
        QVERIFY(none.empty());
        none.start(5);
        QCOMPARE(none.current(), std::string());
        QCOMPARE(none.nextStartIndex(), 5);  // nothing shown: the stored index stays
        none.next();
        QCOMPARE(none.nextStartIndex(), 5);
    }

    // Help "Tip of the Day...": a window already open writes its state back first.
    void tipOfTheDayWindow() {
        guitest::Workspace ws(QStringLiteral("Demo"));
        guitest::writeText(ws.install + QStringLiteral("/VARNide.tip"), "One.\nTwo.\nThree.\n");
        ws.settings.setInt("Settings", "CurrentTip", 1);
        CMainFrame frame(*ws.manager, ws.ui, ws.settings);
        int tip = -1;
        bool show = false;
        QVERIFY(!frame.tipState(tip, show));  // none created yet

        QAction* command = nullptr;
        for (QAction* a : frame.menu(QStringLiteral("Help"))->actions())
            if (a->text() == QStringLiteral("Tip of the Day...")) command = a;
        QVERIFY(command);
        command->trigger();
        QPointer<VARNTipOfDay> first = frame.tipOfDay();
        QVERIFY(first && first->isVisible() && !first->isModal());
        QCOMPARE(first->tipText(), QStringLiteral("Two."));
        QVERIFY(frame.tipState(tip, show));
        QCOMPARE(tip, 2);
        QVERIFY(show);
        first->nextTip();
        QCOMPARE(first->tipText(), QStringLiteral("Three."));
        first->setShowAtStartup(false);
        QVERIFY(frame.tipState(tip, show));
        QCOMPARE(tip, 0);
        QVERIFY(!show);

        command->trigger();
        QVERIFY(!first);  // destroyed, its state stored
        QCOMPARE(ws.settings.getInt("Settings", "CurrentTip", -1), 0);
        QCOMPARE(ws.settings.getInt("Settings", "ShowAtStartup", -1), 0);
        QCOMPARE(frame.tipOfDay()->tipText(), QStringLiteral("One."));
        QVERIFY(!frame.tipOfDay()->showAtStartup());
        // Closing the window keeps its state for the end of the run.
        frame.tipOfDay()->close();
        QVERIFY(frame.tipState(tip, show));
        QCOMPARE(tip, 1);
    }

    void missingTipsFile() {
        guitest::Workspace ws(QStringLiteral("Demo"));
        QFile::remove(ws.install + QStringLiteral("/VARNide.tip"));
        ws.settings.setInt("Settings", "CurrentTip", 4);
        CMainFrame frame(*ws.manager, ws.ui, ws.settings);
        frame.showTipOfDay();
        QVERIFY(frame.tipOfDay()->tipText().contains(QStringLiteral("VARNide.tip")));
        frame.tipOfDay()->nextTip();
        int tip = -1;
        bool show = false;
        QVERIFY(frame.tipState(tip, show));
        QCOMPARE(tip, 4);
        QVERIFY(ws.ui.messages.empty());
    }

    // The interactive start through the application object: the project of
    // the command line opens into a shown main window, the tip of the day
    // comes up, later starts are answered, and the end writes the tip state.
    void interactiveStart() {
        guitest::Workspace ws;
        const QString folder = ws.tmp.path() + QStringLiteral("/Demo");
        QVERIFY(guitest::copyTree(ws.install + QStringLiteral("/samples/Demo"), folder));
        guitest::writeText(ws.install + QStringLiteral("/VARNide.tip"), "One.\nTwo.\n");
        const QString config = ws.tmp.path() + QStringLiteral("/config.ini");
        {
            SettingsStore user = SettingsStore::open(config.toStdString());
            user.setString("InstallInfo", "InstallPath", ws.install.toStdString() + "/");
            user.setInt("Settings", "CurrentTip", 1);
            QVERIFY(user.save().ok());
        }
        const QString name = uniqueName("start");
        {
            CVarnIdeApp app(ws.ui, SettingsStore::open(config.toStdString()), SettingsStore());
            GuiStartupHost host(ws.ui, app, name);
            QVERIFY(app.initInstance({(folder + QStringLiteral("/Demo.vpj")).toStdString()}, host));
            CMainFrame* frame = host.mainFrame();
            QVERIFY(frame && frame->isVisible());
            QCOMPARE(host.workspaceWindows(), static_cast<WorkspaceWindows*>(&frame->windowState()));
            QVERIFY(app.workspace()->currentWorkspaceName());
            QVERIFY(frame->tipOfDay() && frame->tipOfDay()->isVisible());
            QCOMPARE(frame->tipOfDay()->tipText(), QStringLiteral("Two."));
            QVERIFY(host.instance().listening());

            // A later start is answered by this one.
            frame->showMinimized();
            QProcess second;
            second.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(kSecondInstanceSwitch), name});
            QVERIFY(second.waitForStarted(5000));
            QTRY_COMPARE_WITH_TIMEOUT(second.state(), QProcess::NotRunning, 10000);
            QCOMPARE(second.exitCode(), 0);
            QVERIFY(!frame->isMinimized());

            QVERIFY(frame->close());
            QCOMPARE(app.exitInstance(host), 0);
        }
        SettingsStore after = SettingsStore::open(config.toStdString());
        QCOMPARE(after.getInt("Settings", "CurrentTip", -1), 0);
        QCOMPARE(after.getInt("Settings", "ShowAtStartup", -1), 1);
        QVERIFY(after.getBinary(WindowState::kDockSection, WindowState::kDockKey));
        QVERIFY(ws.ui.messages.empty());
    }

private:
    QTemporaryDir stateHome_;
};

int main(int argc, char** argv) {
    if (argc >= 3 && std::strcmp(argv[1], kFirstInstanceSwitch) == 0) return runFirstInstance(argc, argv);
    if (argc >= 3 && std::strcmp(argv[1], kSecondInstanceSwitch) == 0) return runSecondInstance(argv[2]);
    QApplication app(argc, argv);
    StartupTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "test_startup.moc"
