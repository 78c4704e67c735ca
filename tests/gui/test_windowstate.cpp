// The window state kept in a project: the placement record, "MainFrame" and
// "Frames" written on save and read back on open (documents reopened where
// they were, the active one active), and the dock layout in the settings store.
#include <QDockWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QtTest>

#include "GuiFixture.h"
#include "app/CMainFrame.h"
#include "app/DocumentManager.h"
#include "app/WindowState.h"
#include "build/COutputControlBar.h"
#include "platform/ProfileFile.h"
#include "project/CProjectBar.h"
#include "project/SettingsNode.h"

using namespace varn;

namespace {

QMdiSubWindow* windowOf(CMainFrame& frame, const QString& path) {
    for (QMdiSubWindow* w : frame.mdiArea()->subWindowList())
        if (!w->isHidden() && QFileInfo(QString::fromStdString(WindowState::documentPath(*w))) == QFileInfo(path))
            return w;
    return nullptr;
}

std::optional<WindowPlacement> placementIn(const ProfileFile& file, const std::string& section) {
    SettingsNode node;
    node.setString("WindowPlacement", file.getString(section, "WindowPlacement"));
    auto bytes = node.getBinary("WindowPlacement");
    if (!bytes) return std::nullopt;
    return WindowPlacement::decode(*bytes);
}

}  // namespace

class WindowStateTest : public QObject {
    Q_OBJECT
private slots:
    void placementRecordLayout() {
        WindowPlacement p;
        p.showCmd = WindowPlacement::kShowMaximized;
        p.normal = QRect(QPoint(10, 20), QSize(300, 200));
        const auto bytes = p.encode();
        QCOMPARE(bytes.size(), std::size_t(44));
        auto at = [&](std::size_t i) {
            return std::int32_t(bytes[i] | bytes[i + 1] << 8 | bytes[i + 2] << 16 | std::uint32_t(bytes[i + 3]) << 24);
        };
        QCOMPARE(at(0), 44);    // length
        QCOMPARE(at(4), 0);     // flags
        QCOMPARE(at(8), 3);     // maximised
        QCOMPARE(at(12), -1);   // minimised position
        QCOMPARE(at(20), -1);   // maximised position
        QCOMPARE(at(28), 10);   // left
        QCOMPARE(at(32), 20);   // top
        QCOMPARE(at(36), 310);  // right, one past the last pixel
        QCOMPARE(at(40), 220);  // bottom
        QCOMPARE(WindowPlacement::decode(bytes), std::optional<WindowPlacement>(p));

        // Negative positions (a window left of the primary screen) survive.
        p.normal = QRect(QPoint(-1280, -5), QSize(640, 480));
        QCOMPARE(WindowPlacement::decode(p.encode())->normal, p.normal);

        auto shortRecord = bytes;
        shortRecord.pop_back();
        QVERIFY(!WindowPlacement::decode(shortRecord));
        auto wrongLength = bytes;
        wrongLength[0] = 40;
        QVERIFY(!WindowPlacement::decode(wrongLength));
    }

