// The image editor in the real main window: bitmaps and icons open in image
// windows from Add Files and File > Open, the mouse draws with the tools,
// undo, a second bitmap type, paste with its question, and the saved file
// read back by netpbm's bmptopnm (each block) and palmtopnm (the records the
// build writes for the compiler); an existing icon added to the project
// becomes the application icon of its kind.
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMouseEvent>
#include <QSpinBox>
#include <QTimer>
#include <QWheelEvent>
#include <QtTest>

#include "GuiFixture.h"
#include "TestSupport.h"
#include "app/DocumentManager.h"
#include "build/BitmapDataLine.h"
#include "image/CBitmapPropertiesDlg.h"
#include "image/CImageColorBar.h"
#include "image/CVARNColorWell.h"
#include "image/CVARNImgFrame.h"
#include "image/CVARNImgView.h"
#include "image/DevicePalette.h"
#include "image/ImageBlockWriter.h"
#include "image/ImageCommands.h"
#include "project/ProjectCommands.h"

using namespace varn;

namespace {

std::string s(const QString& v) { return v.toStdString(); }

// A mouse event on the view at the centre of an image pixel.
void mouse(CVARNImgView& v, QEvent::Type type, Qt::MouseButton button, PixelPoint px) {
    const int z = v.editor().zoom();
    const QPointF at(px.x * z + z / 2, px.y * z + z / 2);
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent e(type, at, v.mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : button, held, Qt::NoModifier);
    QApplication::sendEvent(&v, &e);
}

void drag(CVARNImgView& v, PixelPoint from, PixelPoint to, Qt::MouseButton button = Qt::LeftButton) {
    mouse(v, QEvent::MouseMove, Qt::NoButton, from);
    mouse(v, QEvent::MouseButtonPress, button, from);
    mouse(v, QEvent::MouseMove, button, to);
    mouse(v, QEvent::MouseButtonRelease, button, to);
}

// The pixels an external reader sees in a file, as a buffer; empty when it failed.
PixelBuffer netpbmPixels(const std::string& command) {
    test::ProcessOutput out = test::runCommand(command + " | pnmtoplainpnm");
    std::istringstream in(out.out);
    std::string magic;
    int w = 0, h = 0, maxval = 1;
    in >> magic >> w >> h;
    if (out.status != 0 || !in) return {};
    if (magic != "P1")
        in >> maxval;
    else
        maxval = 255;
    PixelBuffer p(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            int r = 0, g = 0, b = 0;
            if (magic == "P1") {
                char bit = '0';
                in >> bit;
                r = g = b = bit == '1' ? 0 : 255;  // 1 is black
            } else if (magic == "P3") {
                in >> r >> g >> b;
            } else {
                in >> r;
                g = b = r;
            }
            const int scale = maxval > 0 ? maxval : 1;
            p.set(x, y,
                  Rgb{static_cast<std::uint8_t>(r * 255 / scale), static_cast<std::uint8_t>(g * 255 / scale),
                      static_cast<std::uint8_t>(b * 255 / scale)});
        }
    return in ? p : PixelBuffer{};
}

// Writes an image file of one white image, as the editor saves it.
void writeImage(Ui& ui, const QString& path, int w, int h, int depth, ImageDocType type = ImageDocType::Bitmap) {
    CVARNImgDoc doc(type);
    QVERIFY(doc.addImage(w, h, depth, ui) == 0);
    doc.capture();
    QVERIFY(writeImageFile(s(path), doc.images(), ui).ok());
}

// The image blocks of a .vbm file, each a BMP file of its own.
std::vector<std::string> splitBlocks(const std::string& bytes) {
    std::vector<std::string> out;
    std::size_t at = 0;
    while (at + 6 <= bytes.size()) {
        const std::size_t size = test::le32(bytes, at + 2);
        if (size == 0) break;
        out.push_back(bytes.substr(at, size));
        at += size;
    }
    return out;
}

}  // namespace

