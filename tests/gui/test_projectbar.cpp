// The project bar: rows by kind and category over the project tree, the
// read-only icons, the context menu and its enabling, and the double-click.
#include <QApplication>
#include <QMenu>
#include <QSignalSpy>
#include <QtTest>

#include "GuiFixture.h"
#include "project/CProjectBar.h"
#include "platform/FileSystem.h"

using namespace varn;
using Command = CProjectBar::Command;

namespace {

QStringList topLabels(const CProjectBar& bar) {
    QStringList out;
    for (int i = 0; i < bar.view()->topLevelItemCount(); ++i)
        if (!bar.view()->topLevelItem(i)->isHidden()) out << bar.view()->topLevelItem(i)->text(0);
    return out;
}

QStringList childLabels(QTreeWidgetItem* row) {
    QStringList out;
    for (int i = 0; row && i < row->childCount(); ++i) out << row->child(i)->text(0);
    return out;
}

int kindOf(QTreeWidgetItem* row) { return row->data(0, CProjectBar::kKindRole).toInt(); }

QImage iconImage(QTreeWidgetItem* row) { return row->icon(0).pixmap(16, 16).toImage(); }

}  // namespace

class ProjectBarTest : public QObject {
    Q_OBJECT
private slots:
    void emptyTreeShowsNoProject() {
        ProjectTree tree;
        CProjectBar bar(tree);
        QCOMPARE(bar.windowTitle(), QStringLiteral("Project Workspace"));
        QCOMPARE(topLabels(bar), QStringList{QStringLiteral("No Project")});
        // The placeholder row is there, hidden.
        QTreeWidgetItem* last = bar.view()->topLevelItem(bar.view()->topLevelItemCount() - 1);
        QCOMPARE(last->text(0), QStringLiteral("Dummy"));
        QVERIFY(last->isHidden());
        QCOMPARE(kindOf(bar.projectRow()), 0);
    }

    void sampleProjectRowsByKindAndCategory() {
        guitest::Workspace ws(QStringLiteral("Demo"));
        QVERIFY(ws.model().workspaceOpen);
        ProjectTree& tree = ws.model().tree;
        guitest::writeText(ws.file(QStringLiteral("Main.vff")), "");
        guitest::writeText(ws.file(QStringLiteral("Logo.vbm")), "");
        guitest::writeText(ws.file(QStringLiteral("util.c")), "");
        guitest::writeText(ws.file(QStringLiteral("Big.vic")), "");
        guitest::writeText(ws.file(QStringLiteral("Lib.vsl")), "");
        CProjectBar bar(tree);
        tree.addFormFile(ws.file(QStringLiteral("Main.vff")).toStdString(), true);
        tree.addImageFile(ws.file(QStringLiteral("Logo.vbm")).toStdString());
        tree.addCFile(ws.file(QStringLiteral("util.c")).toStdString());
        tree.setLargeIcon(ws.file(QStringLiteral("Big.vic")).toStdString());
        tree.addInclude(ws.file(QStringLiteral("Lib.vsl")).toStdString());
        tree.addMenuBar("MainMenu");

        QStringList top = topLabels(bar);
        QCOMPARE(top.value(0), QStringLiteral("Demo"));
        QCOMPARE(top.value(1), QStringLiteral("Demo"));
        // "Includes" right after the application, the others in order of creation.
        QCOMPARE(top.mid(2), (QStringList{QStringLiteral("Includes"), QStringLiteral("Forms"), QStringLiteral("Images"),
                                          QStringLiteral("C Files"), QStringLiteral("MenuBars")}));
        QCOMPARE(kindOf(bar.view()->topLevelItem(0)), 0);
        QCOMPARE(kindOf(bar.view()->topLevelItem(1)), 1);
        QCOMPARE(bar.view()->topLevelItem(1)->data(0, CProjectBar::kPathRole).toString(), ws.file(QStringLiteral("Demo.vsl")));

        QTreeWidgetItem* forms = bar.categoryRow(QStringLiteral("Forms"));
        QCOMPARE(kindOf(forms), CProjectBar::kCategoryRow);
        QCOMPARE(childLabels(forms), QStringList{QStringLiteral("Main")});
        QCOMPARE(kindOf(forms->child(0)), 5);
        QVERIFY(forms->isExpanded());
        QTreeWidgetItem* images = bar.categoryRow(QStringLiteral("Images"));
        QCOMPARE(childLabels(images).size(), 2);
        QSet<int> imageKinds{kindOf(images->child(0)), kindOf(images->child(1))};
        QCOMPARE(imageKinds, (QSet<int>{3, 6}));
        QCOMPARE(kindOf(bar.categoryRow(QStringLiteral("C Files"))->child(0)), 7);
        QCOMPARE(kindOf(bar.categoryRow(QStringLiteral("Includes"))->child(0)), 2);
        QTreeWidgetItem* menus = bar.categoryRow(QStringLiteral("MenuBars"));
        QCOMPARE(childLabels(menus), QStringList{QStringLiteral("MainMenu")});
        QCOMPARE(kindOf(menus->child(0)), 9);

        // Every row of a project item carries its id.
        for (const auto& r : tree.records()) {
            QTreeWidgetItem* row = bar.rowOf(r.item);
            QVERIFY(row);
            QCOMPARE(kindOf(row), static_cast<int>(r.kind));
        }
    }

