#include "build/DeviceInstall.h"

#include "app/Ui.h"
#include "build/BuildHost.h"
#include "build/HotSyncInstaller.h"
#include "build/ProjectBuilder.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "platform/SettingsStore.h"

namespace varn {

namespace {

std::time_t timeOf(const std::string& path) { return path.empty() ? 0 : fsys::modificationTime(fsys::resolveCase(path)); }

// Deletes the destination, then copies; false when the copy failed.
bool replaceCopy(const std::string& from, const std::string& folder) {
    std::string to = paths::join(paths::toNative(folder), paths::fileName(from));
    if (fsys::exists(to)) (void)fsys::removeFile(to);
    return fsys::copyFile(fsys::resolveCase(from), to).ok();
}

}  // namespace

void DeviceInstall::prcInstall() {
    if (builder_.busy()) return;
    const BuildPaths p = builder_.paths();
    const BuildFlags f = builder_.flags();
    builder_.setBuildFailed(false);
    host_.saveDocuments(settings_.getInt("Settings", "ConfirmAutoSave", 0) != 0, false);
    builder_.rebuildOffer(p.compiledInput(f));
    if (builder_.buildFailed()) return;
    std::time_t prc = timeOf(p.prcFile());
    std::time_t icon = timeOf(builder_.largeIconPath());
    if (timeOf(p.compiledInput(f)) > prc || icon > prc) builder_.makePrc(true);
    if (builder_.buildFailed()) return;
    installPrcForUser({}, fsys::resolveCase(p.prcFile()));
}

void DeviceInstall::installPrcForUser(std::string user, const std::string& file) {
    if (user.empty()) {
        std::vector<std::string> users;
        int count = hotSync_.userCount();
        for (int i = 0; i < count; ++i) {
            std::string name = hotSync_.userName(i);
            if (!name.empty()) users.push_back(name);
        }
        if (users.empty()) {  // nobody to choose: say where users come from
            ui_.warning(std::string(kNoUserSelected) + "\n\n" + hotSync_.whereUsersAre());
            return;
        }
        auto chosen = host_.chooseHotSyncUser(users, settings_.getString("Settings", "CurrentInstallUser"));
        if (!chosen) return;
        user = *chosen;
        settings_.setString("Settings", "CurrentInstallUser", user);
    }
    if (user.empty()) {
        ui_.warning(kNoUserSelected);
        return;
    }
    hotSync_.prepare(user, file);
    int result = hotSync_.install(user, file);
    if (result == -512) ui_.error("Error during PRC install, error code " + std::to_string(result));
}

void DeviceInstall::vsmInstall() {
    if (builder_.busy()) return;
    const BuildPaths p = builder_.paths();
    std::string file = paths::join(p.outputFolder(), p.baseName + ".VSM");
    std::string folder = settings_.getString("Settings", "PalmPilotInstallDir");
    if (folder.empty()) {
        ui_.error("HotSync install path not set (configured in IDE Settings...)");
        return;
    }
    builder_.setBuildFailed(false);
    builder_.setNoBitmapSegments(true);
    builder_.rebuildOffer(file);
    builder_.setNoBitmapSegments(false);
    if (builder_.buildFailed()) return;
    if (replaceCopy(file, folder)) ui_.info("VSM file has been installed and will be downloaded on the next synchronization");
    else ui_.error("Could not install VSM file");
}

void DeviceInstall::pocketPCInstall() {
    if (builder_.busy()) return;
    const BuildPaths p = builder_.paths();
    std::string file = paths::join(p.outputFolder(), p.baseName + ".vce");
    std::string folder = settings_.getString("Settings", "WinCEInstallDir");
    if (folder.empty()) {
        ui_.error("PocketPC install path not set (configured in IDE Settings...)");
        return;
    }
    builder_.setBuildFailed(false);
    builder_.rebuildOffer(file);
    if (builder_.buildFailed()) return;
    std::string name = paths::fileName(file);
    if (replaceCopy(file, folder))
        ui_.info("The application " + name + " has been installed and will be downloaded on the next synchronization");
    else
        ui_.error("Could not install " + name);
}

}  // namespace varn
