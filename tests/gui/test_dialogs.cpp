// The settings dialogs of the project and the "Find in Files" dialog: what
// they load, which controls they show and enable per target, the creator ID
// typed in either form, the checks and the write-back of OK and Cancel, the
// search history, and the searches into the find panes.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "GuiFixture.h"
#include "build/COutputControlBar.h"
#include "editor/CFindInFiles.h"
#include "image/DevicePalette.h"
#include "project/ApplicationSettingsRules.h"
#include "project/CCompilePilotDlg.h"
#include "project/CProjectSettingsDlg.h"

using namespace varn;
using Texts = std::vector<std::string>;
using Widgets = std::initializer_list<QWidget*>;

namespace {

using guitest::onNextModal;

QString q(const std::string& s) { return QString::fromStdString(s); }

// Replaces the text of a line edit or spin box as typing does.
template <class Edit>
void retype(Edit* edit, const QString& text) {
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

QStringList comboItems(const QComboBox* box) {
    QStringList out;
    for (int i = 0; i < box->count(); ++i) out << box->itemText(i);
    return out;
}

QStringList historyIn(const SettingsStore& store) {
    QStringList out;
    for (int n = 1; n <= FindHistory::kEntries; ++n)
        out << q(store.getString(FindHistory::kSection, FindHistory::entryKey(n)));
    return out;
}

void setHistory(SettingsStore& store, const QStringList& entries) {
    for (int n = 1; n <= FindHistory::kEntries; ++n)
        store.setString(FindHistory::kSection, FindHistory::entryKey(n), entries.value(n - 1).toStdString());
}

// One pane line of a match, as "%-60.60s  Line: %-5d File: %s" gives it.
QString entry(const QString& lineText, int line, const std::string& path) {
    return lineText.leftJustified(60, QLatin1Char(' '), true) + QStringLiteral("  Line: ") +
           QString::number(line).leftJustified(5) + QStringLiteral(" File: ") + q(path) + QLatin1Char('\n');
}

bool shown(QWidget* w) { return !w->isHidden(); }

// The Demo project on one configuration, its application file replaced by `source`.
struct Demo : guitest::Workspace {
    explicit Demo(const char* configuration = "Windows Debug", bool optimized = false, const char* source = nullptr)
        : Workspace(QStringLiteral("Demo")) {
        model().setActiveConfiguration(configuration);
        model().settings.optimizedBuild = optimized;
        model().modified = false;
        if (source) guitest::writeText(file(QStringLiteral("Demo.vsl")), source);
    }
    std::string app() { return model().tree.applicationPath(); }
};

const char* const kFunctions =
    "# Declarations first.\n"
    "function startup();\n"
    "\tfunction on_tap(x, y);\n"
    "numeric taps;\n"
    "function startup()\n"
    "  taps = 0; # function call here\n"
    "end;\n";

using guitest::screenshot;

}  // namespace

class DialogsTest : public QObject {
    Q_OBJECT
private slots:
    // ---------------------------------------------------------------- Project Settings

    void projectSettingsLoadEnablingAndTitle() {
        Demo ws;
        ProjectSettings& s = ws.model().settings;
        s.formFontName = "Tahoma";
        s.varnWidth = 240;
        s.allow1BitColor = true;
        s.defaultForeGroundColor = 0x0000FF;
        CProjectSettingsDlg dlg(ws.model(), ws.ui);
        QCOMPARE(dlg.windowTitle(), QStringLiteral("Project Settings"));
        QCOMPARE(dlg.fontNameEdit()->text(), QStringLiteral("Tahoma"));
        QCOMPARE(dlg.widthBox()->value(), 240);
        QCOMPARE(dlg.heightBox()->value(), 160);
        QVERIFY(dlg.allow1BitColorBox()->isChecked());
        QCOMPARE(CColourWell::toQColor(dlg.textColourWell()->colour()), QColor(255, 0, 0));
        QCOMPARE(dlg.backgroundColourWell()->colour(), 0xFFFFFFu);

        // The face name only without the VARN fonts, the wells only without the system colours.
        QVERIFY(dlg.fontNameEdit()->isEnabled() && dlg.browseButton()->isEnabled());
        dlg.useVARNFontsBox()->click();
        QVERIFY(!dlg.fontNameEdit()->isEnabled() && !dlg.browseButton()->isEnabled());
        QVERIFY(!dlg.textColourWell()->isEnabled() && !dlg.backgroundColourWell()->isEnabled());
        dlg.useSystemColorsBox()->click();
        QVERIFY(dlg.textColourWell()->isEnabled() && dlg.backgroundColourWell()->isEnabled());

        const QString path = ws.projectPath(QStringLiteral("Demo"));
        QFile::setPermissions(path, QFileDevice::ReadOwner);
        QCOMPARE(CProjectSettingsDlg(ws.model(), ws.ui).windowTitle(), QStringLiteral("Project Settings (read-only)"));
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }

