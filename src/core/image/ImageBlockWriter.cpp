#include "image/ImageBlockWriter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "image/ImageCodec.h"
#include "image/PixelBuffer.h"

namespace varn {

namespace {

void put16(std::string& out, std::uint16_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>(v >> 8);
}
void put32(std::string& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

bool writeAll(int fd, const std::string& bytes) {
    const char* p = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    return true;
}

// Creates a fresh temporary file in the target's folder; -1 when none can be made.
int createTemporary(const std::string& path, std::string& tempPath) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        char suffix[48];
        std::snprintf(suffix, sizeof suffix, ".~%ld.%d.tmp", static_cast<long>(::getpid()), attempt);
        tempPath = path + suffix;
        int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

}  // namespace

std::string encodeImageFile(const std::vector<ImageRecord>& records) {
    std::string out;
    for (const ImageRecord& r : records) {
        const std::vector<std::uint8_t> blank = r.stored.empty()
                                                    ? encodeImage(PixelBuffer(r.width(), r.height()), r.descriptor)
                                                    : std::vector<std::uint8_t>{};
        const std::vector<std::uint8_t>& stored = r.stored.empty() ? blank : r.stored;
        put16(out, kBlockSignature);
        put32(out, static_cast<std::uint32_t>(kBlockHeaderBytes + stored.size()));
        put16(out, 0);
        put16(out, 0);
        put32(out, static_cast<std::uint32_t>(pixelOffset(r.depth())));
        out.append(reinterpret_cast<const char*>(stored.data()), stored.size());
    }
    return out;
}

Status writeImageFile(const std::string& path, const std::vector<ImageRecord>& records, Ui& ui) {
    const std::string bytes = encodeImageFile(records);
    std::string tempPath;
    int fd = createTemporary(path, tempPath);
    if (fd < 0) {
        int code = errno;
        ui.error("Can not create file");
        return makeError("Can not create file", code);
    }
    // Keep the permissions of a file that is being replaced.
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) ::fchmod(fd, st.st_mode & 07777);

    bool ok = writeAll(fd, bytes) && ::fsync(fd) == 0;
    int code = errno;
    ok = (::close(fd) == 0) && ok;
    if (ok && ::rename(tempPath.c_str(), path.c_str()) != 0) {
        ok = false;
        code = errno;
    }
    if (!ok) {
        ::unlink(tempPath.c_str());
        ui.error("File write error");
        return makeError("File write error", code);
    }
    return {};
}

}  // namespace varn
