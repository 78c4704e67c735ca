// The install commands of the Build menu: a PRC queued for a HotSync user, a
// ".vsm" copied to the HotSync install folder, a PocketPC ".vce" copied to the
// PocketPC install folder; each rebuilds an out-of-date output first.
#pragma once

#include <string>

namespace varn {

class ProjectBuilder;
class HotSyncInstaller;
class Ui;
class SettingsStore;
class BuildHost;

class DeviceInstall {
public:
    static constexpr const char* kNoUserSelected = "The install was not done because a user was not selected.";

    DeviceInstall(ProjectBuilder& builder, HotSyncInstaller& hotSync, Ui& ui, SettingsStore& settings, BuildHost& host)
        : builder_(builder), hotSync_(hotSync), ui_(ui), settings_(settings), host_(host) {}

    void prcInstall();
    void installPrcForUser(std::string user, const std::string& file);
    void vsmInstall();
    void pocketPCInstall();

private:
    ProjectBuilder& builder_;
    HotSyncInstaller& hotSync_;
    Ui& ui_;
    SettingsStore& settings_;
    BuildHost& host_;
};

}  // namespace varn