    void removingTheLastFormDropsTheCategoryAndKeepsSelection() {
        guitest::Workspace ws(QStringLiteral("Demo"));
        ProjectTree& tree = ws.model().tree;
        CProjectBar bar(tree);
        int form = tree.addFormFile(ws.file(QStringLiteral("A.vff")).toStdString());
        int c = tree.addCFile(ws.file(QStringLiteral("b.c")).toStdString());
        bar.view()->setCurrentItem(bar.rowOf(c));
        bar.categoryRow(QStringLiteral("C Files"))->setExpanded(true);
        tree.remove(form);
        QVERIFY(!bar.categoryRow(QStringLiteral("Forms")));
        QCOMPARE(bar.selectedItem(), c);
        QVERIFY(bar.categoryRow(QStringLiteral("C Files"))->isExpanded());
        tree.clear();
        QCOMPARE(topLabels(bar), QStringList{QStringLiteral("No Project")});
    }

    void readOnlyFilesShowTheirOwnIcon() {
        guitest::Workspace ws(QStringLiteral("Demo"));
        ProjectTree& tree = ws.model().tree;
        guitest::writeText(ws.file(QStringLiteral("Ro.vff")), "");
        guitest::writeText(ws.file(QStringLiteral("Rw.vff")), "");
        fsys::setReadOnly(ws.file(QStringLiteral("Ro.vff")).toStdString(), true);
        CProjectBar bar(tree);
        int ro = tree.addFormFile(ws.file(QStringLiteral("Ro.vff")).toStdString());
        int rw = tree.addFormFile(ws.file(QStringLiteral("Rw.vff")).toStdString());
        QVERIFY(iconImage(bar.rowOf(ro)) != iconImage(bar.rowOf(rw)));
        QVERIFY(!bar.rowOf(rw)->icon(0).isNull());
        // Kinds look different from each other too.
        int cfile = tree.addCFile(ws.file(QStringLiteral("Rw.c")).toStdString());
        QVERIFY(iconImage(bar.rowOf(cfile)) != iconImage(bar.rowOf(rw)));
        fsys::setReadOnly(ws.file(QStringLiteral("Ro.vff")).toStdString(), false);
    }

