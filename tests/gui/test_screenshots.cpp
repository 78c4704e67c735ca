// Pictures of the IDE window: the bundled sample project in the project bar
// with its source open after a build, the build pane after the failed build
// of the error sample, and the tip of the day. Run by scripts/screenshots with
// "--out <folder>"; as a test it checks that the pictures come out whole.
#include <QDir>
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
#include "app/VARNTipOfDay.h"
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
