// Helpers shared by the core tests: a temporary folder that cleans itself up,
// whole-file reads and writes, and golden-file comparison with a shown diff.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace varn::test {

// Absolute path of a file below tests/data.
std::string dataPath(const std::string& relative);

std::string readBytes(const std::string& path);
void writeBytes(const std::string& path, const std::string& bytes);

// Little-endian fields of binary files: appended, read and overwritten in place.
inline void appendLe16(std::string& s, std::uint32_t v) { s += {static_cast<char>(v), static_cast<char>(v >> 8)}; }
inline void appendLe32(std::string& s, std::uint32_t v) {
    appendLe16(s, v & 0xffff);
    appendLe16(s, v >> 16);
}
inline std::uint32_t le16(const std::string& b, std::size_t at) {
    return static_cast<unsigned char>(b.at(at)) | (static_cast<unsigned char>(b.at(at + 1)) << 8);
}
inline std::uint32_t le32(const std::string& b, std::size_t at) { return le16(b, at) | (le16(b, at + 2) << 16); }
inline void setLe16(std::string& b, std::size_t at, std::uint32_t v) {
    b.at(at) = static_cast<char>(v);
    b.at(at + 1) = static_cast<char>(v >> 8);
}
inline void setLe32(std::string& b, std::size_t at, std::uint32_t v) {
    setLe16(b, at, v & 0xffff);
    setLe16(b, at + 2, v >> 16);
}

// Compares bytes with the golden file tests/data/<relative>. On mismatch the
// actual bytes are written beside it as <name>.actual and a diff is printed.
// With VARN_UPDATE_GOLDEN=1 in the environment the golden file is rewritten.
::testing::AssertionResult matchesGolden(const std::string& actual, const std::string& relative);

// Runs a command line through /bin/sh, capturing standard output and error.
struct ProcessOutput {
    int status = -1;  // exit status, or -1 when it did not exit normally
    std::string out;
    std::string err;
};
ProcessOutput runCommand(const std::string& commandLine);
// The id of a process that has ended (started and waited for): owned by nobody.
int endedProcessId();
std::string shellQuote(const std::string& s);

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

// Copies tests/data/<relative> into the folder under its own name (or `name`); its path.
std::string copyDataFile(const TempDir& dir, const std::string& relative, const std::string& name = {});

}  // namespace varn::test
