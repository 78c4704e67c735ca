// Small helpers shared by the stand-in build tools: whole-file reads and
// writes, path clean-up and case-insensitive look-up, and the tool log with
// its error-line form. Header only, so each tool stays a single standalone
// program without a library of its own.
#pragma once

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <system_error>
#include <vector>

namespace varntool {

namespace fs = std::filesystem;

inline std::string lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

inline bool equalsNoCase(const std::string& a, const std::string& b) { return lower(a) == lower(b); }

inline bool startsWithNoCase(const std::string& s, const std::string& prefix) {
    return s.size() >= prefix.size() && equalsNoCase(s.substr(0, prefix.size()), prefix);
}

inline std::string trim(const std::string& s) {
    const char* blanks = " \t\r\n";
    std::size_t b = s.find_first_not_of(blanks);
    if (b == std::string::npos) return {};
    std::size_t e = s.find_last_not_of(blanks);
    return s.substr(b, e - b + 1);
}

inline bool readFile(const std::string& path, std::string& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream ss;
    ss << in.rdbuf();
    if (in.bad()) return false;
    bytes = ss.str();
    return true;
}

inline bool writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return static_cast<bool>(out);
}

// Splits text into lines at LF; a CR before the LF is dropped. A last line
// without LF still counts; an empty text has no lines.
inline std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t nl = text.find('\n', start);
        std::size_t end = nl == std::string::npos ? text.size() : nl;
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
        if (nl == std::string::npos) break;
        start = nl + 1;
    }
    return lines;
}

// Paths handed to the tools may be written the Windows way; on this system
// a backslash is always a folder separator.
inline std::string nativePath(std::string p) {
    std::replace(p.begin(), p.end(), '\\', '/');
    return p;
}

inline bool isFile(const fs::path& p) {
    std::error_code ec;
    return fs::is_regular_file(p, ec);
}

// Finds an existing file or folder for `path` (relative paths against
// `base`): the exact name when it exists, else, component by component, the
// entry whose name matches without regard to case. Empty when none does.
inline std::optional<std::string> resolvePath(const std::string& path, const std::string& base = ".") {
    if (path.empty()) return std::nullopt;
    fs::path p(nativePath(path));
    if (p.is_relative()) p = fs::path(base) / p;
    std::error_code ec;
    p = fs::absolute(p, ec);
    if (fs::exists(p, ec)) return p.lexically_normal().string();

    fs::path found = p.root_path();
    fs::path rel = p.relative_path();
    if (found.empty()) found = ".";
    for (const fs::path& part : rel) {
        const std::string name = part.string();
        if (name.empty() || name == ".") continue;
        if (name == "..") {
            found /= part;
            continue;
        }
        fs::path exact = found / part;
        if (fs::exists(exact, ec)) {
            found = exact;
            continue;
        }
        bool matched = false;
        for (fs::directory_iterator it(found, ec), end; !ec && it != end; it.increment(ec)) {
            if (equalsNoCase(it->path().filename().string(), name)) {
                found = it->path();
                matched = true;
                break;
            }
        }
        if (!matched) return std::nullopt;
    }
    return found.lexically_normal().string();
}

// The folder part of a path, "." when it has none.
inline std::string folderOf(const std::string& path) {
    fs::path parent = fs::path(path).parent_path();
    return parent.empty() ? std::string(".") : parent.string();
}

// A tool log: plain text, one message per line, CR LF line ends. Error
// lines have the form the IDE rewrites and counts as failures:
//   File <path>, Line <n>: <message>
class ToolLog {
public:
    void error(const std::string& path, long line, const std::string& message) {
        lines_.push_back("File " + path + ", Line " + std::to_string(line) + ": " + message);
        ++errors_;
    }
    // A plain line; it must not contain the text "File:" after its first
    // character, which the IDE would take for an error.
    void note(const std::string& text) { lines_.push_back(text); }
    int errors() const { return errors_; }
    const std::vector<std::string>& lines() const { return lines_; }
    std::string text() const {
        std::string t;
        for (const auto& l : lines_) t += l + "\r\n";
        return t;
    }
    bool save(const std::string& path) const { return writeFile(path, text()); }

private:
    std::vector<std::string> lines_;
    int errors_ = 0;
};

}  // namespace varntool
