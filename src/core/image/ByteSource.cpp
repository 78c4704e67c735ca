#include "image/ByteSource.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>

namespace varn {

std::int64_t MemoryByteSource::readAt(std::uint64_t offset, std::uint8_t* out, std::size_t n) {
    if (offset >= bytes_.size()) return 0;
    std::size_t count = std::min<std::uint64_t>(n, bytes_.size() - offset);
    std::memcpy(out, bytes_.data() + offset, count);
    return static_cast<std::int64_t>(count);
}

Result<std::unique_ptr<FileByteSource>> FileByteSource::open(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return makeError("cannot open " + path, errno);
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        int code = errno;
        ::close(fd);
        return makeError("cannot open " + path, code);
    }
    std::uint64_t length = st.st_size > 0 ? static_cast<std::uint64_t>(st.st_size) : 0;
    return std::unique_ptr<FileByteSource>(new FileByteSource(fd, length));
}

FileByteSource::~FileByteSource() { ::close(fd_); }

std::int64_t FileByteSource::readAt(std::uint64_t offset, std::uint8_t* out, std::size_t n) {
    std::size_t done = 0;
    while (done < n) {
        std::uint64_t at = offset + done;
        if (at > static_cast<std::uint64_t>(std::numeric_limits<off_t>::max())) break;
        ssize_t got = ::pread(fd_, out + done, n - done, static_cast<off_t>(at));
        if (got < 0) {
            if (errno == EINTR) continue;
            return -1;
        }
        if (got == 0) break;
        done += static_cast<std::size_t>(got);
    }
    return static_cast<std::int64_t>(done);
}

}  // namespace varn
