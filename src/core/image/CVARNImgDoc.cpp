#include "image/CVARNImgDoc.h"

#include <algorithm>
#include <cstdio>

#include "image/ByteSource.h"
#include "image/ImageBlockReader.h"
#include "image/ImageBlockWriter.h"
#include "image/ImageCodec.h"
#include "image/ImageRegistration.h"
#include "platform/FileSystem.h"

namespace varn {

namespace {

// The size and depth of the one image of a new document.
ImageDescriptor newImageDescriptor(ImageDocType type, IconKind kind, const ImageProjectSettings& s) {
    if (type == ImageDocType::Icon) {
        IconSize size = iconSize(kind, s.formWidth);
        return {size.width, size.height, 1};
    }
    return {s.lastBitmapWidth, s.lastBitmapHeight, s.lastBitmapColorDepth != 0 ? 1 : 24};
}

}  // namespace

ImageDocType CVARNImgDoc::typeForPath(const std::string& path) {
    return imageFileTypeOf(path) == ImageFileType::Icon ? ImageDocType::Icon : ImageDocType::Bitmap;
}

const ImageRecord* CVARNImgDoc::currentImage() const {
    return current_ >= 0 && current_ < imageCount() ? &images_[static_cast<std::size_t>(current_)] : nullptr;
}

bool CVARNImgDoc::newDocument(Ui& ui, const ImageProjectSettings& settings) {
    if (isIconDocument()) {
        bool desktop = ui.askYesNo("Is this a desktop icon? If not then it will be set as a list icon.");
        iconKind_ = desktop ? IconKind::Desktop : IconKind::List;
    }
    ImageDescriptor d = newImageDescriptor(type_, iconKind_, settings);
    reset();
    modified_ = false;
    return addImage(d.width, d.height, d.depth, ui) >= 0;
}

bool CVARNImgDoc::open(const std::string& path, Ui& ui, const ImageProjectSettings& settings) {
    ImageBlockReader reader(ui);
    auto read = reader.readFile(path);
    reset();
    if (!read) return false;
    images_ = std::move(*read);
    if (images_.empty()) {
        ImageDescriptor d = newImageDescriptor(type_, IconKind::Desktop, settings);
        if (addImage(d.width, d.height, d.depth, ui) < 0) return false;
        surfaceChanged_ = false;
    }
    storedChanged_ = false;
    selectImage(0);
    if (isIconDocument()) {
        const ImageRecord& first = images_.front();
        if (auto kind = iconKindForWidth(first.width(), settings.formWidth))
            iconKind_ = *kind;
        else
            ui.error(iconSizeMessage(settings.formWidth, settings.formHeight, first.width(), first.height()));
    }
    path_ = path;
    modified_ = false;
    return true;
}

bool CVARNImgDoc::save(const std::string& path, Ui& ui, ImageProject& project) {
    if (fsys::isReadOnly(path)) {
        ui.error("The file can not be saved because it is marked read-only");
        modified_ = false;
        return true;
    }
    capture();
    if (!writeImageFile(path, images_, ui)) return false;
    storedChanged_ = false;
    if (!registerImageFile(path, iconKind_, project, ui)) return false;
    path_ = path;
    modified_ = false;
    return true;
}

std::string CVARNImgDoc::fileBytes() const {
    std::vector<ImageRecord> records = images_;
    if (current_ >= 0 && current_ < imageCount() && surface_) {
        ImageRecord& r = records[static_cast<std::size_t>(current_)];
        r.stored = encodeImage(*surface_, r.descriptor, r.stored);
    }
    return encodeImageFile(records);
}

bool CVARNImgDoc::takeRecovered(const std::string& bytes, Ui& ui) {
    ImageBlockReader reader(ui);
    MemoryByteSource in(bytes);
    auto read = reader.read(in);
    if (!read || read->empty()) return false;
    images_ = std::move(*read);
    selectImage(0);
    storedChanged_ = true;
    return true;
}

bool CVARNImgDoc::selectImage(int index) {
    if (index < 0 || index >= imageCount()) return false;
    surface_ = decodeImage(images_[static_cast<std::size_t>(index)]);
    undo_.reset();
    current_ = index;
    surfaceChanged_ = false;
    selectAll();
    return true;
}

int CVARNImgDoc::addImage(int width, int height, int depth, Ui& ui) {
    ImageDescriptor d{width, height, depth};
    if (!d.inRange()) {
        char text[64];
        std::snprintf(text, sizeof text, "Width/height must be in the range of 1-%d", kMaxImageDimension);
        ui.notify(text);
        return -1;
    }
    if (!isImageDepth(depth)) return -1;
    images_.push_back(ImageRecord{d, {}});
    surface_ = PixelBuffer(width, height, kWhite);
    undo_.reset();
    current_ = imageCount() - 1;
    selectAll();
    return current_;
}

void CVARNImgDoc::removeImage(int index) {
    if (index < 0 || index >= imageCount()) return;
    images_.erase(images_.begin() + index);
    if (current_ == index)
        current_ = -1;
    else if (current_ > index)
        --current_;
}

void CVARNImgDoc::reset() {
    images_.clear();
    current_ = -1;
    surface_.reset();
    undo_.reset();
    surfaceChanged_ = false;
    storedChanged_ = false;
    selection_ = {};
}

void CVARNImgDoc::capture() {
    if (current_ < 0 || current_ >= imageCount() || !surface_) return;
    ImageRecord& r = images_[static_cast<std::size_t>(current_)];
    r.stored = encodeImage(*surface_, r.descriptor, r.stored);
    storedChanged_ = true;
    surfaceChanged_ = false;
}

bool CVARNImgDoc::switchImage(int index) {
    if (index < 0 || index >= imageCount()) return false;
    capture();
    return selectImage(index);
}

int CVARNImgDoc::addBitmapType(Ui& ui) {
    if (imageCount() != 1) return -1;
    capture();
    const ImageRecord& first = images_.front();
    int index = addImage(first.width(), first.height(), first.isMonochrome() ? 24 : 1, ui);
    if (index < 0) return -1;
    capture();
    surfaceChanged_ = true;
    return index;
}

bool CVARNImgDoc::deleteBitmapType() {
    if (imageCount() != kMaxImages || current_ < 0) return false;
    removeImage(current_);
    selectImage(0);
    surfaceChanged_ = true;
    return true;
}

bool CVARNImgDoc::replaceWithNewImage(int width, int height, int depth, Ui& ui) {
    reset();
    if (addImage(width, height, depth, ui) < 0) return false;
    surfaceChanged_ = true;
    return true;
}

void CVARNImgDoc::snapshot() {
    if (surface_) undo_ = *surface_;
}

bool CVARNImgDoc::undo() {
    if (!undo_ || !surface_) return false;
    *surface_ = std::move(*undo_);
    undo_.reset();
    surfaceChanged_ = true;
    return true;
}

void CVARNImgDoc::clear() {
    if (!surface_) return;
    snapshot();
    surface_->fill(kWhite);
}

void CVARNImgDoc::setSelection(int left, int top, int right, int bottom) {
    if (!surface_) return;
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
    const int maxX = surface_->width() - 1, maxY = surface_->height() - 1;
    selection_.left = std::clamp(left, 0, maxX);
    selection_.top = std::clamp(top, 0, maxY);
    selection_.right = std::clamp(right, 0, maxX);
    selection_.bottom = std::clamp(bottom, 0, maxY);
}

void CVARNImgDoc::selectAll() {
    if (surface_)
        selection_ = {0, 0, surface_->width() - 1, surface_->height() - 1};
    else
        selection_ = {};
}

bool CVARNImgDoc::copySelection(const std::function<bool(const PixelBuffer&)>& put) {
    if (!surface_) return false;
    PixelBuffer piece = surface_->region(selection_.left, selection_.top, selection_.width(), selection_.height());
    if (!put(piece)) return false;
    selectAll();
    return true;
}

bool CVARNImgDoc::paste(const ClipboardImage& clip, Ui& ui, const std::function<std::optional<PasteFit>()>& askFit) {
    if (!surface_) return false;
    if (!clip.opened) {
        ui.error("Could not open clip board");
        return false;
    }
    if (!clip.bitmap || clip.bitmap->empty()) {
        ui.error("Could not find clip board format");
        return false;
    }
    const PixelBuffer& bitmap = *clip.bitmap;
    const int w = selection_.width(), h = selection_.height();
    PasteFit fit = PasteFit::Stretch;
    if (bitmap.width() != w || bitmap.height() != h) {
        std::optional<PasteFit> chosen = askFit ? askFit() : std::optional<PasteFit>(PasteFit::Stretch);
        if (!chosen) return false;
        fit = *chosen;
    }
    snapshot();
    PixelBuffer piece = fit == PasteFit::Stretch
                            ? bitmap.stretched(w, h)
                            : bitmap.region(0, 0, std::min(bitmap.width(), w), std::min(bitmap.height(), h));
    const ImageRecord* image = currentImage();
    if (image && image->isMonochrome()) {
        // Colour to monochrome: white stays white, every other colour becomes black.
        for (int y = 0; y < piece.height(); ++y)
            for (int x = 0; x < piece.width(); ++x)
                if (piece.at(x, y) != kWhite) piece.set(x, y, kBlack);
    }
    surface_->draw(piece, selection_.left, selection_.top);
    selectAll();
    surfaceChanged_ = true;
    return true;
}

}  // namespace varn
