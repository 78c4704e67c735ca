// Recovery of unsaved work in the real main window: edited documents are
// copied into the journal shortly after each change and leave it when saved;
// on start, the copies an ended IDE left are recovered into modified windows,
// discarded, or kept for later, and a copy whose file changed is asked about.
#include <QDir>
#include <QProcess>
#include <QTreeWidget>
#include <QtTest>

#include "GuiFixture.h"
#include "TestSupport.h"
#include "app/CRecoverDlg.h"
#include "app/DocumentJournal.h"
#include "app/DocumentManager.h"
#include "editor/CVarnIdeView.h"
#include "form/CVARNfbView.h"
#include "form/FormCommands.h"
#include "form/FormFileWriter.h"
#include "image/CVARNImgDoc.h"
#include "image/CVARNImgFrame.h"
#include "image/ImageBlockWriter.h"
#include "platform/FileSystem.h"

using namespace varn;
namespace test = varn::test;

namespace {

std::string s(const QString& v) { return v.toStdString(); }

// Files of the journal folder (data and index of each entry).
int entryFiles(const QString& folder) { return static_cast<int>(QDir(folder).entryList(QDir::Files).size()); }

}  // namespace

class RecoveryTest : public QObject {
    Q_OBJECT
private slots:
    void editsAreJournalledAndSavesRemoveThem() {
        guitest::Window w(QStringLiteral("Demo"));
        const QString folder = w.tmp.path() + QStringLiteral("/recovery");
        DocumentJournal journal(s(folder));
        w.frame.setDocumentJournal(&journal);
        const std::string path = s(w.file(QStringLiteral("Demo.vsl")));
        QVERIFY(w.frame.openDocument(path));
        CVarnIdeView* v = w.frame.documentManager().view(path);
        QVERIFY(v);
        v->setCursorPosition(0, 0);
        QTest::keyClicks(v, QStringLiteral("# edited\r"));
        // Written by itself shortly after the change, as the save would write it.
        QVERIFY(guitest::waitFor([&] { return entryFiles(folder) == 2; }));
        journal.flush();
        auto copy = fsys::readFile(s(folder) + "/" + journal.journal().keyFor(path) + ".data");
        QVERIFY(copy);
        QCOMPARE(*copy, v->bytes());
        QVERIFY(copy->rfind("# edited\r\n", 0) == 0);

        // An untitled document is journalled under its session name.
        CVarnIdeView* untitled = w.frame.documentManager().newDocument(DocumentTemplate::Source);
        QTest::keyClicks(untitled, QStringLiteral("x = 1;"));
        journal.flush();
        QCOMPARE(entryFiles(folder), 4);

        // Saving removes the entry; closing a modified document without saving too.
        QVERIFY(w.frame.documentManager().save(path));
        journal.flush();
        QCOMPARE(entryFiles(folder), 2);
        w.ui.answers.push_back(Answer::No);
        w.frame.documentManager().closeAll();
        QTest::qWait(0);
        journal.flush();
        QCOMPARE(entryFiles(folder), 0);
    }

