// The "MenuBars" dialog on the real main window: opened from the project
// tree, menu bars built with New and typing, the file written at OK and
// compiled; a read-only file and a file that could not be read.
#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "GuiFixture.h"
#include "TestSupport.h"
#include "build/ProjectBuilder.h"
#include "menubar/CMenuBarDlg.h"
#include "menubar/CMenuBarPreview.h"
#include "menubar/CMenuBarTree.h"
#include "menubar/MenuBarCommands.h"
#include "menubar/MenuBarFile.h"
#include "platform/FileSystem.h"
#include "project/CProjectBar.h"

using namespace varn;

namespace {

// Runs `f` on the next modal dialog as soon as it is up.
void onNextModal(std::function<void(CMenuBarDlg*)> f) {
    QTimer::singleShot(0, [f = std::move(f)] {
        QWidget* w = nullptr;
        guitest::waitFor([&] { return (w = QApplication::activeModalWidget()) != nullptr; });
        auto* dlg = qobject_cast<CMenuBarDlg*>(w);
        if (!dlg) {
            if (w) w->close();
            QFAIL("no MenuBars dialog");
        }
        f(dlg);
        // A failed check ends `f` early: the dialog must not wait for a click.
        if (dlg->isVisible()) dlg->reject();
    });
}

template <class W>
W* field(QWidget* dlg, const char* name) {
    return dlg->findChild<W*>(QString::fromLatin1(name));
}

void retype(QLineEdit* edit, const QString& text) {
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

void clickNew(QWidget* dlg) { QTest::mouseClick(field<QPushButton>(dlg, "New"), Qt::LeftButton); }

void clickOk(QWidget* dlg) {
    QTest::mouseClick(dlg->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok), Qt::LeftButton);
}

// The written file with its date and time lines blanked.
std::string undated(const QString& path) {
    std::string text = guitest::bytesOf(path).toStdString();
    for (const char* key : {"# Date: ", "# Time: "}) {
        const std::size_t at = text.find(key);
        if (at != std::string::npos) text.replace(at, text.find('\r', at) - at, key);
    }
    return text;
}

}  // namespace

class MenuBarTest : public QObject {
    Q_OBJECT
private slots:
    void buildMenuBarsFromTheProjectTree() {
        guitest::Window ws(QStringLiteral("Demo"));
        MenuNameCounters::reset();
        bool driven = false;
        onNextModal([&](CMenuBarDlg* dlg) {
            QCOMPARE(dlg->windowTitle(), QStringLiteral("MenuBars"));
            auto* name = field<QLineEdit>(dlg, "Name");
            auto* display = field<QLineEdit>(dlg, "Display");
            auto* invokes = field<QLineEdit>(dlg, "Invokes");
            QVERIFY(!name->isEnabled());  // nothing chosen yet

            clickNew(dlg);  // a menu bar: only its name
            QCOMPARE(name->text(), QStringLiteral("menubar0"));
            QVERIFY(!display->isEnabled() && !invokes->isEnabled());
            retype(name, QStringLiteral("mainbar"));
            clickNew(dlg);  // a top below it
            QCOMPARE(dlg->tree()->topLevelItem(0)->text(0), QStringLiteral("mainbar"));
            QVERIFY(display->isEnabled() && !invokes->isEnabled());
            retype(display, QStringLiteral("File"));
            clickNew(dlg);  // an item below the top
            QVERIFY(invokes->isEnabled());
            retype(display, QStringLiteral("Open"));
            retype(invokes, QStringLiteral("on_tap"));
            clickNew(dlg);  // beside the item
            QCOMPARE(name->text(), QStringLiteral("menuitem1"));
            field<QCheckBox>(dlg, "Expression")->setChecked(true);
            retype(display, QStringLiteral("\"Cl\" + \"ose\""));

            // A blank name keeps the node chosen with what was typed.
            auto bar = [dlg] { return dlg->tree()->topLevelItem(0); };  // rows are remade after New
            retype(name, QString());
            dlg->tree()->setCurrentItem(bar());
            QCOMPARE(ws.ui.lastText(), std::string("The name can not be empty."));
            QCOMPARE(dlg->currentNode(), (MenuNode{0, 0, 1}));
            QCOMPARE(dlg->tree()->currentItem(), bar()->child(0)->child(1));
            QCOMPARE(display->text(), QStringLiteral("\"Cl\" + \"ose\""));
            retype(name, QStringLiteral("mnuClose"));
            dlg->tree()->setCurrentItem(bar());
            QCOMPARE(dlg->currentNode(), (MenuNode{0}));

            clickNew(dlg);  // the second top
            retype(display, QStringLiteral("Help"));
            clickNew(dlg);
            QCOMPARE(name->text(), QStringLiteral("menuitem2"));
            retype(display, QStringLiteral("About"));
            // The preview shows the bar with the typed texts, the expression's value.
            dlg->tree()->setCurrentItem(bar()->child(0)->child(1));
            QCOMPARE(dlg->preview()->tops(), (QStringList{QStringLiteral("File"), QStringLiteral("Help")}));
            QCOMPARE(dlg->preview()->items(), (QStringList{QStringLiteral("Open"), QStringLiteral("Close")}));
            guitest::screenshot(*dlg, QStringLiteral("menubar-designer.png"));
            clickOk(dlg);
            driven = true;
        });
        ws.frame.projectBar()->runCommand(CProjectBar::Command::AddMenubar);
        QVERIFY(driven);
        QVERIFY2(ws.ui.messages.size() == 1, ws.ui.lastText().c_str());

        const QString written = ws.file(QStringLiteral("Demo_MenuBar.ini"));
        const auto golden = test::matchesGolden(undated(written), "menubar/designer/expected.ini");
        QVERIFY2(golden, golden.message());
        QCOMPARE(ws.model().tree.menuBars(), std::vector<std::string>{"mainbar"});
        QCOMPARE(ws.frame.projectBar()->selectedKind(), static_cast<int>(ItemKind::MenuBar));

        // The stand-in compiler takes the file.
        ws.frame.onCompile();
        QVERIFY(!ws.frame.builder().buildFailed());
        QVERIFY(guitest::bytesOf(ws.file(QStringLiteral("varn_c.opt"))).contains("Demo_MenuBar.ini"));
    }

