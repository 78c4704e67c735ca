// The IDE settings dialog (keys written on OK, refusals, the font slots, the C
// build window warning), the Syntax Coloring dialog's writes, and the user
// tools on the Tools menu.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QRadioButton>
#include <QTest>

#include "GuiFixture.h"
#include "app/CMainFrame.h"
#include "app/CSettingsDlg.h"
#include "app/CUserToolsDlg.h"
#include "app/UserTools.h"
#include "editor/CChromaDialog.h"
#include "editor/ColouringSettings.h"
#include "platform/ProfileFile.h"

using namespace varn;

namespace {

QString q(const char* s) { return QString::fromLatin1(s); }

}  // namespace

class SettingsDialogsTest : public QObject {
    Q_OBJECT
private slots:
    void okWritesEveryKeyAndBothEditorSections() {
        guitest::Workspace ws;
        std::array<WindowFont, 4> fonts;
        CSettingsDlg dlg(ws.settings, fonts, 320, 320, ws.ui);
        dlg.field(IdeSettings::Key::PalmPilotInstallDir)->setText(q("/palm/install\\"));
        dlg.field(IdeSettings::Key::WinCEInstallDir)->setText(q("/ce/"));
        dlg.field(IdeSettings::Key::TabSize)->setText(q("6"));
        dlg.field(IdeSettings::Key::FormSizeX)->setText(q("160"));
        dlg.box(IdeSettings::Key::AllowAutoProp)->setChecked(false);
        dlg.insertSpaces()->setChecked(true);
        dlg.accept();
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QCOMPARE(ws.settings.getString("Settings", "PalmPilotInstallDir"), std::string("/palm/install"));
        QCOMPARE(ws.settings.getString("Settings", "WinCEInstallDir"), std::string("/ce"));
        QCOMPARE(ws.settings.getInt("Settings", "AllowAutoProp", 1), 0);
        QCOMPARE(ws.settings.getInt("Settings", "FormSizeX", 0), 160);
        for (const char* section : {kSourceFilesSection, kCBuildFilesSection}) {
            QCOMPARE(ws.settings.getInt(section, "Tab Size", 0), 6);
            QCOMPARE(ws.settings.getInt(section, "Keep tabs", 1), 0);
        }
        QVERIFY(!ws.settings.has(kDefaultFilesSection, "Tab Size"));
    }

    // The refusals themselves are core's (IdeSettings.RangeRefusals): one shows that they reach the dialog.
    void aRefusedValueKeepsTheDialogOpen() {
        guitest::Workspace ws;
        std::array<WindowFont, 4> fonts;
        CSettingsDlg dlg(ws.settings, fonts, 320, 320, ws.ui);
        dlg.field("FormSizeY")->setText(q("tall"));
        dlg.accept();
        QCOMPARE(dlg.result(), int(QDialog::Rejected));  // still open: no result yet
        QCOMPARE(ws.ui.lastText(), std::string("Please enter an integer."));
        QVERIFY(!ws.settings.has("Settings", "FormSizeX"));
    }

    void cancellingTheCBuildWarningKeepsTheBoxTicked() {
        guitest::Workspace ws;
        std::array<WindowFont, 4> fonts;
        CSettingsDlg dlg(ws.settings, fonts, 320, 320, ws.ui);
        ws.ui.answers.push_back(Answer::Cancel);
        dlg.box(IdeSettings::Key::ShowCBuildWindow)->setChecked(false);
        QVERIFY(dlg.box(IdeSettings::Key::ShowCBuildWindow)->isChecked());
        QVERIFY(ws.ui.lastText().rfind("Warning!\n\nSome versions of Windows", 0) == 0);
        ws.ui.answers.push_back(Answer::Ok);
        dlg.box(IdeSettings::Key::ShowCBuildWindow)->setChecked(false);
        QVERIFY(!dlg.box(IdeSettings::Key::ShowCBuildWindow)->isChecked());
    }

    void aFontChangeIsAnnouncedAtOnceWithItsStyle() {
        guitest::Workspace ws;
        std::array<WindowFont, 4> fonts;
        CSettingsDlg dlg(ws.settings, fonts, 320, 320, ws.ui);
        bool fixedAsked = true;
        dlg.setFontChooser([&](const WindowFont&, bool fixedOnly) -> std::optional<WindowFont> {
            fixedAsked = fixedOnly;
            return WindowFont{"DejaVu Sans", 12, 700, true};
        });
        int changed = -1;
        connect(&dlg, &CSettingsDlg::fontChanged, this, [&](int slot) { changed = slot; });
        dlg.fontSlots()->setCurrentIndex(1);  // "Build Window"
        dlg.changeFont();
        QCOMPARE(changed, 1);
        QVERIFY(!fixedAsked);
        QCOMPARE(dlg.fontStyle()->text(), q("Bold Italic"));
        QCOMPARE(fonts[1].size, 12);
        dlg.fontSlots()->setCurrentIndex(0);
        dlg.changeFont();
        QVERIFY(fixedAsked);  // the editor slot offers fixed-pitch fonts only
        dlg.reject();
        QCOMPARE(fonts[0].faceName, std::string("DejaVu Sans"));  // kept although cancelled
    }

    void syntaxColoringWritesItsSectionAndCBuildFiles() {
        guitest::Workspace ws;
        normaliseColouring(ws.settings);
        CChromaDialog dlg(ws.settings, kDefaultFilesSection);
        dlg.setColourChooser([](Rgb) { return std::optional<Rgb>(Rgb{12, 34, 56}); });
        dlg.chooseColour(CChromaDialog::Keywords);
        QCOMPARE(dlg.sample(0)->palette().color(QPalette::WindowText), QColor(12, 34, 56));
        dlg.caseSensitive()->setChecked(true);
        dlg.accept();
        for (const char* section : {kDefaultFilesSection, kCBuildFilesSection}) {
            QCOMPARE(ws.settings.getString(section, "Keyword"), std::string("12,34,56"));
            QCOMPARE(ws.settings.getInt(section, "Case", 0), 1);
        }
        QCOMPARE(ws.settings.getString(kSourceFilesSection, "Keyword"), std::string("0,0,255"));
    }

    void userToolsAreListedFromTheirFile() {
        guitest::Workspace ws(QStringLiteral("Demo"));
        CMainFrame frame(*ws.manager, ws.ui, ws.settings);
        CUserToolsDlg dlg({});
        dlg.addTool();
        dlg.menuText()->setText(q("List files"));
        dlg.command()->setText(q("/bin/ls"));
        dlg.arguments()->setText(q("$(ProjectPath)"));
        dlg.addTool();
        dlg.menuText()->setText(q("Second"));
        dlg.command()->setText(q("/no/such/tool"));
        dlg.move(-1);
        dlg.list()->setCurrentRow(1);  // stores the fields of the row left
        QCOMPARE(dlg.tools().size(), std::size_t(2));
        QCOMPARE(dlg.tools()[0].menuText, std::string("Second"));
        QVERIFY(UserTools::save(UserTools::filePath(ws.install.toStdString()), dlg.tools()));
        frame.fillToolsMenu();
        const QList<QAction*>& actions = frame.userToolActions();
        QCOMPARE(actions.size(), 2);
        QCOMPARE(actions[0]->text(), q("Second"));
        QCOMPARE(actions[1]->data().toInt(), 43045);
        actions[0]->trigger();
        QCOMPARE(ws.ui.lastText(), std::string("Could not execute tool"));
    }
};

QTEST_MAIN(SettingsDialogsTest)
#include "test_settingsdialogs.moc"
