// The form designer view: the form at its pixel size (times the zoom) in a
// scrolling area, a preview widget per control record, the trackers of the
// selection, the rubber band, the grid, and the mouse and keys of the
// designer, all handed to core's FormDesigner.
#pragma once

#include <QPointer>
#include <QScrollArea>
#include <memory>
#include <optional>

#include "form/FormDesigner.h"

namespace varn {

class CVARNfbPreview;
class ImageProject;
class Ui;

class CVARNfbView : public QScrollArea, public PreviewHost, public DesignerEvents, public FormMeasure {
    Q_OBJECT
public:
    static constexpr double kMinZoom = 0.5;
    static constexpr double kMaxZoom = 4.0;
    // Room around the form for the trackers of controls at its edges.
    static constexpr int kMargin = 12;

    CVARNfbView(std::unique_ptr<CVARNfbDoc> doc, Ui& ui, QWidget* parent = nullptr);
    ~CVARNfbView() override;

    FormDesigner& designer() { return *designer_; }
    CVARNfbDoc& doc() { return designer_->doc(); }
    // The widget the form is drawn on, kMargin from its edges; its coordinates
    // are form pixels times the zoom.
    QWidget* surface() const;
    // The point of the surface at form pixel (x, y).
    QPoint surfacePoint(int x, int y) const;
    double zoom() const { return zoom_; }
    // 50 to 400 per cent.
    void setZoom(double zoom);
    // One zoom step in (1) or out (-1).
    void stepZoom(int direction);
    // The project's images, for the sizes of bitmaps.
    void setImageProject(ImageProject* images) { images_ = images; }
    // The first image of a project bitmap as the previews draw it; null when none.
    QImage bitmapImage(const std::string& name) const;

    // The preview widget of a record; null when it has none.
    static CVARNfbPreview* previewOf(const CVARNFBControl& record);
    // The topmost control under a form pixel, the frame and a waiting control left out.
    CVARNFBControl* controlAt(int x, int y) const;
    // Places every preview at its record's rectangle and repaints the trackers.
    void refresh();
    // Draws every preview afresh (its record's properties changed).
    void repaintPreviews();

    // PreviewHost
    std::unique_ptr<PreviewWindow> createPreview(CVARNFBControl& record, PreviewWindow* parent, int id) override;
    // DesignerEvents
    void controlsChanged() override;
    void controlRaised(CVARNFBControl& control) override;
    void projectTreeChanged() override;
    void gridChanged() override;
    // FormMeasure
    PixelSize textExtent(const FormFont& font, const std::string& text) override;
    std::optional<PixelSize> bitmapSize(const std::string& name) override;

signals:
    // The selection, a control or the form changed: commands, selector and status follow.
    void changed();
    // Records were added, removed or reordered.
    void listChanged();
    void gridSettingsChanged();
    void projectTreeRefresh();
    // Double-click on the dominant control, or Enter.
    void propertiesWanted();

protected:
    void wheelEvent(QWheelEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    bool focusNextPrevChild(bool next) override;

private:
    class Surface;
    class Overlay;
    friend class Surface;
    friend class Overlay;

    enum class Drag { None, Move, Resize, Band };

    // The handle (0..7) of a selected control's tracker under a surface point.
    std::optional<int> handleAt(const QPoint& at, CVARNFBControl*& control) const;
    QRect toSurface(const FormRect& r) const;
    // Where the form lies on the surface.
    QRect formArea() const;
    QPoint toForm(const QPoint& surfacePoint) const;
    void mousePress(QMouseEvent* e);
    void mouseMove(QMouseEvent* e);
    void mouseRelease(QMouseEvent* e);
    void mouseDoubleClick(QMouseEvent* e);
    void paintGrid(QPainter& p);
    void paintTrackers(QPainter& p);
    void after();
    // The bounds of the trackers, the tracked rectangle and the band.
    QRect trackerRegion() const;
    // Repaints the overlay where the trackers were and are now.
    void updateOverlay();

    std::unique_ptr<FormDesigner> designer_;
    Surface* surface_ = nullptr;
    Overlay* overlay_ = nullptr;
    ImageProject* images_ = nullptr;
    double zoom_ = 1.0;
    Drag drag_ = Drag::None;
    CVARNFBControl* dragged_ = nullptr;
    int handle_ = -1;
    QPoint pressAt_;  // form pixels
    FormRect startRect_;
    FormRect tracked_;  // the rectangle the tracker follows, form pixels
    QRect band_;        // surface pixels
    QRect trackers_;    // where the overlay drew last
};

}  // namespace varn