class ImageEditorTest : public QObject {
    Q_OBJECT
private slots:
    void drawUndoSecondTypeAndSave() {
        guitest::Window ws(QStringLiteral("Demo"));
        ImageCommands& images = ws.frame.imageCommands();
        const QString path = ws.file(QStringLiteral("Arrow.vbm"));
        // A missing bitmap added to the project is created and opened in an image window.
        QCOMPARE(ws.frame.commands().addFiles({s(path)}), 1);
        CVARNImgFrame* f = images.activeFrame();
        QVERIFY(f);
        QCOMPARE(f->panePath(), ws.model().tree.imagePathByBaseName("Arrow"));
        QVERIFY(images.imageMenu()->menuAction()->isVisible());
        QCOMPARE(images.typeBox()->currentText(), QStringLiteral("Color 32x22"));
        QVERIFY(images.colorBar()->isVisible());
        CVARNImgView& v = *f->view();
        QVERIFY(v.editor().zoom() >= 2);
        QCOMPARE(v.size(), QSize(32 * v.editor().zoom(), 22 * v.editor().zoom()));
        const Rgb ink = images.colours().foreground();
        QCOMPARE(ink, Rgb::fromPacked(ws.model().settings.defaultImageForeGroundColor));

        images.toolAction(ImageTool::Line)->trigger();
        drag(v, {1, 1}, {7, 4});
        const std::vector<PixelPoint> line = linePixels({1, 1}, {7, 4});
        for (PixelPoint p : line) QCOMPARE(f->document().surface()->at(p.x, p.y), ink);
        QVERIFY(ws.frame.documentManager().isModified(s(path)));
        QVERIFY(ws.frame.mdiArea()->activeSubWindow()->windowTitle().endsWith(QLatin1Char('*')));

        images.toolAction(ImageTool::SolidRectangle)->trigger();
        mouse(v, QEvent::MouseMove, Qt::NoButton, {20, 15});
        mouse(v, QEvent::MouseButtonPress, Qt::LeftButton, {20, 15});
        mouse(v, QEvent::MouseMove, Qt::LeftButton, {12, 10});
        QCOMPARE(images.positionLabel()->text(), QStringLiteral("Posn 12,10 Size 9x6"));
        mouse(v, QEvent::MouseButtonRelease, Qt::LeftButton, {12, 10});
        for (int y = 10; y <= 15; ++y)
            for (int x = 12; x <= 20; ++x) QCOMPARE(f->document().surface()->at(x, y), ink);
        QCOMPARE(f->document().surface()->at(21, 15), kWhite);

        images.action(QStringLiteral("Undo"))->trigger();
        QCOMPARE(f->document().surface()->at(15, 12), kWhite);
        QCOMPARE(f->document().surface()->at(7, 4), ink);
        const PixelBuffer colour = *f->document().surface();

        // A monochrome type beside the colour one: black on white, no colour bar, no dropper.
        images.action(QStringLiteral("New Bitmap Type"))->trigger();
        QCOMPARE(f->document().imageCount(), 2);
        QCOMPARE(images.typeBox()->count(), 2);
        QCOMPARE(images.typeBox()->currentText(), QStringLiteral("Monochrome 32x22"));
        QVERIFY(!images.colorBar()->isVisible());
        QVERIFY(!images.toolAction(ImageTool::Dropper)->isEnabled());
        QVERIFY(!images.action(QStringLiteral("New Bitmap Type"))->isEnabled());
        QVERIFY(images.action(QStringLiteral("Delete Bitmap Type"))->isEnabled());
        images.toolAction(ImageTool::HollowRectangle)->trigger();
        drag(v, {30, 20}, {2, 2});
        const PixelBuffer mono = *f->document().surface();
        QCOMPARE(mono.at(2, 2), kBlack);
        QCOMPARE(mono.at(3, 3), kWhite);

        QVERIFY(ws.frame.documentManager().save(s(path)));
        QVERIFY(!ws.frame.documentManager().isModified(s(path)));
        if (test::runCommand("command -v bmptopnm && command -v palmtopnm && command -v pnmtoplainpnm").status != 0)
            QSKIP("netpbm is not installed");
        const std::vector<std::string> blocks = splitBlocks(test::readBytes(s(path)));
        QCOMPARE(blocks.size(), std::size_t{2});
        const std::vector<PixelBuffer> expected = {colour, mono};
        for (std::size_t i = 0; i < blocks.size(); ++i) {
            const std::string bmp = s(ws.tmp.path()) + "/block" + std::to_string(i) + ".bmp";
            test::writeBytes(bmp, blocks[i]);
            QVERIFY2(netpbmPixels("bmptopnm " + test::shellQuote(bmp)) == expected[i], bmp.c_str());
        }
        // The records the compiler gets, read by the Palm bitmap reader.
        BitmapDataLine line2;
        const BitmapDataLine::Images loaded = BitmapDataLine::load(s(path));
        QVERIFY(loaded.colour && loaded.monochrome);
        const auto records = {std::pair{line2.colourRecord(*loaded.colour, false), colour},
                              std::pair{line2.monochromeRecord(*loaded.monochrome), mono}};
        int n = 0;
        for (const auto& [record, pixels] : records) {
            const std::string palm = s(ws.tmp.path()) + "/record" + std::to_string(n++) + ".palm";
            test::writeBytes(palm, std::string(record.begin(), record.end()));
            QVERIFY2(netpbmPixels("palmtopnm " + test::shellQuote(palm)) == pixels, palm.c_str());
        }
    }

