// The pixel view of an image window: the document's working surface drawn
// at an integer zoom (nearest pixel) with the optional grid, the rubber band
// of the band tools, and the mouse turned into the editor's press, move and
// release. The grid flag is shared by every image view.
#pragma once

#include <QImage>
#include <QWidget>

#include "image/ImageEditor.h"

namespace varn {

class CVARNImgView : public QWidget {
    Q_OBJECT
public:
    CVARNImgView(ImageEditor& editor, QWidget* parent = nullptr);

    ImageEditor& editor() { return editor_; }
    // The grid of every image view (shown from zoom 2 on).
    static bool gridEnabled() { return grid_; }
    static void setGridEnabled(bool on) { grid_ = on; }
    static bool gridShown(int zoom) { return grid_ && zoom >= 2; }

    // The picture as painted: the surface at the zoom, with the grid; from
    // zoom 4 on, cells of the transparent colour show a checkerboard of the
    // colour and white.
    QImage picture() const;
    // The surface as an image of its own size.
    static QImage imageOf(const PixelBuffer& surface);
    static PixelBuffer bufferOf(const QImage& image);

signals:
    // The surface changed (a tool drew on it).
    void edited();
    // The drawing colours changed (the dropper picked one).
    void coloursPicked();
    // The "Posn"/"Size" text changed.
    void statusChanged(const QString& text);
    // Ctrl+wheel: zoom in (+1) or out (-1).
    void zoomRequested(int steps);

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;

private:
    void paintBand(QPainter& p) const;
    void paintKeyCell(QPainter& p) const;
    // What a tool did at press (or a keyboard click): colours or pixels changed.
    void pressed();
    void updateCursor();
    void emitStatus(bool force = false);

    static bool grid_;
    ImageEditor& editor_;
    Qt::MouseButton button_ = Qt::NoButton;
};

}  // namespace varn
