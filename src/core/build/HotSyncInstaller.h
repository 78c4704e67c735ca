// The desktop side of device synchronisation for PRC files: the HotSync users
// and the queue of files each will receive on its next HotSync. The stand-in
// keeps one folder per user under the Palm desktop folder and queues a file by
// copying it into that user's "Install" folder.
#pragma once

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
};

class FolderHotSyncInstaller : public HotSyncInstaller {
public:
    static constexpr int kInstallFailed = -512;
    explicit FolderHotSyncInstaller(std::string desktopFolder) : folder_(std::move(desktopFolder)) {}

    // The Palm desktop folder: "Path" of the "Core" key of the Palm desktop's
    // settings, under "Palm Computing" or else "U.S. Robotics".
    static std::string desktopFolder();

    int userCount() override;
    std::string userName(int index) override;
    int prepare(const std::string& user, const std::string& file) override;
    int install(const std::string& user, const std::string& file) override;

private:
    std::vector<std::string> users();
    std::string folder_;
};

}  // namespace varn
