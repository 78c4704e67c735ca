// The "Application Install Settings" sheet: the pages shown per platform, the
// settings loaded into them, the group tree's extension rule on drops and on
// "Add Files...", Delete, the project folder opened for drag and drop, the
// fixed synchronisation fields, the Build page's enabling, warning, results
// and their clearing, OK's save and read-only refusal, Cancel, and build-now.
#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QtTest>

#include "GuiFixture.h"
#include "installer/CInstallSheet.h"
#include "platform/FileSystem.h"

using namespace varn;
using namespace varn::install;

namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

bool shown(const QWidget* w) { return !w->isHidden(); }

using guitest::bytesOf;

// The Demo project on one configuration.
struct Demo : guitest::Workspace {
    explicit Demo(const char* configuration) : Workspace(QStringLiteral("Demo")) {
        model().setActiveConfiguration(configuration);
        model().modified = false;
        // Each case starts without install settings (the sample ships some for PocketPC).
        for (TargetPlatform p : {TargetPlatform::PalmOS, TargetPlatform::PocketPC, TargetPlatform::Windows})
            QFile::remove(settingsPath(p));
    }
    std::unique_ptr<CInstallSheet> sheet(CInstallSheet::StartPage start = CInstallSheet::StartPage::First,
                                         bool buildNow = false) {
        return std::make_unique<CInstallSheet>(model(), install.toStdString(), ui, start, buildNow);
    }
    QString settingsPath(TargetPlatform p) { return q(settingsFilePath(model().projectPath, p)); }
    QString touch(const QString& name) {
        const QString path = file(name);
        guitest::writeText(path, "x");
        return path;
    }
};

QStringList childTexts(const QTreeWidgetItem* group) {
    QStringList out;
    for (int i = 0; i < group->childCount(); ++i) out << group->child(i)->text(0);
    return out;
}

