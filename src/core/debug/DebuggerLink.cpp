#include "debug/DebuggerLink.h"

#include <fcntl.h>
#include <limits.h>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <string>

#include "app/Ui.h"
#include "debug/DebugMessage.h"

namespace varn {

namespace {

// A header that arrived in part is given this long to arrive whole.
constexpr int kHeaderSettleMs = 100;
// A message longer than one atomic pipe write may arrive in pieces; after a
// read that long, later pieces are collected while they keep coming.
constexpr int kPieceSettleMs = 20;

std::string formatCode(const char* format, unsigned long value) {
    char text[128];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

std::string formatSigned(const char* format, long value) {
    char text[128];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

void closeFd(int& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
}

// Waits up to `ms` for `events` on `fd`; returns the revents (0 on timeout).
short pollOnce(int fd, short events, int ms) {
    pollfd p{fd, events, 0};
    const int r = ::poll(&p, 1, ms);
    if (r <= 0) return 0;
    return p.revents;
}

// Writing to a pipe whose reader is gone raises SIGPIPE; the link reports
// EPIPE instead, so the signal is held back and swallowed around a write.
class SigPipeGuard {
public:
    SigPipeGuard() {
        sigemptyset(&pipeSet_);
        sigaddset(&pipeSet_, SIGPIPE);
        sigset_t pending;
        sigpending(&pending);
        wasPending_ = sigismember(&pending, SIGPIPE) == 1;
        pthread_sigmask(SIG_BLOCK, &pipeSet_, &old_);
    }
    ~SigPipeGuard() {
        if (!wasPending_) {
            const timespec zero{0, 0};
            while (sigtimedwait(&pipeSet_, nullptr, &zero) == SIGPIPE) {
            }
        }
        pthread_sigmask(SIG_SETMASK, &old_, nullptr);
    }
    SigPipeGuard(const SigPipeGuard&) = delete;
    SigPipeGuard& operator=(const SigPipeGuard&) = delete;

private:
    sigset_t pipeSet_;
    sigset_t old_;
    bool wasPending_ = false;
};

}  // namespace

DebuggerLink::~DebuggerLink() { closeAll(); }

void DebuggerLink::closeAll() {
    if (!ownsFds_) return;
    closeFd(pipeARead_);
    closeFd(pipeAWrite_);
    closeFd(pipeBRead_);
    closeFd(pipeBWrite_);
    ownsFds_ = false;
}

bool DebuggerLink::openIde(Ui& ui) {
    ui_ = &ui;
    if (role_ == Role::Ide) return true;  // the pipes are made once per process
    int a[2];
    if (::pipe2(a, O_CLOEXEC) != 0) {
        ui.error(formatSigned(kServerPipeFailed, errno));
        return false;
    }
    int b[2];
    if (::pipe2(b, O_CLOEXEC) != 0) {
        ui.error(formatSigned(kClientPipeFailed, errno));
        ::close(a[0]);
        ::close(a[1]);
        return false;
    }
    pipeARead_ = a[0];
    pipeAWrite_ = a[1];
    pipeBRead_ = b[0];
    pipeBWrite_ = b[1];
    ownsFds_ = true;
    // A runtime that stops reading must not stall the IDE: its sends fail instead.
    ::fcntl(pipeBWrite_, F_SETFL, ::fcntl(pipeBWrite_, F_GETFL) | O_NONBLOCK);
    role_ = Role::Ide;
    return true;
}

bool DebuggerLink::openRuntime(Ui& ui, int readFd, int writeFd) {
    ui_ = &ui;
    closeAll();
    pipeBRead_ = readFd;
    pipeAWrite_ = writeFd;
    role_ = Role::Runtime;
    return true;
}

int DebuggerLink::runtimeInputFd() const { return role_ == Role::Ide ? pipeBRead_ : -1; }
int DebuggerLink::runtimeOutputFd() const { return role_ == Role::Ide ? pipeAWrite_ : -1; }

int DebuggerLink::readFd() const {
    if (role_ == Role::Ide) return pipeARead_;
    if (role_ == Role::Runtime) return pipeBRead_;
    return -1;
}

int DebuggerLink::writeFd() const {
    if (role_ == Role::Ide) return pipeBWrite_;
    if (role_ == Role::Runtime) return pipeAWrite_;
    return -1;
}

bool DebuggerLink::peerAlive() const { return !peerAlive_ || peerAlive_(); }

bool DebuggerLink::send(const std::uint8_t* payload, std::size_t length) {
    if (!isOpen()) return false;
    const std::size_t n = payload ? length % 65536 : 0;
    std::vector<std::uint8_t> block(4 + n);
    for (int i = 0; i < 4; ++i) block[i] = static_cast<std::uint8_t>(code >> (8 * i));
    std::copy(payload, payload + n, block.begin() + 4);
    return writeAll(block.data(), block.size());
}

bool DebuggerLink::send(std::uint32_t messageCode, const std::vector<std::uint8_t>& payload) {
    code = messageCode;
    return send(payload.empty() ? nullptr : payload.data(), payload.size());
}

// One block; a full pipe is waited on for a bounded time, a partial write
// continues where it stopped.
bool DebuggerLink::writeAll(const std::uint8_t* data, std::size_t length) {
    SigPipeGuard guard;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kSendTimeoutMs);
    std::size_t done = 0;
    while (done < length) {
        const ssize_t w = ::write(writeFd(), data + done, length - done);
        if (w > 0) {
            done += static_cast<std::size_t>(w);
            continue;
        }
        if (w < 0 && errno == EINTR) continue;
        if (w < 0 && errno != EAGAIN && errno != EWOULDBLOCK) break;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0 || !peerAlive()) {
            errno = EAGAIN;
            break;
        }
        pollOnce(writeFd(), POLLOUT, static_cast<int>(std::min<long>(left.count(), kPeerCheckMs)));
    }
    if (done == length) return true;
    const int err = errno;
    if (ui_) ui_->error(formatCode(kSendFailed, static_cast<unsigned long>(err)));
    return false;
}

long DebuggerLink::bytesWaiting() {
    int n = 0;
    if (::ioctl(readFd(), FIONREAD, &n) != 0) {
        const int err = errno;
        if (ui_) ui_->error(formatCode(kPeekFailed, static_cast<unsigned long>(err)));
        return -1;
    }
    return n;
}

// Sleeps on the read end until bytes arrive, looking at the peer at least
// every kPeerCheckMs. A hang-up with nothing to read means the writer is gone.
bool DebuggerLink::waitForBytes() {
    for (;;) {
        const short events = pollOnce(readFd(), POLLIN, kPeerCheckMs);
        int n = 0;
        if (::ioctl(readFd(), FIONREAD, &n) == 0 && n > 0) return true;
        const bool hungUp = (events & (POLLHUP | POLLERR | POLLNVAL)) != 0;
        if (!hungUp && peerAlive()) continue;
        // The peer may have written its last message just before it went.
        if (::ioctl(readFd(), FIONREAD, &n) == 0 && n > 0) return true;
        if (role_ == Role::Ide && ui_) ui_->info(kProgramEnded);
        return false;
    }
}

std::uint32_t DebuggerLink::receive(bool wait) {
    code = 0;
    if (!isOpen()) return 0;
    long n = bytesWaiting();
    if (n < 0) return 0;
    if (n == 0) {
        if (!wait) {
            code = DebugCode::kNothing;
            return code;
        }
        if (!waitForBytes()) return 0;
        n = bytesWaiting();
        if (n < 0) return 0;
    }
    // Fewer bytes than a code: a writer caught in the middle of its block.
    // It gets a moment to finish; still short, the bytes are dropped.
    const auto settleEnd = std::chrono::steady_clock::now() + std::chrono::milliseconds(kHeaderSettleMs);
    while (n < 4 && std::chrono::steady_clock::now() < settleEnd) {
        pollOnce(readFd(), POLLIN, 10);
        n = bytesWaiting();
        if (n < 0) return 0;
    }
    std::size_t total = 0;
    if (!readAvailable(static_cast<std::size_t>(n), total)) return 0;
    while (total >= PIPE_BUF && (pollOnce(readFd(), POLLIN, kPieceSettleMs) & POLLIN)) {
        n = bytesWaiting();
        if (n <= 0) break;
        if (!readAvailable(static_cast<std::size_t>(n), total)) return 0;
    }
    if (total < 4) {
        if (ui_) ui_->error(kTruncated);
        return 0;
    }
    code = static_cast<std::uint32_t>(buffer_[0]) | static_cast<std::uint32_t>(buffer_[1]) << 8 |
           static_cast<std::uint32_t>(buffer_[2]) << 16 | static_cast<std::uint32_t>(buffer_[3]) << 24;
    payload_ = buffer_.data() + 4;
    payloadLength_ = static_cast<std::uint16_t>(total - 4);
    return code;
}

// Appends up to `n` waiting bytes to the first `total` bytes of the buffer.
bool DebuggerLink::readAvailable(std::size_t n, std::size_t& total) {
    if (buffer_.size() < total + n) {
        buffer_.resize(total + n);
        payload_ = nullptr;  // the old block moved
        payloadLength_ = 0;
    }
    ssize_t r;
    do {
        r = ::read(readFd(), buffer_.data() + total, n);
    } while (r < 0 && errno == EINTR);
    if (r < 0) {
        const int err = errno;
        if (ui_) ui_->error(formatCode(kReadFailed, static_cast<unsigned long>(err)));
        return false;
    }
    total += static_cast<std::size_t>(r);
    return true;
}

void DebuggerLink::discardPending() {
    if (!isOpen()) return;
    auto drain = [](int fd) {
        std::uint8_t scratch[4096];
        int n = 0;
        while (::ioctl(fd, FIONREAD, &n) == 0 && n > 0) {
            const ssize_t r = ::read(fd, scratch, sizeof scratch);
            if (r <= 0 && errno != EINTR) break;
        }
    };
    drain(readFd());
    // The IDE also holds the runtime's input: a request the last runtime
    // never read must not reach the next one.
    if (role_ == Role::Ide) drain(pipeBRead_);
}

}  // namespace varn
