// The desktop side of device synchronisation for PRC files: the HotSync users
// and the queue of files each will receive on its next HotSync. The stand-in
// keeps one folder per user under the Palm desktop folder and queues a file by
// copying it into that user's "Install" folder.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace varn {

class HotSyncInstaller {
public:
    virtual ~HotSyncInstaller() = default;
    virtual int userCount() = 0;
    // The name of user `index`; empty when the library reports none.
    virtual std::string userName(int index) = 0;
    virtual int prepare(const std::string& user, const std::string& file) = 0;
    // 0 on success; -512 when the file could not be queued.
    virtual int install(const std::string& user, const std::string& file) = 0;
    // Where the users are looked up, told to the user when none is found.
    virtual std::string whereUsersAre() { return {}; }
};

class FolderHotSyncInstaller : public HotSyncInstaller {
public:
    static constexpr int kInstallFailed = -512;
    // The Palm desktop folder is read from its settings at each use, so that
    // setting it up needs no restart.
    FolderHotSyncInstaller() = default;
    explicit FolderHotSyncInstaller(std::string desktopFolder) : fixed_(std::move(desktopFolder)) {}

    // The Palm desktop folder: "Path" in the section "Core" of
    // "$XDG_CONFIG_HOME/Palm Computing/Pilot Desktop.ini", else of
    // ".../U.S. Robotics/Pilot Desktop.ini".
    static std::string desktopFolder();
    // The first of those two files.
    static std::string settingsFile();

    int userCount() override;
    std::string userName(int index) override;
    int prepare(const std::string& user, const std::string& file) override;
    int install(const std::string& user, const std::string& file) override;
    std::string whereUsersAre() override;

private:
    std::string folder() const { return fixed_ ? *fixed_ : desktopFolder(); }
    std::vector<std::string> users();
    std::optional<std::string> fixed_;
};

}  // namespace varn