// Drops local files onto the tree at the centre of `target` (null: below all items).
void dropOnto(CInstallFileGroupTreeCtrl* tree, QTreeWidgetItem* target, const QStringList& paths) {
    QList<QUrl> urls;
    for (const QString& p : paths) urls << QUrl::fromLocalFile(p);
    auto* mime = new QMimeData;
    mime->setUrls(urls);
    const QPoint pos = target ? tree->visualItemRect(target).center() : QPoint(5, tree->viewport()->height() - 2);
    QDragEnterEvent enter(pos, Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(tree->viewport(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(pos), Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(tree->viewport(), &drop);
    delete mime;
}

}  // namespace

class InstallSheetTest : public QObject {
    Q_OBJECT
private slots:
    // Per configuration: the pages, the settings file, the platform's own
    // controls, and the file groups of core's group list.
    void pagesPerPlatform_data() {
        QTest::addColumn<QString>("configuration");
        QTest::addColumn<int>("pages");
        QTest::addColumn<QString>("platform");
        QTest::addColumn<bool>("pocketPC");  // icon field and CAB box shown, no sync folder
        QTest::addColumn<bool>("testInstall");
        QTest::newRow("palm") << QStringLiteral("PalmOS Debug") << 5 << QStringLiteral("PalmOS") << false << true;
        QTest::newRow("pocketpc") << QStringLiteral("PocketPC Release") << 5 << QStringLiteral("PocketPC") << true
                                  << true;
        QTest::newRow("pilot is windows")
            << QStringLiteral("Pilot Debug") << 4 << QStringLiteral("Windows") << false << false;
    }
    void pagesPerPlatform() {
        QFETCH(QString, configuration);
        QFETCH(int, pages);
        QFETCH(QString, platform);
        QFETCH(bool, pocketPC);
        QFETCH(bool, testInstall);
        Demo ws(configuration.toLatin1().constData());
        auto sheet = ws.sheet();
        QCOMPARE(sheet->tabs()->count(), pages);
        QCOMPARE(sheet->tabs()->currentWidget(), sheet->appinfoPage());
        QCOMPARE(q(sheet->settingsPath()), ws.file(QStringLiteral("Demo_%1_InstallSettings.ini").arg(platform)));
        QCOMPARE(shown(sheet->appinfoPage()->iconField().edit), pocketPC);
        QCOMPARE(shown(sheet->appinfoPage()->iconField().label), pocketPC);
        QCOMPARE(shown(sheet->buildPage()->createCabBox()), pocketPC);
        if (pocketPC) QVERIFY(sheet->buildPage()->createCabBox()->isChecked());  // the default
        QCOMPARE(sheet->buildPage()->testButton()->isEnabled(), testInstall);
        if (sheet->syncPage()) {
            QCOMPARE(shown(sheet->syncPage()->syncDirectoryEdit()), !pocketPC);
            QCOMPARE(shown(sheet->syncPage()->syncDirectoryLabel()), !pocketPC);
        }
        QCOMPARE(!sheet->syncPage(), pages == 4);
        QStringList captions, expected;
        CInstallFileGroupTreeCtrl* tree = sheet->filesPage()->tree();
        for (int i = 0; i < tree->topLevelItemCount(); ++i) captions << tree->topLevelItem(i)->text(0);
        for (const auto& g : groupsFor(sheet->platform())) expected << q(g.caption);
        QCOMPARE(captions, expected);
        auto atBuild = ws.sheet(CInstallSheet::StartPage::Build);
        QCOMPARE(atBuild->tabs()->currentWidget(), static_cast<QWidget*>(atBuild->buildPage()));
    }

    void loadsIntoPagesAndCancelDiscards() {
        Demo ws("PocketPC Debug");
        InstallSettings st;
        st.applicationName = "Demo App";
        st.companyName = "Quill";
        st.version = "2.1";
        st.applicationIcon = "demo.ico";
        st.showProgress = true;
        st.softwareLicenseFile = "license.txt";
        st.setupPrologFile = "prolog.txt";
        st.setupEpilogFile = "epilog.txt";
        st.welcomeBitmapFile = "welcome.bmp";
        st.files(FileGroup::Device) = {"a.vce", "b.wav"};
        st.files(FileGroup::Font) = {"f.ttf"};
        st.files(FileGroup::Desktop) = {"readme.txt"};
        st.installConduit = true;
        st.applicationSyncName = "DemoSync";
        st.buildCabFiles = false;
        const QString path = ws.settingsPath(TargetPlatform::PocketPC);
        QVERIFY(st.save(path.toStdString(), TargetPlatform::PocketPC).ok());
        const QByteArray before = bytesOf(path);

        auto sheet = ws.sheet();
        QCOMPARE(sheet->appinfoPage()->applicationNameEdit()->text(), QStringLiteral("Demo App"));
        QCOMPARE(sheet->appinfoPage()->companyNameEdit()->text(), QStringLiteral("Quill"));
        QCOMPARE(sheet->appinfoPage()->versionEdit()->text(), QStringLiteral("2.1"));
        QCOMPARE(sheet->appinfoPage()->iconField().edit->text(), QStringLiteral("demo.ico"));
        QVERIFY(sheet->dialogsPage()->showProgressBox()->isChecked());
        QCOMPARE(sheet->dialogsPage()->licenseField().edit->text(), QStringLiteral("license.txt"));
        QCOMPARE(sheet->dialogsPage()->prologField().edit->text(), QStringLiteral("prolog.txt"));
        QCOMPARE(sheet->dialogsPage()->epilogField().edit->text(), QStringLiteral("epilog.txt"));
        QCOMPARE(sheet->dialogsPage()->welcomeBitmapField().edit->text(), QStringLiteral("welcome.bmp"));
        CInstallFileGroupTreeCtrl* tree = sheet->filesPage()->tree();
        QCOMPARE(childTexts(tree->groupItem(FileGroup::Device)),
                 (QStringList{QStringLiteral("a.vce"), QStringLiteral("b.wav")}));
        QCOMPARE(childTexts(tree->groupItem(FileGroup::Font)), QStringList{QStringLiteral("f.ttf")});
        QCOMPARE(childTexts(tree->groupItem(FileGroup::Desktop)), QStringList{QStringLiteral("readme.txt")});
        for (int i = 0; i < tree->topLevelItemCount(); ++i) QVERIFY(tree->topLevelItem(i)->isExpanded());
        QVERIFY(sheet->syncPage()->installConduitBox()->isChecked());
        QCOMPARE(sheet->syncPage()->syncNameEdit()->text(), QStringLiteral("DemoSync"));
        QCOMPARE(sheet->syncPage()->creatorIdEdit()->text(), QStringLiteral("Demo"));  // PPCCreatorID 44656D6F
        QVERIFY(!sheet->buildPage()->createCabBox()->isChecked());
        QVERIFY(!sheet->buildPage()->testButton()->isEnabled());

        // Cancel leaves the file as it was.
        sheet->appinfoPage()->applicationNameEdit()->setText(QStringLiteral("Changed"));
        tree->setCurrentItem(tree->groupItem(FileGroup::Device)->child(0));
        QTest::keyClick(tree, Qt::Key_Delete);
        sheet->reject();
        QCOMPARE(sheet->result(), int(QDialog::Rejected));
        QCOMPARE(bytesOf(path), before);
        QVERIFY(ws.ui.messages.empty());
    }

    void okSavesTheTreeInOrder() {
        Demo ws("PalmOS Release");
        const QString a = ws.touch(QStringLiteral("one.prc"));
        const QString b = ws.touch(QStringLiteral("two.PDB"));
        const QString data = ws.touch(QStringLiteral("d.vdb"));
        auto sheet = ws.sheet();
        sheet->appinfoPage()->applicationNameEdit()->setText(QStringLiteral("Demo App"));
        sheet->dialogsPage()->showProgressBox()->click();
        sheet->syncPage()->installConduitBox()->click();
        CInstallFileGroupTreeCtrl* tree = sheet->filesPage()->tree();
        QCOMPARE(tree->addFiles(tree->groupItem(FileGroup::Device), {a, b}), 2);
        QCOMPARE(tree->addFiles(tree->groupItem(FileGroup::Data), {data}), 1);
        sheet->accept();
        QCOMPARE(sheet->result(), int(QDialog::Accepted));
        QVERIFY(ws.ui.messages.empty());

        const InstallSettings saved = InstallSettings::load(sheet->settingsPath());
        QCOMPARE(q(saved.applicationName), QStringLiteral("Demo App"));
        QVERIFY(saved.showProgress);
        QVERIFY(saved.installConduit);
        QCOMPARE(saved.files(FileGroup::Device), (std::vector<std::string>{QDir::toNativeSeparators(a).toStdString(),
                                                                           QDir::toNativeSeparators(b).toStdString()}));
        QCOMPARE(saved.files(FileGroup::Data).size(), std::size_t(1));
        QVERIFY(saved.files(FileGroup::Desktop).empty());
        // Only this platform's file was written.
        QVERIFY(!QFile::exists(ws.settingsPath(TargetPlatform::PocketPC)));
        QVERIFY(!QFile::exists(ws.settingsPath(TargetPlatform::Windows)));
    }

    void readOnlyFileRefusesOk() {
        Demo ws("PalmOS Debug");
        const QString path = ws.settingsPath(TargetPlatform::PalmOS);
        InstallSettings st;
        st.applicationName = "Kept";
        QVERIFY(st.save(path.toStdString(), TargetPlatform::PalmOS).ok());
        const QByteArray before = bytesOf(path);
        QVERIFY(fsys::setReadOnly(path.toStdString(), true).ok());

        auto sheet = ws.sheet();
        QCOMPARE(sheet->windowTitle(), QStringLiteral("Application Install Settings (read-only)"));
        sheet->appinfoPage()->applicationNameEdit()->setText(QStringLiteral("Lost"));
        sheet->accept();
        QCOMPARE(sheet->result(), int(QDialog::Rejected));
        QCOMPARE(ws.ui.messages.size(), std::size_t(1));
        QCOMPARE(q(ws.ui.messages[0].text), QStringLiteral("The file can not be saved because it is marked read-only"));
        QCOMPARE(ws.ui.messages[0].icon, MsgIcon::Error);
        QVERIFY(fsys::setReadOnly(path.toStdString(), false).ok());
        QCOMPARE(bytesOf(path), before);
    }

    void unwritableFileKeepsTheSheetOpen() {
        Demo ws("PalmOS Debug");
        const QString path = ws.settingsPath(TargetPlatform::PalmOS);
        QVERIFY(QDir().mkpath(path));  // a folder in the way: the write fails, even for root
        auto sheet = ws.sheet();
        sheet->show();
        sheet->appinfoPage()->applicationNameEdit()->setText(QStringLiteral("Kept"));
        sheet->accept();
        QVERIFY(sheet->isVisible());
        QCOMPARE(ws.ui.texts(), std::vector<std::string>{"Unable to save the file " + path.toStdString() + "."});
        QCOMPARE(ws.ui.messages[0].icon, MsgIcon::Error);
        QCOMPARE(sheet->appinfoPage()->applicationNameEdit()->text(), QStringLiteral("Kept"));
        QVERIFY(QDir().rmdir(path));
        sheet->accept();  // once the way is clear, OK saves
        QCOMPARE(sheet->result(), int(QDialog::Accepted));
        QCOMPARE(q(InstallSettings::load(path.toStdString()).applicationName), QStringLiteral("Kept"));
    }

    void dropsFollowTheExtensionRule() {
        Demo ws("PalmOS Debug");
        const QString txt = ws.touch(QStringLiteral("notes.txt"));
        const QString vdb = ws.touch(QStringLiteral("table.VDB"));
        const QString vdi = ws.touch(QStringLiteral("index.vdi"));
        const QString prc = ws.touch(QStringLiteral("app.prc"));
        auto sheet = ws.sheet();
        sheet->resize(600, 500);
        sheet->show();
        QVERIFY(QTest::qWaitForWindowExposed(sheet.get()));
        sheet->showPage(sheet->filesPage());
        CInstallFileGroupTreeCtrl* tree = sheet->filesPage()->tree();
        QTreeWidgetItem* data = tree->groupItem(FileGroup::Data);
        QTreeWidgetItem* desktop = tree->groupItem(FileGroup::Desktop);

        // Which extensions a group takes is core's rule (InstallSettings.GroupsAcceptByExtension).
        dropOnto(tree, data, {vdb, txt, prc});
        QCOMPARE(childTexts(data), QStringList{QDir::toNativeSeparators(vdb)});
        // Onto a file item: its group takes it.
        dropOnto(tree, data->child(0), {vdi});
        QCOMPARE(childTexts(data), (QStringList{QDir::toNativeSeparators(vdb), QDir::toNativeSeparators(vdi)}));
        dropOnto(tree, desktop, {txt});
        QCOMPARE(childTexts(desktop), QStringList{QDir::toNativeSeparators(txt)});
        QVERIFY(ws.ui.messages.empty());

        // Delete removes a file item and never a group.
        tree->setCurrentItem(data->child(0));
        QTest::keyClick(tree, Qt::Key_Delete);
        QCOMPARE(childTexts(data), QStringList{QDir::toNativeSeparators(vdi)});
        tree->setCurrentItem(data);
        QTest::keyClick(tree, Qt::Key_Delete);
        QCOMPARE(tree->topLevelItemCount(), 3);
        QCOMPARE(data->childCount(), 1);

        const InstallSettings now = sheet->currentSettings();
        QCOMPARE(now.files(FileGroup::Data), std::vector<std::string>{QDir::toNativeSeparators(vdi).toStdString()});
        QCOMPARE(now.files(FileGroup::Desktop), std::vector<std::string>{QDir::toNativeSeparators(txt).toStdString()});
        sheet->reject();
    }

    void addFilesButtonAndLocate() {
        Demo ws("Windows Release");
        auto sheet = ws.sheet();
        CInstallFilesPage* page = sheet->filesPage();
        CInstallFileGroupTreeCtrl* tree = page->tree();

        // No group chosen, or the Windows application group: nothing to add to.
        QVERIFY(!page->addFilesButton()->isEnabled());
        tree->setCurrentItem(tree->groupItem(FileGroup::Device));
        QVERIFY(!page->addFilesButton()->isEnabled());

        const QString txt = ws.touch(QStringLiteral("notes.txt"));
        const QString vdi = ws.touch(QStringLiteral("pic.VDI"));
        tree->setCurrentItem(tree->groupItem(FileGroup::Data));
        QVERIFY(page->addFilesButton()->isEnabled());
        ws.ui.openAnswers.push_back({txt.toStdString(), vdi.toStdString()});
        page->addFilesButton()->click();
        QCOMPARE(ws.ui.dialogs.size(), std::size_t(1));
        QVERIFY(ws.ui.dialogs[0].multiple);
        QCOMPARE(q(ws.ui.dialogs[0].filter), QStringLiteral("VARN Data Files (*.vdb and *.vdi)|*.vdb;*.vdi||"));
        QCOMPARE(q(ws.ui.dialogs[0].initialFolder), QDir::toNativeSeparators(ws.projectFolder));
        QCOMPARE(childTexts(tree->groupItem(FileGroup::Data)), QStringList{vdi});

        // From a file item of the desktop group: every file goes there.
        tree->setCurrentItem(tree->groupItem(FileGroup::Desktop));
        ws.ui.openAnswers.push_back({txt.toStdString()});
        page->addFilesButton()->click();
        QCOMPARE(q(ws.ui.dialogs[1].filter), QStringLiteral("All Files (*.*)|*.*||"));
        tree->setCurrentItem(tree->groupItem(FileGroup::Desktop)->child(0));
        ws.ui.openAnswers.push_back({vdi.toStdString()});
        page->addFilesButton()->click();
        QCOMPARE(childTexts(tree->groupItem(FileGroup::Desktop)), (QStringList{txt, vdi}));
        // A cancelled dialog adds nothing.
        ws.ui.openAnswers.push_back({});
        page->addFilesButton()->click();
        QCOMPARE(tree->groupItem(FileGroup::Desktop)->childCount(), 2);

        QList<QUrl> opened;
        page->setUrlOpener([&opened](const QUrl& url) {
            opened << url;
            return true;
        });
        page->locateButton()->click();
        QCOMPARE(opened, QList<QUrl>{QUrl::fromLocalFile(ws.projectFolder)});
    }

    void synchronizationFields() {
        {
            Demo ws("PalmOS Debug");  // "Database creator ID" off
            auto sheet = ws.sheet();
            CInstallSyncPage* page = sheet->syncPage();
            QCOMPARE(page->creatorIdEdit()->text(), QStringLiteral("VARN"));
            for (QLineEdit* e : {page->creatorIdEdit(), page->syncNameEdit(), page->syncDirectoryEdit()})
                QVERIFY(guitest::looksReadOnly(e));
            for (QLineEdit* e : {page->syncNameEdit(), page->syncDirectoryEdit()}) {
                QVERIFY(!(e->focusPolicy() & Qt::TabFocus));
            }
        }
        {
            Demo ws("PalmOS Debug");
            ws.model().settings.changeDBCreatorID = true;
            InstallSettings st;
            st.applicationSyncName = "Name";
            st.applicationSyncDirectory = "Dir";
            QVERIFY(st.save(ws.settingsPath(TargetPlatform::PalmOS).toStdString(), TargetPlatform::PalmOS).ok());
            auto sheet = ws.sheet();
            CInstallSyncPage* page = sheet->syncPage();
            QCOMPARE(page->syncDirectoryEdit()->text(), QStringLiteral("Dir"));
            QVERIFY(!guitest::looksReadOnly(page->syncNameEdit()));
            QVERIFY(page->syncDirectoryEdit()->focusPolicy() & Qt::TabFocus);
            page->syncNameEdit()->setText(QStringLiteral("Other"));
            const InstallSettings now = sheet->currentSettings();
            QCOMPARE(q(now.applicationSyncName), QStringLiteral("Other"));
            QCOMPARE(q(now.applicationID), QStringLiteral("44656D6F"));
        }
    }

    void buildPageEnablingAndWarning() {
        Demo ws("PocketPC Debug");
        auto sheet = ws.sheet(CInstallSheet::StartPage::Build);
        CInstallBuildPage* page = sheet->buildPage();
        QVERIFY(page->resultsText()->isReadOnly());
        QVERIFY(page->testButton()->isEnabled());
        page->createCabBox()->click();
        QVERIFY(!page->testButton()->isEnabled());
        QCOMPARE(ws.ui.messages.size(), std::size_t(1));
        QCOMPARE(
            q(ws.ui.messages[0].text),
            QStringLiteral("The CAB files must be build in order to succesufully run the install setup.exe program."));
        QCOMPARE(ws.ui.messages[0].icon, MsgIcon::Warning);
        page->createCabBox()->click();
        QVERIFY(page->testButton()->isEnabled());
        QCOMPARE(ws.ui.messages.size(), std::size_t(1));  // checking does not warn
        QVERIFY(sheet->currentSettings().buildCabFiles);
    }

    void buildResultsAndTestInstall() {
        Demo ws("PalmOS Debug");
        auto sheet = ws.sheet(CInstallSheet::StartPage::Build);
        sheet->show();
        QVERIFY(QTest::qWaitForWindowExposed(sheet.get()));
        CInstallBuildPage* page = sheet->buildPage();
        QVERIFY(page->resultsText()->toPlainText().isEmpty());
        page->buildButton()->click();
        const std::string results = sheet->installerBuild().results();
        QVERIFY(!results.empty());
        QString shownText = q(results);
        shownText.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        QCOMPARE(page->resultsText()->toPlainText(), shownText);
        QVERIFY(QFileInfo(q(sheet->installerBuild().installDirectory())).isDir());

        // Cleared whenever the page becomes active again.
        sheet->showPage(sheet->filesPage());
        QVERIFY(!page->resultsText()->toPlainText().isEmpty());
        sheet->showPage(page);
        QVERIFY(page->resultsText()->toPlainText().isEmpty());

        QStringList calls;
        sheet->installerBuild().setShellOpen(
            [&calls](const std::string& program, const std::string& parameters, const std::string&) {
                calls << q(program) << q(parameters);
                return 42;
            });
        page->testButton()->click();
        QCOMPARE(calls.size(), 2);
        QVERIFY(calls[0].endsWith(QStringLiteral("Setup.exe")));
        QVERIFY(calls[1].contains(QStringLiteral("InstallScript.ini")));
        sheet->reject();
        // The build saved nothing: only OK does.
        QVERIFY(!QFile::exists(ws.settingsPath(TargetPlatform::PalmOS)));
    }

    void buildingDisablesItsButtons() {
        Demo ws("PocketPC Debug");
        auto sheet = ws.sheet(CInstallSheet::StartPage::Build);
        sheet->show();
        auto* box = sheet->findChild<QDialogButtonBox*>();
        const QList<QPushButton*> buttons = {sheet->buildPage()->buildButton(), box->button(QDialogButtonBox::Ok),
                                             box->button(QDialogButtonBox::Cancel)};
        sheet->appinfoPage()->iconField().edit->setText(ws.touch(QStringLiteral("demo.ico")));
        // The icon update runs in the middle of the build: try everything there.
        int builds = 0;
        QList<bool> enabled;
        sheet->installerBuild().setIconUpdate(
            [&](const std::string&, const std::string&, const std::string&, std::string&) {
                if (builds++) return;
                for (QPushButton* b : buttons) enabled << b->isEnabled();
                for (QPushButton* b : buttons) b->click();
                sheet->reject();  // Escape
            });
        buttons[0]->click();
        QCOMPARE(builds, 1);
        QCOMPARE(enabled, (QList<bool>{false, false, false}));
        QVERIFY(sheet->isVisible());
        for (QPushButton* b : buttons) QVERIFY(b->isEnabled());
    }

    void buildNowLogsAndSaves() {
        Demo ws("PalmOS Release");
        const QString log = ws.tmp.path() + QStringLiteral("/build.log");
        guitest::writeText(log, "compile ok\n");
        CInstallSheet sheet(ws.model(), ws.install.toStdString(), ws.ui, CInstallSheet::StartPage::First, true);
        sheet.setLogCopyPath(log.toStdString());
        QCOMPARE(sheet.tabs()->currentWidget(), sheet.buildPage());
        QTimer guard;
        guard.setSingleShot(true);
        connect(&guard, &QTimer::timeout, &sheet, &QDialog::reject);
        guard.start(60000);
        QCOMPARE(sheet.exec(), int(QDialog::Accepted));
        guard.stop();
        const QByteArray text = bytesOf(log);
        QVERIFY(text.startsWith("compile ok\nBuilding application installer...\n"));
        QVERIFY(text.contains(QByteArray::fromStdString(sheet.installerBuild().results())));
        QVERIFY(text.endsWith("\n"));
        QVERIFY(QFile::exists(ws.settingsPath(TargetPlatform::PalmOS)));
    }

    void screenshots() {
        Demo ws("PocketPC Release");
        InstallSettings st;
        st.applicationName = "Demo";
        st.companyName = "Quillfen";
        st.version = "1.0";
        st.files(FileGroup::Device) = {"Demo.vce"};
        st.files(FileGroup::Data) = {"Demo.vdb"};
        QVERIFY(st.save(ws.settingsPath(TargetPlatform::PocketPC).toStdString(), TargetPlatform::PocketPC).ok());
        auto sheet = ws.sheet();
        sheet->resize(660, 440);
        sheet->show();
        QVERIFY(QTest::qWaitForWindowExposed(sheet.get()));
        const std::pair<QWidget*, const char*> pages[] = {{sheet->appinfoPage(), "appinfo"},
                                                          {sheet->dialogsPage(), "dialogs"},
                                                          {sheet->filesPage(), "files"},
                                                          {sheet->syncPage(), "sync"},
                                                          {sheet->buildPage(), "build"}};
        for (const auto& [page, name] : pages) {
            sheet->showPage(page);
            QCoreApplication::processEvents();
            QVERIFY(!sheet->grab().isNull());
            guitest::screenshot(*sheet, QStringLiteral("install-") + QLatin1String(name) + QStringLiteral(".png"));
        }
        sheet->reject();
    }
};

QTEST_MAIN(InstallSheetTest)
#include "test_installsheet.moc"
