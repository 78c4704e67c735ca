// The source editor in the main window: line flags and bookmarks, block
// comments, the caret position text, the pop-up lists, byte-exact files,
// colouring, the IDE settings and colouring dialogs, and the user tools.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMenu>
#include <QTest>
#include <QUrl>

#include "GuiFixture.h"
#include "app/CMainFrame.h"
#include "app/CSettingsDlg.h"
#include "app/CUserToolsDlg.h"
#include "app/DocumentManager.h"
#include "editor/CChromaDialog.h"
#include "editor/CVarnIdeView.h"
#include "editor/ColouringSettings.h"
#include "editor/SourceEditorCommands.h"
#include "editor/VarnLexer.h"

using namespace varn;

namespace {

std::string s(const QString& v) { return v.toStdString(); }

using guitest::bytesOf;

// Opens `bytes` as a file of the project folder and returns its view.
CVarnIdeView* openText(guitest::Workspace& ws, CMainFrame& frame, const QString& name, const QByteArray& bytes) {
    guitest::writeText(ws.file(name), bytes);
    if (!frame.documents().open(s(ws.file(name)), false)) return nullptr;
    frame.updateCommands();
    return frame.documentManager().view(s(ws.file(name)));
}

QAction* editorAction(CMainFrame& frame, int id) {
    frame.updateCommands();
    return frame.editorCommands().action(id);
}

int styleAt(CVarnIdeView& v, int line, int column) {
    v.SendScintilla(QsciScintilla::SCI_COLOURISE, 0L, -1L);
    const long pos = v.positionFromLineIndex(line, column);
    return static_cast<int>(v.SendScintilla(QsciScintilla::SCI_GETSTYLEAT, static_cast<unsigned long>(pos)));
}

const QByteArray kSource =
    "# demo\r\nfunction startup;\r\n  x = \"function\";\r\n  y = 1;\r\nend;\r\n\r\nfunction other(a, b);\r\nend;\r\n";

}  // namespace

class EditorTest : public QObject {
    Q_OBJECT
private slots:
    void oneCurrentStatementAndOneErrorLinePerView() {
        guitest::Window ws(QStringLiteral("Demo"));
        CVarnIdeView* v = openText(ws, ws.frame, QStringLiteral("a.vsl"), kSource);
        QVERIFY(v);
        v->setErrorLine(1);
        v->setErrorLine(3);
        v->setCurrentStatementLine(2);
        v->setCurrentStatementLine(4);
        v->setLineFlag(4, CVarnIdeView::kBreakpoint, true);
        QCOMPARE(v->linesWithFlag(CVarnIdeView::kErrorLine), std::vector<int>{3});
        QCOMPARE(v->linesWithFlag(CVarnIdeView::kCurrentStatement), std::vector<int>{4});
        QCOMPARE(v->lineFlags(4), CVarnIdeView::kBreakpoint | CVarnIdeView::kCurrentStatement);
        QCOMPARE(v->lineFlags(1), 0);
        // Lines inserted above move the markers with their lines.
        v->insertAt(QStringLiteral("\r\n"), 0, 0);
        QCOMPARE(v->linesWithFlag(CVarnIdeView::kErrorLine), std::vector<int>{4});
        v->setErrorLine(-1);
        QVERIFY(v->linesWithFlag(CVarnIdeView::kErrorLine).empty());
    }

