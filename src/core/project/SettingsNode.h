// The settings tree written to profile files: named nodes with ordered keys and
// ordered children, stored one section per node ("Root.Child.Grandchild") with
// the children listed under "ptn_Child1", "ptn_Child2", ... Project files and
// install settings files are such trees.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/ProfileFile.h"

namespace varn {

class SettingsNode {
public:
    static constexpr std::size_t kBinPieceLength = 250;

    explicit SettingsNode(std::string name = {}) : name_(std::move(name)) {}
    SettingsNode(const SettingsNode& other);
    SettingsNode& operator=(const SettingsNode& other);
    SettingsNode(SettingsNode&&) = default;
    SettingsNode& operator=(SettingsNode&&) = default;

    const std::string& name() const { return name_; }

    // Keys, in the order they were set.
    const std::vector<std::pair<std::string, std::string>>& keys() const { return keys_; }
    std::optional<std::string> value(const std::string& key) const;
    bool has(const std::string& key) const { return value(key).has_value(); }

    std::string getString(const std::string& key, const std::string& def = {}) const;
    int getInt(const std::string& key, int def) const;
    // True when the upper-cased value is "TRUE".
    bool getBool(const std::string& key, bool def) const;
    // Two letters a byte, low nibble first ('A' + nibble); long values in
    // "_BinCount"/"_BinVal%d" pieces. Malformed values read as missing.
    std::optional<std::vector<std::uint8_t>> getBinary(const std::string& key) const;

    void setString(const std::string& key, const std::string& value);
    void setInt(const std::string& key, int value);
    void setBool(const std::string& key, bool value);
    void setBinary(const std::string& key, const std::vector<std::uint8_t>& value);
    void removeKey(const std::string& key);

    const std::vector<std::unique_ptr<SettingsNode>>& children() const { return children_; }
    SettingsNode* child(const std::string& name);
    const SettingsNode* child(const std::string& name) const;
    // Appends a new child (a child of the same name is replaced in place).
    SettingsNode& addChild(const std::string& name);

    // Reads the tree whose root section is `rootName`; empty when the profile
    // has no such section. Keys are read through the profile's key list.
    static std::optional<SettingsNode> load(const ProfileFile& profile, const std::string& rootName);
    // Writes the tree: each node's section is deleted, its keys written in
    // order, then its child list, then each child in turn.
    void save(ProfileFile& profile) const;

    static std::string encodeBinary(const std::vector<std::uint8_t>& bytes);
    static std::optional<std::vector<std::uint8_t>> decodeBinary(const std::string& text);

private:
    static void loadInto(SettingsNode& node, const ProfileFile& profile, const std::string& section, int depth);
    void saveAs(ProfileFile& profile, const std::string& section) const;
    void reindex();

    std::string name_;
    std::vector<std::pair<std::string, std::string>> keys_;
    // Upper-cased key -> position in keys_, so lookups and sets take constant time.
    std::unordered_map<std::string, std::size_t> index_;
    std::unordered_map<std::string, std::size_t> childIndex_;  // upper-cased name -> position in children_
    std::vector<std::unique_ptr<SettingsNode>> children_;
};

}  // namespace varn
