#include "build/BuildLogReader.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "app/Ui.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"

namespace varn {

namespace {

// Decimal integer starting at `pos`: leading blanks skipped, stops at the first non-digit.
int readNumber(const std::string& s, std::size_t pos) {
    while (pos < s.size() && (s[pos] == ' ' || s[pos] == '\t')) ++pos;
    bool negative = pos < s.size() && s[pos] == '-';
    if (negative || (pos < s.size() && s[pos] == '+')) ++pos;
    long long v = 0;
    for (; pos < s.size() && s[pos] >= '0' && s[pos] <= '9'; ++pos) {
        v = v * 10 + (s[pos] - '0');
        if (v > 2147483647LL) v = 2147483647LL;
    }
    return static_cast<int>(negative ? -v : v);
}

std::string padRight(const std::string& s, std::size_t width) {
    return s.size() >= width ? s : s + std::string(width - s.size(), ' ');
}

std::string formatErrorLine(const std::string& message, int line, const std::string& path) {
    return padRight(message, 60) + "  Line: " + padRight(std::to_string(line), 5) + " File: " + path;
}

}  // namespace

std::string BuildLogReader::rewriteLine(const std::string& line) {
    if (line.compare(0, 5, "File ") != 0) return line;
    std::size_t comma = line.find(", Line");
    if (comma == std::string::npos) return line;
    std::size_t colon = line.find(':', comma);
    if (colon == std::string::npos) return line;
    std::string path = line.substr(5, comma - 5);
    int number = readNumber(line, comma + 6);
    std::string message = colon + 2 <= line.size() ? line.substr(colon + 2) : std::string();
    return formatErrorLine(message, number, path);
}

bool BuildLogReader::marksFailure(const std::string& line) {
    std::size_t file = line.find("File:");
    return (file != std::string::npos && file > 0) || line.compare(0, 9, "make: ***") == 0;
}

BuildLogResult BuildLogReader::read(const std::string& logPath, const std::string& logCopyPath, Ui& ui,
                                    bool previousFailed) {
    BuildLogResult r;
    r.buildFailed = previousFailed;
    auto bytes = fsys::readFile(fsys::resolveCase(logPath));
    if (!bytes) {
        r.paneText = "Unable to open error log " + logPath + ", error code is " + std::to_string(bytes.error().code) + ".";
        return r;
    }
    r.opened = true;
    r.buildFailed = false;
    const std::string& data = *bytes;
    std::size_t start = 0;
    while (start < data.size()) {
        std::size_t end = data.find('\n', start);
        if (end == std::string::npos) end = data.size();
        std::string line = data.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::string shown = rewriteLine(line);
        r.widestLine = std::max(r.widestLine, shown.size());
        r.paneText += shown;
        r.paneText += "\r\n";
        if (marksFailure(shown)) r.buildFailed = true;
        if (r.paneText.size() > kPaneLimit) {
            r.paneText += kTruncated1;
            r.paneText += kTruncated2;
            r.truncated = true;
            break;
        }
    }
    if (logCopyPath.empty()) return r;

    std::string copy = (r.buildFailed ? std::string(kBuildErrorHeader) : std::string()) + r.paneText + "\n";
    r.copyFailed = !appendToCopy(logCopyPath, copy, ui);
    return r;
}

bool BuildLogReader::appendToCopy(const std::string& logCopyPath, const std::string& text, Ui& ui) {
    int fd = ::open(logCopyPath.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
    if (fd < 0) {
        ui.error("Unable to open error log copy " + logCopyPath + ", error code is " + std::to_string(errno) + ".");
        return false;
    }
    const char* p = text.data();
    std::size_t left = text.size();
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    ::close(fd);
    return true;
}

std::optional<JumpTarget> BuildLogReader::jumpTarget(const std::string& paneLine, const std::string& projectFolder,
                                                     bool cFormToo) {
    std::string line = paneLine.substr(0, 512);
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
    JumpTarget t;
    std::size_t file = line.find("File:");
    std::size_t at = line.find("Line:");
    if (file != std::string::npos && at != std::string::npos) {
        t.line = readNumber(line, at + 5);
        t.path = file + 6 <= line.size() ? line.substr(file + 6) : std::string();
    } else if (std::size_t c = line.find(".c:"); cFormToo && c != std::string::npos && c > 0) {
        t.line = readNumber(line, c + 3);
        t.path = line.substr(0, c + 2);
        if (t.path.compare(0, 3, "../") == 0) t.path = t.path.substr(3);
    } else {
        return std::nullopt;
    }
    std::string native = paths::toNative(t.path);
    if (!paths::isAbsolute(native)) native = paths::join(projectFolder, native);
    t.path = fsys::resolveCase(paths::normalize(native));
    return t;
}

}  // namespace varn
