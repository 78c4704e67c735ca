// The document framework of the main window: opening by extension, text
// documents that are edited, marked as modified and saved byte for byte (line
// ends and single-byte characters kept), Save As, the questions before closing, the read-only rule, and the
// window state written against the folder a project is saved to.
#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QTextCursor>
#include <QtTest>

#include "GuiFixture.h"
#include "TestSupport.h"
#include "app/CMainFrame.h"
#include "app/DocumentManager.h"
#include "editor/CVarnIdeView.h"
#include "form/FormCommands.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "project/OpenDocuments.h"
#include "project/ProjectCommands.h"
#include "project/ProjectTree.h"

using namespace varn;

namespace {

using guitest::bytesOf;

std::string s(const QString& v) { return v.toStdString(); }

// Types `text` at the start of line `line` (from 0) of the view.
void typeAt(CVarnIdeView& v, int line, const QString& text) {
    v.setCursorPosition(line, 0);
    QTest::keyClicks(&v, text);
}

// A File menu command, its enabled state brought up to date.
QAction* fileAction(CMainFrame& frame, const char* name) {
    frame.updateCommands();
    return frame.menu(QStringLiteral("File"))->findChild<QAction*>(QLatin1String(name));
}

QString titleOf(CMainFrame& frame, const QString& path) {
    for (QMdiSubWindow* w : frame.mdiArea()->subWindowList())
        if (auto* v = qobject_cast<CVarnIdeView*>(w->widget()); v && paths::equalNoCase(v->path(), s(path)))
            return w->windowTitle();
    return {};
}

// Single-byte text with CR LF line ends, an e acute and a no-break space.
const QByteArray kAnsiSource = "' caf\xe9\r\nfunction startup()\r\n  x = \"a\xa0" "b\";\r\nend;\r\n";

}  // namespace

class DocumentsTest : public QObject {
    Q_OBJECT
private slots:
    void templateByExtension() {
        QCOMPARE(documentTemplateFor("C"), DocumentTemplate::CFile);
        QCOMPARE(documentTemplateFor("h"), DocumentTemplate::Header);
        QCOMPARE(documentTemplateOfFile("/x/notes.txt"), DocumentTemplate::Source);
    }

    void openByExtension() {
        guitest::Window ws(QStringLiteral("Demo"));
        const QString source = ws.file(QStringLiteral("Demo.vsl"));
        const QString form = ws.file(QStringLiteral("Extra.vff"));
        guitest::writeText(form, "[Form]\r\n");

        ws.ui.openAnswers.push_back({s(source), s(form)});
        QVERIFY(ws.frame.openDocument());
        QCOMPARE(ws.ui.dialogs.back().filter, documentFilter());
        QVERIFY(ws.frame.documents().isOpen(s(source)) && ws.frame.documents().isOpen(s(form)));
        DocumentManager& docs = ws.frame.documentManager();
        QVERIFY(!docs.view(s(source))->isReadOnly());
        QVERIFY(!docs.view(s(form)) && ws.frame.formCommands().view(s(form)));  // the designer edits forms
        ws.frame.updateCommands();
        QCOMPARE(ws.frame.documents().activePath(), s(form));
        QVERIFY(fileAction(ws.frame, "FileSave")->isEnabled());
        QVERIFY(ws.frame.openDocument(s(source)));
        ws.frame.updateCommands();
        QVERIFY(fileAction(ws.frame, "FileSave")->isEnabled() && fileAction(ws.frame, "FileSaveAs")->isEnabled());
        QCOMPARE(ws.frame.mdiArea()->subWindowList().size(), 2);  // the open one was activated
    }

