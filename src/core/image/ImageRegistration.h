// Bitmap and icon files in the project: their name rule (the base name must be
// a VARN identifier, since the compiler and the forms refer to images by it),
// the clash between a bitmap and an icon of the same name, and registration of
// a saved file as a bitmap, desktop icon or list icon.
#pragma once

#include <string>

#include "app/Ui.h"
#include "image/ImageIcons.h"
#include "image/ImageProject.h"

namespace varn {

enum class ImageFileType { Bitmap, Icon, Other };

// By extension, without regard to case: ".vbm" bitmap, ".vic" icon.
ImageFileType imageFileTypeOf(const std::string& path);

// File name without folder and without extension.
std::string imageBaseName(const std::string& path);

// After trimming blanks the name is not empty and holds only ASCII letters,
// digits and "_" (a leading digit is allowed).
bool followsImageNameRule(const std::string& baseName);

// Name rule and clash check for adding a bitmap or icon file to the project.
// Shows the refusal (stop icon) and returns false when the file may not be
// added; any other type is refused without a message.
bool checkImageFileName(const std::string& path, const ImageProject& project, Ui& ui);

// Registers a file that was just saved: a bitmap is added as a bitmap file; an
// icon becomes the desktop or list icon by its kind (NotIcon registers
// nothing). The project is marked modified when something was registered.
// False when the check refused it or the type is neither bitmap nor icon.
bool registerImageFile(const std::string& path, IconKind kind, ImageProject& project, Ui& ui);

}  // namespace varn
