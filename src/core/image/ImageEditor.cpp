#include "image/ImageEditor.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace varn {

int ImageEditor::fitZoom(int clientWidth, int clientHeight, int imageWidth, int imageHeight) {
    if (imageWidth <= 0 || imageHeight <= 0) return 1;
    return std::max(1, std::min(clientWidth / imageWidth, clientHeight / imageHeight));
}

std::string ImageEditor::statusText(int x, int y, int width, int height) {
    char text[80];
    if (width >= 0 && height >= 0)
        std::snprintf(text, sizeof text, "Posn %d,%d Size %dx%d", x, y, width, height);
    else
        std::snprintf(text, sizeof text, "Posn %d,%d", x, y);
    return text;
}

std::string ImageEditor::typeLabel(const ImageRecord& image) {
    char text[64];
    std::snprintf(text, sizeof text, "%s %dx%d", image.isMonochrome() ? "Monochrome" : "Color", image.width(),
                  image.height());
    return text;
}

ImageEditor::ImageEditor(CVARNImgDoc& doc, ImageColours& colours) : doc_(doc), colours_(colours) {}

bool ImageEditor::currentIsMonochrome() const {
    const ImageRecord* r = doc_.currentImage();
    return r && r->isMonochrome();
}

bool ImageEditor::toolEnabled(ImageTool t) const { return t != ImageTool::Dropper || !currentIsMonochrome(); }

void ImageEditor::setBrushSize(int n) { brushSize_ = std::clamp(n, kMinBrush, kMaxBrush); }

ViewPoint ImageEditor::snap(ViewPoint p) const {
    const PixelBuffer* s = doc_.surface();
    const int w = s ? s->width() : 1, h = s ? s->height() : 1;
    // Integer division towards zero: points just left of or above the view snap to 0.
    return {std::clamp(p.x / zoom_, 0, std::max(w - 1, 0)) * zoom_,
            std::clamp(p.y / zoom_, 0, std::max(h - 1, 0)) * zoom_};
}

PixelPoint ImageEditor::pixelOf(ViewPoint p) const {
    ViewPoint s = snap(p);
    return {s.x / zoom_, s.y / zoom_};
}

void ImageEditor::snapshotAt(UndoMoment m) {
    if (imageToolInfo(tool_).undo == m) doc_.snapshot();
}

void ImageEditor::setStatusSize(ViewPoint a, ViewPoint b) {
    statusWidth_ = std::abs(b.x - a.x) / zoom_ + 1;
    statusHeight_ = std::abs(b.y - a.y) / zoom_ + 1;
}

bool ImageEditor::press(ViewPoint p, ColourSide side) {
    if (buttonDown_ || !doc_.surface()) return false;
    if (!toolEnabled(tool_)) return false;
    press_ = current_ = previous_ = snap(p);
    side_ = side;
    snapshotAt(UndoMoment::Press);
    buttonDown_ = true;
    pressStep(pixelOf(press_));
    setStatusSize(press_, current_);
    return true;
}

bool ImageEditor::move(ViewPoint p) {
    if (!doc_.surface()) return false;
    const ViewPoint s = snap(p);
    const PixelPoint px = pixelOf(s);
    if (lastPixel_ && *lastPixel_ == px) return false;
    lastPixel_ = px;
    keyCell_.reset();
    current_ = s;
    if (buttonDown_) moveStep(pixelOf(previous_), px);
    previous_ = current_;
    statusPos_ = px;
    if (buttonDown_) setStatusSize(press_, current_);
    return true;
}

bool ImageEditor::release(ViewPoint p) {
    if (!buttonDown_) return false;
    const ViewPoint s = snap(p);
    current_ = s;
    snapshotAt(UndoMoment::Release);
    releaseStep(pixelOf(s));
    buttonDown_ = false;
    statusWidth_ = statusHeight_ = -1;
    return true;
}

void ImageEditor::pressStep(PixelPoint px) {
    PixelBuffer& s = *doc_.surface();
    const Rgb c = colours_.colour(side_);
    switch (tool_) {
        case ImageTool::Pencil:
        case ImageTool::Brush:
            plotSquare(s, px, tool_ == ImageTool::Pencil ? 1 : brushSize_, c);
            doc_.markSurfaceChanged();
            break;
        case ImageTool::Fill:
            floodFill(s, px, c);
            doc_.markSurfaceChanged();
            break;
        case ImageTool::Dropper:
            colours_.pick(s.at(px.x, px.y), side_);
            break;
        case ImageTool::Select:
            doc_.selectAll();
            break;
        default:
            break;
    }
}

void ImageEditor::moveStep(PixelPoint from, PixelPoint to) {
    if (tool_ != ImageTool::Pencil && tool_ != ImageTool::Brush) return;
    plotLine(*doc_.surface(), from, to, tool_ == ImageTool::Pencil ? 1 : brushSize_, colours_.colour(side_));
    doc_.markSurfaceChanged();
}

void ImageEditor::releaseStep(PixelPoint px) {
    PixelBuffer& s = *doc_.surface();
    const Rgb c = colours_.colour(side_);
    const PixelPoint from = pixelOf(press_);
    switch (tool_) {
        case ImageTool::Line:
            drawLine(s, from, px, c);
            break;
        case ImageTool::HollowRectangle:
        case ImageTool::SolidRectangle:
            drawRectangle(s, from, px, c, tool_ == ImageTool::SolidRectangle);
            break;
        case ImageTool::HollowEllipse:
        case ImageTool::SolidEllipse:
            drawEllipse(s, from, px, c, tool_ == ImageTool::SolidEllipse);
            break;
        case ImageTool::Select:
            doc_.setSelection(from.x, from.y, px.x, px.y);
            return;
        default:
            return;
    }
    doc_.markSurfaceChanged();
}

bool ImageEditor::moveKeyCell(int dx, int dy) {
    const PixelBuffer* s = doc_.surface();
    if (!s || buttonDown_) return false;
    PixelPoint at = keyCell_ ? *keyCell_ : lastPixel_.value_or(PixelPoint{0, 0});
    at = {std::clamp(at.x + dx, 0, s->width() - 1), std::clamp(at.y + dy, 0, s->height() - 1)};
    keyCell_ = at;
    statusPos_ = at;
    return true;
}

bool ImageEditor::clickAtKeyCell(ColourSide side) {
    if (!keyCell_ || !doc_.surface()) return false;
    const ViewPoint p{keyCell_->x * zoom_, keyCell_->y * zoom_};
    if (!press(p, side)) return false;
    return release(p);
}

std::optional<RubberBand> ImageEditor::band() const {
    const BandShape shape = imageToolInfo(tool_).band;
    if (!buttonDown_ || shape == BandShape::None) return std::nullopt;
    return RubberBand{shape, press_, current_};
}

std::optional<std::string> ImageEditor::takeStatus(bool force) {
    std::string text = statusText(statusPos_.x, statusPos_.y, statusWidth_, statusHeight_);
    if (!force && shownStatus_ && *shownStatus_ == text) return std::nullopt;
    shownStatus_ = text;
    return text;
}

}  // namespace varn