    void editMarkSaveByteExact() {
        guitest::Window ws(QStringLiteral("Demo"));
        const QString path = ws.file(QStringLiteral("Ansi.vsl"));
        guitest::writeText(path, kAnsiSource);
        QVERIFY(ws.frame.documents().open(s(path), false));
        CVarnIdeView* v = ws.frame.documentManager().view(s(path));
        QVERIFY(v);
        QCOMPARE(titleOf(ws.frame, path), QStringLiteral("Ansi.vsl"));
        QVERIFY(!ws.frame.documents().isModified(s(path)));
        QVERIFY(ws.frame.documents().modifiedDocuments().empty());

        // Unchanged text gives back the file's bytes.
        QCOMPARE(QByteArray::fromStdString(*ws.frame.documents().text(s(path))), kAnsiSource);

        typeAt(*v, 1, QStringLiteral("numeric n;"));
        QVERIFY(ws.frame.documents().isModified(s(path)));
        QCOMPARE(titleOf(ws.frame, path), QStringLiteral("Ansi.vsl*"));
        QCOMPARE(ws.frame.documents().modifiedDocuments(), std::vector<std::string>{v->path()});
        QCOMPARE(bytesOf(path), kAnsiSource);  // nothing written yet

        fileAction(ws.frame, "FileSave")->trigger();
        const QByteArray expected = "' caf\xe9\r\nnumeric n;function startup()\r\n  x = \"a\xa0" "b\";\r\nend;\r\n";
        QCOMPARE(bytesOf(path), expected);
        QVERIFY(!ws.frame.documents().isModified(s(path)));
        QCOMPARE(titleOf(ws.frame, path), QStringLiteral("Ansi.vsl"));
        QVERIFY(ws.ui.messages.empty());

        // A new line typed in a CR LF file ends with CR LF; LF files stay LF.
        typeAt(*v, 0, QStringLiteral("x"));
        QTest::keyClick(v, Qt::Key_Return);
        QVERIFY(ws.frame.documents().save(v->path()));
        QCOMPARE(bytesOf(path), "x\r\n" + expected);

        const QString unix = ws.file(QStringLiteral("unix.vpk"));
        guitest::writeText(unix, "a\nb");
        QVERIFY(ws.frame.documents().open(s(unix), false));
        CVarnIdeView* u = ws.frame.documentManager().view(s(unix));
        typeAt(*u, 1, QStringLiteral("c"));
        QTest::keyClick(u, Qt::Key_Return);
        QVERIFY(ws.frame.documents().save(u->path()));
        QCOMPARE(bytesOf(unix), QByteArray("a\nc\nb"));
    }

    void utf8TextStaysUtf8() {
        guitest::Window ws(QStringLiteral("Demo"));
        const QString path = ws.file(QStringLiteral("u.vsl"));
        const QByteArray text = "' \xc3\xa9t\xc3\xa9\r\nend;";
        guitest::writeText(path, text);
        QVERIFY(ws.frame.documents().open(s(path), false));
        CVarnIdeView* v = ws.frame.documentManager().view(s(path));
        QCOMPARE(v->text(), QStringLiteral("' \u00e9t\u00e9\r\nend;"));
        typeAt(*v, 1, QStringLiteral("z"));
        QVERIFY(ws.frame.documents().save(v->path()));
        QCOMPARE(bytesOf(path), QByteArray("' \xc3\xa9t\xc3\xa9\r\nzend;"));
    }

