#include "installer/SetupIconUpdate.h"

#include <optional>

#include "installer/IconFile.h"
#include "installer/PeResources.h"

namespace varn::install {

std::vector<std::string> setupIconExecutables(const std::string& installFolder, const std::string& projectBaseName) {
    std::string folder = installFolder;
    if (!folder.empty() && folder.back() != '/') folder += '/';
    std::vector<std::string> out;
    for (const char* cpu : {"ARM", "MIPS", "SH3"}) out.push_back(folder + cpu + "/" + projectBaseName + ".exe");
    return out;
}

std::string updateSetupIcons(Ui& ui, const std::string& icoPath, const std::string& installFolder,
                             const std::string& projectBaseName) {
    return updateSetupIcons(ui, icoPath, setupIconExecutables(installFolder, projectBaseName));
}

std::string updateSetupIcons(Ui& ui, const std::string& icoPath, const std::vector<std::string>& executables) {
    std::string lines;
    std::optional<std::string> large = readIconImage(ui, icoPath, false);
    if (!large) lines += "WARNING: 32x32 16 or 32 bit color icon not found\r\n";
    std::optional<std::string> small = readIconImage(ui, icoPath, true);
    if (!small) lines += "WARNING: 16x16 16 or 32 bit color icon not found\r\n";
    if (!large && !small) return lines + "WARNING: No valid icons found, using default VARN icon\r\n";

    // A size the .ico lacks keeps the runtime's own image, so the group icon
    // never names a missing resource.
    auto put = [](ResourceUpdate& update, unsigned name, const std::optional<std::string>& dib) {
        if (!dib) return true;
        return update
            .update(ResourceId(static_cast<std::uint16_t>(kIconResourceType)),
                    ResourceId(static_cast<std::uint16_t>(name)), kIconLanguage, dib->data(), dib->size())
            .ok();
    };
    for (const std::string& exe : executables) {
        auto update = ResourceUpdate::begin(exe);
        if (!update) return lines + "ERROR: Could not begin icon update\r\n";
        if (!put(**update, kLargeIconName, large)) {
            (*update)->end(true);
            return lines + "ERROR: Could not update 32x32 icon\r\n";
        }
        if (!put(**update, kSmallIconName, small)) {
            (*update)->end(true);
            return lines + "ERROR: Could not update 16x16 icon\r\n";
        }
        if (!(*update)->end(false)) return lines + "ERROR: Could not complete icon update\r\n";
    }
    return lines;
}

}  // namespace varn::install