    // The menu of the bar in the real main frame, with the frame's own commands.
    void contextMenuEnabling() {
        guitest::Workspace ws(QStringLiteral("Demo"));
        ProjectTree& tree = ws.model().tree;
        CMainFrame frame(*ws.manager, ws.ui, ws.settings);
        CProjectBar& bar = *frame.projectBar();
        auto enabled = [&bar](Command c) {
            for (QAction* a : bar.contextMenu()->actions())
                if (!a->isSeparator() && a->data().toInt() == static_cast<int>(c)) return a->isEnabled();
            return false;
        };
        // Remove: only kinds 3, 4, 5, 6, 7 and 9.
        int form = tree.addFormFile(ws.file(QStringLiteral("A.vff")).toStdString());
        int include = tree.addInclude(ws.file(QStringLiteral("I.vsl")).toStdString());
        int header = tree.addHeader(ws.file(QStringLiteral("h.h")).toStdString());
        int menuBar = tree.addMenuBar("Bar");
        tree.setSmallIcon(ws.file(QStringLiteral("S.vic")).toStdString());
        int icon = tree.itemsOfKind(ItemKind::SmallIcon).front()->item;
        bar.view()->setCurrentItem(bar.rowOf(form));
        QVERIFY(enabled(Command::RemoveProjectItem));
        bar.view()->setCurrentItem(bar.rowOf(menuBar));
        QVERIFY(enabled(Command::RemoveProjectItem));
        bar.view()->setCurrentItem(bar.rowOf(icon));
        QVERIFY(enabled(Command::RemoveProjectItem));
        bar.view()->setCurrentItem(bar.rowOf(include));
        QVERIFY(!enabled(Command::RemoveProjectItem));
        bar.view()->setCurrentItem(bar.rowOf(header));
        QVERIFY(!enabled(Command::RemoveProjectItem));
        bar.view()->setCurrentItem(bar.projectRow());
        QVERIFY(!enabled(Command::RemoveProjectItem));
        bar.view()->setCurrentItem(bar.categoryRow(QStringLiteral("Forms")));
        QVERIFY(!enabled(Command::RemoveProjectItem));

        // With an application file everything else is enabled ...
        for (Command c : {Command::AddFormFile, Command::ProjectSettings, Command::ProjectVariables,
                          Command::PrcSettings, Command::InstallSettings, Command::UpdateIncludes,
                          Command::CheckForDuplicates})
            QVERIFY2(enabled(c), qPrintable(CProjectBar::commandText(c)));
        // ... without one the last six are not.
        bar.setHasApplication([] { return false; });
        for (Command c : {Command::ProjectSettings, Command::ProjectVariables, Command::PrcSettings,
                          Command::InstallSettings, Command::UpdateIncludes, Command::CheckForDuplicates})
            QVERIFY(!enabled(c));
        QVERIFY(enabled(Command::AddIconFile));
        // A disabled entry does not run; an enabled one asks for its file.
        bar.runCommand(Command::ProjectVariables);
        QVERIFY(!QApplication::activeModalWidget());
        bar.runCommand(Command::AddCFile);
        QCOMPARE(ws.ui.dialogs.size(), std::size_t{1});
        QCOMPARE(ws.ui.dialogs.back().filter, std::string("CBuild C Files (*.c)|*.c||"));
        // Blocked while a tool runs; without a handler, disabled.
        bar.setCommandsBlocked(true);
        QVERIFY(!enabled(Command::AddFormFile));
        bar.setCommandsBlocked(false);
        bar.setHandler(Command::AddFormFile, {});
        QVERIFY(!enabled(Command::AddFormFile));
    }

    void doubleClickByKind() {
        guitest::Workspace ws(QStringLiteral("Demo"));
        ProjectTree& tree = ws.model().tree;
        CProjectBar bar(tree);
        int settingsOpened = 0;
        bar.setHandler(Command::ProjectSettings, [&] { ++settingsOpened; });
        QSignalSpy files(&bar, &CProjectBar::openFileRequested);
        QSignalSpy menus(&bar, &CProjectBar::menuBarRequested);
        int form = tree.addFormFile(ws.file(QStringLiteral("A.vff")).toStdString());
        int menuBar = tree.addMenuBar("Bar");

        bar.activateRow(bar.projectRow());
        QCOMPARE(settingsOpened, 1);
        bar.activateRow(bar.view()->topLevelItem(1));
        QCOMPARE(files.count(), 1);
        QCOMPARE(files.at(0).at(0).toString(), ws.file(QStringLiteral("Demo.vsl")));
        bar.activateRow(bar.rowOf(form));
        QCOMPARE(files.count(), 2);
        QCOMPARE(files.at(1).at(0).toString(), ws.file(QStringLiteral("A.vff")));
        bar.activateRow(bar.rowOf(menuBar));
        QCOMPARE(menus.count(), 1);
        QCOMPARE(menus.at(0).at(0).toString(), QStringLiteral("Bar"));
        // Categories open and close; they request nothing.
        bar.activateRow(bar.categoryRow(QStringLiteral("Forms")));
        QCOMPARE(files.count(), 2);
        QCOMPARE(settingsOpened, 1);

        // The view's own double-click signal reaches the same place.
        emit bar.view()->itemDoubleClicked(bar.rowOf(form), 0);
        QCOMPARE(files.count(), 3);
    }
};

QTEST_MAIN(ProjectBarTest)
#include "test_projectbar.moc"
