#include "platform/SettingsStore.h"

#include <cstdlib>

#include "platform/FileSystem.h"
#include "platform/Paths.h"

namespace varn {

namespace {

std::string envOr(const char* name, const std::string& def) {
    const char* v = std::getenv(name);
    return (v && *v) ? std::string(v) : def;
}

std::string fileBelow(const std::string& folder) {
    return paths::join(paths::join(folder, SettingsStore::kCompany), std::string(SettingsStore::kApplication) + ".ini");
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::string SettingsStore::userFilePath() {
    std::string home = envOr("HOME", "/tmp");
    return fileBelow(envOr("XDG_CONFIG_HOME", paths::join(home, ".config")));
}

std::vector<std::string> SettingsStore::machineFilePaths() {
    std::string dirs = envOr("XDG_CONFIG_DIRS", "/etc/xdg");
    std::vector<std::string> out;
    std::size_t start = 0;
    while (start <= dirs.size()) {
        std::size_t end = dirs.find(':', start);
        if (end == std::string::npos) end = dirs.size();
        if (end > start) out.push_back(fileBelow(dirs.substr(start, end - start)));
        start = end + 1;
    }
    return out;
}

SettingsStore SettingsStore::open(const std::string& path) {
    SettingsStore store;
    store.path_ = path;
    auto parsed = ProfileFile::load(path, true);
    if (parsed) store.profile_ = std::move(*parsed);
    else store.unreadable_ = true;
    return store;
}

SettingsStore SettingsStore::openMachine() {
    for (const auto& p : machineFilePaths())
        if (fsys::exists(p)) return open(p);
    return {};
}

int SettingsStore::getInt(const std::string& section, const std::string& key, int def) const {
    return profile_.getInt(section, key, def);
}

std::string SettingsStore::getString(const std::string& section, const std::string& key, const std::string& def) const {
    auto v = profile_.value(section, key);
    return v ? *v : def;
}

std::optional<std::vector<std::uint8_t>> SettingsStore::getBinary(const std::string& section,
                                                                  const std::string& key) const {
    auto v = profile_.value(section, key);
    if (!v || v->size() % 2 != 0) return std::nullopt;
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i < v->size(); i += 2) {
        int hi = hexDigit((*v)[i]), lo = hexDigit((*v)[i + 1]);
        if (hi < 0 || lo < 0) return std::nullopt;
        bytes.push_back(static_cast<std::uint8_t>(hi * 16 + lo));
    }
    return bytes;
}

bool SettingsStore::has(const std::string& section, const std::string& key) const {
    return profile_.value(section, key).has_value();
}

std::vector<std::string> SettingsStore::keyNames(const std::string& section) const {
    std::vector<std::string> out;
    for (const auto& s : profile_.sections()) {
        if (!paths::equalNoCase(s.name, section)) continue;
        for (const auto& e : s.entries)
            if (!e.raw) out.push_back(e.key);
    }
    return out;
}

void SettingsStore::setInt(const std::string& section, const std::string& key, int value) {
    profile_.set(section, key, std::to_string(value));
}

void SettingsStore::setString(const std::string& section, const std::string& key, const std::string& value) {
    profile_.set(section, key, value);
}

void SettingsStore::setBinary(const std::string& section, const std::string& key,
                              const std::vector<std::uint8_t>& value) {
    static const char* digits = "0123456789ABCDEF";
    std::string text;
    for (auto b : value) {
        text += digits[b >> 4];
        text += digits[b & 15];
    }
    profile_.set(section, key, text);
}

void SettingsStore::removeKey(const std::string& section, const std::string& key) { profile_.removeKey(section, key); }

void SettingsStore::removeSection(const std::string& section) { profile_.removeSection(section); }

Status SettingsStore::save() const {
    if (path_.empty()) return makeError("The settings store has no file");
    Status made = fsys::createFolders(paths::folderOf(path_));
    if (!made) return made;
    return profile_.save(path_, "\n");
}

}  // namespace varn