    void saveAsFollowsTheNewName() {
        guitest::Window ws(QStringLiteral("Demo"));
        const QString path = ws.file(QStringLiteral("Ansi.vsl"));
        const QString copy = ws.file(QStringLiteral("Copy.vsl"));
        guitest::writeText(path, kAnsiSource);
        QVERIFY(ws.frame.documents().open(s(path), false));
        CVarnIdeView* v = ws.frame.documentManager().view(s(path));
        typeAt(*v, 0, QStringLiteral("z"));

        ws.ui.saveAnswers.push_back(std::nullopt);  // cancelled
        fileAction(ws.frame, "FileSaveAs")->trigger();
        QVERIFY(ws.frame.documents().isModified(s(path)));
        QCOMPARE(ws.ui.dialogs.back().filter, documentFilter(DocumentTemplate::Source));
        QCOMPARE(ws.ui.dialogs.back().defaultExtension, std::string("vsl"));

        ws.ui.saveAnswers.push_back(s(copy));
        fileAction(ws.frame, "FileSaveAs")->trigger();
        QCOMPARE(bytesOf(copy), "z" + kAnsiSource);
        QCOMPARE(bytesOf(path), kAnsiSource);  // the old file is left as it was
        QVERIFY(!ws.frame.documents().isOpen(s(path)));
        QVERIFY(ws.frame.documents().isOpen(s(copy)));
        QVERIFY(!ws.frame.documents().isModified(s(copy)));
        QCOMPARE(titleOf(ws.frame, copy), QStringLiteral("Copy.vsl"));
        QCOMPARE(v->parentWidget()->property(DocumentWindows::kPathProperty).toString(),
                 QString::fromStdString(v->path()));
        QCOMPARE(ws.frame.documents().activePath(), v->path());
    }

    void readOnlyFilesAreNotSaved() {
        guitest::Window ws(QStringLiteral("Demo"));
        const QString path = ws.file(QStringLiteral("Locked.vsl"));
        guitest::writeText(path, "end;\r\n");
        QVERIFY(fsys::setReadOnly(s(path), true));
        QVERIFY(ws.frame.documents().open(s(path), false));
        QCOMPARE(titleOf(ws.frame, path), QStringLiteral("Locked.vsl (read-only)"));
        CVarnIdeView* v = ws.frame.documentManager().view(s(path));
        typeAt(*v, 0, QStringLiteral("x"));
        QCOMPARE(titleOf(ws.frame, path), QStringLiteral("Locked.vsl (read-only)*"));
        QVERIFY(!ws.frame.documents().save(s(path)));
        QCOMPARE(ws.ui.lastText(), std::string("The file can not be saved because it is marked read-only"));
        QVERIFY(ws.frame.documents().isModified(s(path)));
        QCOMPARE(bytesOf(path), QByteArray("end;\r\n"));
        fsys::setReadOnly(s(path), false);
    }

    void theSaveQuestionGoesThroughTheUi() {
        guitest::Window ws(QStringLiteral("Demo"));
        DocumentManager& docs = ws.frame.documentManager();
        const QString a = ws.file(QStringLiteral("a.vsl"));
        guitest::writeText(a, "end;\r\n");
        QVERIFY(docs.open(s(a), false));
        typeAt(*docs.view(s(a)), 0, QStringLiteral("1"));
        ws.ui.answers = {Answer::Cancel};
        QVERIFY(!docs.saveAllModified());
        QCOMPARE(ws.ui.messages.size(), std::size_t(1));
        QCOMPARE(ws.ui.messages[0].text, "Save changes to " + s(a) + "?");
        QVERIFY(ws.ui.messages[0].buttons == MsgButtons::YesNoCancel);
        ws.ui.answers = {Answer::No};
        QVERIFY(docs.saveAllModified());
        QCOMPARE(test::readBytes(s(a)), std::string("end;\r\n"));  // No keeps the file as it was
    }