    // The rules themselves are tested in core; here the widgets reach them.
    void projectSettingsOkCancelBrowseAndRange() {
        Demo ws;
        ProjectModel& m = ws.model();
        const std::uint32_t odd = 0x123457;  // not a palette colour
        QVERIFY(DevicePalette::palm().snapPacked(odd) != odd);
        {
            CProjectSettingsDlg dlg(m, ws.ui);
            retype(dlg.widthBox(), QStringLiteral("500"));
            dlg.useVARNFontsBox()->click();
            dlg.reject();
        }
        QCOMPARE(m.settings.varnWidth, 160);
        QVERIFY(!m.settings.useVARNFonts);

        QString offered;
        int refreshed = 0;
        CProjectSettingsDlg dlg(m, ws.ui);
        dlg.setFontChooser([&](QWidget*, const QString& current) -> std::optional<QString> {
            offered = current;
            return QStringLiteral("Courier New");
        });
        dlg.setFormsChanged([&] { ++refreshed; });
        dlg.browseButton()->click();
        QCOMPARE(offered, QStringLiteral("Arial Narrow"));
        QCOMPARE(dlg.fontNameEdit()->text(), QStringLiteral("Courier New"));
        QCOMPARE(m.settings.formFontName, std::string("Courier New"));  // at once, before OK
        QCOMPARE(refreshed, 1);

        retype(dlg.widthBox(), QStringLiteral("240"));
        retype(dlg.heightBox(), QStringLiteral("50"));
        dlg.useSystemColorsBox()->click();
        dlg.textColourWell()->setColour(odd);
        dlg.accept();
        QCOMPARE(dlg.result(), int(QDialog::Rejected));
        QCOMPARE(ws.ui.texts(), Texts{"Please enter an integer between 100 and 1000."});
        retype(dlg.heightBox(), QStringLiteral("320"));
        dlg.accept();
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QVERIFY(m.modified);
        QCOMPARE(m.settings.varnWidth, 240);
        QCOMPARE(m.settings.varnHeight, 320);
        QCOMPARE(m.previousVarnWidth, 160);
        QVERIFY(!m.settings.useSystemColors);
        QCOMPARE(m.settings.defaultForeGroundColor, DevicePalette::palm().snapPacked(odd));
    }

    void settingsDialogsRun() {
        Demo ws;
        onNextModal([](QWidget* w) {
            auto* dlg = qobject_cast<CProjectSettingsDlg*>(w);
            QVERIFY(dlg);
            dlg->widthBox()->setValue(320);
            dlg->accept();
        });
        QVERIFY(CProjectSettingsDlg::run(nullptr, *ws.manager, ws.ui));
        QCOMPARE(ws.model().settings.varnWidth, 320);
        onNextModal([](QWidget* w) {
            auto* dlg = qobject_cast<CCompilePilotDlg*>(w);
            QVERIFY(dlg);
            dlg->formWidthBox()->setValue(480);
            dlg->accept();
        });
        QVERIFY(CCompilePilotDlg::run(nullptr, *ws.manager, ws.ui));
        QCOMPARE(ws.model().settings.windowsFormSizeX, 480);
        onNextModal([](QWidget* w) { qobject_cast<QDialog*>(w)->reject(); });
        QVERIFY(!CProjectSettingsDlg::run(nullptr, *ws.manager, ws.ui));
        onNextModal([](QWidget* w) { qobject_cast<QDialog*>(w)->reject(); });
        QVERIFY(!CCompilePilotDlg::run(nullptr, *ws.manager, ws.ui));
    }

    // ------------------------------------------------------------ Application Settings

