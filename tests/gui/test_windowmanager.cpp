// The main window under a real X server and window manager (Xvfb and
// openbox, started by this program): a maximised window stays maximised
// through Open Project and Close Project, at its size all along, and gets
// the project's restored rectangle when it leaves the maximised state.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QMainWindow>
#include <QMdiArea>
#include <QtTest>
#include <cstdlib>
#include <string>
#include <vector>

#include "GuiFixture.h"
#include "app/CMainFrame.h"
#include "app/WindowState.h"
#include "platform/ProfileFile.h"
#include "project/ProjectCommands.h"
#include "project/SettingsNode.h"

extern char** environ;

using namespace varn;

namespace {

// Xvfb on a free display with openbox managing it; `why` says what is missing.
class XSession {
public:
    XSession() {
        int fds[2];
        if (pipe(fds) != 0) {
            fail("no pipe");
            return;
        }
        const std::string fd = std::to_string(fds[1]);
        xvfb_ = spawn({"Xvfb", "-displayfd", fd, "-screen", "0", "1024x768x24", "-nolisten", "tcp"});
        close(fds[1]);
        std::string display;
        char c;
        while (read(fds[0], &c, 1) == 1 && c != '\n') display += c;
        close(fds[0]);
        if (xvfb_ <= 0 || display.empty()) {
            fail("Xvfb could not be started");
            return;
        }
        setenv("DISPLAY", (":" + display).c_str(), 1);
        // openbox runs its start-up command once it manages the screen.
        const std::string ready = dir_.path().toStdString() + "/ready";
        wm_ = spawn({"openbox", "--sm-disable", "--startup", "touch " + ready});
        for (int i = 0; wm_ > 0 && i < 200 && access(ready.c_str(), F_OK) != 0; ++i) usleep(50000);
        if (wm_ <= 0 || access(ready.c_str(), F_OK) != 0) {
            fail("openbox could not be started");
            return;
        }
        setenv("QT_QPA_PLATFORM", "xcb", 1);
    }
    ~XSession() {
        for (pid_t p : {wm_, xvfb_})
            if (p > 0) {
                kill(p, SIGTERM);
                waitpid(p, nullptr, 0);
            }
    }
    QString why;

private:
    void fail(const char* reason) {
        why = QString::fromUtf8(reason);
        setenv("QT_QPA_PLATFORM", "offscreen", 1);  // the tests then skip
    }
    static pid_t spawn(const std::vector<std::string>& args) {
        std::vector<char*> argv;
        for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        posix_spawn_file_actions_t quiet;
        posix_spawn_file_actions_init(&quiet);
        posix_spawn_file_actions_addopen(&quiet, 2, "/dev/null", O_WRONLY, 0);
        pid_t pid = 0;
        const int rc = posix_spawnp(&pid, argv[0], &quiet, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&quiet);
        return rc == 0 ? pid : 0;
    }

    QTemporaryDir dir_;
    pid_t xvfb_ = 0;
    pid_t wm_ = 0;
};

XSession* session = nullptr;

// Every size the frame and its central widget take.
struct SizeLog : QObject {
    QList<QSize> frame, central;
    QWidget* frameWidget;
    QWidget* centralWidget;
    SizeLog(QWidget* f, QWidget* c) : frameWidget(f), centralWidget(c) {
        f->installEventFilter(this);
        c->installEventFilter(this);
    }
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::Resize) (o == frameWidget ? frame : central) << static_cast<QResizeEvent*>(e)->size();
        return false;
    }
};

// Gives the project (which keeps no window state yet) a maximised main
// window whose restored rectangle is `normal`.
void storeMaximised(const QString& project, const QRect& normal) {
    auto file = ProfileFile::load(project.toStdString());
    QVERIFY(file.ok());
    WindowPlacement p;
    p.showCmd = WindowPlacement::kShowMaximized;
    p.normal = normal;
    SettingsNode node;
    node.setBinary("WindowPlacement", p.encode());
    file->set("WorkState_v1", "ptn_Child2", WindowState::kMainFrameNode);
    file->set("WorkState_v1.MainFrame", "WindowPlacement", node.getString("WindowPlacement"));
    QVERIFY(file->save(project.toStdString()).ok());
}

}  // namespace

class WindowManagerTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        if (!session->why.isEmpty()) QSKIP(qPrintable(session->why));
    }

    void maximisedThroughOpenAndCloseProject() {
        guitest::Workspace ws;
        const QString demo = ws.tmp.path() + QStringLiteral("/Demo");
        QVERIFY(guitest::copyTree(ws.install + QStringLiteral("/samples/Demo"), demo));
        const QString project = demo + QStringLiteral("/Demo.vpj");
        const QRect demoNormal(QPoint(60, 40), QSize(520, 380));
        storeMaximised(project, demoNormal);
        QVERIFY(ws.manager->openWorkspace((ws.install + QStringLiteral("/VARNide.vpj")).toStdString(), true));

        CMainFrame frame(*ws.manager, ws.ui, ws.settings);
        frame.setGeometry(QRect(QPoint(30, 30), QSize(600, 450)));
        frame.showMaximized();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        QTRY_VERIFY(frame.isMaximized() && frame.width() > 900);
        QTest::qWait(300);  // the window manager's last configure
        const QSize full = frame.size();
        const QRect central = frame.centralWidget()->geometry();
        SizeLog log(&frame, frame.centralWidget());

        ws.ui.openAnswers.push_back({project.toStdString()});
        QVERIFY(frame.commands().openProject());
        QTest::qWait(500);
        QVERIFY(frame.isMaximized());
        QCOMPARE(frame.size(), full);
        QCOMPARE(frame.centralWidget()->geometry(), central);
        QCOMPARE(log.frame, QList<QSize>());  // never another size on the way
        QCOMPARE(log.central, QList<QSize>());

        QVERIFY(frame.commands().closeProject());
        QTest::qWait(500);
        QVERIFY(frame.isMaximized());
        QCOMPARE(frame.size(), full);
        QCOMPARE(frame.centralWidget()->geometry(), central);
        QCOMPARE(log.frame, QList<QSize>());
        QCOMPARE(log.central, QList<QSize>());

        // The project kept the rectangle it was given, and it is the one the
        // window returns to when it leaves the maximised state.
        QVERIFY(frame.commands().openProject(project.toStdString()));
        frame.showNormal();
        QTRY_COMPARE(frame.size(), demoNormal.size());
        QTest::qWait(300);
        QCOMPARE(frame.size(), demoNormal.size());
        QVERIFY(ws.ui.messages.empty());
    }
};

int main(int argc, char** argv) {
    XSession x;
    session = &x;
    QApplication app(argc, argv);
    WindowManagerTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_windowmanager.moc"
