// The image editor on the main window: bitmap and icon files open in image
// windows; the "Image" menu, the "Image Tool Box" toolbar with the "Bitmap
// Type" box, the "Image Color" bar and the "Posn" field of the status bar
// act on the active image window. The rules live in core's ImageEditor.
#pragma once

#include <QObject>
#include <functional>
#include <map>
#include <optional>
#include <vector>

#include "image/CVARNImgDoc.h"
#include "image/ImageColours.h"
#include "image/ImageTool.h"

class QAction;
class QActionGroup;
class QComboBox;
class QLabel;
class QMainWindow;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QMenuBar;
class QToolBar;

namespace varn {

class CImageColorBar;
class CVARNImgFrame;
class CVarnIdeApp;
class DocumentManager;
class SettingsStore;
class Ui;
class VARNWorkspaceManager;

class ImageCommands : public QObject {
    Q_OBJECT
public:
    ImageCommands(QMainWindow& window, QMdiArea& area, DocumentManager& documents, VARNWorkspaceManager& workspace,
                  SettingsStore& settings, Ui& ui);
    ~ImageCommands() override;

    // The Image menu goes in front of `before`; the bars' toggles go to `view`.
    void createActions(QMenuBar& bar, QAction* before, QMenu& view);
    // The application whose grid and brush settings the editor keeps (without
    // one they go to the settings store directly).
    void setApplication(CVarnIdeApp* app) { app_ = app; }

    QMenu* imageMenu() const { return menu_; }
    QToolBar* toolBox() const { return toolBox_; }
    QComboBox* typeBox() const { return typeBox_; }
    CImageColorBar* colorBar() const { return colorBar_; }
    QLabel* positionLabel() const { return position_; }
    QAction* toolAction(ImageTool t) const { return toolActions_.at(static_cast<std::size_t>(t)); }
    // An Image menu command by its menu text without "&" ("Undo", "2x2", ...).
    QAction* action(const QString& text) const;
    ImageColours& colours() { return colours_; }

    // The image window that is active; null when the active window is another.
    CVARNImgFrame* activeFrame() const;
    void updateCommands();

    // Replaces the stretch-or-clip question of a paste (tests answer it).
    // Called for every image window as it opens (the recovery journal follows it).
    void setFrameOpened(std::function<void(CVARNImgFrame&)> f) { frameOpened_ = std::move(f); }
    void setPasteQuestion(std::function<std::optional<PasteFit>()> q) { pasteQuestion_ = std::move(q); }

    // The commands on the active image window.
    void undo();
    void copy();
    void paste();
    void clear();
    void restore();
    void bitmapProperties();
    void newBitmapType();
    void deleteBitmapType();
    void chooseType(int index);

private:
    QWidget* openFrame(const std::string& path);
    void activated(QMdiSubWindow* w);
    // Colours, colour bar and type box follow the frame's current image.
    void showImageState(CVARNImgFrame& f);
    void fillTypeBox();
    void afterCommand(CVARNImgFrame& f, bool refitAndState);
    bool grid() const;
    void setGrid(bool on);
    int brushSize() const;
    void setBrushSize(int n);
    QAction* add(QMenu& menu, const char* text, const char* prompt, const QKeySequence& key,
                 std::function<void()> body);

    QMainWindow& window_;
    QMdiArea& area_;
    DocumentManager& documents_;
    VARNWorkspaceManager& workspace_;
    SettingsStore& settings_;
    Ui& ui_;
    CVarnIdeApp* app_ = nullptr;
    ImageColours colours_;
    QMenu* menu_ = nullptr;
    QToolBar* toolBox_ = nullptr;
    QComboBox* typeBox_ = nullptr;
    CImageColorBar* colorBar_ = nullptr;
    QLabel* position_ = nullptr;
    QActionGroup* toolGroup_ = nullptr;
    std::vector<QAction*> toolActions_;
    std::map<int, QAction*> brushActions_;
    QAction* gridAction_ = nullptr;
    QAction* newType_ = nullptr;
    QAction* deleteType_ = nullptr;
    std::function<void(CVARNImgFrame&)> frameOpened_;
    std::vector<QAction*> frameActions_;  // need an active image window
    std::function<std::optional<PasteFit>()> pasteQuestion_;
};

}  // namespace varn