    void bookmarksWrapAndEnableByCount() {
        guitest::Window ws(QStringLiteral("Demo"));
        CVarnIdeView* v = openText(ws, ws.frame, QStringLiteral("a.vsl"), kSource);
        QVERIFY(!editorAction(ws.frame, SourceEditorCommands::ID_NEXT_BOOKMARK)->isEnabled());
        for (int line : {1, 4}) {
            v->setCursorPosition(line, 0);
            editorAction(ws.frame, SourceEditorCommands::ID_TOGGLE_BOOKMARK)->trigger();
        }
        QCOMPARE(v->bookmarkCount(), 2);
        QAction* next = editorAction(ws.frame, SourceEditorCommands::ID_NEXT_BOOKMARK);
        QVERIFY(next->isEnabled());
        const struct {
            int from;
            int id;
            int to;
        } moves[] = {{1, SourceEditorCommands::ID_NEXT_BOOKMARK, 4}, {4, SourceEditorCommands::ID_NEXT_BOOKMARK, 1},
                     {1, SourceEditorCommands::ID_PREV_BOOKMARK, 4}};  // the wrapping rule is core's
        for (const auto& m : moves) {
            v->setCursorPosition(m.from, 0);
            editorAction(ws.frame, m.id)->trigger();
            QCOMPARE(v->caretLine(), m.to);
        }
        // Toggling a bookmarked line takes it off again.
        v->setCursorPosition(4, 0);
        editorAction(ws.frame, SourceEditorCommands::ID_TOGGLE_BOOKMARK)->trigger();
        QCOMPARE(v->bookmarkCount(), 1);
        editorAction(ws.frame, SourceEditorCommands::ID_CLEAR_BOOKMARKS)->trigger();
        QCOMPARE(v->bookmarkCount(), 0);
        QVERIFY(v->linesWithFlag(CVarnIdeView::kBookmark).empty());
        QVERIFY(!editorAction(ws.frame, SourceEditorCommands::ID_PREV_BOOKMARK)->isEnabled());
    }

