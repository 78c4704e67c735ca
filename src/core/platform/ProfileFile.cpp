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
            std::string name = trim(line.substr(1, close == std::string::npos ? std::string::npos : close - 1));
            current = file.find(name);
            if (!current) {
                file.sections_.push_back({name, {}});
                current = &file.sections_.back();
            }
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
        std::string value = trim(line.substr(eq + 1));
        bool replaced = false;
        for (auto& e : current->entries) {
            if (!e.raw && paths::equalNoCase(e.key, key)) {
                replaced = true;  // the first occurrence wins, as the profile functions find it
                break;
            }
        }
        if (!replaced) current->entries.push_back({key, value, false});
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
    for (auto& s : sections_)
        if (paths::equalNoCase(s.name, section)) return &s;
    return nullptr;
}

const ProfileFile::Section* ProfileFile::find(const std::string& section) const {
    for (const auto& s : sections_)
        if (paths::equalNoCase(s.name, section)) return &s;
    return nullptr;
}

bool ProfileFile::hasSection(const std::string& section) const { return find(section) != nullptr; }

std::optional<std::string> ProfileFile::value(const std::string& section, const std::string& key) const {
    const Section* s = find(section);
    if (!s) return std::nullopt;
    for (const auto& e : s->entries)
        if (!e.raw && paths::equalNoCase(e.key, key)) return e.value;
    return std::nullopt;
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
    const Section* s = find(section);
    if (!s) return {};
    std::string all;
    for (const auto& e : s->entries)
        if (!e.raw) all += e.key + '\0';
    // A buffer of `size` bytes holds size - 2 characters and two closing NULs;
    // the caller doubles it while the result fills it, up to 8192.
    std::size_t size = 512;
    while (all.size() >= size - 2 && size < 8192) size *= 2;
    if (all.size() > size - 2) all.resize(size - 2);
    std::vector<std::string> names;
    std::size_t start = 0;
    while (start < all.size()) {
        std::size_t end = all.find('\0', start);
        if (end == std::string::npos) end = all.size();
        if (end > start) names.push_back(all.substr(start, end - start));
        start = end + 1;
    }
    return names;
}

void ProfileFile::set(const std::string& section, const std::string& key, const std::string& value) {
    Section* s = find(section);
    if (!s) {
        sections_.push_back({section, {}});
        s = &sections_.back();
    }
    for (auto& e : s->entries) {
        if (!e.raw && paths::equalNoCase(e.key, key)) {
            e.value = value;
            return;
        }
    }
    s->entries.push_back({key, value, false});
}

void ProfileFile::removeKey(const std::string& section, const std::string& key) {
    Section* s = find(section);
    if (!s) return;
    std::erase_if(s->entries, [&](const Entry& e) { return !e.raw && paths::equalNoCase(e.key, key); });
}

void ProfileFile::removeSection(const std::string& section) {
    std::erase_if(sections_, [&](const Section& s) { return paths::equalNoCase(s.name, section); });
}

}  // namespace varn
