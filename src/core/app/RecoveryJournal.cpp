#include "app/RecoveryJournal.h"

#include <dirent.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/FileSystem.h"
#include "platform/Paths.h"

namespace varn {
namespace {

constexpr const char* kIndexHeader = "VarnIde recovery 1";
constexpr const char* kDataSuffix = ".data";
constexpr const char* kIndexSuffix = ".index";

constexpr JournalKind kKinds[] = {JournalKind::Source, JournalKind::Form, JournalKind::Image, JournalKind::MenuBars,
                                  JournalKind::Project};

std::string envOr(const char* name, const std::string& fallback) {
    const char* v = std::getenv(name);
    return v && *v ? std::string(v) : fallback;
}

bool endsWith(const std::string& s, const char* suffix) {
    const std::size_t n = std::strlen(suffix);
    return s.size() >= n && s.compare(s.size() - n, n, suffix) == 0;
}

std::string hex(std::uint64_t v) {
    char buf[17];
    std::snprintf(buf, sizeof buf, "%016llx", static_cast<unsigned long long>(v));
    return buf;
}

// Values are written on one line each; a path with a line break cannot be
// represented and is refused by write().
bool oneLine(const std::string& s) { return s.find_first_of("\r\n") == std::string::npos; }

// A whole decimal (or hexadecimal) number and nothing else: no sign, no
// blank, no byte after it (a NUL inside the text included), at most the
// largest signed 64-bit value so that times and ids keep their sign.
bool parseNumber(const std::string& text, std::uint64_t& out, int base = 10) {
    if (text.empty() || !std::isxdigit(static_cast<unsigned char>(text[0]))) return false;
    char* end = nullptr;
    errno = 0;
    const unsigned long long v = std::strtoull(text.c_str(), &end, base);
    if (errno != 0 || end != text.c_str() + text.size()) return false;
    if (base == 10 && v > static_cast<unsigned long long>(INT64_MAX)) return false;
    out = v;
    return true;
}

}  // namespace

const char* journalKindName(JournalKind kind) {
    switch (kind) {
        case JournalKind::Source:
            return "Source";
        case JournalKind::Form:
            return "Form";
        case JournalKind::Image:
            return "Image";
        case JournalKind::MenuBars:
            return "Menu bars";
        case JournalKind::Project:
            return "Project";
    }
    return "Source";
}

std::string JournalEntry::name() const { return info.originalPath.empty() ? info.title : info.originalPath; }

std::string RecoveryJournal::defaultFolder() {
    const std::string home = envOr("HOME", "/tmp");
    const std::string state = envOr("XDG_STATE_HOME", paths::join(home, ".local/state"));
    return paths::join(paths::join(state, "VarnIde"), "recovery");
}

RecoveryJournal::RecoveryJournal(std::string folder)
    : RecoveryJournal(std::move(folder), ::getpid(), processStartTime(::getpid())) {}

RecoveryJournal::RecoveryJournal(std::string folder, pid_t pid, std::uint64_t processStart)
    : folder_(std::move(folder)), pid_(pid), processStart_(processStart) {}

std::string RecoveryJournal::keyFor(const std::string& originalPath, int untitledNumber) const {
    const std::string owner = std::to_string(pid_) + "-";
    if (originalPath.empty()) return owner + "untitled" + std::to_string(untitledNumber);
    return owner + hex(checksum(originalPath));
}

std::string RecoveryJournal::dataPath(const std::string& key) const { return paths::join(folder_, key + kDataSuffix); }

std::string RecoveryJournal::indexPath(const std::string& key) const {
    return paths::join(folder_, key + kIndexSuffix);
}

std::uint64_t RecoveryJournal::checksum(const std::string& bytes) {
    // FNV-1a, 64 bits: enough to tell a torn or altered entry from a whole one.
    std::uint64_t h = 1469598103934665603ull;
    for (unsigned char c : bytes) {
        h ^= c;
        h *= 1099511628211ull;
    }
    return h;
}

std::string RecoveryJournal::formatIndex(const JournalEntryInfo& info) {
    std::string out = std::string(kIndexHeader) + "\n";
    out += "kind=" + std::string(journalKindName(info.kind)) + "\n";
    out += "path=" + info.originalPath + "\n";
    out += "title=" + info.title + "\n";
    out += "time=" + std::to_string(static_cast<long long>(info.time)) + "\n";
    out += "pid=" + std::to_string(info.pid) + "\n";
    out += "start=" + std::to_string(info.processStart) + "\n";
    out += "original=" + std::to_string(static_cast<long long>(info.originalTime)) + "\n";
    out += "size=" + std::to_string(info.size) + "\n";
    out += "checksum=" + hex(info.checksum) + "\n";
    return out;
}

bool RecoveryJournal::parseIndex(const std::string& text, JournalEntryInfo& info) {
    std::size_t pos = 0;
    auto nextLine = [&](std::string& line) {
        if (pos >= text.size()) return false;
        const std::size_t end = text.find('\n', pos);
        if (end == std::string::npos) return false;  // every line ends with a line feed
        line = text.substr(pos, end - pos);
        pos = end + 1;
        return true;
    };
    std::string line;
    if (!nextLine(line) || line != kIndexHeader) return false;
    const char* keys[] = {"kind", "path", "title", "time", "pid", "start", "original", "size", "checksum"};
    std::string values[std::size(keys)];
    for (std::size_t i = 0; i < std::size(keys); ++i) {
        if (!nextLine(line)) return false;
        const std::string prefix = std::string(keys[i]) + "=";
        if (line.compare(0, prefix.size(), prefix) != 0) return false;
        values[i] = line.substr(prefix.size());
    }
    if (pos != text.size()) return false;

    const auto kind = std::find_if(std::begin(kKinds), std::end(kKinds),
                                   [&](JournalKind k) { return values[0] == journalKindName(k); });
    if (kind == std::end(kKinds)) return false;
    std::uint64_t time = 0, pid = 0, start = 0, original = 0, size = 0, sum = 0;
    if (!parseNumber(values[3], time) || !parseNumber(values[4], pid) || !parseNumber(values[5], start) ||
        !parseNumber(values[6], original) || !parseNumber(values[7], size) || !parseNumber(values[8], sum, 16))
        return false;
    if (pid == 0 || pid > 0x7fffffff) return false;
    info.kind = *kind;
    info.originalPath = values[1];
    info.title = values[2];
    info.time = static_cast<std::time_t>(time);
    info.pid = static_cast<pid_t>(pid);
    info.processStart = start;
    info.originalTime = static_cast<std::time_t>(original);
    info.size = size;
    info.checksum = sum;
    return true;
}

Status RecoveryJournal::write(const std::string& key, JournalKind kind, const std::string& originalPath,
                              const std::string& title, const std::string& bytes, std::time_t now) {
    if (!oneLine(originalPath) || !oneLine(title)) return makeError("The document's name cannot be journalled.");
    if (Status made = fsys::createFolders(folder_); !made) return made;
    JournalEntryInfo info;
    info.key = key;
    info.kind = kind;
    info.originalPath = originalPath;
    info.title = title;
    info.time = now;
    info.pid = pid_;
    info.processStart = processStart_;
    info.originalTime = originalPath.empty() ? 0 : fsys::modificationTime(originalPath);
    info.size = bytes.size();
    info.checksum = checksum(bytes);
    // The index is written last: an entry whose data write never finished has
    // no index yet, or an index whose size and checksum do not match.
    if (Status data = fsys::writeFileAtomic(dataPath(key), bytes); !data) return data;
    return fsys::writeFileAtomic(indexPath(key), formatIndex(info));
}

Status RecoveryJournal::remove(const std::string& key) {
    const std::string index = indexPath(key), data = dataPath(key);
    if (fsys::exists(index)) {
        if (Status s = fsys::removeFile(index); !s) return s;
    }
    if (fsys::exists(data)) return fsys::removeFile(data);
    return {};
}

namespace {

// Field `n` (from 3) of /proc/<pid>/stat; empty when there is none. The command
// name (field 2) is in parentheses and may hold blanks: fields are counted
// after its closing parenthesis.
std::string statField(pid_t pid, int n) {
    auto stat = fsys::readFile("/proc/" + std::to_string(pid) + "/stat");
    if (!stat) return {};
    const std::string& s = *stat;
    std::size_t pos = s.rfind(')');
    if (pos == std::string::npos) return {};
    for (int field = 2; field < n; ++field) {
        pos = s.find(' ', pos + 1);
        if (pos == std::string::npos) return {};
    }
    const std::size_t end = s.find_first_of(" \n", pos + 1);
    return s.substr(pos + 1, end == std::string::npos ? std::string::npos : end - pos - 1);
}

}  // namespace

std::uint64_t RecoveryJournal::processStartTime(pid_t pid) {
    std::uint64_t start = 0;
    parseNumber(statField(pid, 22), start);
    return start;
}

bool RecoveryJournal::processRunning(pid_t pid, std::uint64_t processStart) {
    if (pid <= 0) return false;
    if (::kill(pid, 0) != 0 && errno != EPERM) return false;
    // A process that died but was not yet waited for by its parent still
    // answers: it runs no longer.
    const std::string state = statField(pid, 3);
    if (state == "Z" || state == "X") return false;
    // The pid is in use: it is the same IDE unless the process started at another time.
    const std::uint64_t now = processStartTime(pid);
    return processStart == 0 || now == 0 || now == processStart;
}

std::vector<JournalEntry> RecoveryJournal::orphaned() const {
    std::vector<JournalEntry> out;
    DIR* dir = ::opendir(folder_.c_str());
    if (!dir) return out;
    while (dirent* e = ::readdir(dir)) {
        const std::string name = e->d_name;
        if (!endsWith(name, kIndexSuffix) || name[0] == '.') continue;
        JournalEntry entry;
        entry.info.key = name.substr(0, name.size() - std::strlen(kIndexSuffix));
        auto text = fsys::readFile(paths::join(folder_, name));
        if (!text || !parseIndex(*text, entry.info)) {
            entry.damaged = true;
            // A damaged index names no owner: it is listed only when its key's
            // process is gone, so a running IDE's half-written entry is left alone.
            const pid_t owner = static_cast<pid_t>(std::atoi(entry.info.key.c_str()));
            if (owner == pid_ || processRunning(owner, 0)) continue;
            entry.info.title = entry.info.key;
            out.push_back(std::move(entry));
            continue;
        }
        if (entry.info.pid == pid_ || processRunning(entry.info.pid, entry.info.processStart)) continue;
        const std::string data = dataPath(entry.info.key);
        entry.damaged = !fsys::exists(data);
        if (!entry.damaged) {
            auto bytes = fsys::readFile(data);
            entry.damaged = !bytes || bytes->size() != entry.info.size || checksum(*bytes) != entry.info.checksum;
        }
        const std::string& original = entry.info.originalPath;
        entry.originalChanged = !original.empty() && fsys::modificationTime(original) != entry.info.originalTime;
        out.push_back(std::move(entry));
    }
    ::closedir(dir);
    std::sort(out.begin(), out.end(), [](const JournalEntry& a, const JournalEntry& b) {
        return a.info.time != b.info.time ? a.info.time < b.info.time : a.info.key < b.info.key;
    });
    return out;
}

Result<std::string> RecoveryJournal::read(const JournalEntry& entry) const {
    if (entry.damaged) return makeError("The recovered copy of " + entry.name() + " is damaged.");
    auto bytes = fsys::readFile(dataPath(entry.info.key));
    if (!bytes) return bytes.error();
    if (bytes->size() != entry.info.size || checksum(*bytes) != entry.info.checksum)
        return makeError("The recovered copy of " + entry.name() + " is damaged.");
    return bytes;
}

Status RecoveryJournal::discard(const JournalEntry& entry) { return remove(entry.info.key); }

}  // namespace varn
