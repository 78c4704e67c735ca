// The designer's dialogs in the real main window: "Project Variables..."
// from the Project menu and the project tree, the "Selection List" dialog
// with its Count/Size rules and keys, and the "Object Properties" sheet.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>
#include <QtTest>

#include "GuiFixture.h"
#include "TestSupport.h"
#include "form/CProjectVariablesDlg.h"
#include "form/CSelectionListDlg.h"
#include "form/CVARNfbListBoxEditor.h"
#include "form/CVARNfbPropertySheet.h"
#include "form/FormDesigner.h"
#include "form/ProjectVariables.h"
#include "form/PropertyRules.h"
#include "project/CProjectBar.h"

using namespace varn;
using namespace varn::test;
using Strings = std::vector<std::string>;

namespace {

using guitest::onNextModal;

QAction* menuEntry(CMainFrame& frame, const QString& menu, const QString& text) {
    for (QAction* a : frame.menu(menu)->actions())
        if (a->text() == text) return a;
    return nullptr;
}

// A designer on a golden form file, read in the project's units, written
// with the golden file's date.
std::unique_ptr<FormDesigner> designerOn(guitest::Window& w, const std::string& golden) {
    setenv("TZ", "UTC", 1);
    tzset();
    auto doc = std::make_unique<CVARNfbDoc>(FormEnvironment::fromProject(w.model()));
    doc->setClock([] { return std::time_t{1080050709}; });
    doc->load(dataPath(golden), w.ui);
    return std::make_unique<FormDesigner>(std::move(doc), w.ui);
}

CVARNFBControl& named(FormDesigner& d, const std::string& name) { return *d.doc().findByName(name); }

template <class W>
W* fieldOf(CVARNfbPropertySheet& sheet, int page, const char* label) {
    return qobject_cast<W*>(sheet.field(page, QString::fromUtf8(label)));
}

}  // namespace

class FormDialogsTest : public QObject {
    Q_OBJECT
private slots:
    // One bad line keeps the dialog open on its message; fixed, OK closes it
    // and the project keeps the lines as core's rule took them.
    void projectVariablesFromTheProjectMenu() {
        guitest::Window w(QStringLiteral("Demo"));
        QAction* entry = menuEntry(w.frame, QStringLiteral("Project"), QStringLiteral("Project Variables..."));
        QVERIFY(entry);
        w.frame.updateCommands();
        QVERIFY(entry->isEnabled());
        w.model().projectVars = {"old = 1"};
        w.model().modified = false;
        bool stayedOpen = false;
        onNextModal([&](QWidget* dlg) {
            auto* pv = qobject_cast<CProjectVariablesDlg*>(dlg);
            QVERIFY(pv);
            QCOMPARE(pv->editor()->lines(), QStringList{QStringLiteral("old = 1")});
            pv->editor()->setLines({QStringLiteral("count = 5;"), QStringLiteral("greeting \"hi\"")});
            pv->accept();
            stayedOpen = pv->isVisible();
            pv->editor()->setLines({QStringLiteral("count = 5;"), QStringLiteral(" greeting = \"hi\" ")});
            guitest::screenshot(*pv, QStringLiteral("project-variables.png"));
            pv->accept();
        });
        entry->trigger();
        QVERIFY(stayedOpen);
        QCOMPARE(w.ui.texts(), (Strings{"Missing equals sign for variable expression greeting \"hi\".\r\rIt should "
                                        "look something like this:\rmy_str_var = \"a string\" or my_num_var = 123"}));
        QCOMPARE(w.model().projectVars, (Strings{"count = 5", "greeting = \"hi\""}));
        QVERIFY(w.model().modified);
    }

    void projectVariablesFromTheProjectTree() {
        guitest::Window w(QStringLiteral("Demo"));
        CProjectBar* bar = w.frame.projectBar();
        QVERIFY(bar->commandEnabled(CProjectBar::Command::ProjectVariables));
        bool shown = false;
        onNextModal([&](QWidget* dlg) {
            shown = qobject_cast<CProjectVariablesDlg*>(dlg) != nullptr;
            dlg->close();
        });
        bar->runCommand(CProjectBar::Command::ProjectVariables);
        QVERIFY(shown);
    }

