// The document window of a bitmap or icon: the image document, its editor
// state and the pixel view placed at a small margin and sized to the zoom
// at which the image fits the window; Ctrl+wheel zooms in and out from
// there, with scroll bars when the picture outgrows the window. It saves itself for the document
// manager and registers the saved file in the project.
#pragma once

#include <QScrollArea>
#include <memory>

#include "app/DocumentPane.h"
#include "image/CVARNImgDoc.h"
#include "image/ImageEditor.h"

namespace varn {

class CVARNImgView;
class Ui;
struct ProjectModel;

class CVARNImgFrame : public QScrollArea, public DocumentPane {
    Q_OBJECT
public:
    CVARNImgFrame(ImageDocType type, Ui& ui, ProjectModel& project, ImageColours& colours, QWidget* parent = nullptr);
    ~CVARNImgFrame() override;

    // Reads the file (the document's messages on bad input); false when it failed.
    bool openFile(const std::string& path);

    CVARNImgDoc& document() { return doc_; }
    ImageEditor& editor() { return editor_; }
    CVARNImgView* view() const { return view_; }

    // Fits the zoom to the window (plus the steps zoomed in or out, at
    // least 1) and places the view; repaints.
    void refit();
    // Ctrl+wheel: one step in (+1) or out (-1) from the fitted zoom.
    void zoomBy(int steps);
    int zoomSteps() const { return zoomSteps_; }
    // After a command changed the document: refit, repaint, title.
    void documentChanged();
    // Margin between the window's corner and the view.
    static int margin();

    // DocumentPane
    std::string panePath() const override { return doc_.path(); }
    DocumentTemplate paneTemplate() const override;
    bool paneModified() const override { return doc_.hasUnsavedChanges(); }
    bool savePane(const std::string& path) override;

signals:
    void statusChanged(const QString& text);
    void coloursPicked();

protected:
    void resizeEvent(QResizeEvent* e) override;
    void showEvent(QShowEvent* e) override;

private:
    Ui& ui_;
    ProjectModel& project_;
    CVARNImgDoc doc_;
    ImageEditor editor_;
    QWidget* canvas_ = nullptr;
    CVARNImgView* view_ = nullptr;
    int zoomSteps_ = 0;
    bool sized_ = false;
};

}  // namespace varn