    void creatorFieldsFollowEachOther() {
        Demo ws("PalmOS Debug");
        CCompilePilotDlg dlg(ws.model(), ws.ui);
        QCOMPARE(dlg.creatorHexEdit()->text(), QStringLiteral("44656D6F"));
        QCOMPARE(dlg.creatorTextEdit()->text(), QStringLiteral("Demo"));
        retype(dlg.creatorTextEdit(), QStringLiteral("AB"));
        QCOMPARE(dlg.creatorHexEdit()->text(), QStringLiteral("4142"));
        retype(dlg.creatorHexEdit(), QStringLiteral("4a6b0107"));
        QCOMPARE(dlg.creatorTextEdit()->text(), QStringLiteral("Jk.."));
        QCOMPARE(dlg.creatorTextEdit()->maxLength(), 4);
        QCOMPARE(dlg.creatorHexEdit()->maxLength(), 8);
    }

    // Every control, and its label, shows and enables as the rules' layout says.
    void layoutPerTarget_data() {
        QTest::addColumn<QString>("configuration");
        QTest::addColumn<bool>("optimized");
        for (const char* c : {"PalmOS Debug", "PalmOS Release", "PocketPC Debug", "Windows Release"}) {
            QTest::newRow(c) << QString::fromLatin1(c) << false;
            QTest::newRow((std::string(c) + " optimized").c_str()) << QString::fromLatin1(c) << true;
        }
    }
    void layoutPerTarget() {
        QFETCH(QString, configuration);
        QFETCH(bool, optimized);
        Demo ws(configuration.toLatin1().constData(), optimized);
        const ApplicationSettingsLayout l = ApplicationSettingsRules(ws.model()).layout;
        CCompilePilotDlg dlg(ws.model(), ws.ui);
        const std::pair<const ApplicationSettingsLayout::Control*, QWidget*> pairs[] = {
            {&l.creatorText, dlg.creatorTextEdit()},  {&l.creatorHex, dlg.creatorHexEdit()},
            {&l.desktopName, dlg.desktopNameEdit()},  {&l.changeDBCreatorID, dlg.changeDBCreatorIDBox()},
            {&l.prcVersion, dlg.prcVersionEdit()},    {&l.prcType, dlg.prcTypeBox()},
            {&l.nonBeamable, dlg.nonBeamableBox()},   {&l.backup, dlg.backupBox()},
            {&l.splashScreen, dlg.splashScreenBox()}, {&l.sipResize, dlg.sipResizeBox()},
            {&l.formSize, dlg.formWidthBox()},        {&l.formSize, dlg.formHeightBox()},
        };
        for (const auto& [rule, w] : pairs) {
            QCOMPARE(shown(w), rule->visible);
            if (rule->visible) QVERIFY2(w->isEnabled() == rule->enabled, qPrintable(w->objectName()));
            if (QLabel* label = dlg.labelOf(w)) QCOMPARE(shown(label), rule->visible);
            if (auto* edit = qobject_cast<QLineEdit*>(w); edit && rule->visible)
                QVERIFY2(guitest::looksReadOnly(edit) == rule->readOnly, qPrintable(w->objectName()));
        }
        QCOMPARE(dlg.formWidthBox()->value(), ApplicationSettingsRules(ws.model()).fields.formWidth);
    }

    // The rules' OK checks and messages reach the dialog; it stays open until they pass.
    void okAsksAboutTheCaseFirstThenChecksTheSize() {
        Demo ws("PalmOS Debug");
        ProjectModel& m = ws.model();
        CCompilePilotDlg dlg(m, ws.ui);
        retype(dlg.creatorTextEdit(), QStringLiteral("demo"));
        dlg.formWidthBox()->setValue(240);
        dlg.formHeightBox()->setValue(240);
        ws.ui.answers = {Answer::No};
        dlg.accept();
        QCOMPARE(dlg.result(), int(QDialog::Rejected));
        QCOMPARE(ws.ui.texts(),
                 (Texts{ApplicationSettingsRules::kUpperCaseQuestion, "The runtime form size must be 160 or 320"}));
        QVERIFY(!m.modified);

        ws.ui.clear();
        dlg.formWidthBox()->setValue(320);
        dlg.formHeightBox()->setValue(320);
        retype(dlg.desktopNameEdit(), QStringLiteral("  My App  "));
        retype(dlg.creatorHexEdit(), QStringLiteral(" 4D79 "));
        dlg.accept();
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QVERIFY(ws.ui.messages.empty());
        QVERIFY(m.modified);
        QCOMPARE(dlg.desktopNameEdit()->text(), QStringLiteral("My App"));
        QCOMPARE(dlg.creatorTextEdit()->text(), QStringLiteral("My"));
    }

