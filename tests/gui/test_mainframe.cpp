// The main window and the Qt side of the Ui.
#include <QtTest>

#include "app/CMainFrame.h"
#include "app/GuiUi.h"
#include "app/RecordingUi.h"
#include "platform/SettingsStore.h"
#include "project/VARNWorkspaceManager.h"

using namespace varn;

class MainFrameTest : public QObject {
    Q_OBJECT
private slots:
    void titleBeginsWithTheApplicationName() {
        RecordingUi ui;
        SettingsStore settings;
        SymbolList symbols;
        VARNWorkspaceManager manager(ui, settings, symbols, QDir::tempPath().toStdString());
        CMainFrame frame(manager);
        frame.show();
        QVERIFY(frame.windowTitle().startsWith(QStringLiteral("VARNide43")));
        QVERIFY(frame.centralWidget() != nullptr);
        QCOMPARE(&frame.workspace(), &manager);
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
