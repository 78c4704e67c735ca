#include "platform/ProfileFile.h"

#include "platform/TextLines.h"

#include <climits>

#include "platform/FileSystem.h"
#include "platform/Paths.h"

namespace varn {

namespace {

std::string trim(const std::string& s) {
    std::size_t b = 0, e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t')) --e;
    return s.substr(b, e - b);
}

}  // namespace

int parseLeadingInt(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative) value = -value;
    if (value > INT_MAX) value = INT_MAX;
    if (value < INT_MIN) value = INT_MIN;
    return static_cast<int>(value);
}

Result<ProfileFile> ProfileFile::parse(const std::string& text, bool strict) {
    if (strict && text.find('\0') != std::string::npos) return makeError("not a profile: NUL byte");
    ProfileFile file;
    Section* current = nullptr;
    for (const std::string& rawLine : splitLines(text)) {
        std::string line = trim(rawLine);
        if (!line.empty() && line[0] == '[') {
            auto close = line.find(']');
            current = &file.findOrAdd(trim(line.substr(1, close == std::string::npos ? std::string::npos : close - 1)));
            continue;
        }
        if (!current) {
            if (strict && !line.empty() && line[0] != ';' && line[0] != '#')
                return makeError("not a profile: text before the first section");
            continue;
        }
        auto eq = line.find('=');
        if (line.empty() || line[0] == ';' || eq == std::string::npos) {
            if (!line.empty()) current->entries.push_back({{}, rawLine, true});
            continue;
        }
        std::string key = trim(line.substr(0, eq));
        // The first occurrence wins, as the profile functions find it.
        if (current->index.try_emplace(paths::upper(key), current->entries.size()).second)
            current->entries.push_back({key, trim(line.substr(eq + 1)), false});
    }
    return file;
}

Result<ProfileFile> ProfileFile::load(const std::string& path, bool strict) {
    if (!fsys::exists(path)) return ProfileFile{};
    auto bytes = fsys::readFile(path);
    if (!bytes) return bytes.error();
    return parse(*bytes, strict);
}

std::string ProfileFile::serialize(const char* lineEnd) const {
    std::string out;
    for (const auto& s : sections_) {
        out += "[" + s.name + "]" + lineEnd;
        for (const auto& e : s.entries) {
            if (e.raw) out += e.value;
            else out += e.key + "=" + e.value;
            out += lineEnd;
        }
    }
    return out;
}

Status ProfileFile::save(const std::string& path, const char* lineEnd) const {
    return fsys::writeFileAtomic(path, serialize(lineEnd));
}

ProfileFile::Section* ProfileFile::find(const std::string& section) {
    auto it = sectionIndex_.find(paths::upper(section));
    return it == sectionIndex_.end() ? nullptr : &sections_[it->second];
}

const ProfileFile::Section* ProfileFile::find(const std::string& section) const {
    auto it = sectionIndex_.find(paths::upper(section));
    return it == sectionIndex_.end() ? nullptr : &sections_[it->second];
}

ProfileFile::Section& ProfileFile::findOrAdd(const std::string& section) {
    auto [it, added] = sectionIndex_.try_emplace(paths::upper(section), sections_.size());
    if (added) sections_.push_back({section, {}, {}});
    return sections_[it->second];
}

const ProfileFile::Entry* ProfileFile::findEntry(const Section& s, const std::string& key) {
    auto it = s.index.find(paths::upper(key));
    return it == s.index.end() ? nullptr : &s.entries[it->second];
}

void ProfileFile::reindexSections() {
    sectionIndex_.clear();
    for (std::size_t i = 0; i < sections_.size(); ++i) sectionIndex_.emplace(paths::upper(sections_[i].name), i);
}

bool ProfileFile::hasSection(const std::string& section) const { return find(section) != nullptr; }

std::optional<std::string> ProfileFile::value(const std::string& section, const std::string& key) const {
    const Section* s = find(section);
    const Entry* e = s ? findEntry(*s, key) : nullptr;
    if (!e) return std::nullopt;
    return e->value;
}

std::string ProfileFile::getString(const std::string& section, const std::string& key, const std::string& def) const {
    auto v = value(section, key);
    if (!v) return def;
    const std::string& s = *v;
    if (s.size() >= 2 && (s.front() == '"' || s.front() == '\'') && s.back() == s.front())
        return s.substr(1, s.size() - 2);
    return s;
}

int ProfileFile::getInt(const std::string& section, const std::string& key, int def) const {
    auto v = value(section, key);
    if (!v) return def;
    return parseLeadingInt(*v);
}

std::vector<std::string> ProfileFile::keyNames(const std::string& section) const {
    std::vector<std::string> names;
    if (const Section* s = find(section)) {
        names.reserve(s->index.size());
        for (const auto& e : s->entries)
            if (!e.raw && !e.key.empty()) names.push_back(e.key);
    }
    return names;
}

void ProfileFile::set(const std::string& section, const std::string& key, const std::string& value) {
    Section& s = findOrAdd(section);
    auto [it, added] = s.index.try_emplace(paths::upper(key), s.entries.size());
    if (added) s.entries.push_back({key, value, false});
    else s.entries[it->second].value = value;
}

void ProfileFile::removeKey(const std::string& section, const std::string& key) {
    Section* s = find(section);
    if (!s) return;
    auto it = s->index.find(paths::upper(key));
    if (it == s->index.end()) return;
    s->entries.erase(s->entries.begin() + static_cast<std::ptrdiff_t>(it->second));
    s->index.clear();
    for (std::size_t i = 0; i < s->entries.size(); ++i)
        if (!s->entries[i].raw) s->index.emplace(paths::upper(s->entries[i].key), i);
}

void ProfileFile::removeSection(const std::string& section) {
    auto it = sectionIndex_.find(paths::upper(section));
    if (it == sectionIndex_.end()) return;
    sections_.erase(sections_.begin() + static_cast<std::ptrdiff_t>(it->second));
    reindexSections();
}

}  // namespace varn