    void readOnlyFileOpenedFromItsTreeItem() {
        guitest::Window ws(QStringLiteral("Demo"));
        ProjectModel& p = ws.model();
        CMenuTop top{false, "mnuFile", "File", {CMenuItem{false, "Open", "", "mnuOpen"}}};
        p.menuBars = {CMenuBar{"first", {}}, CMenuBar{"second", {top}}};
        p.tree.addMenuBar("first");
        const int second = p.tree.addMenuBar("second");
        const QString file = ws.file(QStringLiteral("Demo_MenuBar.ini"));
        guitest::writeText(file, "kept");
        QVERIFY(fsys::setReadOnly(file.toStdString(), true));

        bool driven = false;
        onNextModal([&](CMenuBarDlg* dlg) {
            QCOMPARE(dlg->windowTitle(), QStringLiteral("MenuBars (read-only)"));
            QCOMPARE(dlg->currentNode(), (MenuNode{1}));
            QCOMPARE(field<QLineEdit>(dlg, "Name")->text(), QStringLiteral("second"));
            // The Delete key takes the top and its item.
            dlg->tree()->setCurrentItem(dlg->tree()->topLevelItem(1)->child(0));
            QTest::keyClick(dlg->tree(), Qt::Key_Delete);
            QCOMPARE(dlg->designer().bars()[1].tops.size(), std::size_t(0));
            QCOMPARE(dlg->currentNode(), (MenuNode{1}));
            clickOk(dlg);
            driven = true;
        });
        emit ws.frame.projectBar()->view()->itemDoubleClicked(ws.frame.projectBar()->rowOf(second), 0);
        QVERIFY(driven);
        QCOMPARE(guitest::bytesOf(file), QByteArray("kept"));
        QCOMPARE(p.menuBars[1].tops.size(), std::size_t(1));
        QVERIFY(ws.ui.messages.empty());
    }

    void dragWithinTheParent() {
        guitest::Workspace ws(QStringLiteral("Demo"));
        ProjectModel& p = ws.model();
        CMenuTop file{false,
                      "mnuFile",
                      "File",
                      {CMenuItem{false, "Open", "", "mnuOpen"}, CMenuItem{false, "Quit", "", "mnuQuit"}}};
        p.menuBars = {CMenuBar{"first", {file, CMenuTop{false, "mnuHelp", "Help", {}}}}};
        CMenuBarDlg dlg(p, ws.ui, {}, QStringLiteral("first"));
        CMenuBarTree* tree = dlg.tree();
        QTreeWidgetItem* bar = tree->topLevelItem(0);
        QTreeWidgetItem* open = bar->child(0)->child(0);
        QTreeWidgetItem* quit = bar->child(0)->child(1);
        QCOMPARE(tree->dropIndex(open, quit, true), 1);
        QCOMPARE(tree->dropIndex(quit, open, false), 0);
        QCOMPARE(tree->dropIndex(bar->child(1), bar->child(0), false), 0);
        QCOMPARE(tree->dropIndex(open, bar->child(1), false), -1);  // another parent
        tree->setCurrentItem(open);
        emit tree->moveRequested(open, 1);
        QTRY_COMPARE(dlg.designer().bars()[0].tops[0].items[0].name, std::string("mnuQuit"));
        QCOMPARE(dlg.currentNode(), (MenuNode{0, 0, 1}));
        QCOMPARE(tree->currentItem()->text(0), QStringLiteral("mnuOpen"));
    }

    void unreadableFileIsKeptUnlessTheUserAgrees() {
        guitest::Window ws(QStringLiteral("Demo"));
        const QString file = ws.file(QStringLiteral("Demo_MenuBar.ini"));
        const QByteArray broken = "COMPILE_IF IDE__PASS=2;\r\nmenu_bar lost\r\n";
        guitest::writeText(file, broken);
        QVERIFY(ws.manager->openWorkspace(ws.projectPath(QStringLiteral("Demo")).toStdString(), true));
        QCOMPARE(ws.ui.messages.size(), std::size_t(1));  // the load error, once

        int okClicks = 0;
        onNextModal([&](CMenuBarDlg* dlg) {
            clickNew(dlg);
            clickOk(dlg);  // the question's default answer: No
            okClicks = dlg->isVisible() ? 1 : 0;
            ws.ui.answers.push_back(Answer::Yes);
            clickOk(dlg);
            okClicks += dlg->isVisible() ? 0 : 1;
        });
        QAction* add = ws.frame.findChild<MenuBarCommands*>()->addMenubarAction();
        QVERIFY(ws.frame.menu(QStringLiteral("Project"))->actions().contains(add));
        add->trigger();
        QCOMPARE(okClicks, 2);
        QCOMPARE(ws.ui.messages.size(), std::size_t(3));
        QCOMPARE(readMenuBarFile(guitest::bytesOf(file).toStdString()).bars.size(), std::size_t(1));
    }
};

QTEST_MAIN(MenuBarTest)
#include "test_menubar.moc"
