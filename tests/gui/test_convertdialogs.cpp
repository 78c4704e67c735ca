// The two conversion dialogs wired to the conversion commands (whose rules are
// tested in core): "Convert VDI to PDB" (its start values, the creator checks
// that keep it open on the creator field, a conversion that completes and
// leaves it open) and "Import Image" (the Import button, the image file
// proposed for a chosen BMP, an import into the project, a refused name).
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "GuiFixture.h"
#include "ImageFiles.h"
#include "app/RecordingUi.h"
#include "convert/BmpImport.h"
#include "convert/CImportImage.h"
#include "convert/CVDI2PDBDlg.h"
#include "convert/ConvertCommands.h"
#include "project/ProjectSettings.h"

using namespace varn;

namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

using guitest::bytesOf;

// The big-endian attribute field of a database.
quint16 attributesOf(const QByteArray& pdb) {
    return static_cast<quint16>(static_cast<unsigned char>(pdb[32]) << 8 | static_cast<unsigned char>(pdb[33]));
}

// A table of two fields and no rows: a 398-byte database.
const QByteArray kEmptyTable =
    "VARN Data File\nTable: Empty\nWritten for the dialog tests\nFields: 2\nRecords: 0\nSyncPref: MERGE\n"
    "Field1:Amount: N Size:8\nField2:Label: S Size:20\n";

using guitest::screenshot;

}  // namespace

class ConvertDialogsTest : public QObject {
    Q_OBJECT

private slots:
    // ---- Convert VDI to PDB ----

    void vdiStartValuesAndBrowse() {
        RecordingUi ui;
        ProjectSettings s;
        s.creatorID = "4162636a";
        s.changeDBCreatorID = true;
        QCOMPARE(CVDI2PDBDlg(&s, ui).creatorEdit()->text(), QStringLiteral("Abcj"));
        ui.openAnswers.push_back({"/data/Sales.vdi"});
        CVDI2PDBDlg dlg(nullptr, ui);
        QCOMPARE(dlg.creatorEdit()->text(), QStringLiteral("VARN"));
        QVERIFY(dlg.inputEdit()->text().isEmpty());
        QVERIFY(!dlg.nonBeamableBox()->isChecked() && !dlg.backupBox()->isChecked());
        QTest::mouseClick(dlg.browseButton(), Qt::LeftButton);
        QCOMPARE(dlg.inputEdit()->text(), QStringLiteral("/data/Sales.vdi"));
        QCOMPARE(q(ui.dialogs.at(0).filter), QStringLiteral("Database Files (*.vdi *.vdb)|*.vdi;*.vdb|"));
        // Cancelled: the input stays.
        ui.openAnswers.push_back({});
        QTest::mouseClick(dlg.browseButton(), Qt::LeftButton);
        QCOMPARE(dlg.inputEdit()->text(), QStringLiteral("/data/Sales.vdi"));
        QVERIFY(ui.messages.empty());
    }

