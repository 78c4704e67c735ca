#include "platform/FileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

#include "platform/Paths.h"

namespace varn::fsys {

namespace {

Error errnoError(const std::string& what, const std::string& path) {
    int code = errno;
    return makeError(what + " " + path + ": " + std::strerror(code), code);
}

bool writeAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

FailureInjection& injection() {
    static FailureInjection f;
    return f;
}

// True (errno set) when the test seam fails this step.
bool injected(std::string_view step) {
    const FailureInjection& f = injection();
    if (!f) return false;
    int code = f(step);
    if (code == 0) return false;
    errno = code;
    return true;
}

// The part of the file name a temporary carries, short enough that the
// temporary's name stays within the system's limit.
std::string temporaryStem(const std::string& name) { return name.substr(0, 200); }

bool allDigits(std::string_view s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool allAlnum(std::string_view s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; });
}

// A process id whose process has ended (or is this one, which writes one
// file at a time): its temporaries are no longer being written.
bool writerEnded(std::string_view pid) {
    long id = std::strtol(std::string(pid).c_str(), nullptr, 10);
    if (id <= 0 || id == static_cast<long>(::getpid())) return id > 0;
    return ::kill(static_cast<pid_t>(id), 0) != 0 && errno == ESRCH;
}

// Whether `entry` is a temporary of the file `name` left by a save that did
// not finish: ".NAME.~PID.XXXXXX.tmp" (this writer), and the names earlier
// writers used, "NAME.~PID.N.tmp" and ".NAME.XXXXXX".
bool isStaleTemporary(std::string_view entry, const std::string& name) {
    const std::string stem = temporaryStem(name);
    const std::string hidden = "." + stem + ".";
    if (entry.starts_with(hidden)) {
        std::string_view rest = entry.substr(hidden.size());
        if (rest.size() == 6 && allAlnum(rest)) return true;
        if (!rest.starts_with("~") || !rest.ends_with(".tmp")) return false;
        rest = rest.substr(1, rest.size() - 5);
        auto dot = rest.find('.');
        if (dot == std::string_view::npos || rest.size() - dot - 1 != 6 || !allAlnum(rest.substr(dot + 1))) return false;
        return allDigits(rest.substr(0, dot)) && writerEnded(rest.substr(0, dot));
    }
    const std::string visible = name + ".~";
    if (!entry.starts_with(visible) || !entry.ends_with(".tmp")) return false;
    std::string_view rest = entry.substr(visible.size(), entry.size() - visible.size() - 4);
    auto dot = rest.find('.');
    if (dot == std::string_view::npos || !allDigits(rest.substr(dot + 1))) return false;
    return allDigits(rest.substr(0, dot)) && writerEnded(rest.substr(0, dot));
}

void removeStaleTemporaries(const std::string& folder, const std::string& name) {
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return;
    std::vector<std::string> stale;
    while (dirent* e = ::readdir(dir))
        if (isStaleTemporary(e->d_name, name)) stale.push_back(folder + "/" + e->d_name);
    ::closedir(dir);
    for (const auto& path : stale) {
        struct stat st;
        if (::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)) ::unlink(path.c_str());
    }
}

mode_t currentUmask() {
    mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

}  // namespace

bool exists(const std::string& path) {
    struct stat st;
    return !path.empty() && ::stat(path.c_str(), &st) == 0;
}

bool isDirectory(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool isReadOnly(const std::string& path) {
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) return false;
    return (st.st_mode & S_IWUSR) == 0;
}

bool isWritable(const std::string& path) { return ::access(path.c_str(), W_OK) == 0; }

std::time_t modificationTime(const std::string& path) {
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) return 0;
    return st.st_mtime;
}

Status removeFile(const std::string& path) {
    if (::unlink(path.c_str()) != 0) return errnoError("Cannot delete", path);
    return {};
}

Status copyFile(const std::string& from, const std::string& to, std::size_t bufferSize) {
    int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) return errnoError("Cannot open", from);
    struct stat st;
    mode_t mode = (::fstat(in, &st) == 0) ? (st.st_mode & 0777) : 0644;
    int out = ::open(to.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode | S_IWUSR);
    if (out < 0) {
        Error e = errnoError("Cannot create", to);
        ::close(in);
        return e;
    }
    std::vector<char> buffer(bufferSize == 0 ? 1 : bufferSize);
    Status status;
    for (;;) {
        ssize_t n = ::read(in, buffer.data(), buffer.size());
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            status = errnoError("Cannot read", from);
            break;
        }
        if (n == 0) break;
        if (!writeAll(out, buffer.data(), static_cast<std::size_t>(n))) {
            status = errnoError("Cannot write", to);
            break;
        }
    }
    ::close(in);
    if (::close(out) != 0 && status.ok()) status = errnoError("Cannot write", to);
    if (status.ok()) ::chmod(to.c_str(), mode);
    return status;
}

Status createFolders(const std::string& path) {
    if (path.empty() || isDirectory(path)) return {};
    std::string parent = paths::folderOf(path);
    if (!parent.empty() && parent != path) {
        Status s = createFolders(parent);
        if (!s) return s;
    }
    if (::mkdir(path.c_str(), 0777) != 0 && errno != EEXIST) return errnoError("Cannot create folder", path);
    return {};
}

Status resetAttributes(const std::string& path) { return setReadOnly(path, false); }

