#include "image/ImageCommands.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QStatusBar>
#include <QToolBar>

#include "app/CVarnIdeApp.h"
#include "app/DocumentManager.h"
#include "convert/CImportImage.h"
#include "image/CBitmapPropertiesDlg.h"
#include "image/CImageColorBar.h"
#include "image/CImgPasteDlg.h"
#include "image/CVARNImgFrame.h"
#include "image/CVARNImgView.h"
#include "image/ImageEditor.h"
#include "platform/SettingsStore.h"
#include "project/VARNWorkspaceManager.h"

namespace varn {

namespace {

constexpr const char* kSettings = "Settings";

QString q(const char* s) { return QString::fromLatin1(s); }

QString plain(QString text) {
    text.remove(QLatin1Char('&'));
    return text;
}

// A small picture of each tool for the tool box.
QIcon toolIcon(ImageTool t) {
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setPen(QPen(Qt::black, 1));
    switch (t) {
        case ImageTool::Pencil:
            p.setBrush(QColor(0xFF, 0xCC, 0x00));
            p.drawPolygon(QPolygon({QPoint(4, 9), QPoint(11, 2), QPoint(13, 4), QPoint(6, 11)}));
            p.setBrush(Qt::black);
            p.drawPolygon(QPolygon({QPoint(4, 9), QPoint(6, 11), QPoint(2, 13)}));
            break;
        case ImageTool::Brush:
            p.fillRect(4, 4, 8, 8, Qt::black);
            break;
        case ImageTool::Line:
            p.drawLine(2, 13, 13, 2);
            break;
        case ImageTool::HollowRectangle:
            p.drawRect(2, 3, 11, 9);
            break;
        case ImageTool::SolidRectangle:
            p.fillRect(2, 3, 12, 10, Qt::black);
            break;
        case ImageTool::HollowEllipse:
            p.drawEllipse(1, 3, 13, 9);
            break;
        case ImageTool::SolidEllipse:
            p.setBrush(Qt::black);
            p.drawEllipse(1, 3, 13, 9);
            break;
        case ImageTool::Fill:
            p.setBrush(QColor(0, 0x99, 0x99));
            p.drawPolygon(QPolygon({QPoint(2, 8), QPoint(8, 2), QPoint(14, 8), QPoint(8, 14)}));
            break;
        case ImageTool::Dropper:
            p.drawLine(2, 13, 10, 5);
            p.fillRect(10, 2, 4, 4, Qt::black);
            break;
        case ImageTool::Select:
            p.setPen(QPen(Qt::black, 1, Qt::DashLine));
            p.drawRect(2, 2, 11, 11);
            break;
    }
    return QIcon(pm);
}

void setPrompt(QAction* a, const char* prompt) {
    const QString text = QString::fromLatin1(prompt);
    const int nl = text.indexOf(QLatin1Char('\n'));
    a->setStatusTip(text.left(nl));
    a->setToolTip(nl < 0 ? text : text.mid(nl + 1));
}

}  // namespace

ImageCommands::ImageCommands(QMainWindow& window, QMdiArea& area, DocumentManager& documents,
                             VARNWorkspaceManager& workspace, SettingsStore& settings, Ui& ui)
    : QObject(&window),
      window_(window),
      area_(area),
      documents_(documents),
      workspace_(workspace),
      settings_(settings),
      ui_(ui) {
    CVARNImgView::setGridEnabled(grid());
    auto opener = [this](const std::string& path) { return openFrame(path); };
    documents_.setPaneOpener(DocumentTemplate::Bitmap, opener);
    documents_.setPaneOpener(DocumentTemplate::Icon, opener);
    connect(&area_, &QMdiArea::subWindowActivated, this, &ImageCommands::activated);
    pasteQuestion_ = [this]() -> std::optional<PasteFit> {
        CImgPasteDlg dlg(&window_);
        if (dlg.exec() != QDialog::Accepted) return std::nullopt;
        return dlg.fit();
    };
}

ImageCommands::~ImageCommands() = default;

bool ImageCommands::grid() const {
    return app_ ? app_->imgGridEnabled : settings_.getInt(kSettings, "ImgGridEnabled", 1) != 0;
}

void ImageCommands::setGrid(bool on) {
    if (app_) app_->imgGridEnabled = on;
    settings_.setInt(kSettings, "ImgGridEnabled", on ? 1 : 0);
    CVARNImgView::setGridEnabled(on);
}

int ImageCommands::brushSize() const {
    const int n = app_ ? app_->imgBrushSize : settings_.getInt(kSettings, "ImgBrushSize", ImageEditor::kMinBrush);
    return std::clamp(n, ImageEditor::kMinBrush, ImageEditor::kMaxBrush);
}

void ImageCommands::setBrushSize(int n) {
    if (app_) app_->imgBrushSize = n;
    settings_.setInt(kSettings, "ImgBrushSize", n);
}

QWidget* ImageCommands::openFrame(const std::string& path) {
    auto* f = new CVARNImgFrame(CVARNImgDoc::typeForPath(path), ui_, workspace_.project(), colours_);
    if (!f->openFile(path)) {
        delete f;
        return nullptr;
    }
    f->editor().setBrushSize(brushSize());
    for (QAction* a : frameActions_) f->addAction(a);
    connect(f, &CVARNImgFrame::statusChanged, this, [this](const QString& text) {
        if (position_) position_->setText(text);
    });
    connect(f, &CVARNImgFrame::coloursPicked, this, [this] {
        if (colorBar_) colorBar_->showColours(colours_);
    });
    if (frameOpened_) frameOpened_(*f);
    return f;
}

QAction* ImageCommands::add(QMenu& menu, const char* text, const char* prompt, const QKeySequence& key,
                            std::function<void()> body) {
    QAction* a = menu.addAction(q(text));
    if (prompt) setPrompt(a, prompt);
    if (!key.isEmpty()) a->setShortcut(key);
    // The keys work while the focus is in an image window (each window adds
    // the actions), so Delete or Ctrl+C elsewhere never reach the image.
    a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(a, &QAction::triggered, this, [this, body = std::move(body)] {
        if (activeFrame()) body();
        updateCommands();
    });
    frameActions_.push_back(a);
    return a;
}

void ImageCommands::createActions(QMenuBar& bar, QAction* before, QMenu& view) {
    menu_ = new QMenu(QStringLiteral("&Image"), &bar);
    menu_->setObjectName(QStringLiteral("ImageMenu"));
    bar.insertMenu(before, menu_);

    toolGroup_ = new QActionGroup(this);
    for (const ImageToolInfo& info : kImageTools) {
        const ImageTool t = info.tool;
        QAction* a = add(*menu_, info.menuText, info.prompt, {}, [this, t] { activeFrame()->editor().setTool(t); });
        a->setCheckable(true);
        a->setIcon(toolIcon(t));
        toolGroup_->addAction(a);
        toolActions_.push_back(a);
    }
    menu_->addSeparator();
    gridAction_ = add(*menu_, "&Grid", "Toggles the image drawing grid\nGrid", {}, [this] {
        setGrid(!grid());
        if (CVARNImgFrame* f = activeFrame()) f->view()->update();
        for (QMdiSubWindow* w : area_.subWindowList())
            if (auto* f = qobject_cast<CVARNImgFrame*>(w->widget())) f->view()->update();
    });
    gridAction_->setCheckable(true);
    // The grid is the application's: it can be switched without an image window.
    gridAction_->setIcon([] {
        QPixmap pm(16, 16);
        pm.fill(Qt::white);
        QPainter p(&pm);
        for (int i = 3; i < 16; i += 4) {
            p.drawLine(i, 0, i, 15);
            p.drawLine(0, i, 15, i);
        }
        return QIcon(pm);
    }());
    menu_->addSeparator();
    auto* sizeGroup = new QActionGroup(this);
    for (int n = ImageEditor::kMinBrush; n <= ImageEditor::kMaxBrush; ++n) {
        const std::string text = "&" + std::to_string(n) + "x" + std::to_string(n);
        QAction* a =
            add(*menu_, text.c_str(), nullptr, QKeySequence(Qt::CTRL | static_cast<Qt::Key>(Qt::Key_0 + n)), [this, n] {
                setBrushSize(n);
                activeFrame()->editor().setBrushSize(n);
            });
        a->setCheckable(true);
        sizeGroup->addAction(a);
        brushActions_[n] = a;
    }
    menu_->addSeparator();
    add(*menu_, "&Undo", nullptr, QKeySequence(Qt::CTRL | Qt::Key_Z), [this] { undo(); });
    add(*menu_, "&Copy", nullptr, QKeySequence(Qt::CTRL | Qt::Key_C), [this] { copy(); });
    add(*menu_, "&Paste", nullptr, QKeySequence(Qt::CTRL | Qt::Key_V), [this] { paste(); });
    add(*menu_, "C&lear", "Clear the image\nClear Image", QKeySequence(Qt::Key_Delete), [this] { clear(); });
    add(*menu_, "R&estore", "Restore the last saved image\nRestore Image", {}, [this] { restore(); });
    menu_->addSeparator();
    add(*menu_, "&Bitmap Properties...", "Edit the bitmap properties\nBitmap Properties", {},
        [this] { bitmapProperties(); });
    newType_ =
        add(*menu_, "&New Bitmap Type", "Create a new bitmap type\nNew Bitmap Type", {}, [this] { newBitmapType(); });
    deleteType_ = add(*menu_, "&Delete Bitmap Type", "Delete the current bitmap type\nDelete bitmap type", {},
                      [this] { deleteBitmapType(); });
    menu_->addSeparator();
    QAction* import = menu_->addAction(QStringLiteral("I&mport Image..."));
    setPrompt(import, "Convert a BMP file to a VARN image file\nImport Image");
    connect(import, &QAction::triggered, this, [this] {
        ProjectModel& p = workspace_.project();
        CImportImage::run(&window_, p.projectPath.empty() ? nullptr : &p, ui_);
    });

    // The tool box starts a row of its own.
    window_.addToolBarBreak();
    toolBox_ = window_.addToolBar(QStringLiteral("Image Tool Box"));
    toolBox_->setObjectName(QStringLiteral("ImageToolBox"));
    for (QAction* a : toolActions_) toolBox_->addAction(a);
    toolBox_->addAction(gridAction_);
    typeBox_ = new QComboBox(toolBox_);
    typeBox_->setObjectName(QStringLiteral("BitmapType"));
    typeBox_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    typeBox_->setMinimumContentsLength(static_cast<int>(std::string("Monochrome 1000x1000").size()));
    typeBox_->setStatusTip(QStringLiteral("List of bitmap types"));
    typeBox_->setToolTip(QStringLiteral("Bitmap Type"));
    connect(typeBox_, &QComboBox::activated, this, &ImageCommands::chooseType);
    toolBox_->addWidget(typeBox_);

    colorBar_ = new CImageColorBar(&window_);
    window_.addDockWidget(Qt::RightDockWidgetArea, colorBar_);
    colorBar_->hide();
    connect(colorBar_, &CImageColorBar::picked, this, [this](Rgb c, ColourSide side) {
        colours_.pick(c, side);
        colorBar_->showColours(colours_);
    });

    position_ = new QLabel(&window_);
    position_->setObjectName(QStringLiteral("ImagePosition"));
    position_->setMinimumWidth(position_->fontMetrics().horizontalAdvance(QStringLiteral("Posn 999,999 Size 999x999")));
    window_.statusBar()->addPermanentWidget(position_);

    view.addAction(toolBox_->toggleViewAction());
    view.addAction(colorBar_->toggleViewAction());
    updateCommands();
}

QAction* ImageCommands::action(const QString& text) const {
    for (QAction* a : frameActions_)
        if (plain(a->text()) == text) return a;
    return nullptr;
}

CVARNImgFrame* ImageCommands::activeFrame() const {
    QMdiSubWindow* w = area_.activeSubWindow();
    if (!w) w = area_.currentSubWindow();
    return w && !w->isHidden() ? qobject_cast<CVARNImgFrame*>(w->widget()) : nullptr;
}

void ImageCommands::updateCommands() {
    if (!menu_) return;
    CVARNImgFrame* f = activeFrame();
    for (QAction* a : frameActions_) a->setEnabled(f != nullptr);
    menu_->menuAction()->setVisible(f != nullptr);
    gridAction_->setChecked(grid());
    gridAction_->setEnabled(true);
    const int n = brushSize();
    for (auto& [size, a] : brushActions_) a->setChecked(size == n);
    if (!f) {
        if (position_) position_->clear();
        return;
    }
    const ImageEditor& e = f->editor();
    toolAction(e.tool())->setChecked(true);
    toolAction(ImageTool::Dropper)->setEnabled(e.toolEnabled(ImageTool::Dropper));
    newType_->setEnabled(e.canAddBitmapType());
    deleteType_->setEnabled(e.canDeleteBitmapType());
}

void ImageCommands::fillTypeBox() {
    typeBox_->clear();
    CVARNImgFrame* f = activeFrame();
    if (!f) return;
    for (const ImageRecord& r : f->document().images())
        typeBox_->addItem(QString::fromStdString(ImageEditor::typeLabel(r)));
    typeBox_->setCurrentIndex(f->document().currentIndex());
}

void ImageCommands::showImageState(CVARNImgFrame& f) {
    ProjectSettings& s = workspace_.project().settings;
    colours_.bind(&s.defaultImageForeGroundColor, &s.defaultImageBackGroundColor);
    const bool mono = f.editor().currentIsMonochrome();
    colours_.activate(mono);
    colorBar_->showColours(colours_);
    colorBar_->setVisible(!mono);
    fillTypeBox();
}

void ImageCommands::activated(QMdiSubWindow* w) {
    auto* f = w ? qobject_cast<CVARNImgFrame*>(w->widget()) : nullptr;
    if (!typeBox_) return;
    if (!f) {
        typeBox_->clear();
        updateCommands();
        return;
    }
    f->editor().setBrushSize(brushSize());
    showImageState(*f);
    if (auto text = f->editor().takeStatus(true)) position_->setText(QString::fromStdString(*text));
    updateCommands();
}

void ImageCommands::afterCommand(CVARNImgFrame& f, bool refitAndState) {
    if (refitAndState) {
        showImageState(f);
        f.documentChanged();
    } else {
        f.view()->update();
        if (f.paneChanged) f.paneChanged();
    }
}

void ImageCommands::undo() {
    CVARNImgFrame* f = activeFrame();
    f->document().undo();
    afterCommand(*f, false);
}

void ImageCommands::copy() {
    CVARNImgFrame* f = activeFrame();
    f->document().copySelection([](const PixelBuffer& piece) {
        QApplication::clipboard()->setImage(CVARNImgView::imageOf(piece));
        return true;
    });
    afterCommand(*f, false);
}

void ImageCommands::paste() {
    CVARNImgFrame* f = activeFrame();
    ClipboardImage clip;
    const QImage img = QApplication::clipboard()->image();
    if (!img.isNull()) clip.bitmap = CVARNImgView::bufferOf(img);
    f->document().paste(clip, ui_, pasteQuestion_);
    afterCommand(*f, false);
}

void ImageCommands::clear() {
    CVARNImgFrame* f = activeFrame();
    f->document().clear();
    afterCommand(*f, false);
}

void ImageCommands::restore() {
    CVARNImgFrame* f = activeFrame();
    f->document().restore();
    afterCommand(*f, true);
}

void ImageCommands::bitmapProperties() {
    CVARNImgFrame* f = activeFrame();
    CVARNImgDoc& doc = f->document();
    const PixelBuffer* s = doc.surface();
    CBitmapPropertiesDlg dlg(s ? s->width() : 32, s ? s->height() : 22, f->editor().currentIsMonochrome(),
                             doc.isIconDocument(), &window_);
    if (dlg.exec() != QDialog::Accepted) return;
    ProjectSettings& settings = workspace_.project().settings;
    settings.lastBitmapWidth = dlg.imageWidth();
    settings.lastBitmapHeight = dlg.imageHeight();
    settings.lastBitmapColorDepth = dlg.monochrome() ? 1 : 0;
    doc.replaceWithNewImage(dlg.imageWidth(), dlg.imageHeight(), dlg.depth(), ui_);
    afterCommand(*f, true);
}

void ImageCommands::newBitmapType() {
    CVARNImgFrame* f = activeFrame();
    if (!f->editor().canAddBitmapType()) return;
    f->document().addBitmapType(ui_);
    afterCommand(*f, true);
}

void ImageCommands::deleteBitmapType() {
    CVARNImgFrame* f = activeFrame();
    if (!f->editor().canDeleteBitmapType()) return;
    f->document().deleteBitmapType();
    afterCommand(*f, true);
}

void ImageCommands::chooseType(int index) {
    CVARNImgFrame* f = activeFrame();
    if (!f || index == f->document().currentIndex()) return;
    f->document().switchImage(index);
    afterCommand(*f, true);
    updateCommands();
}

}  // namespace varn