    void pasteAsksStretchOrClipAndTheFileOpensFromFileOpen() {
        guitest::Window ws(QStringLiteral("Demo"));
        ImageCommands& images = ws.frame.imageCommands();
        const QString path = ws.file(QStringLiteral("Pic.vbm"));
        writeImage(ws.ui, path, 8, 8, 24);
        QVERIFY(ws.frame.openDocument(s(path)));
        CVARNImgFrame* f = images.activeFrame();
        QVERIFY(f);
        QVERIFY(!ws.frame.documentManager().view(s(path)));
        // Ctrl+wheel zooms in from the fitted zoom and out down to 1; the mouse follows.
        CVARNImgView& v = *f->view();
        const int fitted = v.editor().zoom();
        auto wheel = [&v](int delta) {
            QWheelEvent e(QPointF(1, 1), v.mapToGlobal(QPointF(1, 1)), {}, QPoint(0, delta), Qt::NoButton,
                          Qt::ControlModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(&v, &e);
        };
        wheel(120);
        QCOMPARE(v.editor().zoom(), fitted + 1);
        QCOMPARE(v.size(), QSize(8 * (fitted + 1), 8 * (fitted + 1)));
        for (int i = 0; i < fitted + 5; ++i) wheel(-120);
        QCOMPARE(v.editor().zoom(), 1);
        wheel(120);
        QCOMPARE(v.editor().zoom(), 2);

        QImage red(2, 3, QImage::Format_RGB32);
        red.fill(QColor(255, 0, 0));
        QApplication::clipboard()->setImage(red);
        int asked = 0;
        images.setPasteQuestion([&asked] {
            ++asked;
            return std::optional<PasteFit>(PasteFit::Clip);
        });
        images.toolAction(ImageTool::Select)->trigger();
        drag(*f->view(), {6, 6}, {3, 3});
        QCOMPARE(f->document().selection(), (SelectionRect{3, 3, 6, 6}));
        images.action(QStringLiteral("Paste"))->trigger();
        QCOMPARE(asked, 1);
        const PixelBuffer& sfc = *f->document().surface();
        QCOMPARE(sfc.at(3, 3), (Rgb{255, 0, 0}));
        QCOMPARE(sfc.at(4, 5), (Rgb{255, 0, 0}));
        QCOMPARE(sfc.at(5, 3), kWhite);  // clipped, not stretched
        QCOMPARE(f->document().selection(), (SelectionRect{0, 0, 7, 7}));

        // Delete clears and Ctrl+Z takes it back while the image has the focus;
        // Restore goes back to the file's image.
        ws.frame.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&ws.frame));
        f->view()->setFocus();
        QTest::keyClick(f->view(), Qt::Key_Delete);
        QCOMPARE(f->document().surface()->at(3, 3), kWhite);
        QTest::keyClick(f->view(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(f->document().surface()->at(3, 3), (Rgb{255, 0, 0}));
        images.action(QStringLiteral("Restore"))->trigger();
        QCOMPARE(f->document().surface()->at(3, 3), kWhite);
        // Closing without saving asks first.
        ws.frame.documentManager().setSaveQuestion([](const std::string&) { return Answer::No; });
        images.toolAction(ImageTool::Pencil)->trigger();
        drag(*f->view(), {0, 0}, {0, 0});
        QVERIFY(ws.frame.documentManager().isModified(s(path)));
        ws.frame.mdiArea()->closeAllSubWindows();
        QVERIFY(!images.activeFrame());
        QVERIFY(!images.imageMenu()->menuAction()->isVisible());
    }

    void addingAnExistingIconMakesItTheApplicationIconOfItsKind() {
        guitest::Window ws(QStringLiteral("Demo"));
        const QString big = ws.file(QStringLiteral("Big.vic"));
        const QString small = ws.file(QStringLiteral("Small.vic"));
        writeImage(ws.ui, big, 22, 22, 1, ImageDocType::Icon);
        writeImage(ws.ui, small, 15, 9, 1, ImageDocType::Icon);
        QCOMPARE(ws.frame.commands().addFiles({s(big), s(small)}), 2);
        QCOMPARE(ws.model().tree.largeIconPath(), s(big));
        QCOMPARE(ws.model().tree.smallIconPath(), s(small));
        QCOMPARE(ws.ui.texts(), std::vector<std::string>{});
        // Both are open in image windows, the last one active.
        CVARNImgFrame* f = ws.frame.imageCommands().activeFrame();
        QVERIFY(f);
        QCOMPARE(f->panePath(), s(small));
        QVERIFY(ws.frame.documentManager().pane(s(big)));
        QCOMPARE(f->document().iconKind(), IconKind::List);
    }

    // A colour icon drawn with colours from the colour bar; the picture of
    // the window is the screenshot "image-editor.png".
    void colourBarPicksAndTheIconPicture() {
        guitest::Window ws(QStringLiteral("Demo"));
        ws.frame.resize(1100, 760);
        ImageCommands& images = ws.frame.imageCommands();
        const QString path = ws.file(QStringLiteral("Logo.vic"));
        writeImage(ws.ui, path, 22, 22, 24, ImageDocType::Icon);
        QVERIFY(ws.frame.openDocument(s(path)));
        CVARNImgFrame* f = images.activeFrame();
        QVERIFY(f);
        f->parentWidget()->showMaximized();
        CVARNImgView& v = *f->view();
        QVERIFY(v.editor().zoom() >= 2);
        CVARNColorWell& well = *images.colorBar()->well();
        auto pick = [&](int cell, Qt::MouseButton button) {
            QTest::mouseClick(&well, button, {}, well.cellRect(cell).center());
        };
        const DevicePalette& pal = DevicePalette::palm();
        pick(5, Qt::LeftButton);
        QCOMPARE(images.colours().foreground(), pal.entry(53));
        QCOMPARE(ws.model().settings.defaultImageForeGroundColor, pal.entry(53).packed());
        pick(19, Qt::RightButton);
        QCOMPARE(images.colours().background(), pal.entry(255));
        QTest::mouseClick(&well, Qt::LeftButton, {}, well.fixedSwatchRect().center());
        QCOMPARE(images.colours().foreground(), (Rgb{0x00, 0x80, 0x80}));

        images.toolAction(ImageTool::SolidEllipse)->trigger();
        drag(v, {2, 2}, {19, 19});
        pick(15, Qt::LeftButton);
        images.toolAction(ImageTool::Fill)->trigger();
        drag(v, {0, 0}, {0, 0});
        QCOMPARE(f->document().surface()->at(0, 0), pal.entry(120));
        QCOMPARE(f->document().surface()->at(10, 10), (Rgb{0x00, 0x80, 0x80}));
        images.toolAction(ImageTool::HollowRectangle)->trigger();
        drag(v, {7, 7}, {14, 14}, Qt::RightButton);
        QCOMPARE(f->document().surface()->at(7, 10), kBlack);
        images.toolAction(ImageTool::Brush)->trigger();
        pick(13, Qt::LeftButton);
        drag(v, {10, 10}, {11, 11});
        QCOMPARE(f->document().surface()->at(11, 11), pal.entry(125));
        // The dropper takes a pixel's colour back.
        images.toolAction(ImageTool::Dropper)->trigger();
        drag(v, {0, 0}, {0, 0}, Qt::RightButton);
        QCOMPARE(images.colours().background(), pal.entry(120));
        images.toolAction(ImageTool::Pencil)->trigger();
        images.updateCommands();
        QVERIFY(images.colorBar()->isVisible());
        QVERIFY2(v.picture().pixelColor(2 * v.editor().zoom() - 1, 0) == QColor(Qt::black), "the grid");
        guitest::screenshot(ws.frame, QStringLiteral("image-editor.png"));

        // Bitmap Properties replaces the images by one of the new size and depth,
        // remembered in the project for the next new bitmap.
        QTimer::singleShot(0, [] {
            auto* dlg = qobject_cast<CBitmapPropertiesDlg*>(QApplication::activeModalWidget());
            if (!dlg) return;
            dlg->colorBox()->setCurrentIndex(1);
            dlg->accept();
        });
        images.action(QStringLiteral("Bitmap Properties..."))->trigger();
        QCOMPARE(f->document().imageCount(), 1);
        QCOMPARE(f->document().images()[0].descriptor, (ImageDescriptor{22, 22, 1}));
        QCOMPARE(ws.model().settings.lastBitmapColorDepth, 1);
        QCOMPARE(ws.model().settings.lastBitmapWidth, 22);
        QVERIFY(!images.colorBar()->isVisible());
        QCOMPARE(images.colours().foreground(), kBlack);
        QCOMPARE(f->document().surface()->at(10, 10), kWhite);

        // The properties of an icon keep its size; sizes stay within 1..1000.
        CBitmapPropertiesDlg dlg(22, 22, false, true);
        QVERIFY(!dlg.widthBox()->isEnabled());
        QCOMPARE(dlg.widthBox()->maximum(), 1000);
        QCOMPARE(dlg.heightBox()->minimum(), 1);
    }

    void readOnlyFileIsNotWrittenAndKeepsTheDrawing() {
        guitest::Window ws(QStringLiteral("Demo"));
        const QString path = ws.file(QStringLiteral("Locked.vbm"));
        writeImage(ws.ui, path, 4, 4, 24);
        const QByteArray before = guitest::bytesOf(path);
        QFile::setPermissions(path, QFileDevice::ReadOwner);
        QVERIFY(ws.frame.openDocument(s(path)));
        CVARNImgFrame* f = ws.frame.imageCommands().activeFrame();
        QVERIFY(f);
        QVERIFY(ws.frame.mdiArea()->activeSubWindow()->windowTitle().contains(QStringLiteral("(read-only)")));
        drag(*f->view(), {1, 1}, {2, 2});
        ws.frame.documentManager().saveActive();
        QCOMPARE(ws.ui.texts().back(), std::string("The file can not be saved because it is marked read-only"));
        QCOMPARE(guitest::bytesOf(path), before);
        QCOMPARE(f->document().surface()->at(2, 2), images(ws).colours().foreground());
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }

private:
    static ImageCommands& images(guitest::Window& ws) { return ws.frame.imageCommands(); }
};

QTEST_MAIN(ImageEditorTest)
#include "test_imageeditor.moc"