    void saveAllModifiedAsksPerDocument() {
        guitest::Window ws(QStringLiteral("Demo"));
        DocumentManager& docs = ws.frame.documentManager();
        std::vector<Answer> answers;
        std::vector<std::string> asked;
        docs.setSaveQuestion([&](const std::string& p) {
            asked.push_back(paths::fileName(p));
            Answer a = answers.front();
            answers.erase(answers.begin());
            return a;
        });
        const QString a = ws.file(QStringLiteral("a.vsl")), b = ws.file(QStringLiteral("b.vsl")),
                      c = ws.file(QStringLiteral("c.vsl"));
        for (const QString& p : {a, b, c}) {
            guitest::writeText(p, "end;\r\n");
            QVERIFY(docs.open(s(p), false));
        }
        typeAt(*docs.view(s(a)), 0, QStringLiteral("1"));
        typeAt(*docs.view(s(c)), 0, QStringLiteral("3"));

        answers = {Answer::No, Answer::Cancel};
        QVERIFY(!docs.saveAllModified());
        QCOMPARE(asked, (std::vector<std::string>{"a.vsl", "c.vsl"}));
        QVERIFY(docs.isModified(s(a)) && docs.isModified(s(c)));
        QCOMPARE(bytesOf(a) + bytesOf(c), QByteArray("end;\r\nend;\r\n"));

        asked.clear();
        answers = {Answer::Yes, Answer::No};
        QVERIFY(docs.saveAllModified());
        QCOMPARE(bytesOf(a), QByteArray("1end;\r\n"));
        QCOMPARE(bytesOf(c), QByteArray("end;\r\n"));
        QVERIFY(!docs.isModified(s(a)) && docs.isModified(s(c)));

        // Closing a modified window asks too; Cancel keeps it open.
        QMdiSubWindow* w = ws.frame.mdiArea()->subWindowList().back();
        answers = {Answer::Cancel};
        QVERIFY(!w->close());
        QVERIFY(docs.isOpen(s(c)));
        answers = {Answer::Yes};
        QVERIFY(w->close());
        QCOMPARE(bytesOf(c), QByteArray("3end;\r\n"));

        // Save All of the project saves the changed documents without asking.
        typeAt(*docs.view(s(b)), 0, QStringLiteral("2"));
        ws.frame.commands().saveAll();
        QCOMPARE(bytesOf(b), QByteArray("2end;\r\n"));
        QVERIFY(answers.empty() && docs.modifiedDocuments().empty());
    }

    void projectCommandsSeeTheOpenText() {
        guitest::Window ws(QStringLiteral("Demo"));
        const std::string app = ws.model().tree.applicationPath();
        const QString inc = ws.file(QStringLiteral("extra.vsl"));
        guitest::writeText(inc, "end;\r\n");
        QVERIFY(ws.frame.documents().open(app, false));
        CVarnIdeView* v = ws.frame.documentManager().view(app);
        typeAt(*v, 0, QStringLiteral("include \"extra.vsl\""));
        QTest::keyClick(v, Qt::Key_Return);
        ws.frame.commands().scanIncludes();
        bool listed = false;
        for (const auto* r : ws.model().tree.itemsOfKind(ItemKind::Include))
            listed = listed || paths::equalNoCase(r->path, s(inc));
        QVERIFY(listed);
        // Update Includes saves the project's sources first.
        ws.frame.commands().updateIncludes();
        QVERIFY(!ws.frame.documents().isModified(app));
        QVERIFY(bytesOf(QString::fromStdString(app)).startsWith("include \"extra.vsl\"\r\n"));
    }

    void docPathNameAfterSaveAsToAnotherFolder() {
        guitest::Window ws(QStringLiteral("Demo"));
        const std::string app = ws.model().tree.applicationPath();
        QVERIFY(ws.frame.documents().open(app, false));
        QVERIFY(QDir().mkpath(ws.tmp.path() + QStringLiteral("/elsewhere")));
        const QString moved = ws.tmp.path() + QStringLiteral("/elsewhere/Moved.vpj");
        QVERIFY(ws.manager->saveWorkspace(s(moved)));
        const QByteArray text = bytesOf(moved);
        const QByteArray expected = "DocPathName=.\\..\\Demo\\" + QByteArray::fromStdString(paths::fileName(app)) + "\r\n";
        QVERIFY2(text.contains(expected), text.constData());
        QVERIFY(text.contains("DocumentString=VARNide43.SourceFile\r\n"));

        // Opened from there, the document comes back.
        ws.frame.documents().closeAll();
        QVERIFY(ws.manager->openWorkspace(s(moved), true));
        QVERIFY(ws.frame.documents().isOpen(app));
    }
};

QTEST_MAIN(DocumentsTest)
#include "test_documents.moc"
