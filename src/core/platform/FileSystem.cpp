#include "platform/FileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
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

Status writeFileAtomic(const std::string& path, const std::string& bytes) {
    std::string folder = paths::folderOf(path);
    std::string pattern = (folder.empty() ? std::string(".") : folder) + "/." + paths::fileName(path) + ".XXXXXX";
    int fd = ::mkstemp(pattern.data());
    if (fd < 0) return errnoError("Cannot write", path);
    bool ok = writeAll(fd, bytes.data(), bytes.size());
    struct stat st;
    mode_t mode = (::stat(path.c_str(), &st) == 0) ? (st.st_mode & 07777) : mode_t(0666 & ~currentUmask());
    ::fchmod(fd, mode);
    if (::close(fd) != 0) ok = false;
    if (!ok || ::rename(pattern.c_str(), path.c_str()) != 0) {
        Error e = errnoError("Cannot write", path);
        ::unlink(pattern.c_str());
        return e;
    }
    return {};
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
