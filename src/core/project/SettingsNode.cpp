#include "project/SettingsNode.h"

#include <cstdio>

#include "platform/Paths.h"

namespace varn {

namespace {

constexpr const char* kChildKey = "ptn_Child";
// Deeper trees than this are not ours; stop rather than recurse on a cycle.
constexpr int kMaxDepth = 32;

bool isChildKey(const std::string& key) {
    std::string prefix = kChildKey;
    if (key.size() <= prefix.size() || !paths::equalNoCase(key.substr(0, prefix.size()), prefix)) return false;
    for (std::size_t i = prefix.size(); i < key.size(); ++i)
        if (key[i] < '0' || key[i] > '9') return false;
    return true;
}

}  // namespace

SettingsNode::SettingsNode(const SettingsNode& other)
    : name_(other.name_), keys_(other.keys_), index_(other.index_), childIndex_(other.childIndex_) {
    for (const auto& c : other.children_) children_.push_back(std::make_unique<SettingsNode>(*c));
}

SettingsNode& SettingsNode::operator=(const SettingsNode& other) {
    if (this != &other) {
        SettingsNode copy(other);
        *this = std::move(copy);
    }
    return *this;
}

std::optional<std::string> SettingsNode::value(const std::string& key) const {
    auto it = index_.find(paths::upper(key));
    if (it == index_.end()) return std::nullopt;
    return keys_[it->second].second;
}

std::string SettingsNode::getString(const std::string& key, const std::string& def) const {
    auto v = value(key);
    return v ? *v : def;
}

int SettingsNode::getInt(const std::string& key, int def) const {
    auto v = value(key);
    return v ? parseLeadingInt(*v) : def;
}

bool SettingsNode::getBool(const std::string& key, bool def) const {
    auto v = value(key);
    return v ? paths::upper(*v) == "TRUE" : def;
}

std::string SettingsNode::encodeBinary(const std::vector<std::uint8_t>& bytes) {
    std::string text;
    text.reserve(bytes.size() * 2);
    for (auto b : bytes) {
        text += static_cast<char>('A' + (b & 15));
        text += static_cast<char>('A' + (b >> 4));
    }
    return text;
}

std::optional<std::vector<std::uint8_t>> SettingsNode::decodeBinary(const std::string& text) {
    if (text.size() % 2 != 0) return std::nullopt;
    std::vector<std::uint8_t> bytes;
    bytes.reserve(text.size() / 2);
    for (std::size_t i = 0; i < text.size(); i += 2) {
        int lo = text[i] - 'A', hi = text[i + 1] - 'A';
        if (lo < 0 || lo > 15 || hi < 0 || hi > 15) return std::nullopt;
        bytes.push_back(static_cast<std::uint8_t>(lo | (hi << 4)));
    }
    return bytes;
}

std::optional<std::vector<std::uint8_t>> SettingsNode::getBinary(const std::string& key) const {
    if (auto whole = value(key)) return decodeBinary(*whole);
    auto count = value(key + "_BinCount");
    if (!count) return std::nullopt;
    int pieces = parseLeadingInt(*count);
    if (pieces < 1 || static_cast<std::size_t>(pieces) > keys_.size()) return std::nullopt;
    std::string text;
    for (int i = 0; i < pieces; ++i) {
        auto piece = value(key + "_BinVal" + std::to_string(i));
        if (!piece) return std::nullopt;
        text += *piece;
    }
    return decodeBinary(text);
}

void SettingsNode::setString(const std::string& key, const std::string& v) {
    auto [it, added] = index_.try_emplace(paths::upper(key), keys_.size());
    if (added) keys_.emplace_back(key, v);
    else keys_[it->second].second = v;
}

void SettingsNode::setInt(const std::string& key, int v) { setString(key, std::to_string(v)); }

void SettingsNode::setBool(const std::string& key, bool v) { setString(key, v ? "True" : "False"); }

void SettingsNode::setBinary(const std::string& key, const std::vector<std::uint8_t>& bytes) {
    removeKey(key);
    std::string text = encodeBinary(bytes);
    if (text.size() <= kBinPieceLength) {
        setString(key, text);
        return;
    }
    std::size_t pieces = (text.size() + kBinPieceLength - 1) / kBinPieceLength;
    setInt(key + "_BinCount", static_cast<int>(pieces));
    for (std::size_t i = 0; i < pieces; ++i)
        setString(key + "_BinVal" + std::to_string(i), text.substr(i * kBinPieceLength, kBinPieceLength));
}

void SettingsNode::removeKey(const std::string& key) {
    std::string count = key + "_BinCount";
    std::string piece = paths::upper(key + "_BinVal");
    std::erase_if(keys_, [&](const auto& kv) {
        const std::string& k = kv.first;
        if (paths::equalNoCase(k, key) || paths::equalNoCase(k, count)) return true;
        return k.size() > piece.size() && paths::upper(k.substr(0, piece.size())) == piece;
    });
    reindex();
}

void SettingsNode::reindex() {
    index_.clear();
    for (std::size_t i = 0; i < keys_.size(); ++i) index_.emplace(paths::upper(keys_[i].first), i);
}

SettingsNode* SettingsNode::child(const std::string& name) {
    auto it = childIndex_.find(paths::upper(name));
    return it == childIndex_.end() ? nullptr : children_[it->second].get();
}

const SettingsNode* SettingsNode::child(const std::string& name) const {
    auto it = childIndex_.find(paths::upper(name));
    return it == childIndex_.end() ? nullptr : children_[it->second].get();
}

SettingsNode& SettingsNode::addChild(const std::string& name) {
    auto [it, added] = childIndex_.try_emplace(paths::upper(name), children_.size());
    if (added) {
        children_.push_back(std::make_unique<SettingsNode>(name));
    } else {
        *children_[it->second] = SettingsNode(name);
    }
    return *children_[it->second];
}

std::optional<SettingsNode> SettingsNode::load(const ProfileFile& profile, const std::string& rootName) {
    if (!profile.hasSection(rootName)) return std::nullopt;
    SettingsNode root(rootName);
    loadInto(root, profile, rootName, 0);
    return root;
}

void SettingsNode::loadInto(SettingsNode& node, const ProfileFile& profile, const std::string& section, int depth) {
    for (const auto& key : profile.keyNames(section)) {
        if (isChildKey(key)) continue;
        if (profile.value(section, key)) node.setString(key, profile.getString(section, key));
    }
    if (depth >= kMaxDepth) return;
    for (int i = 1;; ++i) {
        auto childName = profile.value(section, kChildKey + std::to_string(i));
        if (!childName) break;
        const std::string name = profile.getString(section, kChildKey + std::to_string(i));
        // A child listed again would read the same section again: only the
        // spelling of its name follows the later entry.
        if (SettingsNode* seen = node.child(name)) {
            seen->name_ = name;
            continue;
        }
        SettingsNode& c = node.addChild(name);
        loadInto(c, profile, section + "." + c.name_, depth + 1);
    }
}

void SettingsNode::save(ProfileFile& profile) const { saveAs(profile, name_); }

void SettingsNode::saveAs(ProfileFile& profile, const std::string& section) const {
    profile.removeSection(section);
    for (const auto& [k, v] : keys_) profile.set(section, k, v);
    int n = 1;
    for (const auto& c : children_) profile.set(section, kChildKey + std::to_string(n++), c->name_);
    for (const auto& c : children_) c->saveAs(profile, section + "." + c->name_);
}

}  // namespace varn
