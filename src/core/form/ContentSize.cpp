#include "form/ContentSize.h"

#include "app/RecordingUi.h"
#include "form/CVARNFBControl.h"
#include "form/FormText.h"
#include "image/ImageBlockReader.h"
#include "image/ImageCodec.h"
#include "image/ImageProject.h"

namespace varn {

namespace {

// Space left between a frame and its text on each side.
constexpr int kTextPadding = 2;
// A button's extra room around its caption on each side.
constexpr int kButtonPaddingX = 6;
constexpr int kButtonPaddingY = 3;

}  // namespace

PixelSize fitText(int kindCode, PixelSize text, const FormMeasure& measure) {
    const PixelSize frame{2 * (measure.edge().width + measure.border().width),
                          2 * (measure.edge().height + measure.border().height)};
    const int padded = text.width + 2 * kTextPadding;
    switch (kindCode) {
        case kind::Label:
            return text;
        case kind::Checkbox:
            // The check box is about a line high and square, with a gap before the text.
            return {text.height + kTextPadding + padded, text.height + 2 * measure.border().height};
        case kind::Button:
            return {text.width + frame.width + 2 * kButtonPaddingX, text.height + frame.height + 2 * kButtonPaddingY};
        case kind::Dropdown:
        case kind::Selector:
        case kind::FileSel:
            return {padded + frame.width + measure.scrollBarWidth(), text.height + frame.height};
        default:
            return {padded + frame.width, text.height + frame.height};
    }
}

std::optional<PixelSize> contentSize(const CVARNFBControl& control, const FormFont& font, const std::string& text,
                                     FormMeasure& measure) {
    if (control.kind == kind::Grid || control.kind == kind::Frame) return std::nullopt;
    const std::string bitmap = trimBlanks(control.bitmap);
    if (!bitmap.empty()) {
        if (auto size = measure.bitmapSize(bitmap)) return size;
    }
    // An empty text still takes a line's height.
    return fitText(control.kind, measure.textExtent(font, text.empty() ? std::string(" ") : text), measure);
}

namespace {

// The images of a project bitmap, read without messages.
std::optional<std::vector<ImageRecord>> readProjectImages(const ImageProject& project, const std::string& name) {
    const std::string path = project.imagePathByBaseName(name);
    if (path.empty()) return std::nullopt;
    RecordingUi quiet;
    ImageBlockReader reader(quiet);
    auto images = reader.readFile(path);
    if (!images || images->empty()) return std::nullopt;
    return std::move(*images);
}

}  // namespace

std::optional<PixelSize> projectBitmapSize(const ImageProject& project, const std::string& name) {
    auto images = readProjectImages(project, name);
    if (!images) return std::nullopt;
    return PixelSize{images->front().width(), images->front().height()};
}

std::optional<PixelBuffer> projectBitmap(const ImageProject& project, const std::string& name) {
    auto images = readProjectImages(project, name);
    if (!images) return std::nullopt;
    return decodeImage(images->front());
}

}  // namespace varn
