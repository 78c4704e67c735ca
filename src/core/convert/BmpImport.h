// Import of a Windows BMP file into a VARN image file (.vbm, .vic). An image
// file is a sequence of BMP-format blocks, so the import appends the BMP's
// bytes unchanged: as the first image of a new file, as the second bitmap type
// (colour beside monochrome) of an existing one, or in place of the existing
// image of the same kind. The BMP is checked first to be one the image editor
// reads back (one block, 40-byte header, one plane, 1/4/8/24 bits,
// uncompressed, bottom-up, 1..1000 pixels, full colour table), so that the
// import never produces a file the editor rejects.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "app/Ui.h"
#include "image/ByteSource.h"
#include "image/ImageProject.h"

namespace varn {

// What the block scan finds in a file: whether it holds a monochrome (1 bit
// per pixel) and a colour (more bits) image, and the size of the last block.
struct ImageBlockScan {
    bool hasMonochrome = false;
    bool hasColour = false;
    std::int32_t width = 0;
    std::int32_t height = 0;
    int blocks = 0;  // block headers read in full
};

// Reads block header and information header after each other, stepping by
// each block-size field; stops at the first short read or a block size of 0.
ImageBlockScan scanImageBlocks(ByteSource& in);

// Why the BMP is not one the image editor reads back as one image block, in a
// few words for the message; empty when it is.
std::string bmpImportProblem(ByteSource& bmp);

// The image file the dialog proposes for a BMP: its folder + base name + ".vbm".
std::string defaultImageFileFor(const std::string& bmpPath);

// The whole import with its messages. On success the image file is written
// (through a temporary file and a rename), added to the project as a bitmap
// when a project is given, the project is marked modified and "Import
// complete." is shown. `written` receives the image file's path (".vbm"
// appended when it had no extension).
bool importBmpFile(const std::string& bmpPath, const std::string& imageFile, Ui& ui, ImageProject* project,
                   std::string* written = nullptr);

namespace importmsg {
inline constexpr const char* kCannotOpenImport = "Could not open import file %s";
inline constexpr const char* kNotAcceptable = "The import file %s is not a BMP the image editor accepts: %s.";
inline constexpr const char* kBadName = "Bitmap file names must follow VARN variable naming rules.";
inline constexpr const char* kCannotOpenImage = "Could not open VARN image file %s";
inline constexpr const char* kBothKinds = "VARN image file already has a color and monochrome image.";
inline constexpr const char* kSizeDiffers =
    "The imported image size (%dx%d) must be the same as the existing image size (%dx%d).";
inline constexpr const char* kCannotRead = "Could not read the import file %s.";
inline constexpr const char* kCannotWrite = "Could not write the VARN image file %s.";
inline constexpr const char* kComplete = "Import complete.";
}  // namespace importmsg

}  // namespace varn