    // The values reach the project when the dialog goes away, after OK and after Cancel.
    void writeBackWhenTheDialogGoesAway() {
        Demo ws("PalmOS Debug");
        ProjectModel& m = ws.model();
        {
            CCompilePilotDlg dlg(m, ws.ui);
            retype(dlg.creatorTextEdit(), QStringLiteral("Wxyz"));
            retype(dlg.desktopNameEdit(), QStringLiteral("Wide"));
            dlg.prcTypeBox()->setCurrentIndex(1);
            dlg.formWidthBox()->setValue(320);
            dlg.formHeightBox()->setValue(320);
            dlg.accept();
            QCOMPARE(dlg.result(), int(QDialog::Accepted));
            QCOMPARE(m.settings.desktopName, std::string("Demo"));  // not before the window goes
        }
        QCOMPARE(m.settings.creatorID, std::string("5778797A"));
        QCOMPARE(m.settings.desktopName, std::string("Wide"));
        QCOMPARE(m.settings.prcType, std::string("Library"));
        QCOMPARE(m.settings.palmOSFormSizeY, 320);

        ws.model().setActiveConfiguration("PocketPC Release");
        {
            CCompilePilotDlg dlg(m, ws.ui);
            dlg.sipResizeBox()->click();
            dlg.splashScreenBox()->setEditText(QStringLiteral("Intro"));
            dlg.accept();
        }
        QVERIFY(m.settings.enableSipResize);
        QCOMPARE(m.settings.splashScreen, std::string("Intro"));

        // Cancel writes back what was loaded, the type in its stored spelling.
        ws.model().setActiveConfiguration("PalmOS Debug");
        m.settings.prcType = "library";
        {
            CCompilePilotDlg dlg(m, ws.ui);
            retype(dlg.desktopNameEdit(), QStringLiteral("Changed"));
            dlg.prcTypeBox()->setCurrentIndex(0);
            dlg.reject();
        }
        QCOMPARE(m.settings.prcType, std::string("Library"));
        QCOMPARE(m.settings.desktopName, std::string("Wide"));
    }

    // --------------------------------------------------------------- Find in Files

    void findDialogAndItsHistory() {
        guitest::Workspace ws;
        SettingsStore& store = ws.settings;
        setHistory(store, {QStringLiteral("alpha"), QStringLiteral("beta"), QStringLiteral("gamma")});
        store.setString(FindHistory::kSection, FindHistory::entryKey(5), "beyond the gap");
        store.setInt(FindHistory::kSection, FindHistory::kMatchCase, 1);
        {
            CFindInFiles dlg(store);
            QCOMPARE(dlg.windowTitle(), QStringLiteral("Find in Files"));
            QCOMPARE(comboItems(dlg.findWhatBox()),
                     (QStringList{QStringLiteral("alpha"), QStringLiteral("beta"), QStringLiteral("gamma")}));
            QCOMPARE(dlg.findWhatBox()->currentText(), QStringLiteral("alpha"));
            QVERIFY(dlg.matchCaseBox()->isChecked() && !dlg.regularExpressionBox()->isChecked() &&
                    !dlg.pane2Box()->isChecked());
            QCOMPARE(dlg.pane2Box()->text(), QStringLiteral("O&utput to pane 2"));
            dlg.findWhatBox()->setEditText(QStringLiteral("zeta"));
            dlg.reject();  // stores nothing
        }
        QCOMPARE(historyIn(store).first(), QStringLiteral("alpha"));

        auto find = [&](const QString& text, bool matchCase, bool regex) {
            CFindInFiles dlg(store);
            dlg.findWhatBox()->setEditText(text);
            dlg.matchCaseBox()->setChecked(matchCase);
            dlg.regularExpressionBox()->setChecked(regex);
            dlg.findButton()->click();
            QCOMPARE(dlg.result(), int(QDialog::Accepted));
        };
        // An older entry moves to the front, the ones before it move down.
        find(QStringLiteral("gamma"), false, true);
        QCOMPARE(historyIn(store).mid(0, 4),
                 (QStringList{QStringLiteral("gamma"), QStringLiteral("alpha"), QStringLiteral("beta"), QString()}));
        QCOMPARE(store.getInt(FindHistory::kSection, "Match case", -1), 0);
        QCOMPARE(store.getInt(FindHistory::kSection, "Regular expressions", -1), 1);
    }

