// The image document: the images of one bitmap (.vbm) or icon (.vic) file, the
// 24-bit working surface the editor draws on, one-level undo, the selection
// and clipboard exchange, and registration of the file in the project on save.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/Ui.h"
#include "image/ImageIcons.h"
#include "image/ImageProject.h"
#include "image/ImageRecord.h"
#include "image/PixelBuffer.h"

namespace varn {

enum class ImageDocType { Bitmap, Icon };

enum class PasteFit { Stretch, Clip };

// Inclusive rectangle of image pixels.
struct SelectionRect {
    int left = 0;
    int top = 0;
    int right = -1;
    int bottom = -1;
    int width() const { return right - left + 1; }
    int height() const { return bottom - top + 1; }
    friend bool operator==(const SelectionRect&, const SelectionRect&) = default;
};

// What the clipboard offered for a paste: whether it could be opened and the
// bitmap it holds, if any.
struct ClipboardImage {
    bool opened = true;
    std::optional<PixelBuffer> bitmap;
};

class CVARNImgDoc {
public:
    static constexpr int kMaxImages = 2;

    explicit CVARNImgDoc(ImageDocType type = ImageDocType::Bitmap) : type_(type) {}
    // Icon documents are the ".vic" files, every other file is a bitmap document.
    static ImageDocType typeForPath(const std::string& path);

    ImageDocType type() const { return type_; }
    bool isIconDocument() const { return type_ == ImageDocType::Icon; }
    const std::string& path() const { return path_; }

    // A new document with one white image: an icon after asking its kind, a
    // bitmap of the last bitmap size and depth of the project.
    bool newDocument(Ui& ui, const ImageProjectSettings& settings);
    // Loads a file. A failed open keeps nothing of it; an empty file gives one
    // white image of the size a new document would have. An icon whose width
    // fits no icon kind of the form size is reported and opened all the same.
    bool open(const std::string& path, Ui& ui, const ImageProjectSettings& settings);
    // Captures the current image, writes the file and registers it in the
    // project; success only when registered. A read-only target is refused
    // with a message and reported as success without writing.
    bool save(const std::string& path, Ui& ui, ImageProject& project);
    // The bytes a save would write now (the drawing included), leaving the
    // document as it is: the recovery journal's copy.
    std::string fileBytes() const;
    // Takes the images of a recovered copy in place of the open ones; the
    // document then has unsaved changes. False (after the reader's message)
    // when the copy cannot be read, and the document stays as it was.
    bool takeRecovered(const std::string& bytes, Ui& ui);

    // The images, in file order; at most two once edited.
    const std::vector<ImageRecord>& images() const { return images_; }
    int imageCount() const { return static_cast<int>(images_.size()); }
    // Index of the current image, or -1 when there is none.
    int currentIndex() const { return current_; }
    const ImageRecord* currentImage() const;

    // Loads an image into the surface and makes it current.
    bool selectImage(int index);
    // Appends a record and a white surface of that size and makes it current;
    // -1 (with the range message) when the size is out of range.
    int addImage(int width, int height, int depth, Ui& ui);
    void removeImage(int index);
    // Removes every image and the surface and clears both flags.
    void reset();
    // Converts the surface into the current image's stored bitmap at its own depth.
    void capture();
    // Loads the current image again, dropping the drawing since the last capture.
    bool restore() { return selectImage(current_); }
    // Capture, then select the other image.
    bool switchImage(int index);

    // "New Bitmap Type": a second image of the first one's size and the other
    // depth (monochrome beside colour), made current. -1 when not possible.
    int addBitmapType(Ui& ui);
    // "Delete Bitmap Type": removes the current image and selects the first.
    bool deleteBitmapType();
    // "Bitmap Properties": the images are replaced by one white image.
    bool replaceWithNewImage(int width, int height, int depth, Ui& ui);

    // The working surface; null before the first image is loaded or added.
    PixelBuffer* surface() { return surface_ ? &*surface_ : nullptr; }
    const PixelBuffer* surface() const { return surface_ ? &*surface_ : nullptr; }
    void markSurfaceChanged() { surfaceChanged_ = true; }

    bool surfaceChanged() const { return surfaceChanged_; }
    bool storedChanged() const { return storedChanged_; }
    // Unsaved changes: either flag set.
    bool hasUnsavedChanges() const { return surfaceChanged_ || storedChanged_; }
    // The modified flag the save prompt looks at; prepareSavePrompt() sets it
    // from the two flags first.
    bool isModified() const { return modified_; }
    void setModified(bool on) { modified_ = on; }
    bool prepareSavePrompt() { return modified_ = hasUnsavedChanges(); }

    // One-level undo over the whole surface.
    void snapshot();
    bool undo();
    bool hasUndo() const { return undo_.has_value(); }
    // Snapshot, then fill the surface white (the surface-changed flag is left alone).
    void clear();

    const SelectionRect& selection() const { return selection_; }
    // Corners in any order; clipped to the image.
    void setSelection(int left, int top, int right, int bottom);
    void selectAll();

    // Hands the selected pixels to put (the clipboard); when it succeeds the
    // selection becomes the whole image again.
    bool copySelection(const std::function<bool(const PixelBuffer&)>& put);
    // Places the clipboard bitmap at the selection's top-left corner. When its
    // size differs from the selection's, askFit chooses stretch or clip
    // (none: cancelled). A monochrome image takes every non-white pixel as black.
    bool paste(const ClipboardImage& clip, Ui& ui, const std::function<std::optional<PasteFit>()>& askFit);

    IconKind iconKind() const { return iconKind_; }
    void setIconKind(IconKind kind) { iconKind_ = kind; }

private:
    ImageDocType type_;
    std::string path_;
    std::vector<ImageRecord> images_;
    int current_ = -1;
    std::optional<PixelBuffer> surface_;
    std::optional<PixelBuffer> undo_;
    bool surfaceChanged_ = false;
    bool storedChanged_ = false;
    bool modified_ = false;
    SelectionRect selection_;
    IconKind iconKind_ = IconKind::NotIcon;
};

}  // namespace varn