Status setReadOnly(const std::string& path, bool readOnly) {
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) return errnoError("Cannot find", path);
    mode_t mode = st.st_mode & 07777;
    mode = readOnly ? (mode & ~mode_t(S_IWUSR | S_IWGRP | S_IWOTH)) : (mode | S_IWUSR);
    if (::chmod(path.c_str(), mode) != 0) return errnoError("Cannot change", path);
    return {};
}

Result<std::string> readFile(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return errnoError("Cannot open", path);
    std::string data;
    char buffer[65536];
    for (;;) {
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            Error e = errnoError("Cannot read", path);
            ::close(fd);
            return e;
        }
        if (n == 0) break;
        data.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return data;
}

void setFailureInjection(FailureInjection f) { injection() = std::move(f); }

Result<AtomicFile> AtomicFile::create(const std::string& path) {
    AtomicFile f;
    f.path_ = path;
    f.folder_ = paths::folderOf(path).empty() ? std::string(".") : paths::folderOf(path);
    const std::string name = paths::fileName(path);
    removeStaleTemporaries(f.folder_, name);

    // Keep the permissions of a file that is being replaced.
    struct stat st;
    const mode_t mode = (::stat(path.c_str(), &st) == 0) ? (st.st_mode & 07777) : mode_t(0666 & ~currentUmask());
    f.temp_ = f.folder_ + "/." + temporaryStem(name) + ".~" + std::to_string(::getpid()) + ".XXXXXX.tmp";
    f.fd_ = injected("create") ? -1 : ::mkostemps(f.temp_.data(), 4, O_CLOEXEC);
    if (f.fd_ < 0) {
        f.temp_.clear();
        return errnoError(kCannotCreate, path);
    }
    ::fchmod(f.fd_, mode);
    return f;
}

AtomicFile::AtomicFile(AtomicFile&& other) noexcept
    : path_(std::move(other.path_)), folder_(std::move(other.folder_)), temp_(std::move(other.temp_)),
      buffer_(std::move(other.buffer_)), fd_(std::exchange(other.fd_, -1)) {
    other.temp_.clear();
}

AtomicFile::~AtomicFile() { discard(); }

void AtomicFile::discard() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (!temp_.empty()) ::unlink(temp_.c_str());
    temp_.clear();
}

Error AtomicFile::fail() {
    // errno is taken before anything else can change it.
    Error e = errnoError("Cannot write", path_);
    discard();
    return e;
}

Status AtomicFile::flush() {
    if (fd_ < 0) return makeError("Cannot write " + path_, EBADF);
    if (buffer_.empty()) return {};
    if (injected("write") || !writeAll(fd_, buffer_.data(), buffer_.size())) return fail();
    buffer_.clear();
    return {};
}

Status AtomicFile::write(std::string_view bytes) {
    buffer_.append(bytes);
    return buffer_.size() >= kBufferBytes ? flush() : Status{};
}

Status AtomicFile::writeAt(std::uint64_t offset, std::string_view bytes) {
    if (Status s = flush(); !s) return s;
    while (!bytes.empty()) {
        ssize_t n = ::pwrite(fd_, bytes.data(), bytes.size(), static_cast<off_t>(offset));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return fail();
        bytes.remove_prefix(static_cast<std::size_t>(n));
        offset += static_cast<std::uint64_t>(n);
    }
    return {};
}

Status AtomicFile::commit() {
    if (Status s = flush(); !s) return s;
    if (injected("fsync") || ::fsync(fd_) != 0) return fail();
    const int fd = std::exchange(fd_, -1);
    if (::close(fd) != 0) return fail();
    if (injected("rename") || ::rename(temp_.c_str(), path_.c_str()) != 0) return fail();
    temp_.clear();

    // The rename is durable once the folder is synced; file systems that
    // cannot sync a folder say so with EINVAL, which is no failure.
    int dir = ::open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        const bool synced = !injected("syncFolder") && ::fsync(dir) == 0;
        const int code = errno;
        ::close(dir);
        if (!synced && code != EINVAL && code != ENOTSUP) {
            errno = code;
            return errnoError("Cannot write", path_);
        }
    }
    return {};
}

Status writeFileAtomic(const std::string& path, const std::string& bytes) {
    Result<AtomicFile> file = AtomicFile::create(path);
    if (!file) return file.error();
    if (Status s = file->write(bytes); !s) return s;
    return file->commit();
}

std::string resolveCase(const std::string& path) {
    if (path.empty() || exists(path)) return path;
    std::string parent = paths::folderOf(path);
    std::string name = paths::fileName(path);
    if (name.empty()) return path;
    std::string folder = parent.empty() ? std::string(".") : resolveCase(parent);
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return path;
    std::string found;
    while (dirent* e = ::readdir(dir)) {
        if (paths::equalNoCase(e->d_name, name)) {
            found = e->d_name;
            break;
        }
    }
    ::closedir(dir);
    if (found.empty()) return path;
    return parent.empty() ? found : paths::join(folder, found);
}

std::string currentDirectory() {
    std::vector<char> buffer(4096);
    while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (errno != ERANGE) return {};
        buffer.resize(buffer.size() * 2);
    }
    return buffer.data();
}

bool changeDirectory(const std::string& path) { return !path.empty() && ::chdir(path.c_str()) == 0; }

std::string executableFolder() {
    std::vector<char> buffer(4096);
    ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    if (n <= 0) return {};
    return paths::folderOf(std::string(buffer.data(), static_cast<std::size_t>(n)));
}

}  // namespace varn::fsys
