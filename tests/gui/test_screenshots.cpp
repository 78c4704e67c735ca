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
#include "form/CVARNfbView.h"
#include "form/FormCommands.h"
#include "project/CProjectBar.h"
#include "project/ProjectCommands.h"

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

    // A customer form with every kind of control, the grid shown and three
    // controls selected, the Ok button dominant.
    void formDesigner() {
        guitest::Workspace ws(QStringLiteral("Demo"));
        CMainFrame frame(*ws.manager, ws.ui, ws.settings);
        prepare(frame);
        const std::string path = ws.file(QStringLiteral("Customer.vff")).toStdString();
        QVERIFY(frame.commands().addFile(path));
        FormCommands& forms = frame.formCommands();
        CVARNfbView* v = forms.view(path);
        QVERIFY(v);
        frame.mdiArea()->activeSubWindow()->showMaximized();
        forms.action(DesignerCommand::ToggleGrid)->trigger();
        FormDesigner& d = v->designer();
        struct Item {
            int kind, x, y, w, h;
            const char* name;
            const char* display;
        };
        const Item items[] = {
            {kind::Label, 12, 40, 80, 30, "NameLabel", "Name:"},
            {kind::Text, 100, 38, 206, 32, "NameField", "Ada"},
            {kind::Label, 12, 80, 80, 30, "CountryLabel", "Country:"},
            {kind::Dropdown, 100, 78, 206, 32, "Country", "Wales"},
            {kind::Checkbox, 100, 116, 206, 30, "Newsletter", "News"},
            {kind::Selector, 12, 150, 140, 50, "Products", "Pens"},
            {kind::FileSel, 166, 150, 140, 50, "Invoice", "a.pdb"},
            {kind::Grid, 12, 204, 294, 78, "Orders", ""},
            {kind::Button, 120, 286, 86, 28, "Ok", "OK"},
            {kind::Button, 220, 286, 86, 28, "Cancel", "Cancel"},
        };
        for (const Item& it : items) {
            d.addControl(it.kind);
            CVARNFBControl& c = *d.pending();
            d.placePending(it.x, it.y);
            c.rect() = d.constrain(FormRect{it.x, it.y, it.x + it.w, it.y + it.h});
            if (it.kind == kind::Grid) {
                c.layoutGridCells(v->doc().environment().scrollBarWidth);
                const char* rows[] = {"Pens", "Ink", "Paper"};
                for (std::size_t i = 0; i < c.cells.size() && i < 3; ++i) c.cells[i]->window->showText(rows[i]);
            }
            c.name = it.name;
            c.display = it.display;
            c.window->showText(it.display);
        }
        CVARNFBControl* frameRecord = v->doc().frame();
        frameRecord->display = "Customer";
        frameRecord->window->showText("Customer");
        v->refresh();
        auto click = [&](const char* name, Qt::KeyboardModifiers mods) {
            const FormRect r = v->doc().findByName(name)->rect();
            QTest::mouseClick(v->surface(), Qt::LeftButton, mods, v->surfacePoint(r.left + 4, r.top + 4));
        };
        click("NameField", {});
        click("Country", Qt::ShiftModifier);
        click("Ok", Qt::ShiftModifier);
        QCOMPARE(d.selection().count(), 3);
        checkPicture(save(frame, QStringLiteral("form-designer.png")), frame.size());
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
