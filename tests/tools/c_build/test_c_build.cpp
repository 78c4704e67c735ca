// The C build script as a process: the code image it leaves, and the
// "make: ***" lines and exit status of each failure.

#include "../common/ToolTest.h"

#include <ostream>

namespace varn::tooltest {
namespace {

const std::string translation =
    "/* Written by the VARN compiler for the C build; do not edit. */\n/* VARN_C_BUILD 1 */\nint x;\n";

class CBuild : public ::testing::Test {
protected:
    varn::test::TempDir dir;
    std::string out() const { return dir.file("PalmOS Release"); }
    std::string file(const std::string& name) const { return out() + "/" + name; }

    void SetUp() override { fs::create_directories(out()); }

    // Runs the script as the IDE does: the C build folder, lower-cased,
    // and the lower-case base name, in the output folder.
    ProcessOutput run(const std::string& arguments) { return runIn(out(), cBuildScript(), arguments); }
    std::string folderArgument() const { return shellQuote(sharePath("c_build/")); }
    std::vector<std::string> log() const { return logLines(file("C_Build.log")); }
};

TEST_F(CBuild, TurnsTheTranslationIntoACodeImage) {
    writeBytes(file("demo.c"), translation);
    ProcessOutput p = run(folderArgument() + " demo");
    EXPECT_EQ(p.status, 0) << p.out << p.err;
    EXPECT_EQ(readBytes(file("demo.prc")), "VARNCODE 1\n" + translation);
    EXPECT_EQ(p.out, "Compiling demo.c\nBuilt demo.prc\n");
    EXPECT_EQ(log(), (std::vector<std::string>{"Compiling demo.c", "Built demo.prc"}));
    EXPECT_FALSE(fs::exists(file("demo.prc.tmp")));
}

TEST_F(CBuild, FindsTheTranslationInAnotherCaseWithProjectCFiles) {
    writeBytes(dir.file("extra.c"), "int extra;\n");
    writeBytes(file("DEMO.C"), translation + "/* C file: " + dir.file("extra.c") + " */\n");
    ProcessOutput p = run(folderArgument() + " demo");
    EXPECT_EQ(p.status, 0) << p.out << p.err;
    EXPECT_TRUE(fs::exists(file("demo.prc")));
}

struct FailureCase {
    const char* label;
    std::string translation;  // written as demo.c unless empty
    std::string arguments;    // after the folder argument
    std::vector<std::string> lines;  // standard output and log; {out} is the output folder
};

void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.label; }

class Failures : public CBuild, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(Failures, EndWithAMakeLine) {
    const FailureCase& c = GetParam();
    if (!c.translation.empty()) writeBytes(file("demo.c"), c.translation);
    writeBytes(file("demo.prc"), "VARNCODE 1\nan earlier image\n");
    ProcessOutput p = run(folderArgument() + c.arguments);
    EXPECT_EQ(p.status, 2);
    std::vector<std::string> expected;
    for (std::string l : c.lines) {
        if (auto at = l.find("{out}"); at != std::string::npos) l.replace(at, 5, out());
        expected.push_back(l);
    }
    EXPECT_EQ(p.out, joinLines(expected));
    EXPECT_EQ(log(), expected);
    // Without a base name the script cannot know which image to remove.
    if (!c.arguments.empty()) {
        EXPECT_FALSE(fs::exists(file("demo.prc"))) << "a failed build leaves no code image";
    }
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(expected.back().rfind("make: *** ", 0), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    CBuild, Failures,
    ::testing::Values(
        FailureCase{"NoTranslation", "", " demo",
                    {"make: *** No rule to make target 'demo.c', needed by 'demo.prc'.  Stop."}},
        FailureCase{"NotATranslation", "int main(void) { return 0; }\n", " demo",
                    {"Compiling demo.c", "{out}/demo.c:1: error: not a C translation of the VARN compiler",
                     "make: *** [demo.prc] Error 1"}},
        FailureCase{"MissingProjectCFile", translation + "/* C file: /no/such/extra.c */\n/* C file: /no/such/two.c */\n",
                    " demo",
                    {"Compiling demo.c", "/no/such/extra.c: No such file or directory",
                     "/no/such/two.c: No such file or directory", "make: *** [demo.prc] Error 1"}},
        FailureCase{"NoBaseName", translation, "",
                    {"make: *** No targets specified and no makefile found.  Stop."}}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(CBuild, IsInstalledExecutable) {
    std::error_code ec;
    auto perms = fs::status(cBuildScript(), ec).permissions();
    ASSERT_FALSE(ec);
    EXPECT_NE(perms & fs::perms::owner_exec, fs::perms::none);
    EXPECT_EQ(readBytes(cBuildScript()).rfind("#!/bin/sh\n", 0), 0u);
}

}  // namespace
}  // namespace varn::tooltest