    void workLeftByAnEndedIdeIsRecoveredDiscardedOrKept() {
        guitest::Window w(QStringLiteral("Demo"));
        const std::string folder = s(w.tmp.path()) + "/recovery";
        const std::string path = s(w.file(QStringLiteral("Demo.vsl")));
        const std::string recovered = "# recovered\r\nfunction startup();\r\nend;\r\n";
        RecoveryJournal crashed(folder, test::endedProcessId(), 0);
        QVERIFY(crashed.write(crashed.keyFor(path), JournalKind::Source, path, "", recovered, 10));
        QVERIFY(crashed.write(crashed.keyFor("", 1), JournalKind::Source, "", "Untitled1.vsl", "y = 2;", 20));
        QVERIFY(crashed.write("damaged", JournalKind::Source, "/gone/x.vsl", "", "abc", 30));
        guitest::writeText(QString::fromStdString(folder + "/damaged.data"), "ab");

        DocumentJournal journal(folder);
        w.frame.setDocumentJournal(&journal);
        int offered = 0;
        journal.setChooser([&](const std::vector<JournalEntry>& entries) {
            offered = static_cast<int>(entries.size());
            return DocumentJournal::Choice::Later;
        });
        journal.offerRecovery(w.frame.documentManager(), w.ui);
        QCOMPARE(offered, 3);
        QCOMPARE(journal.leftBehind().size(), 3u);  // Later keeps them
        QVERIFY(!w.frame.documentManager().isOpen(path));

        journal.setChooser([](const std::vector<JournalEntry>&) { return DocumentJournal::Choice::Recover; });
        journal.offerRecovery(w.frame.documentManager(), w.ui);
        CVarnIdeView* v = w.frame.documentManager().view(path);
        QVERIFY(v);
        QCOMPARE(v->bytes(), recovered);
        QVERIFY(v->modified());
        QCOMPARE(fsys::readFile(path)->find("# recovered"), std::string::npos);  // the file is untouched
        const auto views = w.frame.documentManager().views();
        QCOMPARE(views.size(), 2u);
        QCOMPARE(views.back()->bytes(), std::string("y = 2;"));
        // The damaged copy is all that is left, and only Discard takes it.
        auto left = journal.leftBehind();
        QCOMPARE(left.size(), 1u);
        QVERIFY(left[0].damaged);
        journal.setChooser([](const std::vector<JournalEntry>&) { return DocumentJournal::Choice::Discard; });
        journal.offerRecovery(w.frame.documentManager(), w.ui);
        QVERIFY(journal.leftBehind().empty());
        QVERIFY(w.ui.messages.empty());
    }

    void aCopyWhoseFileChangedIsAskedAbout() {
        guitest::Window w(QStringLiteral("Demo"));
        const std::string folder = s(w.tmp.path()) + "/recovery";
        const std::string path = s(w.file(QStringLiteral("Demo.vsl")));
        RecoveryJournal crashed(folder, test::endedProcessId(), 0);
        QVERIFY(crashed.write(crashed.keyFor(path), JournalKind::Source, path, "", "old copy", 10));
        QVERIFY(test::runCommand("touch -d '2001-01-01' " + test::shellQuote(path)).status == 0);

        DocumentJournal journal(folder);
        journal.setChooser([](const std::vector<JournalEntry>&) { return DocumentJournal::Choice::Recover; });
        w.ui.answers.push_back(Answer::No);
        journal.offerRecovery(w.frame.documentManager(), w.ui);
        QCOMPARE(w.ui.messages.size(), 1u);
        QVERIFY(w.ui.lastText().find("changed on disk") != std::string::npos);
        QVERIFY(!w.frame.documentManager().isOpen(path));
        QCOMPARE(journal.leftBehind().size(), 1u);

        w.ui.answers.push_back(Answer::Yes);
        journal.offerRecovery(w.frame.documentManager(), w.ui);
        QCOMPARE(w.frame.documentManager().view(path)->bytes(), std::string("old copy"));
    }

    // A real IDE process edits a source and is killed: its work is offered
    // only once it has died, and comes back whole.
    void workOfAKilledIdeComesBack() {
        QTemporaryDir journalFolder;
        QProcess ide;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("VARN_RECOVERY_CHILD"), journalFolder.path());
        ide.setProcessEnvironment(env);
        ide.start(QCoreApplication::applicationFilePath(), {});
        QVERIFY(ide.waitForStarted());
        QVERIFY(guitest::waitFor([&] { return ide.canReadLine() || ide.state() == QProcess::NotRunning; }));
        const QStringList reported = QString::fromUtf8(ide.readLine()).trimmed().split(QLatin1Char('\t'));
        QCOMPARE(reported.size(), 4);
        const std::string source = s(reported[0]), typed = s(reported[1]), form = s(reported[2]),
                          image = s(reported[3]);

