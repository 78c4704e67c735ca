#include "convert/ConvertCommands.h"

#include "convert/BmpImport.h"
#include "convert/VdiConverter.h"
#include "project/CreatorId.h"

namespace varn {

std::string vdiStartCreator(const ProjectSettings* openProject) {
    if (!openProject || !openProject->changeDBCreatorID || openProject->creatorID.empty()) return kDefaultVdiCreator;
    std::string text = creator::hexToText(openProject->creatorID);
    return text.substr(0, 4);
}

CreatorCheck checkVdiCreator(const std::string& creator, Ui& ui, std::optional<Answer> questionDefault) {
    if (creator.empty()) {
        ui.message({kCreatorEmpty, {}, MsgIcon::Error, MsgButtons::YesNo, {}});
        return CreatorCheck::Empty;
    }
    if (creator.front() < 'A' || creator.front() > 'Z') {
        Answer a = ui.message({kCreatorNotUpper, {}, MsgIcon::Warning, MsgButtons::YesNo, questionDefault});
        if (a == Answer::Yes) return CreatorCheck::ChangeWanted;
    }
    return CreatorCheck::Accepted;
}

bool runVdiConversion(const std::string& input, const std::string& creator, bool nonBeamable, bool backup, Ui& ui) {
    VdiConversion c;
    c.input = input;
    c.output = pdbPathFor(input);
    c.creator = creator.substr(0, 4);
    c.nonBeamable = nonBeamable;
    c.backup = backup;
    bool ok;
    {
        WaitCursor wait(ui);
        ok = convertVdiToPdb(c, ui);
    }
    if (ok) ui.info(kConversionCompleted);
    return ok;
}

bool convertVdi(const std::string& file, const std::optional<std::string>& creator, bool nonBeamable, bool backup,
                Ui& ui, const ProjectSettings* openProject) {
    const std::string id = creator ? creator->substr(0, 4) : vdiStartCreator(openProject);
    if (checkVdiCreator(id, ui, Answer::No) != CreatorCheck::Accepted) return false;
    return runVdiConversion(file, id, nonBeamable, backup, ui);
}

bool importBmp(const std::string& bmp, const std::string& imageFile, Ui& ui, ImageProject* project) {
    return importBmpFile(bmp, imageFile, ui, project);
}

}  // namespace varn