    // Open, move the windows, save, reopen: everything comes back where it was.
    void roundTripThroughProjectFile() {
        guitest::Workspace ws(QStringLiteral("Demo"));
        const QString project = ws.projectPath(QStringLiteral("Demo"));
        QVERIFY(QDir().mkpath(ws.tmp.path() + QStringLiteral("/lib")));
        const QString lib = ws.tmp.path() + QStringLiteral("/lib/util.h");
        guitest::writeText(lib, "int util(void);\n");
        const QString source = ws.file(QStringLiteral("Demo.vsl"));
        const QString header = ws.file(QStringLiteral("extra.c"));
        guitest::writeText(header, "int extra;\n");

        const QRect mainRect(QPoint(40, 30), QSize(900, 640));
        const QRect sourceRect(QPoint(12, 8), QSize(420, 260));
        const QRect libRect(QPoint(60, 50), QSize(380, 240));
        QString title;
        {
            CMainFrame frame(*ws.manager, ws.ui, ws.settings);
            frame.setGeometry(mainRect);
            frame.show();
            QVERIFY(QTest::qWaitForWindowExposed(&frame));
            QVERIFY(frame.documents().open(source.toStdString(), false));
            QVERIFY(frame.documents().open(lib.toStdString(), false));
            QVERIFY(frame.documents().open(header.toStdString(), false));
            QMdiSubWindow* s = windowOf(frame, source);
            QMdiSubWindow* l = windowOf(frame, lib);
            QMdiSubWindow* h = windowOf(frame, header);
            QVERIFY(s && l && h);
            s->setGeometry(sourceRect);
            l->setGeometry(libRect);
            h->showMinimized();
            // A maximised document window is the active one, as in any MDI frame.
            frame.mdiArea()->setActiveSubWindow(l);
            l->showMaximized();  // its normal rectangle is still libRect
            title = frame.windowTitle();
            QVERIFY(title.startsWith(QStringLiteral("VARNide43")));
            QVERIFY(ws.manager->saveCurrentWorkspace());
            frame.documents().closeAll();
        }

        auto file = ProfileFile::load(project.toStdString());
        QVERIFY(file.ok());
        // The window nodes come before the project settings.
        QCOMPARE(file->getString("WorkState_v1", "ptn_Child1"), std::string("Frames"));
        QCOMPARE(file->getString("WorkState_v1", "ptn_Child2"), std::string("MainFrame"));
        QCOMPARE(file->getString("WorkState_v1", "ptn_Child3"), std::string("ProjectSettings"));
        QCOMPARE(file->getString("WorkState_v1.MainFrame", "Title"), title.toStdString());
        auto main = placementIn(*file, "WorkState_v1.MainFrame");
        QVERIFY(main);
        QCOMPARE(main->showCmd, WindowPlacement::kShowNormal);
        QCOMPARE(main->normal.size(), mainRect.size());

        const std::string f0 = "WorkState_v1.Frames.ViewFrame-0";
        const std::string f1 = "WorkState_v1.Frames.ViewFrame-1";
        const std::string f2 = "WorkState_v1.Frames.ViewFrame-2";
        QCOMPARE(file->getString("WorkState_v1.Frames", "ptn_Child1"), std::string("ViewFrame-0"));
        QCOMPARE(file->getString(f0, "DocPathName"), std::string(".\\Demo.vsl"));
        QCOMPARE(file->getString(f0, "IsActiveChildFrame"), std::string("False"));
        QCOMPARE(placementIn(*file, f0)->normal, sourceRect);
        QCOMPARE(placementIn(*file, f0)->showCmd, WindowPlacement::kShowNormal);
        QCOMPARE(file->getString(f1, "DocPathName"), std::string(".\\..\\lib\\util.h"));
        QCOMPARE(file->getString(f1, "IsActiveChildFrame"), std::string("True"));
        QCOMPARE(placementIn(*file, f1)->showCmd, WindowPlacement::kShowMaximized);
        QCOMPARE(placementIn(*file, f1)->normal, libRect);
        QCOMPARE(placementIn(*file, f2)->showCmd, WindowPlacement::kShowMinimized);

        // A new window on another manager reads it back.
        ws.manager->openWorkspace((ws.install + QStringLiteral("/VARNide.vpj")).toStdString(), true);
        VARNWorkspaceManager other(ws.ui, ws.settings, ws.symbols, ws.install.toStdString());
        CMainFrame frame(other, ws.ui, ws.settings);
        frame.setGeometry(QRect(QPoint(0, 0), QSize(500, 400)));
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        QVERIFY(other.openWorkspace(project.toStdString(), true));
        QCOMPARE(frame.size(), mainRect.size());
        QMdiSubWindow* s = windowOf(frame, source);
        QMdiSubWindow* l = windowOf(frame, lib);
        QMdiSubWindow* h = windowOf(frame, header);
        QVERIFY(s && l && h);
        const auto order = frame.windowState().documentWindows();
        QCOMPARE(order.size(), std::size_t(3));
        QCOMPARE(order[0], s);
        QCOMPARE(order[1], l);
        QCOMPARE(order[2], h);
        QCOMPARE(s->geometry(), sourceRect);
        QVERIFY(l->isMaximized());
        QCOMPARE(frame.windowState().normalGeometry(*l), libRect);
        QVERIFY(h->isMinimized());
        QCOMPARE(frame.mdiArea()->currentSubWindow(), l);
        QCOMPARE(frame.documents().activePath(), QFileInfo(lib).canonicalFilePath().toStdString());

        // Restoring the maximised one gives its own rectangle back.
        l->showNormal();
        QCOMPARE(l->geometry(), libRect);
        QVERIFY(ws.ui.messages.empty());
    }

