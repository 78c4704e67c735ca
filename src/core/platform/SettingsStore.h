// The per-user settings store (the IDE's registry key): one INI file under
// $XDG_CONFIG_HOME/Quillfen, one section per key path, read with the default
// given at the place of use, written whole at the end. A machine-wide store of
// the same name under $XDG_CONFIG_DIRS is read-only.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/ProfileFile.h"

namespace varn {

class SettingsStore {
public:
    static constexpr const char* kCompany = "Quillfen";
    static constexpr const char* kApplication = "VARNide43";

    // $XDG_CONFIG_HOME/Quillfen/VARNide43.ini (default ~/.config/...).
    static std::string userFilePath();
    // The same file name under each folder of $XDG_CONFIG_DIRS (default /etc/xdg).
    static std::vector<std::string> machineFilePaths();

    SettingsStore() = default;
    // Reads the store; a file that cannot be parsed reads as empty and is not
    // written back until save() is called.
    static SettingsStore open(const std::string& path);
    static SettingsStore openUser() { return open(userFilePath()); }
    // The first machine-wide store that exists (empty when none).
    static SettingsStore openMachine();

    const std::string& path() const { return path_; }
    bool wasUnreadable() const { return unreadable_; }

    int getInt(const std::string& section, const std::string& key, int def) const;
    std::string getString(const std::string& section, const std::string& key, const std::string& def = {}) const;
    std::optional<std::vector<std::uint8_t>> getBinary(const std::string& section, const std::string& key) const;
    bool has(const std::string& section, const std::string& key) const;
    std::vector<std::string> keyNames(const std::string& section) const;

    void setInt(const std::string& section, const std::string& key, int value);
    void setString(const std::string& section, const std::string& key, const std::string& value);
    void setBinary(const std::string& section, const std::string& key, const std::vector<std::uint8_t>& value);
    void removeKey(const std::string& section, const std::string& key);
    void removeSection(const std::string& section);

    // Writes the whole file atomically, creating its folder.
    Status save() const;

private:
    std::string path_;
    ProfileFile profile_;
    bool unreadable_ = false;
};

}  // namespace varn
