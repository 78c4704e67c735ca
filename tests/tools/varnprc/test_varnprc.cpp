// The PRC converter as a process: the database it writes for each argument
// set, read back by our strict reader and by Perl's Palm::PDB, and the
// errors it logs for bad arguments and inputs.

#include <algorithm>
#include <ostream>

#include "../common/ToolTest.h"

namespace varn::tooltest {
namespace {

const std::string program = "VARNOUT 1\ntarget pilot\nend\n";

class Converter : public ::testing::Test {
protected:
    varn::test::TempDir dir;

    void SetUp() override { writeBytes(dir.file("demo.vsm"), program); }

    ProcessOutput convert(const std::string& arguments, const std::string& environment = "") {
        return runCommand("cd " + shellQuote(dir.path()) + " && " + environment + " " + shellQuote(converter()) + " " +
                          arguments);
    }
    std::vector<std::string> log() const { return logLines(dir.file("VARNprc.log")); }
    std::vector<std::string> errors() const { return errorLines(dir.file("VARNprc.log")); }
};

// ------------------------------------------------------- well-formed output

struct Expected {
    std::string name;
    unsigned attributes;
    unsigned version;
    std::string type;
    std::vector<PrcResource> resources;
};

struct PrcCase {
    const char* label;
    std::string arguments;
    Expected expected;
};

void PrintTo(const PrcCase& c, std::ostream* os) { *os << c.label; }

std::string z(const std::string& s) { return s + std::string(1, '\0'); }

const std::string iconBytes = std::string("BM\0\1\2icon", 9);

class Databases : public Converter, public ::testing::WithParamInterface<PrcCase> {};

TEST_P(Databases, CarryTheGivenSettings) {
    const PrcCase& c = GetParam();
    writeBytes(dir.file("Icon.vic"), iconBytes);
    ProcessOutput p = convert(c.arguments);
    EXPECT_EQ(p.status, 0) << joinLines(log());
    EXPECT_TRUE(errors().empty()) << joinLines(log());
    ASSERT_FALSE(log().empty());
    EXPECT_EQ(log().back(), "PRC complete: 0 error(s)");

    const std::string path = dir.file("Demo.PRC");
    ASSERT_TRUE(fs::exists(path));
    Prc prc;
    ASSERT_TRUE(readPrc(readBytes(path), prc));
    EXPECT_EQ(prc.name, c.expected.name);
    EXPECT_EQ(prc.attributes, c.expected.attributes);
    EXPECT_EQ(prc.version, c.expected.version);
    EXPECT_EQ(prc.type, c.expected.type);
    EXPECT_EQ(prc.creator, "Demo");
    EXPECT_EQ(prc.created, prc.modified);
    ASSERT_EQ(prc.resources.size(), c.expected.resources.size());
    for (std::size_t i = 0; i < prc.resources.size(); ++i) {
        EXPECT_EQ(prc.resources[i].type, c.expected.resources[i].type) << i;
        EXPECT_EQ(prc.resources[i].id, c.expected.resources[i].id) << i;
        EXPECT_EQ(prc.resources[i].data, c.expected.resources[i].data) << i;
    }

    // The same file through an independent reader.
    if (!havePalmPdb()) GTEST_SKIP() << "Palm::PDB (libpalm-perl) is not installed";
    ProcessOutput dump = palmPdbDump(path);
    ASSERT_EQ(dump.status, 0) << dump.err;
    // Palm::PDB names each bit, some twice; the dump sorts the names.
    std::vector<std::string> names = {"ResDB", "resource"};
    if (c.expected.attributes & 0x0008) names.insert(names.end(), {"Backup", "backup"});
    if (c.expected.attributes & 0x0040) names.push_back("CopyPrevention");
    std::sort(names.begin(), names.end());
    std::string attributes;
    for (const auto& n : names) attributes += (attributes.empty() ? "" : ",") + n;
    std::string expected = c.expected.name + "|" + c.expected.type + "|Demo|" + std::to_string(c.expected.version) +
                           "|" + attributes + "\n";
    for (const auto& r : c.expected.resources)
        expected +=
            r.type + "|" + std::to_string(r.id) + "|" + std::to_string(r.data.size()) + "|" + hexPrefix(r.data) + "\n";
    EXPECT_EQ(dump.out, expected);
}

const std::string common = "0x44656D6F -n \"Demo\" ";

INSTANTIATE_TEST_SUITE_P(
    Prc, Databases,
    ::testing::Values(
        PrcCase{"PlainBuild",
                "\"Demo.VSM\" " + common + "-v \"\" -t \"Application\" -b yes -bak no",
                {"Demo", 0x0001, 1, "appl", {{"tAIN", 1000, z("Demo")}, {"VARN", 1, program}}}},
        PrcCase{"BackupWithoutBeaming",
                "\"Demo.VSM\" " + common + "-v \"\" -t \"Application\" -b no -bak yes",
                {"Demo", 0x0049, 1, "appl", {{"tAIN", 1000, z("Demo")}, {"VARN", 1, program}}}},
        PrcCase{
            "Version",
            "\"Demo.VSM\" " + common + "-v \"2.5\" -t \"Application\" -b yes -bak no",
            {"Demo", 0x0001, 2, "appl", {{"tAIN", 1000, z("Demo")}, {"tver", 1000, z("2.5")}, {"VARN", 1, program}}}},
        PrcCase{"Library",
                "\"Demo.VSM\" " + common + "-v \"\" -t \"Library\" -b yes -bak no",
                {"Demo", 0x0001, 1, "libr", {{"tAIN", 1000, z("Demo")}, {"VARN", 1, program}}}},
        PrcCase{"CaseOfWords",
                "\"Demo.VSM\" 0x44656d6f -n \"My Demo\" -v \"beta\" -t \"application\" -b YES -bak No",
                {"My Demo",
                 0x0001,
                 1,
                 "appl",
                 {{"tAIN", 1000, z("My Demo")}, {"tver", 1000, z("beta")}, {"VARN", 1, program}}}},
        PrcCase{
            "LongNameCut",
            "\"Demo.VSM\" 0x44656D6F -n \"" + std::string(40, 'n') + "\" -v \"\" -t \"Application\" -b yes -bak no",
            {std::string(31, 'n'), 0x0001, 1, "appl", {{"tAIN", 1000, z(std::string(31, 'n'))}, {"VARN", 1, program}}}},
        PrcCase{
            "Icon",
            "\"Demo.VSM\" " + common + "-v \"1\" -t \"Application\" -b yes -bak yes -i \"icon.VIC\"",
            {"Demo",
             0x0009,
             1,
             "appl",
             {{"tAIN", 1000, z("Demo")}, {"tver", 1000, z("1")}, {"VARN", 1, program}, {"vicn", 1000, iconBytes}}}}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(Converter, TimesCountFrom1904) {
    ProcessOutput p =
        convert("demo.vsm " + common + "-v \"\" -t \"Application\" -b yes -bak no", "SOURCE_DATE_EPOCH=86400");
    ASSERT_EQ(p.status, 0) << joinLines(log());
    Prc prc;
    ASSERT_TRUE(readPrc(readBytes(dir.file("demo.PRC")), prc));
    EXPECT_EQ(prc.created, 2082844800u + 86400u);
    EXPECT_EQ(prc.modified, prc.created);
}

// ---------------------------------------------------------------- -gcc

TEST_F(Converter, AFailedCBuildShowsItsMakeLines) {
    writeBytes(dir.file("C_Build.log"), "make: *** No rule to make target 'demo.c', needed by 'demo.prc'.  Stop.\n");
    ProcessOutput p = convert("\"Demo.PRC\" " + common + "-v \"\" -t \"Application\" -b yes -bak no -gcc");
    EXPECT_EQ(p.status, 1);
    std::vector<std::string> lines = log();
    ASSERT_EQ(lines.size(), 3u) << joinLines(lines);
    EXPECT_EQ(lines[0], "make: *** No rule to make target 'demo.c', needed by 'demo.prc'.  Stop.");
    EXPECT_EQ(lines[1], errorLine("Demo.PRC", 0, "cannot open the input file; the C build did not leave it"));
    EXPECT_EQ(lines[2], "PRC complete: 1 error(s)");
}

// --------------------------------------------------------------- errors

struct ErrorCase {
    const char* label;
    std::string arguments;
    std::string message;
    std::string file = "Demo.vsm";  // named in the error line
};

void PrintTo(const ErrorCase& c, std::ostream* os) { *os << c.label; }

class Errors : public Converter, public ::testing::WithParamInterface<ErrorCase> {};

TEST_P(Errors, AreLoggedAndLeaveNoDatabase) {
    const ErrorCase& c = GetParam();
    // The database is named after the input argument, the first quoted text.
    const std::string input = c.arguments.substr(1, c.arguments.find('"', 1) - 1);
    const std::string output = dir.file(fs::path(input).stem().string() + ".PRC");
    writeBytes(output, "stale");
    writeBytes(dir.file("text.vsm"), "just text\n");
    ProcessOutput p = convert(c.arguments);
    EXPECT_EQ(p.status, 1);
    const std::vector<std::string> lines = log();
    ASSERT_EQ(lines.size(), 2u) << joinLines(lines);
    EXPECT_EQ(lines[0].rfind(errorLine(c.file, 0, c.message), 0), 0u) << lines[0];
    EXPECT_EQ(lines[1], "PRC complete: 1 error(s)");
    EXPECT_FALSE(fs::exists(output)) << "a stale database is removed";
}

const std::string tail = " -n \"Demo\" -v \"\" -t \"Application\" -b yes -bak no";

INSTANTIATE_TEST_SUITE_P(
    Prc, Errors,
    ::testing::Values(
        ErrorCase{"NoInput", "\"Demo.xyz\" 0x44656D6F" + tail, "cannot open the input file", "Demo.xyz"},
        ErrorCase{"NotAProgram", "\"text.vsm\" 0x44656D6F" + tail, "the input is not a compiled VARN program",
                  "text.vsm"},
        ErrorCase{"ProgramGivenForCBuild", "\"Demo.vsm\" 0x44656D6F" + tail + " -gcc",
                  "the input is not a code image of the C build"},
        ErrorCase{"CreatorWithout0x", "\"Demo.vsm\" 44656D6F" + tail,
                  "bad creator ID 44656D6F: it does not begin with 0x"},
        ErrorCase{"CreatorTooShort", "\"Demo.vsm\" 0x44656D" + tail,
                  "bad creator ID 0x44656D: it needs 8 hexadecimal digits, has 6"},
        ErrorCase{"CreatorEmpty", "\"Demo.vsm\" 0x" + tail, "bad creator ID 0x: it needs 8 hexadecimal digits, has 0"},
        ErrorCase{"CreatorNotHex", "\"Demo.vsm\" 0x44656DZZ" + tail,
                  "bad creator ID 0x44656DZZ: it holds a character that is not a hexadecimal digit"},
        ErrorCase{"CreatorControlCharacter", "\"Demo.vsm\" 0x44656D01" + tail,
                  "bad creator ID 0x44656D01: it holds a character that cannot be printed"},
        ErrorCase{"UnknownType", "\"Demo.vsm\" 0x44656D6F -n \"Demo\" -v \"\" -t \"Program\" -b yes -bak no",
                  "unknown database type Program (Application, Library or four characters)"},
        ErrorCase{"NoName", "\"Demo.vsm\" 0x44656D6F -v \"\" -t \"Application\" -b yes -bak no",
                  "the application name (-n) is empty"},
        ErrorCase{"BlankName", "\"Demo.vsm\" 0x44656D6F -n \"  \" -v \"\" -t \"Application\" -b yes -bak no",
                  "the application name (-n) is empty"},
        ErrorCase{"UnknownArgument", "\"Demo.vsm\" 0x44656D6F" + tail + " -x", "unknown argument -x"},
        ErrorCase{"BeamNotYesOrNo", "\"Demo.vsm\" 0x44656D6F -n \"Demo\" -b maybe",
                  "option -b takes yes or no, not maybe"},
        ErrorCase{"ValueMissing", "\"Demo.vsm\" 0x44656D6F -n \"Demo\" -v", "option -v needs a value"},
        ErrorCase{"MissingIcon", "\"Demo.vsm\" 0x44656D6F" + tail + " -i \"gone.vic\"", "cannot open the icon file",
                  "gone.vic"},
        // The usage is not restated here: only that it is the error.
        ErrorCase{"OnlyTheInput", "\"Demo.vsm\"", "usage: "}),
    [](const auto& info) { return std::string(info.param.label); });

}  // namespace
}  // namespace varn::tooltest
