// The form designer in the real main window: controls added with the tool
// buttons and a click, a drag on the snapping grid, the rubber band, align and
// undo, copy and paste between two forms, the save written as the golden form
// file, and the read-only and close rules of the form window.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QSpinBox>
#include <QToolBar>
#include <QtTest>

#include "GuiFixture.h"
#include "TestSupport.h"
#include "app/DocumentManager.h"
#include "app/WindowState.h"
#include "build/ProjectBuilder.h"
#include "form/CVARNfbPropertySheet.h"
#include "form/CVARNfbView.h"
#include "form/FormCommands.h"
#include "form/FormPreviews.h"
#include "image/CVARNImgDoc.h"
#include "image/ImageBlockWriter.h"
#include "platform/FileSystem.h"
#include "project/ProjectCommands.h"
#include "project/ProjectTree.h"
#include "project/SettingsNode.h"

using namespace varn;

namespace {

using C = DesignerCommand;

std::string s(const QString& v) { return v.toStdString(); }

// 23 March 2004, 14:05:09 UTC.
constexpr std::time_t kFixedTime = 1080050709;

// A new form added to the project: it opens in the designer.
CVARNfbView& newForm(guitest::Window& ws, const QString& name) {
    const std::string path = s(ws.file(name));
    ws.frame.commands().addFile(path);
    CVARNfbView* v = ws.frame.formCommands().view(path);
    if (!v) qFatal("the form did not open in the designer");
    v->doc().setClock([] { return kFixedTime; });
    ws.frame.activateWindow();
    if (!QTest::qWaitForWindowActive(&ws.frame)) qFatal("the main window is not active");
    return *v;
}

void clickTool(FormCommands& forms, C command) {
    QTest::mouseClick(forms.controlsBar()->widgetForAction(forms.action(command)), Qt::LeftButton);
}

// A press at form pixel (x, y), a move to (x2, y2) and the release there.
void drag(CVARNfbView& v, int x, int y, int x2, int y2, Qt::KeyboardModifiers mods = {}) {
    QTest::mousePress(v.surface(), Qt::LeftButton, mods, v.surfacePoint(x, y));
    QTest::mouseMove(v.surface(), v.surfacePoint((x + x2) / 2, (y + y2) / 2));
    QTest::mouseMove(v.surface(), v.surfacePoint(x2, y2));
    QTest::mouseRelease(v.surface(), Qt::LeftButton, mods, v.surfacePoint(x2, y2));
}

CVARNFBControl& place(guitest::Window& ws, CVARNfbView& v, C tool, int x, int y) {
    clickTool(ws.frame.formCommands(), tool);
    QTest::mouseClick(v.surface(), Qt::LeftButton, {}, v.surfacePoint(x, y));
    return *v.doc().controls().back();
}

}  // namespace

class FormDesignerTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        setenv("TZ", "UTC", 1);
        tzset();
        ControlCounter::reset(0);
    }

    // The Demo project's Windows forms are 320 pixels for 160 units: 2 pixels a unit.
    void everyKindByToolButtonAndClickSavesTheGoldenForm() {
        guitest::Window ws(QStringLiteral("Demo"));
        FormCommands& forms = ws.frame.formCommands();
        CVARNfbView& v = newForm(ws, QStringLiteral("Main.vff"));
        QCOMPARE(forms.activeView(), &v);
        QCOMPARE(forms.objectSelector()->count(), 1);  // the new form's frame

        const struct {
            C tool;
            int x, y, kind;
        } table[] = {
            {C::AddButton, 20, 40, kind::Button},      {C::AddCheckbox, 120, 40, kind::Checkbox},
            {C::AddLabel, 20, 70, kind::Label},        {C::AddText, 120, 70, kind::Text},
            {C::AddSelector, 20, 100, kind::Selector}, {C::AddFileSel, 160, 100, kind::FileSel},
            {C::AddGrid, 20, 200, kind::Grid},         {C::AddDropdown, 120, 160, kind::Dropdown},
        };
        for (const auto& row : table) {
            clickTool(forms, row.tool);
            QVERIFY(forms.action(row.tool)->isChecked());
            QVERIFY(!forms.action(C::Deselect)->isChecked());
            QTest::mouseClick(v.surface(), Qt::LeftButton, {}, v.surfacePoint(row.x, row.y));
            const CVARNFBControl& c = *v.doc().controls().back();
            QCOMPARE(c.kind, row.kind);
            QCOMPARE(c.rect().left * 1000 + c.rect().top, row.x * 1000 + row.y);  // whole units
            QVERIFY(CVARNfbView::previewOf(c)->isVisible());
            QVERIFY(forms.action(C::Deselect)->isChecked());
        }
        QCOMPARE(forms.objectSelector()->count(), 9);
        QCOMPARE(forms.objectSelector()->currentText(), QString::fromStdString(v.doc().controls().back()->name));
        QCOMPARE(ws.frame.findChild<QLabel*>(QStringLiteral("FormStatus"))->text(),
                 QStringLiteral("Posn 60,80 Size 60x%1").arg(v.doc().controls().back()->rect().height() / 2));
        QVERIFY(ws.frame.windowState().documentPath(*ws.frame.mdiArea()->activeSubWindow()).find("Main.vff") !=
                std::string::npos);
        QVERIFY(ws.frame.mdiArea()->activeSubWindow()->windowTitle().endsWith(QLatin1Char('*')));

        ws.frame.updateCommands();
        ws.frame.findChild<QAction*>(QStringLiteral("FileSave"))->trigger();
        QVERIFY(!v.designer().modified());
        QCOMPARE(guitest::bytesOf(ws.file(QStringLiteral("Main.vff"))),
                 guitest::bytesOf(QString::fromStdString(test::dataPath("form/designer/AllKinds.vff"))));
        // The compiler takes the form with the project.
        ws.frame.onCompile();
        QVERIFY(!ws.frame.builder().buildFailed());
        QVERIFY(guitest::bytesOf(ws.file(QStringLiteral("varn_c.opt"))).toLower().contains("main.vff"));
    }

    void dragSnapsToTheGridAndUndoPutsItBack() {
        guitest::Window ws(QStringLiteral("Demo"));
        FormCommands& forms = ws.frame.formCommands();
        CVARNfbView& v = newForm(ws, QStringLiteral("Main.vff"));
        CVARNFBControl& b = place(ws, v, C::AddButton, 30, 30);
        forms.action(C::ToggleGrid)->trigger();
        QVERIFY(forms.action(C::SnapToGrid)->isEnabled());
        forms.action(C::SnapToGrid)->trigger();
        QVERIFY(ws.model().settings.gridEnabled && ws.model().settings.snapToGrid);  // the project keeps them

        drag(v, 35, 35, 49, 35);  // left 30 + 14 = 44 snaps to 40
        QCOMPARE(b.rect().left, 40);
        drag(v, 45, 35, 51, 35);  // 46 snaps to 50
        QCOMPARE(b.rect().left, 50);
        forms.action(C::Undo)->trigger();
        QCOMPARE(b.rect().left, 40);
        QVERIFY(forms.action(C::Undo)->isEnabled());
        forms.action(C::Undo)->trigger();
        QCOMPARE(b.rect().left, 30);
        forms.setSpacingAsker([](int current) { return std::optional<int>(current * 2); });
        forms.action(C::GridSpacing)->trigger();
        QCOMPARE(ws.model().settings.gridSpacing, 20);
        forms.setSpacingAsker([](int) { return std::optional<int>(10); });
        forms.action(C::GridSpacing)->trigger();
        // The handle on the right edge resizes: 63 wide snaps to 60.
        drag(v, b.rect().right + 4, b.rect().top + b.rect().height() / 2, 30 + 67, 35);
        QCOMPARE(b.rect().width(), 60);
    }

    void rubberBandSelectsAlignsAndUndoes() {
        guitest::Window ws(QStringLiteral("Demo"));
        FormCommands& forms = ws.frame.formCommands();
        CVARNfbView& v = newForm(ws, QStringLiteral("Main.vff"));
        CVARNFBControl& label = place(ws, v, C::AddLabel, 30, 30);
        CVARNFBControl& text = place(ws, v, C::AddText, 60, 90);
        CVARNFBControl& button = place(ws, v, C::AddButton, 200, 200);
        drag(v, 15, 15, 190, 150);  // from empty space: the label and the text wholly inside
        QCOMPARE(v.designer().selection().count(), 2);
        QCOMPARE(v.designer().selection().dominant(), &label);
        QVERIFY(forms.action(C::AlignLeft)->isEnabled());
        QVERIFY(!forms.action(C::SpaceAcross)->isEnabled());
        forms.action(C::AlignLeft)->trigger();
        QCOMPARE(text.rect().left, 30);
        forms.action(C::Undo)->trigger();
        QCOMPARE(text.rect().left, 60);
        QCOMPARE(button.rect().left, 200);
        // Tab goes on in list order; Delete removes the selected control.
        QTest::keyClick(v.surface(), Qt::Key_Tab);
        QCOMPARE(v.designer().selection().dominant(), &text);
        QTest::keyClick(v.surface(), Qt::Key_Right, Qt::ShiftModifier);
        const std::string name = text.name;
        QCOMPARE(text.rect().width(), 122);
        QTest::keyClick(v.surface(), Qt::Key_Delete);
        QVERIFY(!v.doc().findByName(name));
        QCOMPARE(forms.objectSelector()->count(), 3);
    }

    void copyFromOneFormPasteIntoAnother() {
        guitest::Window ws(QStringLiteral("Demo"));
        FormCommands& forms = ws.frame.formCommands();
        CVARNfbView& a = newForm(ws, QStringLiteral("A.vff"));
        place(ws, a, C::AddButton, 30, 30);
        place(ws, a, C::AddGrid, 30, 90);
        QTest::keyClick(a.surface(), Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(a.designer().selection().count(), 2);
        QTest::keyClick(a.surface(), Qt::Key_C, Qt::ControlModifier);

        CVARNfbView& b = newForm(ws, QStringLiteral("B.vff"));
        QCOMPARE(forms.activeView(), &b);
        QVERIFY(forms.action(C::Paste)->isEnabled());
        QTest::keyClick(b.surface(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(b.doc().controls().size(), std::size_t(3));
        const CVARNFBControl& grid = *b.doc().controls().back();
        QCOMPARE(grid.kind, kind::Grid);
        QCOMPARE(grid.rect(), a.doc().controls().back()->rect());
        QCOMPARE(grid.cells.size(), std::size_t(3));
        QVERIFY(grid.name != a.doc().controls().back()->name);  // named afresh across the project
        QVERIFY(CVARNfbView::previewOf(*grid.cells.front())->isVisible());

        // A block cut short (a count and half a record) is refused, never read past.
        QByteArray cut("\x02\x00\x00\x00\x04\x00\x00\x00", 8);
        auto* data = new QMimeData;
        data->setData(SystemFormClipboard::mimeType(), cut);
        QApplication::clipboard()->setMimeData(data);
        QTest::keyClick(b.surface(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(ws.ui.lastText(), std::string("Could not paste, error 13"));
        QCOMPARE(b.doc().controls().size(), std::size_t(3));
    }

    void propertiesOnDoubleClickAndEnterAndTheObjectSelectorChooses() {
        guitest::Window ws(QStringLiteral("Demo"));
        FormCommands& forms = ws.frame.formCommands();
        CVARNfbView& v = newForm(ws, QStringLiteral("Main.vff"));
        CVARNFBControl& label = place(ws, v, C::AddLabel, 30, 30);
        CVARNFBControl& button = place(ws, v, C::AddButton, 30, 90);
        std::vector<CVARNFBControl*> asked;
        forms.setPropertiesHandler([&](CVARNfbView& view) { asked.push_back(view.designer().selection().dominant()); });
        QTest::mouseDClick(v.surface(), Qt::LeftButton, {}, v.surfacePoint(35, 95));
        QTest::keyClick(v.surface(), Qt::Key_Return);
        QTest::mouseDClick(v.surface(), Qt::LeftButton, {}, v.surfacePoint(300, 300));  // empty space
        QCOMPARE(asked, (std::vector<CVARNFBControl*>{&button, &button}));

        QComboBox* selector = forms.objectSelector();
        const int at = selector->findText(QString::fromStdString(label.name));
        selector->setCurrentIndex(at);
        emit selector->activated(at);
        QCOMPARE(v.designer().selection().dominant(), &label);
        QCOMPARE(v.designer().selection().count(), 1);
        QCOMPARE(ws.frame.findChild<QLabel*>(QStringLiteral("FormStatus"))->text(),
                 QStringLiteral("Posn 15,15 Size 40x12"));
    }

    // The main frame's own handler: a double-click opens the Object Properties
    // of the dominant control, and its OK changes the form.
    void doubleClickOpensTheObjectProperties() {
        guitest::Window ws(QStringLiteral("Demo"));
        CVARNfbView& v = newForm(ws, QStringLiteral("Main.vff"));
        place(ws, v, C::AddButton, 30, 90);
        QString title;
        QTimer::singleShot(0, [&] {
            auto* sheet = qobject_cast<CVARNfbPropertySheet*>(QApplication::activeModalWidget());
            if (!sheet) return;
            title = sheet->windowTitle();
            auto* size = qobject_cast<QSpinBox*>(sheet->field(0, QStringLiteral("Array Size")));
            if (size) size->setValue(3);
            sheet->accept();
        });
        QTest::mouseDClick(v.surface(), Qt::LeftButton, {}, v.surfacePoint(35, 95));
        QCOMPARE(title, QStringLiteral("Object Properties"));
        QCOMPARE(v.doc().controls().size(), std::size_t(4));  // the frame and three elements
        QVERIFY(v.designer().modified());
    }

    // File > Save As on a form asks for the name; the window follows it and
    // the old file stays as it was.
    void saveAsWritesTheFormUnderTheNewName() {
        guitest::Window ws(QStringLiteral("Demo"));
        CVARNfbView& v = newForm(ws, QStringLiteral("Main.vff"));
        const std::string old = s(ws.file(QStringLiteral("Main.vff")));
        const std::string before = *fsys::readFile(old);
        place(ws, v, C::AddButton, 30, 30);
        const std::string copy = s(ws.file(QStringLiteral("Copy.vff")));
        ws.ui.saveAnswers.push_back(copy);
        QVERIFY(ws.frame.documentManager().saveActiveAs());
        QCOMPARE(ws.ui.dialogs.back().title, std::string("Save As"));
        QCOMPARE(*fsys::readFile(old), before);
        QVERIFY(fsys::readFile(copy)->find("Button") != std::string::npos);
        QCOMPARE(ws.frame.documents().activePath(), copy);
        QVERIFY(!ws.frame.documents().isModified(copy));
    }

    // A label showing a project bitmap draws the bitmap's picture.
    void aLabelShowsItsBitmap() {
        guitest::Window ws(QStringLiteral("Demo"));
        const std::string arrow = s(ws.file(QStringLiteral("Arrow.vbm")));
        CVARNImgDoc red;
        QVERIFY(red.addImage(8, 8, 24, ws.ui) == 0);
        red.surface()->fill(Rgb{0xFF, 0, 0});
        red.capture();
        QVERIFY(writeImageFile(arrow, red.images(), ws.ui).ok());
        ws.model().tree.addImageFile(arrow);
        CVARNfbView& v = newForm(ws, QStringLiteral("Main.vff"));
        CVARNFBControl& label = place(ws, v, C::AddLabel, 40, 40);
        label.bitmap = "Arrow";
        v.repaintPreviews();
        const QImage shot = v.surface()->grab().toImage();
        const QPoint inside = v.surfacePoint(label.rect().left + 2, label.rect().top + 2);
        QCOMPARE(shot.pixelColor(inside), QColor(0xFF, 0, 0));
    }

    void readOnlyFormRefusesToSaveAndCloseAsks() {
        guitest::Window ws(QStringLiteral("Demo"));
        FormCommands& forms = ws.frame.formCommands();
        CVARNfbView& v = newForm(ws, QStringLiteral("Main.vff"));
        const std::string path = s(ws.file(QStringLiteral("Main.vff")));
        place(ws, v, C::AddButton, 30, 30);
        QVERIFY(ws.frame.documents().isModified(path));
        QCOMPARE(ws.frame.documents().modifiedDocuments(), std::vector<std::string>{path});
        const std::string before = *fsys::readFile(path);
        fsys::setReadOnly(path, true);
        QVERIFY(!ws.frame.documents().save(path));
        QCOMPARE(ws.ui.lastText(), std::string("The file can not be saved because it is marked read-only"));
        QVERIFY(ws.frame.mdiArea()->activeSubWindow()->windowTitle().contains(QStringLiteral(" (read-only)")));
        QCOMPARE(*fsys::readFile(path), before);
        QVERIFY(v.designer().modified());

        int asked = 0;
        ws.frame.documentManager().setSaveQuestion([&](const std::string&) {
            ++asked;
            return Answer::Cancel;
        });
        ws.frame.mdiArea()->activeSubWindow()->close();
        QCOMPARE(asked, 1);
        QCOMPARE(forms.view(path), &v);  // cancelled: the changes stay
        fsys::setReadOnly(path, false);
    }

    void aNewFormAsksForItsNameAndJoinsTheProjectOnFirstSave() {
        guitest::Window ws(QStringLiteral("Demo"));
        FormCommands& forms = ws.frame.formCommands();
        CVARNfbView* v = forms.newForm();
        QVERIFY(v->doc().frame());
        const std::string path = s(ws.file(QStringLiteral("Later.vff")));
        ws.ui.saveAnswers.push_back(path);
        ws.frame.updateCommands();
        ws.frame.findChild<QAction*>(QStringLiteral("FileSave"))->trigger();
        QVERIFY(fsys::exists(path));
        QCOMPARE(forms.view(path), v);
        QVERIFY(ws.model().tree.findPath(ItemKind::Form, path));  // "AddNewFile" is on by default
    }

    void aFormComesBackWithTheProjectsWindowState() {
        guitest::Window ws(QStringLiteral("Demo"));
        newForm(ws, QStringLiteral("Main.vff"));
        const std::string path = s(ws.file(QStringLiteral("Main.vff")));
        SettingsNode root("Workspace");
        ws.frame.windowState().saveWindowState(root, s(ws.projectFolder));
        ws.frame.documentManager().closeAll();
        QTRY_VERIFY(!ws.frame.formCommands().view(path));
        ws.frame.windowState().restoreWindowState(root);
        QVERIFY(ws.frame.formCommands().view(path));
    }

    void formsOpenInTheDesignerFromFileOpen() {
        guitest::Window ws(QStringLiteral("Demo"));
        const QString form = ws.file(QStringLiteral("Orders.vff"));
        QVERIFY(QFile::copy(QString::fromStdString(test::dataPath("form/grid/Orders.vff")), form));
        ws.ui.openAnswers.push_back({s(form)});
        QVERIFY(ws.frame.openDocument());
        CVARNfbView* v = ws.frame.formCommands().view(s(form));
        QVERIFY(v);
        QVERIFY(!ws.frame.documentManager().view(s(form)));  // not a text view
        QCOMPARE(ws.frame.documents().activePath(), s(form));
        QCOMPARE(ws.frame.documents().openForm(s(form)), &v->doc());
        v->setZoom(2.0);
        QCOMPARE(v->surface()->width(), v->doc().environment().pixelWidth * 2 + 2 * CVARNfbView::kMargin);
    }
};

QTEST_MAIN(FormDesignerTest)
#include "test_formdesigner.moc"
