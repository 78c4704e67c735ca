// Helpers shared by the core tests: a temporary folder that cleans itself up,
// whole-file reads and writes, and golden-file comparison with a shown diff.
#pragma once

#include <gtest/gtest.h>

#include <string>

namespace varn::test {

// Absolute path of a file below tests/data.
std::string dataPath(const std::string& relative);

std::string readBytes(const std::string& path);
void writeBytes(const std::string& path, const std::string& bytes);

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

}  // namespace varn::test