        DocumentJournal journal(s(journalFolder.path()));
        QVERIFY(journal.leftBehind().empty());  // its IDE is still running
        ide.kill();
        QVERIFY(ide.waitForFinished());
        QCOMPARE(journal.leftBehind().size(), 3u);

        guitest::Window w(QStringLiteral("Demo"));
        w.frame.setDocumentJournal(&journal);
        journal.setChooser([](const std::vector<JournalEntry>&) { return DocumentJournal::Choice::Recover; });
        journal.offerRecovery(w.frame.documentManager(), w.ui);
        CVarnIdeView* v = w.frame.documentManager().view(source);
        QVERIFY(v);
        QVERIFY(v->bytes().rfind(typed, 0) == 0);
        QVERIFY(v->modified());
        CVARNfbView* designer = w.frame.formCommands().view(form);
        QVERIFY(designer);
        QVERIFY(designer->designer().modified());
        QCOMPARE(writeFormFile(designer->doc(), {}, 0), *fsys::readFile(form + ".expected"));
        auto* picture = dynamic_cast<CVARNImgFrame*>(w.frame.documentManager().pane(image));
        QVERIFY(picture);
        QVERIFY(picture->paneModified());
        QCOMPARE(picture->document().surface()->at(2, 3), (Rgb{0xFF, 0, 0}));
        QVERIFY(journal.leftBehind().empty());
        w.ui.answers.assign(3, Answer::No);  // close the recovered documents without saving
        w.frame.documentManager().closeAll();
        QDir(QFileInfo(QString::fromStdString(source)).absolutePath() + QStringLiteral("/..")).removeRecursively();
    }

    // The project's settings are looked at every second; a copy comes back
    // into the project when it is the one open.
    void projectSettingsAreJournalledAndRestored() {
        guitest::Window w(QStringLiteral("Demo"));
        const QString folder = w.tmp.path() + QStringLiteral("/recovery");
        DocumentJournal journal(s(folder));
        w.frame.setDocumentJournal(&journal);
        w.model().settings.desktopName = "Unsaved Name";
        w.model().modified = true;
        QVERIFY(guitest::waitFor([&] { return entryFiles(folder) == 2; }));
        const std::string copy = w.manager->workspaceBytes();
        QVERIFY(w.manager->saveCurrentWorkspace());
        QVERIFY(guitest::waitFor([&] { return entryFiles(folder) == 0; }));

        const std::string path = w.model().projectPath;
        RecoveryJournal crashed(s(folder), test::endedProcessId(), 0);
        QVERIFY(crashed.write(crashed.keyFor(path), JournalKind::Project, path, "", copy, 10));
        QVERIFY(crashed.write(crashed.keyFor("/elsewhere/Other.vpj"), JournalKind::Project, "/elsewhere/Other.vpj", "",
                              copy, 11));
        w.model().settings.desktopName = "Saved Name";
        journal.setChooser([](const std::vector<JournalEntry>&) { return DocumentJournal::Choice::Recover; });
        journal.offerRecovery(w.frame.documentManager(), w.ui);
        QCOMPARE(w.model().settings.desktopName, std::string("Unsaved Name"));
        QVERIFY(w.model().modified);
        // The other project's copy waits until that project is open.
        QCOMPARE(journal.leftBehind().size(), 1u);
        QCOMPARE(journal.leftBehind()[0].info.originalPath, std::string("/elsewhere/Other.vpj"));
    }

    // A form is journalled as its save writes it and comes back into a designer window.
    void formsAreJournalledAndRecoveredIntoTheDesigner() {
        guitest::Window w(QStringLiteral("Demo"));
        const QString folder = w.tmp.path() + QStringLiteral("/recovery");
        DocumentJournal journal(s(folder));
        w.frame.setDocumentJournal(&journal);
        const std::string path = s(w.file(QStringLiteral("AllKinds.vff")));
        QVERIFY(
            QFile::copy(QStringLiteral(VARN_TEST_DATA "/form/designer/AllKinds.vff"), QString::fromStdString(path)));
        QFile::setPermissions(QString::fromStdString(path), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        QVERIFY(w.frame.openDocument(path));
        CVARNfbView* v = w.frame.formCommands().view(path);
        QVERIFY(v);
        QTest::keyClick(v->surface(), Qt::Key_Tab);
        QTest::keyClick(v->surface(), Qt::Key_Right);
        QVERIFY(v->designer().modified());
        QVERIFY(guitest::waitFor([&] { return entryFiles(folder) == 2; }));
        journal.flush();
        const std::string copy = *fsys::readFile(s(folder) + "/" + journal.journal().keyFor(path) + ".data");
        const std::string layout = writeFormFile(v->doc(), {}, 0);

        // Saved: the entry goes.
        QVERIFY(w.frame.documentManager().save(path));
        QVERIFY(guitest::waitFor([&] { return entryFiles(folder) == 0; }));

        // An ended IDE's copy replaces the unmodified window, modified.
        RecoveryJournal crashed(s(folder), test::endedProcessId(), 0);
        QVERIFY(crashed.write(crashed.keyFor(path), JournalKind::Form, path, "", copy, 10));
        test::writeBytes(path,
                         *fsys::readFile(QStringLiteral(VARN_TEST_DATA "/form/designer/AllKinds.vff").toStdString()));
        journal.setChooser([](const std::vector<JournalEntry>&) { return DocumentJournal::Choice::Recover; });
        w.ui.answers.push_back(Answer::Yes);  // the file changed on disk since
        journal.offerRecovery(w.frame.documentManager(), w.ui);
        CVARNfbView* recovered = w.frame.formCommands().view(path);
        QVERIFY(recovered);
        QVERIFY(recovered->designer().modified());
        QCOMPARE(writeFormFile(recovered->doc(), {}, 0), layout);
    }

    // An image is journalled with the drawing in progress and comes back into its window.
    void imagesAreJournalledAndRecoveredIntoTheEditor() {
        guitest::Window w(QStringLiteral("Demo"));
        const QString folder = w.tmp.path() + QStringLiteral("/recovery");
        DocumentJournal journal(s(folder));
        w.frame.setDocumentJournal(&journal);
        const std::string path = s(w.file(QStringLiteral("Pic.vbm")));
        CVARNImgDoc blank;
        QVERIFY(blank.addImage(8, 8, 24, w.ui) == 0);
        blank.capture();
        QVERIFY(writeImageFile(path, blank.images(), w.ui).ok());
        QVERIFY(w.frame.openDocument(path));
        auto* frame = dynamic_cast<CVARNImgFrame*>(w.frame.documentManager().pane(path));
        QVERIFY(frame);
        frame->document().surface()->set(2, 3, Rgb{0xFF, 0, 0});
        frame->document().markSurfaceChanged();
        frame->documentChanged();
        QVERIFY(guitest::waitFor([&] { return entryFiles(folder) == 2; }));
        journal.flush();
        const std::string copy = *fsys::readFile(s(folder) + "/" + journal.journal().keyFor(path) + ".data");
        QCOMPARE(copy, frame->document().fileBytes());

        // Closed without saving: the entry goes; an ended IDE's copy comes back, unsaved.
        w.ui.answers.push_back(Answer::No);
        w.frame.documentManager().closeAll();
        QTest::qWait(0);
        QVERIFY(guitest::waitFor([&] { return entryFiles(folder) == 0; }));
        RecoveryJournal crashed(s(folder), test::endedProcessId(), 0);
        QVERIFY(crashed.write(crashed.keyFor(path), JournalKind::Image, path, "", copy, 10));
        journal.setChooser([](const std::vector<JournalEntry>&) { return DocumentJournal::Choice::Recover; });
        journal.offerRecovery(w.frame.documentManager(), w.ui);
        frame = dynamic_cast<CVARNImgFrame*>(w.frame.documentManager().pane(path));
        QVERIFY(frame);
        QVERIFY(frame->paneModified());
        QCOMPARE(frame->document().surface()->at(2, 3), (Rgb{0xFF, 0, 0}));
        QVERIFY(journal.leftBehind().empty());
    }

    void theDialogListsEveryEntryWithItsKindAndNote() {
        JournalEntry ok, damaged;
        ok.info.originalPath = "/p/Demo.vff";
        ok.info.kind = JournalKind::Form;
        damaged.info.title = "Untitled2.vsl";
        damaged.damaged = true;
        CRecoverDlg dlg({ok, damaged});
        QCOMPARE(dlg.windowTitle(), QStringLiteral("Recover Unsaved Work"));
        QCOMPARE(dlg.list()->topLevelItemCount(), 2);
        QCOMPARE(dlg.list()->topLevelItem(0)->text(1), QStringLiteral("Form"));
        QVERIFY(dlg.list()->topLevelItem(1)->text(3).startsWith(QStringLiteral("Damaged")));
        guitest::screenshot(dlg, QStringLiteral("recover-unsaved-work.png"));
    }
};

