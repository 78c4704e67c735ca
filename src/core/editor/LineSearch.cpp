#include "editor/LineSearch.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <new>

#include "editor/TextMatcher.h"

namespace varn {

namespace {

// Offset just after the last complete line break of `text`, or 0 when there
// is none (a CR at the very end may still be followed by its LF).
std::size_t afterLastLineBreak(const char* text, std::size_t size) {
    if (const void* lf = ::memrchr(text, '\n', size))
        return static_cast<std::size_t>(static_cast<const char*>(lf) - text) + 1;
    if (size < 2) return 0;
    if (const void* cr = ::memrchr(text, '\r', size - 1))
        return static_cast<std::size_t>(static_cast<const char*>(cr) - text) + 1;
    return 0;
}

// Closes the descriptor when the search of the file ends.
struct FileDescriptor {
    int fd;
    ~FileDescriptor() {
        if (fd >= 0) ::close(fd);
    }
};

}  // namespace

LineSearch::LineSearch(const TextMatcher& matcher, std::size_t pieceSize)
    : matcher_(matcher), pieceSize_(pieceSize < 2 ? 2 : pieceSize) {}

void LineSearch::searchText(std::string_view text, const OnHit& onHit) {
    line_ = 1;
    searchPiece(text, true, onHit);
}

bool LineSearch::searchPiece(std::string_view text, bool last, const OnHit& onHit) {
    const std::size_t size = text.size();
    std::size_t from = 0;
    std::size_t countedTo = 0;  // lines before this offset are counted in line_
    while (from < size || (last && from == size)) {
        auto found = matcher_.find(text, from);
        // A match at the very end of a piece lies on the next piece's first line.
        if (!found || (!last && found->lineBegin >= size)) break;
        line_ += static_cast<int>(countLineBreaks(text, countedTo, found->lineBegin));
        countedTo = found->lineBegin;
        Hit hit;
        hit.line = line_;
        hit.lineText = text.substr(found->lineBegin, found->lineEnd - found->lineBegin);
        hit.column = found->begin - found->lineBegin;
        hit.length = found->end - found->begin;
        if (!onHit(hit)) return false;
        // One hit per line: go on at the start of the following line.
        if (found->lineEnd >= size) break;
        from = nextLineStart(text, found->lineEnd);
    }
    if (!last) line_ += static_cast<int>(countLineBreaks(text, countedTo, size));
    return true;
}

bool LineSearch::grow(std::size_t capacity) {
    std::unique_ptr<char[]> bigger(new (std::nothrow) char[capacity]);
    if (!bigger) return false;
    if (buffer_) std::memcpy(bigger.get(), buffer_.get(), capacity_);
    buffer_ = std::move(bigger);
    capacity_ = capacity;
    return true;
}

bool LineSearch::searchFile(const std::string& path, const OnHit& onHit, const std::atomic<bool>* cancel) {
    FileDescriptor file{::open(path.c_str(), O_RDONLY | O_CLOEXEC)};
    if (file.fd < 0) return false;
    if (capacity_ < pieceSize_ && !grow(pieceSize_)) return false;
    line_ = 1;
    std::size_t filled = 0;
    for (;;) {
        if (cancel && cancel->load(std::memory_order_relaxed)) return true;
        if (filled == capacity_ && !grow(capacity_ * 2)) return false;  // a line longer than the buffer
        const ssize_t n = ::read(file.fd, buffer_.get() + filled, capacity_ - filled);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) {
            searchPiece(std::string_view(buffer_.get(), filled), true, onHit);
            return true;
        }
        filled += static_cast<std::size_t>(n);
        if (filled < capacity_) continue;
        // The buffer is full: search its whole lines, keep the rest.
        const std::size_t cut = afterLastLineBreak(buffer_.get(), filled);
        if (cut == 0) continue;
        if (!searchPiece(std::string_view(buffer_.get(), cut), false, onHit)) return true;
        std::memmove(buffer_.get(), buffer_.get() + cut, filled - cut);
        filled -= cut;
    }
}

}  // namespace varn
