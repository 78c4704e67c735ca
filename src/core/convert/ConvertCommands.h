// The two conversion tools as commands: what the "Convert VDI to PDB" and
// "Import Image" dialogs run when their button is pressed, and what the
// command line runs without a display (-convertvdi, -importbmp). Messages go
// through the Ui; the result says whether the tool succeeded.
#pragma once

#include <optional>
#include <string>

#include "app/Ui.h"
#include "image/ImageProject.h"
#include "project/ProjectSettings.h"

namespace varn {

inline constexpr const char* kDefaultVdiCreator = "VARN";
inline constexpr const char* kCreatorEmpty = "The creator ID can not be empty.";
inline constexpr const char* kCreatorNotUpper =
    "User application creator ID's should start with an uppercase letter.\n"
    "The program may fail if this is not done.\nDo you wish to change it?";
inline constexpr const char* kConversionCompleted = "Conversion completed.";

// The creator ID the conversion dialog starts with: "VARN", or, when a project
// is open, "ChangeDBCreatorID" is set and "CreatorID" is not empty, the
// project's creator ID decoded from its hexadecimal digits, cut to 4.
std::string vdiStartCreator(const ProjectSettings* openProject);

enum class CreatorCheck {
    Accepted,    // go on with the conversion
    Empty,       // refused; the dialog puts the focus on the creator field
    ChangeWanted // the user chose to change it; back to the creator field
};

// The two checks before a conversion: an empty ID (stop icon, Yes and No,
// the answer is not used) and a first character that is not "A".."Z" (a
// Yes/No question with an exclamation icon). questionDefault is the answer
// of the question when nobody is there to click.
CreatorCheck checkVdiCreator(const std::string& creator, Ui& ui,
                             std::optional<Answer> questionDefault = std::nullopt);

// Converts `input` to the ".PDB" beside it (replaced when it exists) with a
// wait cursor and shows "Conversion completed." on success. What the dialog
// runs after the creator checks.
bool runVdiConversion(const std::string& input, const std::string& creator, bool nonBeamable, bool backup, Ui& ui);

// The command line's -convertvdi: the creator checks (the question answers
// "No" unless the Ui answers otherwise, so a script goes on), then the
// conversion. The creator is cut to 4 characters; without one the dialog's
// starting ID is taken (vdiStartCreator of `openProject`).
bool convertVdi(const std::string& file, const std::optional<std::string>& creator, bool nonBeamable, bool backup,
                Ui& ui, const ProjectSettings* openProject = nullptr);

// The command line's -importbmp and the "Import" button: imports the BMP into
// the image file and adds it to the project when one is given.
bool importBmp(const std::string& bmp, const std::string& imageFile, Ui& ui, ImageProject* project = nullptr);

}  // namespace varn
