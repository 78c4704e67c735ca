// The two conversion dialogs: "Convert VDI to PDB" (its start values, the two
// creator checks that keep it open on the creator field, a conversion that
// completes and leaves it open) and "Import Image" (the Import button, the
// image file proposed for a chosen BMP, an import that adds the image to the
// project and leaves the dialog open, a refused name).
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <cstdint>

#include "GuiFixture.h"
#include "app/RecordingUi.h"
#include "convert/BmpImport.h"
#include "convert/CImportImage.h"
#include "convert/CVDI2PDBDlg.h"
#include "convert/ConvertCommands.h"
#include "project/ProjectSettings.h"

using namespace varn;

namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

quint16 be16(const QByteArray& b, int at) {
    return static_cast<quint16>(static_cast<unsigned char>(b[at]) << 8 | static_cast<unsigned char>(b[at + 1]));
}

void le16(QByteArray& out, std::uint32_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
}
void le32(QByteArray& out, std::uint32_t v) {
    le16(out, v & 0xFFFF);
    le16(out, v >> 16);
}

// An uncompressed bottom-up BMP with a full colour table (none for 24 bits).
QByteArray bmpBytes(int width, int height, int bpp, int seed = 1) {
    const int entries = bpp <= 8 ? 1 << bpp : 0;
    const int stride = ((width * bpp + 31) / 32) * 4;
    const int pixels = stride * height;
    QByteArray body;
    le32(body, 40);
    le32(body, static_cast<std::uint32_t>(width));
    le32(body, static_cast<std::uint32_t>(height));
    le16(body, 1);
    le16(body, static_cast<std::uint32_t>(bpp));
    le32(body, 0);
    le32(body, static_cast<std::uint32_t>(pixels));
    le32(body, 2835);
    le32(body, 2835);
    le32(body, 0);
    le32(body, 0);
    for (int i = 0; i < entries; ++i) {
        body += static_cast<char>(i * 255 / (entries - 1));
        body += static_cast<char>(i * 255 / (entries - 1));
        body += static_cast<char>(i * 255 / (entries - 1));
        body += '\0';
    }
    for (int i = 0; i < pixels; ++i) body += static_cast<char>((i * 31 + seed * 17) & 0xFF);
    QByteArray file("BM");
    le32(file, static_cast<std::uint32_t>(14 + body.size()));
    le32(file, 0);
    le32(file, static_cast<std::uint32_t>(14 + 40 + 4 * entries));
    return file + body;
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

    void vdiStartsWithDefaults() {
        RecordingUi ui;
        CVDI2PDBDlg dlg(nullptr, ui);
        QCOMPARE(dlg.windowTitle(), QStringLiteral("Convert VDI to PDB"));
        QCOMPARE(dlg.creatorEdit()->text(), QStringLiteral("VARN"));
        QVERIFY(dlg.inputEdit()->text().isEmpty());
        QCOMPARE(dlg.nonBeamableBox()->text(), QStringLiteral("Non-beamable database"));
        QCOMPARE(dlg.backupBox()->text(), QStringLiteral("Set backup bit"));
        QVERIFY(!dlg.nonBeamableBox()->isChecked());
        QVERIFY(!dlg.backupBox()->isChecked());
        QCOMPARE(dlg.convertButton()->text(), QStringLiteral("&Convert"));
        QCOMPARE(dlg.exitButton()->text(), QStringLiteral("&Exit"));
    }

    void vdiCreatorStartsFromTheProject() {
        RecordingUi ui;
        ProjectSettings s;
        s.creatorID = "4162636a";
        s.changeDBCreatorID = true;
        {
            CVDI2PDBDlg dlg(&s, ui);
            QCOMPARE(dlg.creatorEdit()->text(), QStringLiteral("Abcj"));
        }
        s.creatorID = "4142434445";  // more than four characters: cut to four
        {
            CVDI2PDBDlg dlg(&s, ui);
            QCOMPARE(dlg.creatorEdit()->text(), QStringLiteral("ABCD"));
        }
        s.changeDBCreatorID = false;
        {
            CVDI2PDBDlg dlg(&s, ui);
            QCOMPARE(dlg.creatorEdit()->text(), QStringLiteral("VARN"));
        }
        s.changeDBCreatorID = true;
        s.creatorID.clear();
        {
            CVDI2PDBDlg dlg(&s, ui);
            QCOMPARE(dlg.creatorEdit()->text(), QStringLiteral("VARN"));
        }
        QVERIFY(ui.messages.empty());
    }

    void vdiBrowseFillsTheInput() {
        RecordingUi ui;
        ui.openAnswers.push_back({"/data/Sales.vdi"});
        CVDI2PDBDlg dlg(nullptr, ui);
        QTest::mouseClick(dlg.browseButton(), Qt::LeftButton);
        QCOMPARE(dlg.inputEdit()->text(), QStringLiteral("/data/Sales.vdi"));
        QCOMPARE(ui.dialogs.size(), std::size_t{1});
        QCOMPARE(q(ui.dialogs[0].filter), QStringLiteral("Database Files (*.vdi *.vdb)|*.vdi;*.vdb|"));
        // Cancelled: the input stays.
        ui.openAnswers.push_back({});
        QTest::mouseClick(dlg.browseButton(), Qt::LeftButton);
        QCOMPARE(dlg.inputEdit()->text(), QStringLiteral("/data/Sales.vdi"));
    }

    void vdiEmptyCreatorKeepsTheDialogOnTheCreator() {
        QTemporaryDir dir;
        const QString input = dir.filePath(QStringLiteral("Empty.vdi"));
        guitest::writeText(input, kEmptyTable);
        RecordingUi ui;
        CVDI2PDBDlg dlg(nullptr, ui);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowActive(&dlg));
        dlg.inputEdit()->setText(input);
        dlg.creatorEdit()->clear();
        dlg.convertButton()->setFocus();
        QTest::mouseClick(dlg.convertButton(), Qt::LeftButton);
        QCOMPARE(ui.messages.size(), std::size_t{1});
        QCOMPARE(q(ui.messages[0].text), QStringLiteral("The creator ID can not be empty."));
        QVERIFY(ui.messages[0].icon == MsgIcon::Error);
        QVERIFY(ui.messages[0].buttons == MsgButtons::YesNo);
        QVERIFY(dlg.isVisible());
        QVERIFY(dlg.creatorEdit()->hasFocus());
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("Empty.PDB"))));
    }

    void vdiLowerCaseCreatorAnsweredYesGoesBackToTheCreator() {
        QTemporaryDir dir;
        const QString input = dir.filePath(QStringLiteral("Empty.vdi"));
        guitest::writeText(input, kEmptyTable);
        RecordingUi ui;
        ui.answers.push_back(Answer::Yes);
        CVDI2PDBDlg dlg(nullptr, ui);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowActive(&dlg));
        dlg.inputEdit()->setText(input);
        dlg.creatorEdit()->setText(QStringLiteral("varn"));
        dlg.convertButton()->setFocus();
        QTest::mouseClick(dlg.convertButton(), Qt::LeftButton);
        QCOMPARE(ui.messages.size(), std::size_t{1});
        QCOMPARE(q(ui.messages[0].text), q(kCreatorNotUpper));
        QVERIFY(ui.messages[0].icon == MsgIcon::Warning);
        QVERIFY(ui.messages[0].buttons == MsgButtons::YesNo);
        QVERIFY(dlg.isVisible());
        QVERIFY(dlg.creatorEdit()->hasFocus());
        QCOMPARE(dlg.creatorEdit()->selectedText(), QStringLiteral("varn"));
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("Empty.PDB"))));
    }

    void vdiLowerCaseCreatorAnsweredNoConverts() {
        QTemporaryDir dir;
        const QString input = dir.filePath(QStringLiteral("Empty.vdi"));
        guitest::writeText(input, kEmptyTable);
        RecordingUi ui;
        ui.answers.push_back(Answer::No);
        CVDI2PDBDlg dlg(nullptr, ui);
        dlg.inputEdit()->setText(input);
        dlg.creatorEdit()->setText(QStringLiteral("varn"));
        QVERIFY(dlg.convert());
        QCOMPARE(ui.messages.size(), std::size_t{2});
        QCOMPARE(q(ui.lastText()), QStringLiteral("Conversion completed."));
        const QByteArray pdb = readAll(dir.filePath(QStringLiteral("Empty.PDB")));
        QCOMPARE(pdb.size(), 398);
        QCOMPARE(pdb.mid(64, 4), QByteArray("varn"));
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
        QCOMPARE(ui.messages.size(), std::size_t{1});
        QCOMPARE(q(ui.messages[0].text), QStringLiteral("Conversion completed."));
        QVERIFY(ui.messages[0].icon == MsgIcon::Information);
        QVERIFY(dlg.isVisible());
        QCOMPARE(dlg.result(), 0);
        const QByteArray pdb = readAll(dir.filePath(QStringLiteral("Empty.PDB")));
        QCOMPARE(pdb.size(), 398);
        QCOMPARE(pdb.left(6), QByteArray("Empty\0", 6));
        QCOMPARE(be16(pdb, 32), quint16{0x0048});
        QCOMPARE(pdb.mid(60, 8), QByteArray("USERTbl1"));
        // A second conversion from the same dialog, attributes off: the file is replaced.
        dlg.nonBeamableBox()->setChecked(false);
        dlg.backupBox()->setChecked(false);
        QTest::mouseClick(dlg.convertButton(), Qt::LeftButton);
        QCOMPARE(ui.messages.size(), std::size_t{2});
        QCOMPARE(q(ui.lastText()), QStringLiteral("Conversion completed."));
        QCOMPARE(be16(readAll(dir.filePath(QStringLiteral("Empty.PDB"))), 32), quint16{0});
        QVERIFY(dlg.isVisible());
        // Exit closes it.
        QTest::mouseClick(dlg.exitButton(), Qt::LeftButton);
        QVERIFY(!dlg.isVisible());
    }

    void vdiMissingInputShowsAnErrorAndStaysOpen() {
        QTemporaryDir dir;
        RecordingUi ui;
        CVDI2PDBDlg dlg(nullptr, ui);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        dlg.inputEdit()->setText(dir.filePath(QStringLiteral("Missing.vdi")));
        QVERIFY(!dlg.convert());
        QVERIFY(!ui.messages.empty());
        QVERIFY(q(ui.lastText()) != QStringLiteral("Conversion completed."));
        QVERIFY(dlg.isVisible());
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

    void importStartsEmptyWithImportDisabled() {
        RecordingUi ui;
        CImportImage dlg(nullptr, ui);
        QCOMPARE(dlg.windowTitle(), QStringLiteral("Import Image"));
        QCOMPARE(dlg.importButton()->text(), QStringLiteral("Import"));
        QCOMPARE(dlg.exitButton()->text(), QStringLiteral("Exit"));
        QVERIFY(dlg.importFileEdit()->text().isEmpty());
        QVERIFY(dlg.imageFileEdit()->text().isEmpty());
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
        const QByteArray colour = bmpBytes(32, 22, 24);
        guitest::writeText(bmp, colour);
        ws.ui.clear();
        ws.ui.openAnswers.push_back({bmp.toStdString()});

        CImportImage dlg(&model, ws.ui);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        QTest::mouseClick(dlg.importBrowseButton(), Qt::LeftButton);
        const QString image = ws.file(QStringLiteral("Photo.vbm"));
        QCOMPARE(dlg.imageFileEdit()->text(), image);
        QTest::mouseClick(dlg.importButton(), Qt::LeftButton);

        QCOMPARE(q(ws.ui.lastText()), QStringLiteral("Import complete."));
        QVERIFY(ws.ui.messages.back().icon == MsgIcon::Information);
        QCOMPARE(readAll(image), colour);
        const std::vector<std::string> images = model.tree.images();
        QVERIFY(std::find(images.begin(), images.end(), image.toStdString()) != images.end());
        QVERIFY(model.modified);
        QVERIFY(dlg.isVisible());
        QVERIFY(dlg.imported());

        // The monochrome image goes beside it, colour first.
        const QString mono = ws.file(QStringLiteral("PhotoMono.bmp"));
        const QByteArray monoBytes = bmpBytes(32, 22, 1);
        guitest::writeText(mono, monoBytes);
        dlg.importFileEdit()->setText(mono);
        QTest::mouseClick(dlg.importButton(), Qt::LeftButton);
        QCOMPARE(q(ws.ui.lastText()), QStringLiteral("Import complete."));
        QCOMPARE(readAll(image), colour + monoBytes);
        QVERIFY(dlg.isVisible());

        QTest::mouseClick(dlg.exitButton(), Qt::LeftButton);
        QVERIFY(!dlg.isVisible());
    }

    void importAddsTheDefaultExtension() {
        QTemporaryDir dir;
        const QString bmp = dir.filePath(QStringLiteral("Pic.bmp"));
        const QByteArray colour = bmpBytes(16, 16, 8);
        guitest::writeText(bmp, colour);
        RecordingUi ui;
        CImportImage dlg(nullptr, ui);
        dlg.importFileEdit()->setText(bmp);
        dlg.imageFileEdit()->setText(dir.filePath(QStringLiteral("Picture")));
        QVERIFY(dlg.importImage());
        QCOMPARE(q(ui.lastText()), QStringLiteral("Import complete."));
        QCOMPARE(dlg.imageFileEdit()->text(), dir.filePath(QStringLiteral("Picture.vbm")));
        QCOMPARE(readAll(dir.filePath(QStringLiteral("Picture.vbm"))), colour);
    }

    void importRefusesABadNameAndStaysOpen() {
        guitest::Workspace ws(QStringLiteral("Demo"));
        const QString bmp = ws.file(QStringLiteral("Photo.bmp"));
        guitest::writeText(bmp, bmpBytes(32, 22, 24));
        const std::size_t imagesBefore = ws.model().tree.images().size();
        ws.ui.clear();
        CImportImage dlg(&ws.model(), ws.ui);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        dlg.importFileEdit()->setText(bmp);
        const QString image = ws.file(QStringLiteral("my-photo.vbm"));
        dlg.imageFileEdit()->setText(image);
        QTest::mouseClick(dlg.importButton(), Qt::LeftButton);
        QCOMPARE(ws.ui.messages.size(), std::size_t{1});
        QCOMPARE(q(ws.ui.lastText()), QStringLiteral("Bitmap file names must follow VARN variable naming rules."));
        QVERIFY(ws.ui.messages[0].icon == MsgIcon::Error);
        QVERIFY(!QFile::exists(image));
        QCOMPARE(ws.model().tree.images().size(), imagesBefore);
        QVERIFY(dlg.isVisible());
        QVERIFY(!dlg.imported());
    }

    void importReportsAMissingImportFile() {
        QTemporaryDir dir;
        RecordingUi ui;
        CImportImage dlg(nullptr, ui);
        const QString missing = dir.filePath(QStringLiteral("Missing.bmp"));
        dlg.importFileEdit()->setText(missing);
        dlg.imageFileEdit()->setText(dir.filePath(QStringLiteral("Missing.vbm")));
        QVERIFY(!dlg.importImage());
        QCOMPARE(q(ui.lastText()), QStringLiteral("Could not open import file ") + missing);
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("Missing.vbm"))));
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