    void runSearchesIntoTheChosenPane() {
        Demo ws("Windows Debug", false, kFunctions);
        COutputControlBar bar;
        bar.pane(COutputControlBar::FindPane1)->setPlainText(QStringLiteral("earlier search"));
        bar.pane(COutputControlBar::FindPane2)->setPlainText(QStringLiteral("stale"));
        onNextModal([](QWidget* w) {
            auto* dlg = qobject_cast<CFindInFiles*>(w);
            QVERIFY(dlg);
            dlg->findWhatBox()->setEditText(QStringLiteral("STARTUP"));
            dlg->pane2Box()->click();
            dlg->findButton()->click();
        });
        QVERIFY(CFindInFiles::run(nullptr, ws.settings, bar, ws.model().tree, ws.ui));
        QVERIFY(ws.ui.messages.empty());
        QCOMPARE(bar.activePane(), int(COutputControlBar::FindPane2));
        QCOMPARE(bar.pane(COutputControlBar::FindPane1)->toPlainText(), QStringLiteral("earlier search"));
        const QString expected = entry(QStringLiteral("function startup();"), 2, ws.app()) +
                                 entry(QStringLiteral("function startup()"), 5, ws.app()) +
                                 QStringLiteral("2 occurrence(s) have been found.\n");
        QCOMPARE(bar.pane(COutputControlBar::FindPane2)->toPlainText(), expected);

        // Cancel searches nothing.
        onNextModal([](QWidget* w) { qobject_cast<QDialog*>(w)->reject(); });
        QVERIFY(!CFindInFiles::run(nullptr, ws.settings, bar, ws.model().tree, ws.ui));
        QCOMPARE(bar.pane(COutputControlBar::FindPane2)->toPlainText(), expected);
    }

    void findAllFunctionsListsTheDeclarationsInPane1() {
        Demo ws("Windows Debug", false, kFunctions);
        QMainWindow window;
        auto* bar = new COutputControlBar(&window);
        window.addDockWidget(Qt::BottomDockWidgetArea, bar);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        bar->hide();
        bar->activatePane(COutputControlBar::BuildPane);
        COutputPane* pane1 = bar->pane(COutputControlBar::FindPane1);
        pane1->setPlainText(QStringLiteral("old"));
        pane1->setHorizontalBar(true);

        QCOMPARE(CFindInFiles::findAllFunctions(*bar, ws.model().tree, ws.ui).count, 2);
        QVERIFY(bar->isVisible());
        QCOMPARE(bar->activePane(), int(COutputControlBar::FindPane1));
        QVERIFY(!pane1->horizontalBarShown());
        // The leading tab goes; a definition without ";" is no declaration.
        QCOMPARE(pane1->toPlainText(), entry(QStringLiteral("function startup();"), 2, ws.app()) +
                                           entry(QStringLiteral("function on_tap(x, y);"), 3, ws.app()) +
                                           QStringLiteral("2 occurrence(s) have been found.\n"));

        // A double-click on an entry asks for its file and line (from 0).
        QSignalSpy spy(bar, &COutputControlBar::openAtLine);
        bar->jumpFrom(COutputControlBar::FindPane1, pane1->toPlainText().section(QLatin1Char('\n'), 1, 1));
        QCOMPARE(spy.count(), 1);
        QCOMPARE(QFileInfo(spy.at(0).at(0).toString()).canonicalFilePath(), QFileInfo(q(ws.app())).canonicalFilePath());
        QCOMPARE(spy.at(0).at(1).toInt(), 2);
    }

    // ---------------------------------------------------------------- Pictures

    void screenshots() {
        Demo ws("PalmOS Debug");
        {
            CProjectSettingsDlg dlg(ws.model(), ws.ui);
            dlg.show();
            QVERIFY(QTest::qWaitForWindowExposed(&dlg));
            QCOMPARE(dlg.windowTitle(), QStringLiteral("Project Settings"));
            screenshot(dlg, QStringLiteral("project-settings.png"));
            dlg.reject();
        }
        {
            CCompilePilotDlg dlg(ws.model(), ws.ui);
            dlg.show();
            QVERIFY(QTest::qWaitForWindowExposed(&dlg));
            screenshot(dlg, QStringLiteral("application-settings.png"));
            dlg.reject();
        }
        {
            setHistory(ws.settings, {QStringLiteral("function"), QStringLiteral("taps")});
            CFindInFiles dlg(ws.settings);
            dlg.show();
            QVERIFY(QTest::qWaitForWindowExposed(&dlg));
            QCOMPARE(dlg.windowTitle(), QStringLiteral("Find in Files"));
            screenshot(dlg, QStringLiteral("find-in-files.png"));
            dlg.reject();
        }
    }
};

QTEST_MAIN(DialogsTest)
#include "test_dialogs.moc"