    void commentAndUncommentBlock_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QList<int>>("selection");  // from line, from col, to line, to col; empty: caret line 1
        QTest::addColumn<bool>("comment");
        QTest::addColumn<QByteArray>("expected");
        QTest::addColumn<int>("caretLine");
        const QByteArray three = "a\r\nb\r\nc\r\n";
        QTest::newRow("caret line") << three << QList<int>{} << true << QByteArray("a\r\n#b\r\nc\r\n") << 1;
        QTest::newRow("ends at column 0") << three << QList<int>{0, 1, 2, 0} << true
                                          << QByteArray("#a\r\n#b\r\nc\r\n") << 2;
        QTest::newRow("uncomment") << QByteArray("#a\r\n #b\r\n##c\r\nd") << QList<int>{0, 0, 3, 1} << false
                                   << QByteArray("a\r\n #b\r\n#c\r\nd") << 3;
    }
    void commentAndUncommentBlock() {
        QFETCH(QByteArray, text);
        QFETCH(QList<int>, selection);
        QFETCH(bool, comment);
        QFETCH(QByteArray, expected);
        QFETCH(int, caretLine);
        guitest::Window ws(QStringLiteral("Demo"));
        CVarnIdeView* v = openText(ws, ws.frame, QStringLiteral("c.vsl"), text);
        if (selection.isEmpty()) v->setCursorPosition(1, 0);
        else v->setSelection(selection[0], selection[1], selection[2], selection[3]);
        editorAction(ws.frame,
                     comment ? SourceEditorCommands::ID_COMMENT_BLOCK : SourceEditorCommands::ID_UNCOMMENT_BLOCK)
            ->trigger();
        QCOMPARE(QByteArray::fromStdString(v->bytes()), expected);
        QCOMPARE(v->caretLine(), caretLine);
    }

    // The text is core's (SourceCommands.StatusText); the label follows the caret at the next idle update.
    void positionTextFollowsTheCaret() {
        guitest::Window ws(QStringLiteral("Demo"));
        CVarnIdeView* v = openText(ws, ws.frame, QStringLiteral("p.vsl"), kSource);
        v->setCursorPosition(1, 3);
        ws.frame.updateCommands();
        QCOMPARE(ws.frame.editorCommands().positionLabel()->text(), QStringLiteral("Line 2 Col 4"));
    }

    void symbolListReplacesThePrefix() {
        guitest::Workspace ws(QStringLiteral("Demo"));
        ws.symbols.clear();
        ws.symbols.addLines("startup;function;startup();The first function\r\nPrintLine;function;PrintLine(text);Writes a line\r\n"
                            "pi;constant;;\r\n", false);
        CMainFrame frame(*ws.manager, ws.ui, ws.settings);
        frame.show();
        CVarnIdeView* v = openText(ws, frame, QStringLiteral("s.vsl"), "  x = pr");
        v->setFocus();
        v->setCursorPosition(0, 8);
        editorAction(frame, SourceEditorCommands::ID_LIST_SYMBOLS)->trigger();
        QVERIFY(v->isListActive());
        QCOMPARE(v->SendScintilla(QsciScintilla::SCI_AUTOCGETCURRENT), 1L);  // "pi, constant" < "pr"
        QTest::keyClick(v, Qt::Key_Return);
        QCOMPARE(QByteArray::fromStdString(v->bytes()), QByteArray("  x = PrintLine"));
    }

    // Keys typed while the list is open move its selection; Enter then
    // replaces the word at the caret, and nothing typed stays in the text.
    void typingIntoTheSymbolListMovesItsSelection() {
        guitest::Workspace ws(QStringLiteral("Demo"));
        ws.symbols.clear();
        ws.symbols.addLines("abs;function;abs(n);Absolute value\r\nmessage_box;function;message_box(a);Asks\r\n"
                            "mid;function;mid(s);Part of a string\r\n", false);
        CMainFrame frame(*ws.manager, ws.ui, ws.settings);
        frame.show();
        CVarnIdeView* v = openText(ws, frame, QStringLiteral("t.vsl"), "  x = ");
        v->setFocus();
        v->setCursorPosition(0, 6);
        editorAction(frame, SourceEditorCommands::ID_LIST_SYMBOLS)->trigger();
        QVERIFY(v->isListActive());
        QTest::keyClicks(v, QStringLiteral("me"));
        QCOMPARE(v->SendScintilla(QsciScintilla::SCI_AUTOCGETCURRENT), 1L);
        QTest::keyClick(v, Qt::Key_Return);
        QCOMPARE(QByteArray::fromStdString(v->bytes()), QByteArray("  x = message_box"));
    }

    void objectTypesThenPropertiesThenInsertion() {
        guitest::Window ws(QStringLiteral("Demo"));
        CVarnIdeView* v = openText(ws, ws.frame, QStringLiteral("p.vsl"), "button ok;\r\nok.");
        ws.frame.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&ws.frame));
        v->setFocus();
        v->setCursorPosition(1, 3);
        // Typing "." after a declared name lists that type's properties.
        QTest::keyClick(v, Qt::Key_Backspace);
        QTest::keyClicks(v, QStringLiteral("."));
        QCoreApplication::processEvents();
        QVERIFY(v->isListActive());
        QTest::keyClick(v, Qt::Key_Return);
        QCOMPARE(QByteArray::fromStdString(v->bytes()), QByteArray("button ok;\r\nok.width"));
        // F2 offers the thirteen types first, then the chosen type's properties.
        v->setCursorPosition(0, 0);
        editorAction(ws.frame, SourceEditorCommands::ID_LIST_PROPERTIES)->trigger();
        QVERIFY(v->isListActive());
        // The second type, menu_item; then its second property.
        QTest::keyClick(v, Qt::Key_Down);
        QTest::keyClick(v, Qt::Key_Return);
        QTRY_VERIFY(v->isListActive());
        QCOMPARE(QByteArray::fromStdString(v->bytes()), QByteArray("button ok;\r\nok.width"));
        QTest::keyClick(v, Qt::Key_Down);
        QTest::keyClick(v, Qt::Key_Return);
        QCOMPARE(QByteArray::fromStdString(v->bytes()), QByteArray("object_typebutton ok;\r\nok.width"));
        QVERIFY(!v->isListActive());
    }

    void oddFilesOpenAndSaveByteExact_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("nul bytes") << QByteArray("a\0b\r\nc\0", 7);
        QTest::newRow("mixed line ends") << QByteArray("a\r\nb\nc\rd\r\n");
        QTest::newRow("latin-1") << QByteArray("caf\xe9 \xa0\r\n");
        QTest::newRow("binary") << QByteArray("\x89PNG\r\n\x1a\n\x00\x00\xff\xfe", 12);
        QTest::newRow("long line") << QByteArray(1 << 20, 'x');
        QTest::newRow("empty") << QByteArray();
    }
    void oddFilesOpenAndSaveByteExact() {
        QFETCH(QByteArray, bytes);
        guitest::Window ws(QStringLiteral("Demo"));
        CVarnIdeView* v = openText(ws, ws.frame, QStringLiteral("odd.vsl"), bytes);
        QVERIFY(v);
        QCOMPARE(QByteArray::fromStdString(v->bytes()), bytes);
        v->setCursorPosition(0, 0);
        QTest::keyClicks(v, QStringLiteral("Z"));
        QVERIFY(ws.frame.documents().save(v->path()));
        QCOMPARE(bytesOf(ws.file(QStringLiteral("odd.vsl"))), QByteArray("Z") + bytes);
    }

    void colouringFollowsTheSection() {
        guitest::Workspace ws(QStringLiteral("Demo"));
        normaliseColouring(ws.settings);
        CMainFrame frame(*ws.manager, ws.ui, ws.settings);
        frame.show();
        CVarnIdeView* v = openText(ws, frame, QStringLiteral("k.vsl"), kSource);
        QCOMPARE(styleAt(*v, 0, 2), int(VarnLexer::Comment));
        QCOMPARE(styleAt(*v, 1, 0), int(VarnLexer::Keyword));
        QCOMPARE(styleAt(*v, 2, 7), int(VarnLexer::Quote));  // a keyword inside a string stays a string
        QCOMPARE(styleAt(*v, 3, 2), int(VarnLexer::Default));
        QCOMPARE(v->lexerOfView()->color(VarnLexer::Keyword), QColor(0, 0, 255));
        // C files take their own section: "//" and "/* */" comments.
        CVarnIdeView* c = openText(ws, frame, QStringLiteral("k.c"), "int a; /* x\r\ny */ int b; // z\r\n");
        QCOMPARE(styleAt(*c, 0, 0), int(VarnLexer::Keyword));
        QCOMPARE(styleAt(*c, 1, 0), int(VarnLexer::Comment));
        QCOMPARE(styleAt(*c, 1, 5), int(VarnLexer::Keyword));
        QCOMPARE(styleAt(*c, 1, 13), int(VarnLexer::Comment));
        // Colouring off draws every style in the default text colour; the
        // change reaches open views.
        ws.settings.setInt(kSourceFilesSection, "Chroma", 0);
        frame.editorCommands().applySettingsToAll();
        for (int style : {VarnLexer::Keyword, VarnLexer::Comment, VarnLexer::Quote})
            QCOMPARE(v->lexerOfView()->color(style), QColor(0, 0, 0));
        // A case change styles the text again: "FUNCTION" is a keyword only
        // when case does not count.
        v->insertAt(QStringLiteral("FUNCTION "), 3, 0);
        QCOMPARE(styleAt(*v, 3, 0), int(VarnLexer::Default));
        ws.settings.setInt(kSourceFilesSection, "Case", 0);
        frame.editorCommands().applySettingsToAll();
        QCOMPARE(styleAt(*v, 3, 0), int(VarnLexer::Keyword));
    }

    // A large file is styled only down to the lines shown when it opens; lines
    // further down take the state of the text above them (here a block
    // comment opened on the first line) when they come into view.
    void largeFileIsStyledAsItComesIntoView() {
        guitest::Workspace ws(QStringLiteral("Demo"));
        normaliseColouring(ws.settings);
        CMainFrame frame(*ws.manager, ws.ui, ws.settings);
        frame.show();
        QByteArray text = "/* opened here\r\n";
        for (int i = 1; i < 3000; ++i) text += i == 2500 ? "*/ int y;\r\n" : "int x;\r\n";
        CVarnIdeView* v = openText(ws, frame, QStringLiteral("big.c"), text);
        QVERIFY(v);
        auto shownStyle = [v](int line, int column) {
            v->goToLine(line);
            (void)v->grab();
            const long pos = v->positionFromLineIndex(line, column);
            return static_cast<int>(v->SendScintilla(QsciScintilla::SCI_GETSTYLEAT, static_cast<unsigned long>(pos)));
        };
        // Styling leaves each line's state (the open comment) behind: none yet
        // far below the first screen.
        (void)v->grab();
        QVERIFY(v->SendScintilla(QsciScintilla::SCI_GETENDSTYLED) < v->positionFromLineIndex(200, 0));
        QCOMPARE(v->SendScintilla(QsciScintilla::SCI_GETLINESTATE, 2400UL), 0L);
        QCOMPARE(shownStyle(2400, 0), int(VarnLexer::Comment));
        QCOMPARE(shownStyle(2500, 3), int(VarnLexer::Keyword));
        QCOMPARE(shownStyle(2900, 0), int(VarnLexer::Keyword));
        QVERIFY(v->SendScintilla(QsciScintilla::SCI_GETENDSTYLED) < v->positionFromLineIndex(2990, 0));
    }

    void functionBlocksFold() {
        guitest::Window ws(QStringLiteral("Demo"));
        CVarnIdeView* v = openText(ws, ws.frame, QStringLiteral("f.vsl"), kSource);
        v->SendScintilla(QsciScintilla::SCI_COLOURISE, 0L, -1L);
        auto level = [v](int line) {
            return static_cast<int>(v->SendScintilla(QsciScintilla::SCI_GETFOLDLEVEL, static_cast<unsigned long>(line)));
        };
        QVERIFY(level(1) & QsciScintilla::SC_FOLDLEVELHEADERFLAG);
        QCOMPARE(level(2) & QsciScintilla::SC_FOLDLEVELNUMBERMASK, QsciScintilla::SC_FOLDLEVELBASE + 1);
        QCOMPARE(level(5) & QsciScintilla::SC_FOLDLEVELNUMBERMASK, QsciScintilla::SC_FOLDLEVELBASE);
        v->foldLine(1);
        QVERIFY(!v->SendScintilla(QsciScintilla::SCI_GETLINEVISIBLE, 2UL));
    }

    void newCFileStartsWithTheIncludesAndUnmodified() {
        guitest::Window ws(QStringLiteral("Demo"));
        CVarnIdeView* v = ws.frame.documentManager().newDocument(DocumentTemplate::CFile);
        QVERIFY(v);
        QVERIFY(!v->modified());
        // The first save asks for the name, writes the text the document holds
        // and adds the file to the project.
        const QString target = ws.file(QStringLiteral("extra.c"));
        ws.ui.saveAnswers.push_back(s(target));
        QVERIFY(ws.frame.documents().save(v->path()));
        const QByteArray written = bytesOf(target);
        QCOMPARE(written, QByteArray("#include <VARN_support.h>\r\n#include <VARN_prototypes.h>\r\n\r\n"));
        QCOMPARE(QByteArray::fromStdString(v->bytes()), written);
        bool inProject = false;
        for (const auto& item : ws.model().tree.records()) inProject = inProject || item.path == s(target);
        QVERIFY(inProject);
    }

    void missingKeywordFileIsReported() {
        guitest::Workspace ws(QStringLiteral("Demo"));
        QVERIFY(QFile::remove(ws.install + QStringLiteral("/varnide.ini")));
        CMainFrame frame(*ws.manager, ws.ui, ws.settings);
        frame.show();
        CVarnIdeView* v = openText(ws, frame, QStringLiteral("a.vsl"), kSource);
        QVERIFY(v);
        QVERIFY2(ws.ui.lastText().find("varnide.ini") != std::string::npos, ws.ui.lastText().c_str());
        // Told once, not for every view.
        const std::size_t told = ws.ui.messages.size();
        openText(ws, frame, QStringLiteral("b.vsl"), kSource);
        QCOMPARE(ws.ui.messages.size(), told);
    }

    // F1 in a source view opens the bundled language help at the word's entry.
    void f1OpensTheHelpAtTheWord() {
        guitest::Workspace ws(QStringLiteral("Demo"));
        CMainFrame frame(*ws.manager, ws.ui, ws.settings);
        QList<QUrl> opened;
        frame.editorCommands().setUrlOpener([&opened](const QUrl& url) {
            opened << url;
            return true;
        });
        frame.show();
        CVarnIdeView* v = openText(ws, frame, QStringLiteral("h.vsl"), "x = Abs(y);\r\nIF x then\r\n  nothing;\r\n\r\n");
        frame.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&frame));
        v->setFocus();
        const QUrl help = QUrl::fromLocalFile(ws.install + QStringLiteral("/VARNlang.html"));
        struct Row {
            int line, column;
            QString fragment;  // empty: the index at the top
        };
        const Row rows[] = {{0, 5, QStringLiteral("abs")}, {1, 0, QStringLiteral("if")}, {2, 4, {}}, {3, 0, {}}};
        for (const Row& r : rows) {
            opened.clear();
            v->setCursorPosition(r.line, r.column);
            QTest::keyClick(v, Qt::Key_F1);
            QCOMPARE(opened.size(), 1);
            QCOMPARE(opened[0].adjusted(QUrl::RemoveFragment), help);
            QCOMPARE(opened[0].fragment(), r.fragment);
        }
        QVERIFY(ws.ui.messages.empty());
        // Without the page F1 says so and opens nothing.
        QVERIFY(QFile::remove(help.toLocalFile()));
        opened.clear();
        QTest::keyClick(v, Qt::Key_F1);
        QVERIFY(opened.isEmpty());
        QCOMPARE(ws.ui.lastText(), "The help file " + s(help.toLocalFile()) + " could not be found.");
    }

    void editMenuUndoesTheEngine() {
        guitest::Window ws(QStringLiteral("Demo"));
        CVarnIdeView* v = openText(ws, ws.frame, QStringLiteral("u.vsl"), "abc");
        QList<QAction*> edit = ws.frame.menu(QStringLiteral("Edit"))->actions();
        QCOMPARE(edit[0]->text(), QStringLiteral("&Undo"));
        QCOMPARE(edit[5]->text(), QStringLiteral("&Paste"));
        v->setCursorPosition(0, 3);
        QTest::keyClicks(v, QStringLiteral("d"));
        QCOMPARE(QByteArray::fromStdString(v->bytes()), QByteArray("abcd"));
        ws.frame.updateCommands();
        edit[0]->trigger();
        QCOMPARE(QByteArray::fromStdString(v->bytes()), QByteArray("abc"));
        QVERIFY(!v->modified());
    }

    void contextMenuFollowsItsCommands() {
        guitest::Window ws(QStringLiteral("Demo"));
        CVarnIdeView* v = openText(ws, ws.frame, QStringLiteral("m.vsl"), kSource);
        std::unique_ptr<QMenu> menu(v->createContextMenu());
        // The entries' texts and order are the table the menu is built from;
        // here only that they follow their commands.
        QCOMPARE(menu->actions()[2]->text(), QStringLiteral("Toggle Bookmark"));
        // Items follow their commands: no bookmark yet, not debugging.
        QVERIFY(!menu->actions()[3]->isEnabled());
        QVERIFY(!menu->actions()[12]->isEnabled());
        QVERIFY(menu->actions()[2]->isEnabled());
        menu->actions()[2]->trigger();
        QCOMPARE(v->bookmarkCount(), 1);
    }

    void findFunctionReportsAMissingOne() {
        guitest::Window ws(QStringLiteral("Demo"));
        const QString demo = ws.file(QStringLiteral("Demo.vsl"));
        CVarnIdeView* v = openText(ws, ws.frame, QStringLiteral("Demo.vsl"), bytesOf(demo));
        v->setCursorPosition(0, 0);
        v->insertAt(QStringLiteral("nosuchfunction\r\n"), 0, 0);
        editorAction(ws.frame, SourceEditorCommands::ID_FIND_FUNCTION)->trigger();
        QCOMPARE(ws.ui.lastText(), std::string("Function not found."));
    }
};

QTEST_MAIN(EditorTest)
#include "test_editor.moc"
