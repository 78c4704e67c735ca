#include "TestSupport.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace varn::test {

std::string dataPath(const std::string& relative) { return std::string(VARN_TEST_DATA) + "/" + relative; }

std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void writeBytes(const std::string& path, const std::string& bytes) {
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::string copyDataFile(const TempDir& dir, const std::string& relative, const std::string& name) {
    const std::string path = dir.file(name.empty() ? fs::path(relative).filename().string() : name);
    writeBytes(path, readBytes(dataPath(relative)));
    return path;
}

std::string shellQuote(const std::string& s) {
    std::string q = "'";
    for (char c : s) {
        if (c == '\'') q += "'\\''";
        else q += c;
    }
    return q + "'";
}

::testing::AssertionResult matchesGolden(const std::string& actual, const std::string& relative) {
    std::string golden = dataPath(relative);
    const char* update = std::getenv("VARN_UPDATE_GOLDEN");
    if (update && std::string(update) == "1") {
        writeBytes(golden, actual);
        return ::testing::AssertionSuccess();
    }
    if (!fs::exists(golden)) return ::testing::AssertionFailure() << "missing golden file " << golden;
    std::string expected = readBytes(golden);
    if (expected == actual) return ::testing::AssertionSuccess();
    std::string actualPath = golden + ".actual";
    writeBytes(actualPath, actual);
    ProcessOutput diff = runCommand("diff -u --text " + shellQuote(golden) + " " + shellQuote(actualPath));
    return ::testing::AssertionFailure() << "differs from " << golden << " (actual in " << actualPath
                                         << ")\n" << diff.out;
}

int endedProcessId() {
    const pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return child;
}

ProcessOutput runCommand(const std::string& commandLine) {
    TempDir tmp;
    std::string full = "(" + commandLine + ") >" + shellQuote(tmp.file("out")) + " 2>" + shellQuote(tmp.file("err")) +
                       " </dev/null";
    int raw = std::system(full.c_str());
    ProcessOutput r;
    r.status = (raw != -1 && WIFEXITED(raw)) ? WEXITSTATUS(raw) : -1;
    r.out = readBytes(tmp.file("out"));
    r.err = readBytes(tmp.file("err"));
    return r;
}

TempDir::TempDir() {
    std::string pattern = (fs::temp_directory_path() / "varntest-XXXXXX").string();
    char* made = ::mkdtemp(pattern.data());
    path_ = made ? made : pattern;
}

TempDir::~TempDir() {
    std::error_code ec;
    fs::remove_all(path_, ec);
}

}  // namespace varn::test
