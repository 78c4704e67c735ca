// The C build script as a process: the code image it leaves, and the
// "make: ***" lines and exit status of each failure.

#include <ostream>

#include "../common/ToolTest.h"

namespace varn::tooltest {
namespace {

const std::string translation =
    "/* Written by the VARN compiler for the C build; do not edit. */\n/* VARN_C_BUILD 1 */\nint x;\n";

struct Case {
    const char* label;
    std::string file;                // the translation's name in the output folder; empty: none
    std::string translation;         // "{dir}" stands for the project folder
    std::string arguments;           // after the folder argument
    std::vector<std::string> lines;  // standard output and log; "{out}" is the output folder
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.label; }

class CBuild : public ::testing::TestWithParam<Case> {
protected:
    varn::test::TempDir dir;
    std::string out() const { return dir.file("PalmOS Release"); }
    std::string file(const std::string& name) const { return out() + "/" + name; }
    std::string expand(std::string s) const {
        for (const auto& [key, value] : {std::pair{"{out}", out()}, std::pair{"{dir}", dir.path()}})
            if (auto at = s.find(key); at != std::string::npos) s.replace(at, std::string(key).size(), value);
        return s;
    }
};

// Runs the script as the IDE does: the C build folder, lower-cased, and the
// lower-case base name, in the output folder, over an earlier code image.
TEST_P(CBuild, LeavesAnImageOrEndsWithAMakeLine) {
    const Case& c = GetParam();
    fs::create_directories(out());
    writeBytes(dir.file("extra.c"), "int extra;\n");
    if (!c.file.empty()) writeBytes(file(c.file), expand(c.translation));
    writeBytes(file("demo.prc"), "VARNCODE 1\nan earlier image\n");
    ProcessOutput p = runIn(out(), cBuildScript(), shellQuote(sharePath("c_build/")) + c.arguments);
    std::vector<std::string> expected;
    for (const auto& l : c.lines) expected.push_back(expand(l));
    EXPECT_EQ(p.out, joinLines(expected));
    EXPECT_EQ(logLines(file("C_Build.log")), expected);
    EXPECT_FALSE(fs::exists(file("demo.prc.tmp")));
    ASSERT_FALSE(expected.empty());
    if (expected.back().rfind("make: *** ", 0) != 0) {
        EXPECT_EQ(p.status, 0) << p.out << p.err;
        EXPECT_EQ(readBytes(file("demo.prc")), "VARNCODE 1\n" + expand(c.translation));
        return;
    }
    EXPECT_EQ(p.status, 2);
    // Without a base name the script cannot know which image to remove.
    if (!c.arguments.empty()) {
        EXPECT_FALSE(fs::exists(file("demo.prc"))) << "a failed build leaves no code image";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Runs, CBuild,
    ::testing::Values(
        Case{"Translation", "demo.c", translation, " demo", {"Compiling demo.c", "Built demo.prc"}},
        Case{"OtherCaseWithProjectCFile",
             "DEMO.C",
             translation + "/* C file: {dir}/extra.c */\n",
             " demo",
             {"Compiling DEMO.C", "Built demo.prc"}},
        Case{"NoTranslation",
             "",
             "",
             " demo",
             {"make: *** No rule to make target 'demo.c', needed by 'demo.prc'.  Stop."}},
        Case{"NotATranslation",
             "demo.c",
             "int main(void) { return 0; }\n",
             " demo",
             {"Compiling demo.c", "{out}/demo.c:1: error: not a C translation of the VARN compiler",
              "make: *** [demo.prc] Error 1"}},
        Case{"MissingProjectCFile",
             "demo.c",
             translation + "/* C file: /no/such/extra.c */\n/* C file: /no/such/two.c */\n",
             " demo",
             {"Compiling demo.c", "/no/such/extra.c: No such file or directory",
              "/no/such/two.c: No such file or directory", "make: *** [demo.prc] Error 1"}},
        Case{
            "NoBaseName", "demo.c", translation, "", {"make: *** No targets specified and no makefile found.  Stop."}}),
    [](const auto& info) { return std::string(info.param.label); });

}  // namespace
}  // namespace varn::tooltest