    // Lowering Size below Count asks first: Cancel puts the Size back, OK
    // drops the lines from the end.
    void selectionListShrinkAskedOkAndCancel() {
        RecordingUi ui;
        ui.answers = {Answer::Cancel, Answer::Ok};
        CSelectionListDlg dlg("Dropdown List", {"a", "b", "c", "d"}, 5, ui);
        dlg.sizeBox()->setValue(2);
        QCOMPARE(ui.texts(), Strings{kSelectionListShrink});
        QCOMPARE(ui.messages.back().buttons, MsgButtons::OkCancel);
        QCOMPARE(dlg.sizeBox()->value(), 5);
        QCOMPARE(dlg.editor()->lines().size(), 4);
        dlg.sizeBox()->setValue(2);
        QCOMPARE(dlg.editor()->lines(), (QStringList{QStringLiteral("a"), QStringLiteral("b")}));
        QCOMPARE(dlg.countLabel()->text(), QStringLiteral("2"));
        Strings items{"x"};
        int size = 0;
        dlg.model().apply(items, size);
        QCOMPARE(items, (Strings{"a", "b"}));
        QCOMPARE(size, 2);
    }

    // The list editor's keys: Insert adds (and Size follows Count), Delete
    // deletes (Size stays), Ctrl+Up moves; an edit reaches the model.
    void selectionListKeys() {
        RecordingUi ui;
        CSelectionListDlg dlg("Selector List", {"a", "b", "c"}, 3, ui);
        dlg.show();
        QListWidget* list = dlg.editor()->list();
        list->setFocus();
        list->setCurrentRow(2);
        QTest::keyClick(list, Qt::Key_Insert);
        QCOMPARE(dlg.model().count(), 4);
        QCOMPARE(dlg.sizeBox()->value(), 4);
        auto* edit = list->viewport()->findChild<QLineEdit*>();
        QVERIFY(edit);  // the new line is edited where it stands
        QTest::keyClicks(edit, QStringLiteral("d"));
        QTest::keyClick(edit, Qt::Key_Return);
        QVERIFY(guitest::waitFor([&] { return dlg.model().items().back() == "d"; }));
        QCOMPARE(dlg.model().items(), (Strings{"a", "b", "c", "d"}));
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Up, Qt::ControlModifier);
        QCOMPARE(dlg.model().items(), (Strings{"a", "b", "d", "c"}));
        list->setCurrentRow(0);
        QTest::keyClick(list, Qt::Key_Delete);
        QCOMPARE(dlg.model().items(), (Strings{"b", "d", "c"}));
        QCOMPARE(dlg.model().size(), 4);
        QCOMPARE(dlg.countLabel()->text(), QStringLiteral("3"));
        QVERIFY(ui.messages.empty());
    }

    // A bad name keeps the user on the common page with its field focused; a
    // good one lets the page go; the array grows and the form file shows it.
    void propertySheetRenamesAndGrowsAnArray() {
        guitest::Window w(QStringLiteral("Demo"));
        auto designer = designerOn(w, "form/demo/Demo.vff");
        CVARNFBControl& ok = named(*designer, "Ok");
        designer->selection().setDominant(&ok);
        CVARNfbPropertySheet sheet(*designer, ok, PropertySheetContext::forMainFrame(w.frame, w.ui, w.settings));
        sheet.show();
        QCOMPARE(sheet.windowTitle(), QStringLiteral("Object Properties"));
        QCOMPARE(sheet.tabs()->tabText(0), QStringLiteral("Button Object"));
        auto* name = fieldOf<QLineEdit>(sheet, 0, "Name");
        name->setText(QStringLiteral("Go now"));
        QVERIFY(!sheet.switchTo(1));
        QCOMPARE(sheet.tabs()->currentIndex(), 0);
        QCOMPARE(w.ui.lastText(), std::string(kObjectNameInvalid));
        QCOMPARE(sheet.focusWidget(), name);
        QCOMPARE(name->text(), QStringLiteral("Go now"));  // nothing typed is lost
        name->setText(QStringLiteral(" Go "));
        QVERIFY(sheet.switchTo(1));
        fieldOf<QLineEdit>(sheet, 1, "Format")->setText(QStringLiteral("0.0.0"));
        QVERIFY(!sheet.switchTo(0));
        QCOMPARE(sheet.focusWidget(), sheet.field(1, QStringLiteral("Format")));
        fieldOf<QLineEdit>(sheet, 1, "Format")->setText(QStringLiteral("##0.0"));
        QVERIFY(sheet.switchTo(0));
        // The invoker browse button: a name is needed, then it is looked for.
        fieldOf<QPushButton>(sheet, 1, "Invokes...")->click();
        QCOMPARE(w.ui.lastText(), std::string("Please enter an invoker function name."));
        fieldOf<QLineEdit>(sheet, 1, "Invokes")->setText(QStringLiteral("NoSuchFunction"));
        fieldOf<QPushButton>(sheet, 1, "Invokes...")->click();
        QCOMPARE(w.ui.lastText(), std::string("Invoker function not defined."));
        fieldOf<QLineEdit>(sheet, 1, "Invokes")->clear();
        fieldOf<QSpinBox>(sheet, 0, "Array Size")->setValue(3);
        sheet.accept();
        QCOMPARE(sheet.result(), int(QDialog::Accepted));
        QVERIFY(designer->modified());
        QCOMPARE(designer->objectSelectorEntries(), (Strings{"Main", "Go[  0]", "Colour", "Go[  1]", "Go[  2]"}));
        const std::string path = w.file(QStringLiteral("Demo.vff")).toStdString();
        QVERIFY(designer->doc().save(path).ok());
        const auto golden = matchesGolden(readBytes(path), "form/demo/DemoArray.vff");
        QVERIFY2(golden, golden.message());
    }

    void propertySheetCancelChangesNothing() {
        guitest::Window w(QStringLiteral("Demo"));
        auto designer = designerOn(w, "form/demo/Demo.vff");
        CVARNFBControl& colour = named(*designer, "Colour");
        CVARNfbPropertySheet sheet(*designer, colour, PropertySheetContext::forMainFrame(w.frame, w.ui, w.settings));
        fieldOf<QLineEdit>(sheet, 0, "Name")->setText(QStringLiteral("Shade"));
        QVERIFY(sheet.switchTo(1));
        QCOMPARE(sheet.tabs()->tabText(1), QStringLiteral("Dropdown Object"));
        fieldOf<QLineEdit>(sheet, 1, "List")->clear();
        fieldOf<QPushButton>(sheet, 1, "List...")->click();
        QCOMPARE(w.ui.lastText(), std::string("Please specify the name of the list attached to the drop_down."));
        fieldOf<QLineEdit>(sheet, 1, "List")->setText(QStringLiteral("Shades"));
        sheet.reject();
        QCOMPARE(colour.name, std::string("Colour"));
        QCOMPARE(colour.list, std::string("ColourList"));
        QVERIFY(designer->undoList().empty());
        QVERIFY(!designer->modified());
    }

    // A grid's sheet: one page per column and the new column's page; OK with
    // nothing changed writes the form as it was read.
    void propertySheetOnAGridKeepsTheForm() {
        guitest::Window w(QStringLiteral("Demo"));
        auto designer = designerOn(w, "form/grid/Orders.vff");
        CVARNFBControl& grid = named(*designer, "grdItems");
        CVARNfbPropertySheet sheet(*designer, grid, PropertySheetContext::forMainFrame(w.frame, w.ui, w.settings));
        sheet.show();
        QTabWidget* tabs = sheet.tabs();
        QCOMPARE(tabs->count(), 8);
        QCOMPARE(tabs->tabText(1), QStringLiteral("Grid Object"));
        QCOMPARE(tabs->tabText(2), QStringLiteral("Column - colQty"));
        QCOMPARE(tabs->tabText(7), QStringLiteral("Add New Column"));
        QVERIFY(sheet.switchTo(3));
        guitest::screenshot(sheet, QStringLiteral("property-sheet.png"));
        // A column may not take another column's name.
        fieldOf<QLineEdit>(sheet, 3, "Name")->setText(QStringLiteral("COLQTY"));
        QVERIFY(!sheet.switchTo(2));
        QCOMPARE(w.ui.lastText(), std::string("Object name COLQTY is used by grid column 0"));
        fieldOf<QLineEdit>(sheet, 3, "Name")->setText(QStringLiteral("colUnit"));
        sheet.accept();
        QCOMPARE(sheet.result(), int(QDialog::Accepted));
        const std::string path = w.file(QStringLiteral("Orders.vff")).toStdString();
        QVERIFY(designer->doc().save(path).ok());
        QCOMPARE(readBytes(path), readBytes(dataPath("form/grid/Orders.vff")));
    }

    // Fewer display rows remake the cells and the column pages; moving a
    // column reorders the pages.
    void propertySheetGridRowsAndColumnMove() {
        guitest::Window w(QStringLiteral("Demo"));
        auto designer = designerOn(w, "form/grid/Orders.vff");
        CVARNFBControl& grid = named(*designer, "grdItems");
        CVARNfbPropertySheet sheet(*designer, grid, PropertySheetContext::forMainFrame(w.frame, w.ui, w.settings));
        QVERIFY(sheet.switchTo(1));
        fieldOf<QSpinBox>(sheet, 1, "Display rows")->setValue(2);
        QVERIFY(sheet.switchTo(2));
        QCOMPARE(fieldOf<QSpinBox>(sheet, 2, "Row")->maximum(), 1);
        QVERIFY(sheet.switchTo(1));
        fieldOf<QComboBox>(sheet, 1, "Move column")->setCurrentIndex(0);
        fieldOf<QComboBox>(sheet, 1, "Target column")->setCurrentIndex(4);
        qobject_cast<QRadioButton*>(sheet.field(1, QStringLiteral("After")))->setChecked(true);
        fieldOf<QPushButton>(sheet, 1, "Move column...")->click();
        QCOMPARE(sheet.tabs()->tabText(6), QStringLiteral("Column - colQty"));
        sheet.accept();
        QCOMPARE(grid.cells.size(), std::size_t{10});
        QCOMPARE(grid.gridColumn(4)->name, std::string("colQty"));
        QCOMPARE(grid.displayRows, 2);
    }

    // OK with a column defined on the "Add New Column" page appends it.
    void okAppendsTheColumnOfTheNewColumnPage() {
        guitest::Window w(QStringLiteral("Demo"));
        auto designer = designerOn(w, "form/grid/Orders.vff");
        CVARNFBControl& grid = named(*designer, "grdItems");
        const std::size_t columns = grid.cells.size() / static_cast<std::size_t>(grid.displayRows);
        CVARNfbPropertySheet sheet(*designer, grid, PropertySheetContext::forMainFrame(w.frame, w.ui, w.settings));
        QVERIFY(sheet.switchTo(7));
        fieldOf<QLineEdit>(sheet, 7, "Name")->setText(QStringLiteral("colNote"));
        sheet.accept();
        QCOMPARE(sheet.result(), int(QDialog::Accepted));
        QCOMPARE(grid.cells.size() / static_cast<std::size_t>(grid.displayRows), columns + 1);
        QCOMPARE(grid.gridColumn(static_cast<int>(columns))->name, std::string("colNote"));
    }
};

QTEST_MAIN(FormDialogsTest)
#include "test_formdialogs.moc"