    // A project naming documents that are gone still opens, quietly; the
    // project bar takes the focus when no window is marked active.
    void missingDocumentsAreSkipped() {
        guitest::Workspace ws(QStringLiteral("Demo"));
        const QString project = ws.projectPath(QStringLiteral("Demo"));
        {
            auto file = ProfileFile::load(project.toStdString());
            QVERIFY(file.ok());
            file->set("WorkState_v1", "ptn_Child1", "Frames");
            file->set("WorkState_v1", "ptn_Child2", "ProjectSettings");
            file->set("WorkState_v1.Frames", "ptn_Child1", "ViewFrame-0");
            file->set("WorkState_v1.Frames", "ptn_Child2", "ViewFrame-1");
            file->set("WorkState_v1.Frames.ViewFrame-0", "DocPathName", ".\\gone.vsl");
            file->set("WorkState_v1.Frames.ViewFrame-0", "IsActiveChildFrame", "True");
            file->set("WorkState_v1.Frames.ViewFrame-1", "DocPathName", ".\\Demo.vsl");
            file->set("WorkState_v1.Frames.ViewFrame-1", "WindowPlacement", "broken");
            QVERIFY(file->save(project.toStdString()).ok());
        }
        CMainFrame frame(*ws.manager, ws.ui, ws.settings);
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        QVERIFY(ws.manager->openWorkspace(project.toStdString(), true));
        QCOMPARE(frame.windowState().documentWindows().size(), std::size_t(1));
        QVERIFY(windowOf(frame, ws.file(QStringLiteral("Demo.vsl"))));
        QVERIFY(ws.ui.messages.empty());
        // Closing the workspace closes its documents.
        ws.manager->closeWorkspace();
        QTRY_COMPARE(frame.windowState().documentWindows().size(), std::size_t(0));
    }

    // The dock layout is the user's: it goes to the settings store, never to a project.
    void dockLayoutInSettings() {
        guitest::Workspace ws(QStringLiteral("Demo"));
        {
            CMainFrame frame(*ws.manager, ws.ui, ws.settings);
            frame.show();
            QVERIFY(QTest::qWaitForWindowExposed(&frame));
            frame.addDockWidget(Qt::RightDockWidgetArea, frame.outputBar());
            frame.projectBar()->hide();
            QVERIFY(ws.manager->saveCurrentWorkspace());
        }
        QVERIFY(ws.settings.getBinary(WindowState::kDockSection, WindowState::kDockKey));
        auto file = ProfileFile::load(ws.projectPath(QStringLiteral("Demo")).toStdString());
        for (const auto& s : file->sections()) QVERIFY(s.name.find("Dock") == std::string::npos);

        CMainFrame frame(*ws.manager, ws.ui, ws.settings);
        QCOMPARE(frame.dockWidgetArea(frame.outputBar()), Qt::BottomDockWidgetArea);
        QVERIFY(frame.windowState().restoreDockLayout());
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        QCOMPARE(frame.dockWidgetArea(frame.outputBar()), Qt::RightDockWidgetArea);
        QVERIFY(frame.projectBar()->isHidden());
    }
};

QTEST_MAIN(WindowStateTest)
#include "test_windowstate.moc"
