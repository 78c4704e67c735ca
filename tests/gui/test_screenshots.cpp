// Pictures of the IDE window: the bundled sample project in the project bar
// with its source open after a build, the build pane after the failed build
// of the error sample, and the tip of the day. Run by scripts/screenshots with
// "--out <folder>"; as a test it checks that the pictures come out whole.
#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QScreen>
#include <QImage>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTextBlock>
#include <QTreeView>
#include <QtTest>

#include <cstring>

#include "GuiFixture.h"
#include "app/CMainFrame.h"
#include "app/DocumentManager.h"
#include "app/CSettingsDlg.h"
#include "app/VARNTipOfDay.h"
#include "debug/CWatchControlBar.h"
#include "debug/DebugCommands.h"
#include "debug/DebugControl.h"
#include "editor/CVarnIdeView.h"
#include "editor/ColouringSettings.h"
#include "editor/SourceEditorCommands.h"
#include "build/COutputControlBar.h"
#include "build/ProjectBuilder.h"
#include "project/CProjectBar.h"

using namespace varn;

namespace {

QString outFolder;

void settle() {
    for (int i = 0; i < 5; ++i) {
        QCoreApplication::processEvents();
        QTest::qWait(20);
    }
}

QString save(QWidget& w, const QString& name) {
    settle();
    const QString path = outFolder + QLatin1Char('/') + name;
    const QImage image = w.grab().toImage();
    return !image.isNull() && image.save(path, "PNG") ? path : QString();
}

// The window with its pop-ups (lists, tips), as the screen shows them.
QString saveScreen(QWidget& w, const QString& name) {
    settle();
    const QString path = outFolder + QLatin1Char('/') + name;
    const QRect r = w.frameGeometry();
    const QImage image = w.screen()->grabWindow(0, r.x(), r.y(), r.width(), r.height()).toImage();
    return !image.isNull() && image.save(path, "PNG") ? path : QString();
}

void checkPicture(const QString& path, const QSize& size) {
    QVERIFY2(!path.isEmpty(), "not saved");
    QImage image(path);
    QVERIFY2(!image.isNull(), qPrintable(path));
    QCOMPARE(image.size() / image.devicePixelRatio(), size);
    // Not a blank picture: a window shows many colours.
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += 7)
        for (int x = 0; x < image.width(); x += 7) colours.insert(image.pixel(x, y));
    QVERIFY2(colours.size() > 8, qPrintable(path));
}

void prepare(CMainFrame& frame) {
    frame.resize(1100, 760);
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    if (auto* tree = frame.projectBar()->findChild<QTreeView*>()) tree->expandAll();
}

}  // namespace

class ScreenshotTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        if (outFolder.isEmpty()) {
            static QTemporaryDir tmp;
            outFolder = tmp.path();
        }
        QVERIFY(QDir().mkpath(outFolder));
    }

    void projectWithSource() {
        guitest::Workspace ws(QStringLiteral("Demo"));
        CMainFrame frame(*ws.manager, ws.ui, ws.settings);
        prepare(frame);
        frame.onCompile();
        QVERIFY(!frame.builder().buildFailed());
        QVERIFY(frame.documents().open(ws.file(QStringLiteral("Demo.vsl")).toStdString(), false));
        frame.mdiArea()->activeSubWindow()->showMaximized();
        checkPicture(save(frame, QStringLiteral("main-window.png")), frame.size());
    }

    void failedBuild() {
        guitest::Workspace ws(QStringLiteral("Broken"));
        CMainFrame frame(*ws.manager, ws.ui, ws.settings);
        prepare(frame);
        frame.onCompile();
        QVERIFY(frame.builder().buildFailed());
        QCOMPARE(frame.outputBar()->activePane(), int(COutputControlBar::BuildPane));
        // The first error line, double-clicked: the source opens at the line.
        COutputPane* pane = frame.outputBar()->buildPane();
        QTextBlock block = pane->document()->firstBlock();
        while (block.isValid() && !block.text().contains(QStringLiteral("File: "))) block = block.next();
        if (block.isValid()) frame.outputBar()->jumpFrom(COutputControlBar::BuildPane, block.text());
        if (QMdiSubWindow* w = frame.mdiArea()->activeSubWindow()) w->showMaximized();
        checkPicture(save(frame, QStringLiteral("build-failed.png")), frame.size());
        checkPicture(save(*frame.outputBar(), QStringLiteral("build-pane.png")), frame.outputBar()->size());
    }

    void editorWithSymbolList() {
        guitest::Workspace ws(QStringLiteral("Demo"));
        normaliseColouring(ws.settings);
        CMainFrame frame(*ws.manager, ws.ui, ws.settings);
        prepare(frame);
        frame.onCompile();  // the compiler writes the symbol list
        const std::string path = ws.file(QStringLiteral("Demo.vsl")).toStdString();
        QVERIFY(frame.documents().open(path, false));
        frame.mdiArea()->activeSubWindow()->showMaximized();
        CVarnIdeView* v = frame.documentManager().view(path);
        v->setCursorPosition(guitest::lineOf(*v, "function count_taps"), 0);
        frame.editorCommands().action(SourceEditorCommands::ID_TOGGLE_BOOKMARK)->trigger();
        const int line = guitest::lineOf(*v, "count_taps(3);");
        v->insertAt(QStringLiteral("  co\r\n"), line + 1, 0);
        v->setCursorPosition(line + 1, 4);
        v->setFocus();
        frame.editorCommands().action(SourceEditorCommands::ID_LIST_SYMBOLS)->trigger();
        QVERIFY(v->isListActive());
        frame.updateCommands();
        checkPicture(saveScreen(frame, QStringLiteral("editor-symbols.png")), frame.frameGeometry().size());
    }

    void ideSettingsDialog() {
        guitest::Workspace ws(QStringLiteral("Demo"));
        CMainFrame frame(*ws.manager, ws.ui, ws.settings);
        prepare(frame);
        CSettingsDlg dlg(ws.settings, frame.fonts(), 320, 320, ws.ui, &frame);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        checkPicture(save(dlg, QStringLiteral("ide-settings.png")), dlg.size());
    }

    void stoppedDebugSession() {
        guitest::Workspace ws(QStringLiteral("Demo"));
        normaliseColouring(ws.settings);
        ws.model().watchLists[0] = {"taps", "times * points"};
        CMainFrame frame(*ws.manager, ws.ui, ws.settings);
        prepare(frame);
        frame.setActiveConfiguration("Windows Debug");
        const std::string path = ws.file(QStringLiteral("Demo.vsl")).toStdString();
        QVERIFY(frame.documents().open(path, false));
        frame.mdiArea()->activeSubWindow()->showMaximized();
        CVarnIdeView* v = frame.documentManager().view(path);
        const int pointsLine = guitest::lineOf(*v, "points = 2;");
        v->setCursorPosition(pointsLine, 0);
        frame.debugCommands().action(DebugCommand::Breakpoint)->trigger();
        frame.onCompile();
        QVERIFY(!frame.builder().buildFailed());
        DebugControl& control = frame.debugCommands().control();
        frame.debugCommands().action(DebugCommand::Debug)->trigger();
        QVERIFY(guitest::waitFor([&] { return control.stopped(); }));
        frame.debugCommands().action(DebugCommand::Resume)->trigger();
        QVERIFY(guitest::waitFor([&] { return control.stopped(); }));
        frame.debugCommands().action(DebugCommand::StepOver)->trigger();
        QVERIFY(guitest::waitFor([&] { return control.stopped(); }));
        frame.debugCommands().watchBar()->refresh();
        // A value tip over "times" on the current line.
        const int line = pointsLine + 1;
        const int column = static_cast<int>(v->lineText(line).find("times")) + 1;
        const long pos = v->positionFromLineIndex(line, column);
        const QPoint at(static_cast<int>(v->SendScintilla(QsciScintilla::SCI_POINTXFROMPOSITION, 0UL, pos)),
                        static_cast<int>(v->SendScintilla(QsciScintilla::SCI_POINTYFROMPOSITION, 0UL, pos)));
        emit v->SCN_DWELLSTART(static_cast<int>(pos), at.x(), at.y() + 4);
        frame.updateCommands();
        checkPicture(saveScreen(frame, QStringLiteral("debug-stopped.png")), frame.frameGeometry().size());
        frame.debugCommands().action(DebugCommand::QuitDebugger)->trigger();
    }

    void tipOfTheDay() {
        guitest::Workspace ws(QStringLiteral("Demo"));
        CMainFrame frame(*ws.manager, ws.ui, ws.settings);
        prepare(frame);
        frame.showTipOfDay();
        VARNTipOfDay* tip = frame.tipOfDay();
        QVERIFY(tip && !tip->tips().empty());
        checkPicture(save(*tip, QStringLiteral("tip-of-the-day.png")), tip->size());
    }
};

int main(int argc, char** argv) {
    // "--out <folder>": where the pictures go (a temporary folder otherwise).
    std::vector<char*> args;
    for (int i = 0; i < argc; ++i) {
        if (std::strcmp(argv[i], "--out") == 0 && i + 1 < argc) {
            outFolder = QString::fromLocal8Bit(argv[++i]);
            continue;
        }
        args.push_back(argv[i]);
    }
    int n = static_cast<int>(args.size());
    QApplication app(n, args.data());
    ScreenshotTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, n, args.data());
}

#include "test_screenshots.moc"