// With VARN_RECOVERY_CHILD set the program plays the IDE that gets killed:
// it opens the sample's source, types into it, reports the file and the text
// once the copy is in the journal, and waits to be killed.
int runAsKilledIde(const QString& journalFolder) {
    guitest::Window* w = new guitest::Window(QStringLiteral("Demo"));  // never freed: the process is killed
    w->tmp.setAutoRemove(false);
    auto* journal = new DocumentJournal(s(journalFolder));
    w->frame.setDocumentJournal(journal);
    // A source with typing in it.
    const std::string source = s(w->file(QStringLiteral("Demo.vsl")));
    if (!w->frame.openDocument(source)) return 1;
    CVarnIdeView* v = w->frame.documentManager().view(source);
    v->setCursorPosition(0, 0);
    const QString typed = QStringLiteral("# typed before the crash");
    QTest::keyClicks(v, typed);
    // A form with a control moved by the keyboard; its layout is left beside the project.
    const std::string form = s(w->file(QStringLiteral("AllKinds.vff")));
    QFile::copy(QStringLiteral(VARN_TEST_DATA "/form/designer/AllKinds.vff"), QString::fromStdString(form));
    QFile::setPermissions(QString::fromStdString(form), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    if (!w->frame.openDocument(form)) return 1;
    CVARNfbView* designer = w->frame.formCommands().view(form);
    QTest::keyClick(designer->surface(), Qt::Key_Tab);
    QTest::keyClick(designer->surface(), Qt::Key_Right);
    test::writeBytes(form + ".expected", writeFormFile(designer->doc(), {}, 0));
    // An image with a red pixel drawn at (2,3).
    const std::string image = s(w->file(QStringLiteral("Pic.vbm")));
    CVARNImgDoc blank;
    blank.addImage(8, 8, 24, w->ui);
    blank.capture();
    if (!writeImageFile(image, blank.images(), w->ui).ok() || !w->frame.openDocument(image)) return 1;
    auto* picture = dynamic_cast<CVARNImgFrame*>(w->frame.documentManager().pane(image));
    picture->document().surface()->set(2, 3, Rgb{0xFF, 0, 0});
    picture->document().markSurfaceChanged();
    picture->documentChanged();

    if (!guitest::waitFor([&] { return entryFiles(journalFolder) == 6; })) return 1;
    std::printf("%s\t%s\t%s\t%s\n", source.c_str(), typed.toUtf8().constData(), form.c_str(), image.c_str());
    std::fflush(stdout);
    for (;;) QTest::qWait(1000);
}

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString child = qEnvironmentVariable("VARN_RECOVERY_CHILD");
    if (!child.isEmpty()) return runAsKilledIde(child);
    RecoveryTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_recovery.moc"
