// What the image view does with the mouse, without the window: zoom fitting
// and snapping of view points to cells, press, move and release of each tool
// on the document's working surface, the rubber band of the band tools and
// the "Posn"/"Size" status text. The view paints what it is told here.
#pragma once

#include <optional>
#include <string>

#include "image/CVARNImgDoc.h"
#include "image/ImageColours.h"
#include "image/ImageDrawing.h"
#include "image/ImageTool.h"

namespace varn {

// A point in view coordinates (screen pixels of the zoomed picture).
struct ViewPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const ViewPoint&, const ViewPoint&) = default;
};

// The rubber band on screen: its shape between the centres (line) or over
// the cells (rectangle, ellipse) of two snapped view points.
struct RubberBand {
    BandShape shape = BandShape::None;
    ViewPoint from;
    ViewPoint to;
};

class ImageEditor {
public:
    static constexpr int kMinBrush = 2;
    static constexpr int kMaxBrush = 5;

    // The integer zoom at which the image fits the client area, at least 1.
    static int fitZoom(int clientWidth, int clientHeight, int imageWidth, int imageHeight);
    // "Posn %d,%d", followed by " Size %dx%d" while a drag is on (size ≥ 0).
    static std::string statusText(int x, int y, int width, int height);
    // The bitmap type combo's entry of an image: "Color 32x22", "Monochrome 15x9".
    static std::string typeLabel(const ImageRecord& image);

    ImageEditor(CVARNImgDoc& doc, ImageColours& colours);

    CVARNImgDoc& document() { return doc_; }
    const CVARNImgDoc& document() const { return doc_; }

    ImageTool tool() const { return tool_; }
    void setTool(ImageTool t) { tool_ = t; }
    // The tool's use is allowed now: the dropper not on a monochrome image.
    bool toolEnabled(ImageTool t) const;
    int brushSize() const { return brushSize_; }
    void setBrushSize(int n);

    int zoom() const { return zoom_; }
    void setZoom(int z) { zoom_ = z < 1 ? 1 : z; }
    // The view point snapped to the top-left corner of its cell, kept on the image.
    ViewPoint snap(ViewPoint p) const;
    PixelPoint pixelOf(ViewPoint p) const;

    // The mouse, in view coordinates; the right button draws with the
    // background colour. Each answers whether it did anything.
    bool press(ViewPoint p, ColourSide side);
    bool move(ViewPoint p);
    bool release(ViewPoint p);
    bool buttonDown() const { return buttonDown_; }
    // The band on screen while a band tool's button is down.
    std::optional<RubberBand> band() const;

    // The keyboard's cursor cell: the arrow keys move it (from the pixel last
    // under the mouse, or the top-left pixel) and Space clicks the current
    // tool there. The status position follows it.
    std::optional<PixelPoint> keyCell() const { return keyCell_; }
    bool moveKeyCell(int dx, int dy);
    bool clickAtKeyCell(ColourSide side);

    // The status text when one of its numbers changed since it was last
    // taken, or always with `force`.
    std::optional<std::string> takeStatus(bool force = false);

    // The enabling rules of the Image menu.
    bool canAddBitmapType() const { return doc_.imageCount() < CVARNImgDoc::kMaxImages; }
    bool canDeleteBitmapType() const { return doc_.imageCount() == CVARNImgDoc::kMaxImages; }
    bool currentIsMonochrome() const;

private:
    void pressStep(PixelPoint px);
    void moveStep(PixelPoint from, PixelPoint to);
    void releaseStep(PixelPoint px);
    void snapshotAt(UndoMoment m);
    void setStatusSize(ViewPoint a, ViewPoint b);

    CVARNImgDoc& doc_;
    ImageColours& colours_;
    ImageTool tool_ = ImageTool::Pencil;
    int brushSize_ = kMinBrush;
    int zoom_ = 1;
    bool buttonDown_ = false;
    ColourSide side_ = ColourSide::Foreground;
    ViewPoint press_, current_, previous_;
    std::optional<PixelPoint> lastPixel_;
    PixelPoint statusPos_{-1, -1};
    int statusWidth_ = -1;
    int statusHeight_ = -1;
    std::optional<std::string> shownStatus_;
    std::optional<PixelPoint> keyCell_;
};

}  // namespace varn
