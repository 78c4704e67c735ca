#include "editor/FindInFiles.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <thread>
#include <unordered_set>

#include "app/Ui.h"
#include "editor/LineSearch.h"
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

// The shortest entry the list writes (an empty line, a short line number, an
// empty path): a file never gives the pane more entries than the limit
// divided by this, and one more.
constexpr std::size_t kShortestEntry = kEntryWidth + 21;
constexpr std::size_t kMostEntries = FindInFiles::kPaneLimit / kShortestEntry + 1;

// Files searched ahead of the pane at the most, so that the entries waiting
// for their turn stay few.
constexpr std::size_t kFilesAhead = 64;

}  // namespace

// The entries of one file, kept until the pane takes them.
struct FindInFiles::FileEntries {
    bool readable = true;
    std::vector<std::string> entries;
};

FindInFiles::FindInFiles(Ui& ui, const OpenDocuments* documents)
    : ui_(ui), documents_(documents), pieceSize_(LineSearch::kPieceSize) {}

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

FindInFiles::FileEntries FindInFiles::searchFile(LineSearch& search, const std::string& path,
                                                 const std::optional<std::string>& open,
                                                 const std::atomic<bool>* cancel) const {
    FileEntries out;
    auto keep = [&](const LineSearch::Hit& hit) {
        out.entries.push_back(formatEntry(hit.lineText, hit.line, path));
        return out.entries.size() < kMostEntries;
    };
    if (open) {
        search.searchText(*open, keep);
        return out;
    }
    if (search.searchFile(path, keep, cancel)) return out;
    // A project written on Windows may name a file in another case.
    out.entries.clear();
    const std::string onDisk = fsys::resolveCase(path);
    out.readable = onDisk != path && search.searchFile(onDisk, keep, cancel);
    if (!out.readable) out.entries.clear();
    return out;
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
    // The open documents' texts are taken here, on the calling thread.
    std::vector<std::optional<std::string>> open(files.size());
    if (documents_)
        for (std::size_t i = 0; i < files.size(); ++i) open[i] = documents_->text(files[i]);

    // The pane takes each file's entries in project order, up to its limit.
    auto take = [&](std::size_t i, FileEntries& found) {
        if (!found.readable) {
            ui_.error(replaceFirst(kCouldNotOpen, files[i]));
            return false;
        }
        for (const std::string& entry : found.entries) {
            pane.append(entry);
            ++summary.count;
            if (pane.length() > kPaneLimit) {
                // Only this file's search stops: a later file still adds its
                // first entry, and the notice again.
                pane.append(kTruncated);
                summary.truncated = true;
                break;
            }
        }
        pane.scrollToEnd();
        return true;
    };

    const unsigned threads = threads_ ? threads_ : std::max(2u, std::thread::hardware_concurrency());
    if (threads <= 1 || files.size() <= 1) {
        LineSearch search(*matcher, pieceSize_);
        for (std::size_t i = 0; i < files.size(); ++i) {
            FileEntries found = searchFile(search, files[i], open[i], nullptr);
            if (!take(i, found)) return summary;
            if (waitHook_ && !waitHook_()) return summary;
        }
    } else {
        // Each worker takes the next file not yet taken (at most kFilesAhead
        // beyond the one the pane waits for) and hands its entries back by
        // the file's place in the project.
        std::vector<FileEntries> found(files.size());
        std::vector<char> done(files.size(), 0);
        std::mutex mutex;
        std::condition_variable ready, room;
        std::size_t next = 0, taken = 0;
        std::atomic<bool> stop{false};
        auto work = [&] {
            auto own = TextMatcher::compile(options.text, options.regularExpression, options.matchCase);
            LineSearch search(*own, pieceSize_);
            for (;;) {
                std::size_t i = 0;
                {
                    std::unique_lock lock(mutex);
                    room.wait(lock, [&] { return stop || next >= files.size() || next < taken + kFilesAhead; });
                    if (stop || next >= files.size()) return;
                    i = next++;
                }
                FileEntries entries = searchFile(search, files[i], open[i], &stop);
                bool awaited = false;  // the pane waits for this very file
                {
                    std::lock_guard lock(mutex);
                    found[i] = std::move(entries);
                    done[i] = 1;
                    awaited = i == taken;
                }
                if (awaited) ready.notify_one();
            }
        };
        std::vector<std::thread> pool;
        for (unsigned t = 0; t < std::min<std::size_t>(threads, files.size()); ++t) pool.emplace_back(work);
        auto finish = [&] {
            {
                std::lock_guard lock(mutex);
                stop = true;
            }
            room.notify_all();
            for (std::thread& t : pool) t.join();
        };
        for (std::size_t i = 0; i < files.size(); ++i) {
            FileEntries entries;
            {
                std::unique_lock lock(mutex);
                while (!done[i]) {
                    if (ready.wait_for(lock, std::chrono::milliseconds(100)) == std::cv_status::timeout && waitHook_) {
                        lock.unlock();
                        const bool goOn = waitHook_();
                        lock.lock();
                        if (!goOn) {
                            lock.unlock();
                            finish();
                            return summary;
                        }
                    }
                }
                entries = std::move(found[i]);
                taken = i + 1;
            }
            room.notify_all();
            if (!take(i, entries)) {
                finish();
                return summary;
            }
        }
        finish();
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
    LineSearch search(*matcher, pieceSize_);
    for (const std::string& path : files) {
        std::optional<FindLocation> at;
        auto stopAtFirst = [&](const LineSearch::Hit& hit) {
            at = FindLocation{path, hit.line, hit.column, hit.length, std::string(hit.lineText)};
            return false;
        };
        std::optional<std::string> open = documents_ ? documents_->text(path) : std::nullopt;
        bool readable = true;
        if (open) {
            search.searchText(*open, stopAtFirst);
        } else if (!search.searchFile(path, stopAtFirst)) {
            const std::string onDisk = fsys::resolveCase(path);
            readable = onDisk != path && search.searchFile(onDisk, stopAtFirst);
        }
        if (!readable) {
            ui_.error(replaceFirst(kCouldNotOpen, path));
            return std::nullopt;
        }
        if (at) return at;
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
