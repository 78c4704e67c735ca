// Random-access input for the image block reader: a file opened for reading,
// or bytes already in memory (clipboard data, tests, fuzzing).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/Result.h"

namespace varn {

class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual std::uint64_t length() const = 0;
    // Reads up to n bytes at offset into out. Returns the count read, which is
    // short only at the end of the input, or -1 on a read error.
    virtual std::int64_t readAt(std::uint64_t offset, std::uint8_t* out, std::size_t n) = 0;
};

class MemoryByteSource : public ByteSource {
public:
    explicit MemoryByteSource(std::string_view bytes) : bytes_(bytes) {}
    std::uint64_t length() const override { return bytes_.size(); }
    std::int64_t readAt(std::uint64_t offset, std::uint8_t* out, std::size_t n) override;

private:
    std::string_view bytes_;
};

class FileByteSource : public ByteSource {
public:
    // Fails with the system error code when the file cannot be opened.
    static Result<std::unique_ptr<FileByteSource>> open(const std::string& path);
    ~FileByteSource() override;
    FileByteSource(const FileByteSource&) = delete;
    FileByteSource& operator=(const FileByteSource&) = delete;

    std::uint64_t length() const override { return length_; }
    std::int64_t readAt(std::uint64_t offset, std::uint8_t* out, std::size_t n) override;

private:
    FileByteSource(int fd, std::uint64_t length) : fd_(fd), length_(length) {}
    int fd_;
    std::uint64_t length_;
};

}  // namespace varn
