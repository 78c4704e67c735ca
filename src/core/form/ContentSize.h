// Size to content: the pixel size a control needs for its bitmap or for its
// text with the frame margins of its kind. The GUI measures text and the
// system's edge and border metrics; bitmap sizes come from the project's
// image files.
#pragma once

#include <optional>
#include <string>

#include "form/FormFonts.h"
#include "image/PixelBuffer.h"

namespace varn {

class CVARNFBControl;
class ImageProject;

struct PixelSize {
    int width = 0;
    int height = 0;
    bool operator==(const PixelSize&) const = default;
};

// What size to content has to ask the window system and the project.
class FormMeasure {
public:
    virtual ~FormMeasure() = default;
    // The extent of one line of text in the font, in pixels.
    virtual PixelSize textExtent(const FormFont& font, const std::string& text) = 0;
    // The pixel size of the project image of that name; nothing when there is none.
    virtual std::optional<PixelSize> bitmapSize(const std::string& name) = 0;
    // The system's edge and border metrics.
    virtual PixelSize edge() const { return {2, 2}; }
    virtual PixelSize border() const { return {1, 1}; }
    virtual int scrollBarWidth() const { return 16; }
};

// The size a control of its kind needs around a text of that extent: its
// frame (edge and border on each side) and what the kind draws beside the
// text (a drop arrow or scroll bar, a check box, a button's padding).
PixelSize fitText(int kindCode, PixelSize text, const FormMeasure& measure);

// The size to content of a control: its bitmap's size when it has a bitmap
// the measure knows, else the text fitted to its kind. Nothing for a grid or
// frame, which keep their size.
std::optional<PixelSize> contentSize(const CVARNFBControl& control, const FormFont& font, const std::string& text,
                                     FormMeasure& measure);

// The pixel size of the first image in the project's image file of that base
// name (read quietly); nothing when the project has no such image or the
// file cannot be read.
std::optional<PixelSize> projectBitmapSize(const ImageProject& project, const std::string& name);
// The first image of that bitmap, decoded; none when the project has no such
// image or its file cannot be read.
std::optional<PixelBuffer> projectBitmap(const ImageProject& project, const std::string& name);

}  // namespace varn