    // A refused creator keeps the dialog open with the creator field selected.
    void vdiCreatorChecksKeepTheDialogOnTheCreator_data() {
        QTest::addColumn<QString>("creator");
        QTest::addColumn<QString>("message");
        QTest::newRow("empty") << QString() << QStringLiteral("The creator ID can not be empty.");
        QTest::newRow("lower-case, change it") << QStringLiteral("varn") << q(kCreatorNotUpper);
    }
    void vdiCreatorChecksKeepTheDialogOnTheCreator() {
        QFETCH(QString, creator);
        QFETCH(QString, message);
        QTemporaryDir dir;
        const QString input = dir.filePath(QStringLiteral("Empty.vdi"));
        guitest::writeText(input, kEmptyTable);
        RecordingUi ui;
        ui.answers.push_back(Answer::Yes);
        CVDI2PDBDlg dlg(nullptr, ui);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowActive(&dlg));
        dlg.inputEdit()->setText(input);
        dlg.creatorEdit()->setText(creator);
        dlg.convertButton()->setFocus();
        QTest::mouseClick(dlg.convertButton(), Qt::LeftButton);
        QCOMPARE(ui.texts(), std::vector<std::string>{message.toStdString()});
        QVERIFY(dlg.isVisible());
        QVERIFY(dlg.creatorEdit()->hasFocus());
        QCOMPARE(dlg.creatorEdit()->selectedText(), creator);
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("Empty.PDB"))));
    }

    void vdiConversionCompletesAndStaysOpen() {
        QTemporaryDir dir;
        const QString input = dir.filePath(QStringLiteral("Empty.vdi"));
        guitest::writeText(input, kEmptyTable);
        RecordingUi ui;
        CVDI2PDBDlg dlg(nullptr, ui);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        dlg.inputEdit()->setText(input);
        dlg.creatorEdit()->setText(QStringLiteral("Tbl1"));
        dlg.nonBeamableBox()->setChecked(true);
        dlg.backupBox()->setChecked(true);
        QTest::mouseClick(dlg.convertButton(), Qt::LeftButton);
        QCOMPARE(ui.texts(), std::vector<std::string>{"Conversion completed."});
        QVERIFY(dlg.isVisible());
        QCOMPARE(dlg.result(), 0);
        QByteArray pdb = bytesOf(dir.filePath(QStringLiteral("Empty.PDB")));
        QCOMPARE(pdb.size(), 398);
        QCOMPARE(attributesOf(pdb), quint16{0x0048});
        QCOMPARE(pdb.mid(60, 8), QByteArray("USERTbl1"));
        // A second conversion from the same dialog, attributes off: the file is replaced.
        dlg.nonBeamableBox()->setChecked(false);
        dlg.backupBox()->setChecked(false);
        QTest::mouseClick(dlg.convertButton(), Qt::LeftButton);
        QCOMPARE(attributesOf(bytesOf(dir.filePath(QStringLiteral("Empty.PDB")))), quint16{0});
        QVERIFY(dlg.isVisible());
        QTest::mouseClick(dlg.exitButton(), Qt::LeftButton);
        QVERIFY(!dlg.isVisible());
    }

    void vdiScreenshot() {
        RecordingUi ui;
        CVDI2PDBDlg dlg(nullptr, ui);
        dlg.inputEdit()->setText(QStringLiteral("/home/user/data/Customers.vdi"));
        dlg.backupBox()->setChecked(true);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        screenshot(dlg, QStringLiteral("convert-vdi.png"));
    }

    // ---- Import Image ----

    void importButtonNeedsBothFiles() {
        RecordingUi ui;
        CImportImage dlg(nullptr, ui);
        QVERIFY(!dlg.importButton()->isEnabled());
        dlg.importFileEdit()->setText(QStringLiteral("/p/a.bmp"));
        QVERIFY(!dlg.importButton()->isEnabled());
        dlg.imageFileEdit()->setText(QStringLiteral("/p/a.vbm"));
        QVERIFY(dlg.importButton()->isEnabled());
        dlg.importFileEdit()->clear();
        QVERIFY(!dlg.importButton()->isEnabled());
    }

    void importProposesTheImageFileForAChosenBmp() {
        RecordingUi ui;
        ui.openAnswers.push_back({"/pictures/Sunset.bmp"});
        CImportImage dlg(nullptr, ui);
        QTest::mouseClick(dlg.importBrowseButton(), Qt::LeftButton);
        QCOMPARE(dlg.importFileEdit()->text(), QStringLiteral("/pictures/Sunset.bmp"));
        QCOMPARE(dlg.imageFileEdit()->text(), QStringLiteral("/pictures/Sunset.vbm"));
        QCOMPARE(q(ui.dialogs.at(0).filter), QStringLiteral("BMP Files (*.bmp)|*.bmp||"));
        QVERIFY(dlg.importButton()->isEnabled());
        // An image file already given is kept.
        ui.openAnswers.push_back({"/other/Moon.bmp"});
        QTest::mouseClick(dlg.importBrowseButton(), Qt::LeftButton);
        QCOMPARE(dlg.importFileEdit()->text(), QStringLiteral("/other/Moon.bmp"));
        QCOMPARE(dlg.imageFileEdit()->text(), QStringLiteral("/pictures/Sunset.vbm"));
        // The image chooser.
        ui.saveAnswers.push_back(std::string("/icons/Logo.vic"));
        QTest::mouseClick(dlg.imageBrowseButton(), Qt::LeftButton);
        QCOMPARE(dlg.imageFileEdit()->text(), QStringLiteral("/icons/Logo.vic"));
        QCOMPARE(q(ui.dialogs.back().filter), QStringLiteral("Bitmap Files (*.vbm)|*.vbm|Icon Files (*.vic)|*.vic||"));
    }

    void importAddsTheImageToTheProjectAndStaysOpen() {
        guitest::Workspace ws(QStringLiteral("Demo"));
        ProjectModel& model = ws.model();
        model.modified = false;
        const QString bmp = ws.file(QStringLiteral("Photo.bmp"));
        test::BmpBlock block;
        block.width = 32;
        block.height = 22;
        const QByteArray colour = QByteArray::fromStdString(block.bytes());
        guitest::writeText(bmp, colour);
        ws.ui.clear();
        CImportImage dlg(&model, ws.ui);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        dlg.importFileEdit()->setText(bmp);
        // A bad name is refused and the dialog stays open.
        dlg.imageFileEdit()->setText(ws.file(QStringLiteral("my-photo.vbm")));
        QTest::mouseClick(dlg.importButton(), Qt::LeftButton);
        QCOMPARE(ws.ui.texts(), std::vector<std::string>{"Bitmap file names must follow VARN variable naming rules."});
        QVERIFY(!QFile::exists(ws.file(QStringLiteral("my-photo.vbm"))));
        QVERIFY(dlg.isVisible() && !dlg.imported() && !model.modified);

        // Without an extension the image file takes ".vbm", shown in the dialog.
        ws.ui.clear();
        const QString image = ws.file(QStringLiteral("Photo.vbm"));
        dlg.imageFileEdit()->setText(ws.file(QStringLiteral("Photo")));
        QTest::mouseClick(dlg.importButton(), Qt::LeftButton);
        QCOMPARE(ws.ui.texts(), std::vector<std::string>{"Import complete."});
        QCOMPARE(dlg.imageFileEdit()->text(), image);
        QCOMPARE(bytesOf(image), colour);
        const std::vector<std::string> images = model.tree.images();
        QVERIFY(std::find(images.begin(), images.end(), image.toStdString()) != images.end());
        QVERIFY(model.modified);
        QVERIFY(dlg.isVisible() && dlg.imported());
        QTest::mouseClick(dlg.exitButton(), Qt::LeftButton);
        QVERIFY(!dlg.isVisible());
    }

    void importScreenshot() {
        RecordingUi ui;
        CImportImage dlg(nullptr, ui);
        dlg.importFileEdit()->setText(QStringLiteral("/home/user/pictures/Logo.bmp"));
        dlg.imageFileEdit()->setText(QStringLiteral("/home/user/projects/Demo/Logo.vbm"));
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        screenshot(dlg, QStringLiteral("import-bmp.png"));
    }
};

QTEST_MAIN(ConvertDialogsTest)
#include "test_convertdialogs.moc"
