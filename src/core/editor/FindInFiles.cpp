#include "editor/FindInFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <unordered_set>

#include "app/Ui.h"
#include "editor/TextMatcher.h"
#include "platform/FileSystem.h"
#include "project/OpenDocuments.h"
#include "project/ProjectTree.h"

namespace varn {

namespace {

constexpr std::size_t kEntryWidth = 60;

// printf's "%s" ends at the first NUL byte.
std::string_view cString(std::string_view s) {
    std::size_t nul = s.find('\0');
    return nul == std::string_view::npos ? s : s.substr(0, nul);
}

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

std::string replaceFirst(const char* pattern, const std::string& with) {
    std::string out(pattern);
    std::size_t at = out.find("%s");
    if (at != std::string::npos) out.replace(at, 2, with);
    return out;
}

// Reads a whole file into `buffer` (grown as needed, never cleared: the
// bytes are written before they are read); false when it cannot be read.
bool readInto(const std::string& path, std::unique_ptr<char[]>& buffer, std::size_t& capacity, std::size_t& size) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st;
    std::size_t expected = (::fstat(fd, &st) == 0 && st.st_size > 0) ? static_cast<std::size_t>(st.st_size) : 0;
    size = 0;
    bool ok = true;
    for (;;) {
        // One byte more than the file's size, so that the read that finds
        // the end does not need a larger buffer; more only if the file grows.
        std::size_t wanted = size <= expected ? expected + 1 : size + 4096;
        if (capacity < wanted) {
            std::size_t grown = std::max(wanted, capacity + capacity / 2);
            std::unique_ptr<char[]> bigger(new char[grown]);
            if (size) std::memcpy(bigger.get(), buffer.get(), size);
            buffer = std::move(bigger);
            capacity = grown;
        }
        ssize_t n = ::read(fd, buffer.get() + size, capacity - size);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            ok = false;
            break;
        }
        if (n == 0) break;
        size += static_cast<std::size_t>(n);
    }
    ::close(fd);
    return ok;
}

}  // namespace

FindInFiles::FindInFiles(Ui& ui, const OpenDocuments* documents) : ui_(ui), documents_(documents) {}

std::vector<std::string> FindInFiles::projectFiles(const ProjectTree& tree) {
    std::vector<std::string> out;
    std::unordered_set<std::string> seen;
    for (const PROJECT_ITEM& r : tree.records()) {
        switch (r.kind) {
            case ItemKind::Application:
            case ItemKind::Include:
            case ItemKind::Form:
            case ItemKind::CFile:
            case ItemKind::Header:
                if (!r.path.empty() && seen.insert(r.path).second) out.push_back(r.path);
                break;
            default:  // the project, images and icons, menu bars
                break;
        }
    }
    return out;
}

bool FindInFiles::load(const std::string& path, std::string_view& text) {
    if (documents_) {
        openBuffer_ = documents_->text(path);
        if (openBuffer_) {
            text = *openBuffer_;
            return true;
        }
    }
    if (!readInto(path, fileData_, fileCapacity_, fileSize_)) {
        // A project written on Windows may name a file in another case.
        std::string onDisk = fsys::resolveCase(path);
        if (onDisk == path || !readInto(onDisk, fileData_, fileCapacity_, fileSize_)) return false;
    }
    text = std::string_view(fileData_.get(), fileSize_);
    return true;
}

std::string FindInFiles::formatEntry(std::string_view lineText, int line, const std::string& path) {
    std::size_t first = 0;
    while (first < lineText.size() && lineText[first] == '\t') ++first;
    std::size_t last = lineText.size();
    while (last > first && isBlank(lineText[last - 1])) --last;
    std::string_view shown = cString(lineText.substr(first, last - first)).substr(0, kEntryWidth);

    char number[32];
    std::snprintf(number, sizeof number, "  Line: %-5d File: ", line);
    std::string_view file = cString(path);

    std::string out;
    out.reserve(kEntryWidth + 32 + file.size() + 2);
    out.append(shown);
    out.append(kEntryWidth - shown.size(), ' ');
    out.append(number);
    out.append(file);
    out.append("\r\n");
    return out;
}

std::string FindInFiles::countLine(int count) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, kCountFormat, count);
    return buffer;
}

std::string FindInFiles::withName(const char* pattern, const std::string& name) { return replaceFirst(pattern, name); }

FindSummary FindInFiles::list(const std::vector<std::string>& files, const FindOptions& options, FindPane& pane) {
    WaitCursor wait(ui_);
    FindSummary summary;
    auto matcher = TextMatcher::compile(options.text, options.regularExpression, options.matchCase);
    if (!matcher) {
        ui_.error(replaceFirst(kInvalidExpression, matcher.error().message));
        return summary;
    }
    for (const std::string& path : files) {
        std::string_view text;
        if (!load(path, text)) {
            ui_.error(replaceFirst(kCouldNotOpen, path));
            return summary;
        }
        std::size_t from = 0;
        std::size_t countedTo = 0;  // lines before this offset are counted in `line`
        int line = 1;
        while (auto hit = matcher->find(text, from)) {
            line += static_cast<int>(countLineBreaks(text, countedTo, hit->lineBegin));
            countedTo = hit->lineBegin;
            pane.append(formatEntry(text.substr(hit->lineBegin, hit->lineEnd - hit->lineBegin), line, path));
            ++summary.count;
            if (pane.length() > kPaneLimit) {
                // Only this file's search stops: a later file still adds its
                // first entry, and the notice again.
                pane.append(kTruncated);
                summary.truncated = true;
                break;
            }
            // One entry per line: go on at the start of the following line.
            if (hit->lineEnd >= text.size()) break;
            from = nextLineStart(text, hit->lineEnd);
        }
        pane.scrollToEnd();
    }
    pane.append(countLine(summary.count));
    pane.scrollToEnd();
    summary.completed = true;
    return summary;
}

FindSummary FindInFiles::listFunctions(const std::vector<std::string>& files, FindPane& pane) {
    return list(files, FindOptions{kAllFunctionsPattern, false, true}, pane);
}

std::optional<FindLocation> FindInFiles::first(const std::vector<std::string>& files, const std::string& expression) {
    WaitCursor wait(ui_);
    auto matcher = TextMatcher::compile(expression, true, false);
    if (!matcher) return std::nullopt;
    for (const std::string& path : files) {
        std::string_view text;
        if (!load(path, text)) {
            ui_.error(replaceFirst(kCouldNotOpen, path));
            return std::nullopt;
        }
        if (auto hit = matcher->find(text)) {
            FindLocation at;
            at.path = path;
            at.line = 1 + static_cast<int>(countLineBreaks(text, 0, hit->lineBegin));
            at.column = hit->begin - hit->lineBegin;
            at.length = hit->end - hit->begin;
            at.lineText = std::string(text.substr(hit->lineBegin, hit->lineEnd - hit->lineBegin));
            return at;
        }
    }
    return std::nullopt;
}

std::optional<FindLocation> FindInFiles::findFunction(const std::vector<std::string>& files, const std::string& name) {
    auto at = first(files, withName(kFunctionPattern, name));
    if (!at) ui_.warning(kFunctionNotFound);
    return at;
}

std::optional<FindLocation> FindInFiles::findInvoker(const std::vector<std::string>& files, const std::string& name,
                                                     bool withParameters) {
    auto at = first(files, withName(withParameters ? kFunctionPattern : kInvokerPattern, name));
    if (!at) ui_.warning(kInvokerNotDefined);
    return at;
}

}  // namespace varn
