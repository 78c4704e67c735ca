// The compiler as a process on hand-written option files: the error lines
// of options, data lines and sources; includes; the output container,
// symbols.txt and C translation it leaves; and the bundled samples.

#include <algorithm>
#include <cctype>
#include <ostream>
#include <sstream>

#include "../common/ToolTest.h"

namespace varn::tooltest {
namespace {

class VarnC : public ::testing::Test {
protected:
    varn::test::TempDir dir;
    // "@" in option lines and expectations stands for the project folder.
    std::string at(std::string s) const {
        for (std::size_t p; (p = s.find('@')) != std::string::npos;) s.replace(p, 1, dir.path() + "/");
        return s;
    }
    void write(const std::string& name, const std::string& text) {
        fs::create_directories(fs::path(dir.file(name)).parent_path());
        writeBytes(dir.file(name), text);
    }
    std::vector<std::string> compile(std::vector<std::string> optionLines, int* status = nullptr) {
        for (auto& l : optionLines) l = at(l);
        ProcessOutput p = compileIn(dir.path(), optionLines);
        if (status) *status = p.status;
        return logLines(dir.file("varn_c.log"));
    }
    std::string read(const std::string& name) const { return readBytes(dir.file(name)); }
};

// ------------------------------------------------------ error-line table

struct Case {
    const char* label;
    std::vector<std::string> extra = {};                    // option lines from line 3, after "-win32" and "-output="
    std::string source = "function startup()\r\nend;\r\n";  // main.vsl
    std::vector<std::pair<std::string, std::string>> files = {};
    std::vector<std::string> errors = {};  // "<file>:<line>: <message>", "opt" for the option file
    bool bare = false;                     // no pass markers and main source after the extra lines
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.label; }

class Errors : public VarnC, public ::testing::WithParamInterface<Case> {};

TEST_P(Errors, AreLoggedAtTheirLine) {
    const Case& c = GetParam();
    write("main.vsl", c.source);
    for (const auto& [name, text] : c.files) write(name, text);
    std::vector<std::string> opt = {"-win32", "-output=@out/main.vsp"};
    opt.insert(opt.end(), c.extra.begin(), c.extra.end());
    if (!c.bare) opt.insert(opt.end(), {"-define:IDE__PASS=1", "@main.vsl", "-define:IDE__PASS=2"});
    int status = -1;
    std::vector<std::string> log = compile(opt, &status);

    std::vector<std::string> expected;
    for (const auto& e : c.errors) {
        std::size_t c1 = e.find(':'), c2 = e.find(':', c1 + 1);
        std::string file = e.substr(0, c1) == "opt" ? "varn_c.opt" : e.substr(0, c1);
        expected.push_back(errorLine(dir.file(file), std::stol(e.substr(c1 + 1)), at(e.substr(c2 + 2))));
    }
    EXPECT_EQ(errorLines(dir.file("varn_c.log")), expected) << joinLines(log);
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.back(), "Compile complete: " + std::to_string(expected.size()) + " error(s)");
    EXPECT_EQ(status, expected.empty() ? 0 : 1);
    EXPECT_EQ(fs::exists(dir.file("out/main.vsp")), expected.empty()) << "output only without errors";
}

// Data lines: "[%06d]=$" with the entry count, the bytes, a final 0.
std::string data(const std::vector<int>& bytes) {
    char count[16];
    std::snprintf(count, sizeof count, "[%06d]=$", static_cast<int>(bytes.size() + 1));
    std::string text = count;
    for (int b : bytes) text += std::to_string(b) + ",";
    return text + "0";
}
// A BitmapType version 2 header followed by `rest`.
std::vector<int> bmp(int w, int h, int rowBytes, int pixelSize, int next, std::vector<int> rest, int version = 2,
                     int compression = 0) {
    std::vector<int> b = {0, w,    0,    h,           0, rowBytes, pixelSize == 8 ? 0x20 : 0, 0, pixelSize, version,
                          0, next, 0x31, compression, 0, 0};
    b.insert(b.end(), rest.begin(), rest.end());
    return b;
}
std::vector<int> operator+(std::vector<int> a, const std::vector<int>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}
const std::vector<int> colour = bmp(2, 2, 2, 8, 0, {1, 2, 3, 4});  // 20 bytes
const std::vector<int> colourChained = bmp(2, 2, 2, 8, 5, {1, 2, 3, 4});
const std::vector<int> mono = bmp(3, 3, 2, 1, 0, {0xA0, 0, 0x40, 0, 0xE0, 0, 0, 0});  // 22 bytes + 2 padding

// Option lines from line 3, each with the error it gives at its own line.
Case lineByLine(const char* label, const std::vector<std::pair<std::string, std::string>>& lines) {
    Case c{.label = label};
    for (const auto& [line, error] : lines) {
        c.extra.push_back(line);
        if (!error.empty()) c.errors.push_back("opt:" + std::to_string(c.extra.size() + 2) + ": " + error);
    }
    return c;
}

INSTANTIATE_TEST_SUITE_P(
    Options, Errors,
    ::testing::Values(
        Case{.label = "Clean"},
        lineByLine("OptionLines", {{"-frobnicate", "unknown option -frobnicate"},
                                   {"-colour:7", "unknown option -colour"},
                                   {"-pilot", "a second target platform option -pilot (already win32)"},
                                   {"-debugger=yes", "option -debugger takes no value"},
                                   {"-screensize_x:wide", "option -screensize_x needs a whole number from 1 to 10000"},
                                   {"-varnsize_y:0", "option -varnsize_y needs a whole number from 1 to 10000"},
                                   {"-option:2", "option -option needs a whole number from 0 to 1"},
                                   {"-output=/tmp/x.vsp", "a second -output= option"},
                                   {"-bitmap:pic[000001]=$0", ""},
                                   {"-bitmap:PIC[000001]=$0", "bitmap PIC is listed twice"},
                                   {"-icon:pic[000001]=$0", ""}}),
        lineByLine("Defines", {{"-define:LONELY", "option -define: needs name=value"},
                               {"-define:string s = \"open", "unterminated string in the definition of s"},
                               {"-define:_VARN_C_=2", "_VARN_C_ must be 0 or 1"},
                               {"-define:_VARN_DBCREATOR_ID_=VARN",
                                "_VARN_DBCREATOR_ID_ must be up to four characters in double quotes"}}),
        Case{.label = "FileBeforePass",
             .extra = {"stray.vsl"},
             .errors = {"opt:3: source stray.vsl listed before -define:IDE__PASS=1"}},
        Case{.label = "MissingFile",
             .extra = {"-define:IDE__PASS=1", "@main.vsl", "@forms/gone.vff", "-define:IDE__PASS=2"},
             .errors = {"opt:5: cannot open @forms/gone.vff"},
             .bare = true},
        Case{.label = "PassesOutOfOrder",
             .extra = {"-define:IDE__PASS=2", "@main.vsl", "-define:IDE__PASS=1"},
             .errors = {"opt:3: unexpected pass marker IDE__PASS=2",
                        "opt:4: source @main.vsl listed before -define:IDE__PASS=1",
                        "opt:5: no main source (.vsl) listed",
                        "opt:5: the pass markers IDE__PASS=1 and IDE__PASS=2 are missing"},
             .bare = true},
        Case{.label = "MainInPassTwo",
             .extra = {"-define:IDE__PASS=1", "-define:IDE__PASS=2", "@main.vsl"},
             .errors = {"opt:5: main source @main.vsl listed in pass 2"},
             .bare = true},
        Case{.label = "CInPassOne",
             .extra = {"-define:IDE__PASS=1", "@main.vsl", "@code.c", "-define:IDE__PASS=2"},
             .files = {{"code.c", "int f;"}},
             .errors = {"opt:5: C file @code.c listed in pass 1"},
             .bare = true},
        Case{.label = "NothingListed",
             .errors = {"opt:2: no main source (.vsl) listed",
                        "opt:2: the pass markers IDE__PASS=1 and IDE__PASS=2 are missing"},
             .bare = true}),
    [](const auto& info) { return std::string(info.param.label); });

// Each image has a name of its own: a second one is an error of its own.
INSTANTIATE_TEST_SUITE_P(
    DataLines, Errors,
    ::testing::Values(
        Case{.label = "Sound",
             .extra = {"-bitmap:none[000001]=$0", "-bitmap:pic" + data(colour), "-icon:logo__hr" + data(mono),
                       "-smallicon:s" + data(colourChained + mono)}},
        lineByLine(
            "Bad",
            {{"-bitmap:a[000020]=$" + data(colour).substr(10), "bitmap a: count field says 20 but 21 entries follow"},
             {"-bitmap:b[000000]=$" + data(colour).substr(10), "bitmap b: count field says 0 but 21 entries follow"},
             {"-bitmap:c[00001]=$0", "bitmap c: malformed count field"},
             {"-bitmap:d=$0", "bitmap has no count field"},
             {"-icon:[000001]=$0", "icon has no name"},
             {"-bitmap:my p[000001]=$0", "bitmap name \"my p\" is not a valid name"},
             {"-bitmap:e[000002]=$256,0", "bitmap e: entry 1 is not a byte value"},
             {"-bitmap:f[000003]=$1,,0", "bitmap f: entry 2 is not a byte value"},
             {"-bitmap:g[000001]=$7", "bitmap g: data line does not end with 0"},
             {"-bitmap:h[000002]=$0,", "bitmap h: entry 2 is not a byte value"},
             {"-bitmap:i" + data({0, 2, 0, 2}), "bitmap i: record 1 is shorter than its 16-byte header"},
             {"-bitmap:j" + data(bmp(2, 2, 2, 8, 0, {1, 2, 3, 4}, 1)), "bitmap j: record 1 has version 1, not 2"},
             {"-bitmap:k" + data(bmp(3, 1, 2, 8, 0, {1, 2, 3, 4})),
              "bitmap k: record 1 has 2 row bytes, 4 needed for its width"},
             {"-bitmap:l" + data(bmp(1, 4, 1, 8, 0, {1, 2, 3, 4})), "bitmap l: record 1 has an odd row byte count 1"},
             {"-bitmap:m" + data(bmp(2, 2, 2, 8, 0, {1, 2, 3, 4}, 2, 1)), "bitmap m: record 1 is compressed"},
             {"-bitmap:n" + data(bmp(2, 2, 2, 8, 0, {1, 2})), "bitmap n: record 1 needs 20 bytes, 18 are there"},
             {"-icon:o" + data(bmp(3, 3, 2, 1, 0, {1, 0, 1, 0, 1, 0})),
              "icon o: record 1 needs 24 bytes, 22 are there"},
             {"-icon:p" + data(bmp(3, 3, 2, 1, 0, {1, 0, 1, 0, 1, 0, 9, 0})),
              "icon p: record 1 has a non-zero padding byte"},
             {"-bitmap:q" + data(colour + mono), "bitmap q: record 1 has no next-depth offset but 24 bytes follow"},
             {"-bitmap:r" + data(bmp(2, 2, 2, 8, 4, {1, 2, 3, 4}) + mono),
              "bitmap r: record 1 has next-depth offset 4, its size gives 5"},
             {"-bitmap:t" + data(colourChained), "bitmap t: record 1 points to a next record that is not there"}})),
    [](const auto& info) { return std::string(info.param.label); });

INSTANTIATE_TEST_SUITE_P(
    Sources, Errors,
    ::testing::Values(
        Case{.label = "Empty", .source = ""}, Case{.label = "LineFeedsOnly", .source = "function a()\nend;\n"},
        Case{.label = "Strings",
             .source = "s = \"open;\r\nt = \"# kept\";\r\nn = 1; # \"quoted\r\nu = \"one\r\ntwo\";\r\n",
             .errors = {"main.vsl:1: unterminated string", "main.vsl:4: unterminated string",
                        "main.vsl:5: unterminated string"}},
        Case{.label = "FunctionWithoutEnd",
             .source = "function a()\r\n  x = 1;\r\nfunction b()\r\nend;\r\nfunction c()\r\n",
             .errors = {"main.vsl:1: function a has no end;", "main.vsl:5: function c has no end;"}},
        Case{.label = "FunctionForms",
             .source = "FUNCTION a()\r\nEnd ;\r\n# function b()\r\nfunction ()\r\nend;\r\n",
             .errors = {"main.vsl:4: function without a name"}},
        Case{.label = "DeclarationBlocks",
             .source = "variables;\r\n  l[1] = # C\r\n    \"Red\";\r\nend;\r\nframe Main;\r\nend;\r\n"},
        Case{
            .label = "Conditionals",
            .source = "COMPILE_IF A=1;\r\nCOMPILE_ELSE;\r\ncompile_end_if;\r\nCOMPILE_END_IF;\r\nCOMPILE_ELSE;\r\n"
                      "COMPILE_IF B=1;\r\n  COMPILE_IF C=1;\r\n  COMPILE_END_IF\r\nCOMPILE_IF D=1;\r\n",
            .errors = {"main.vsl:4: COMPILE_END_IF; without COMPILE_IF", "main.vsl:5: COMPILE_ELSE; without COMPILE_IF",
                       "main.vsl:6: COMPILE_IF without COMPILE_END_IF;",
                       "main.vsl:8: COMPILE_END_IF must be followed by ;",
                       "main.vsl:9: COMPILE_IF without COMPILE_END_IF;"}},
        Case{.label = "Includes",
             .source = "include \"nowhere.vsl\"\r\ninclude \"\"\r\ninclude <sys.vsl>\r\n",
             // Include lines are followed after the file's own checks.
             .errors = {"main.vsl:2: include without a file name",
                        "main.vsl:1: cannot open include file \"nowhere.vsl\""}},
        // Relative to the including file, names in another case, a cycle
        // back to main.vsl, and the project folder as the last resort.
        Case{.label = "IncludedFiles",
             .source = "include \"lib/util.vsl\"\r\n",
             .files = {{"lib/Util.vsl", "include \"HELPER.VSL\"\r\ninclude \"../main.vsl\"\r\ninclude \"top.vsl\"\r\n"},
                       {"lib/helper.vsl", "s = \"open;\r\n"},
                       {"top.vsl", "function top()\r\n"}},
             .errors = {"lib/helper.vsl:1: unterminated string", "top.vsl:1: function top has no end;"}}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(VarnC, MissingOptionFileAndMissingArgumentAreLogged) {
    ProcessOutput p = runIn(dir.path(), compiler(), shellQuote(dir.file("gone.opt")));
    EXPECT_EQ(p.status, 1);
    EXPECT_EQ(logLines(dir.file("varn_c.log")),
              (std::vector<std::string>{errorLine(dir.file("gone.opt"), 0, "cannot open the option file"),
                                        "Compile complete: 1 error(s)"}));
    EXPECT_EQ(runIn(dir.path(), compiler(), "").status, 1);
    EXPECT_EQ(errorLines(dir.file("varn_c.log")).size(), 1u) << "the usage as an error line";
}

TEST_F(VarnC, PathsResolveWindowsStyleInAnyCaseAndWithBlanksAndQuotes) {
    write("my \"odd\" dir/Main.VSL", "function a()\r\nend;\r\n");
    write("my \"odd\" dir/forms/Dialog.vff", "frame Main;\r\nend;\r\n");
    fs::create_directories(dir.file("PalmOS Debug"));
    std::vector<std::string> log = compile({"-pilot", "-output=@palmos debug/main.vsm", "-define:IDE__PASS=1",
                                            "@my \"odd\" dir\\FORMS\\dialog.vff", "@my \"odd\" dir\\main.vsl",
                                            "-define:IDE__PASS=2", "@my \"odd\" dir/forms/dialog.vff"});
    EXPECT_EQ(log, (std::vector<std::string>{"Compiling " + dir.file("my \"odd\" dir/forms/Dialog.vff"),
                                             "Compiling " + dir.file("my \"odd\" dir/Main.VSL"),
                                             "Output written to " + dir.file("PalmOS Debug/main.vsm"),
                                             "Compile complete: 0 error(s)"}));
    std::string text = read("varn_c.log");
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), std::count(text.begin(), text.end(), '\r')) << "CR LF ends";
}

// --------------------------------------------------------------- outputs

TEST_F(VarnC, ContainerListsOptionsImagesFilesPassesAndFunctions) {
    write("main.vsl", "include \"util.vsl\"\r\nfunction startup()\r\nend;\r\n");
    write("util.vsl", "function helper(x)\r\nend;\r\n");
    write("main.vff", "frame Main;\r\nend;\r\n");
    write("Main_MenuBar.ini", "menu_bar bar;\r\nend;\r\n");
    write("code.c", "int f;\n");
    int status = -1;
    compile({"-ppc:Demo", "-output=@out/main.VCE", "-define:string g = \"Hi\"", "-bitmap:pic" + data(colour),
             "-define:IDE__PASS=1", "@Main_MenuBar.ini", "@main.vff", "@main.vsl", "-define:IDE__PASS=2",
             "@Main_MenuBar.ini", "@main.vff", "@code.c", "-debugger"},
            &status);
    EXPECT_EQ(status, 0) << read("varn_c.log");
    // The golden file has "@" for the project folder; its byte counts are
    // those of the files' texts, which name no folder.
    std::string container = read("out/main.VCE");
    for (std::size_t p; (p = container.find(dir.path() + "/")) != std::string::npos;)
        container.replace(p, dir.path().size() + 1, "@");
    EXPECT_TRUE(varn::test::matchesGolden(container, "tools/varn_c/container.vce"));
    EXPECT_FALSE(fs::exists(dir.file("out/main.c"))) << "no C translation without _VARN_C_=1";
}

TEST_F(VarnC, SymbolsTakeTheCommentAboveAndAreWrittenEvenOnFailure) {
    write("main.vsl",
          "#\r\n# Greets the user.\r\n#\r\nfunction startup()\r\nend;\r\n\r\n# Not next to it.\r\n\r\n"
          "function Tap( x , y )  # taps\r\nend;\r\nfunction STARTUP()\r\nend;\r\nfunction bare\r\n  s = "
          "\"open;\r\nend;\r\n");
    write("symbols.txt", "old;function;old();stale\r\n");
    compile({"-win32", "-output=@out/main.vsp", "-define:IDE__PASS=1", "@main.vsl", "-define:IDE__PASS=2"});
    EXPECT_EQ(read("symbols.txt"),
              "startup;function;startup();Greets the user.\r\n"
              "Tap;function;Tap( x , y );Declared in main.vsl, line 9.\r\n"
              "bare;function;bare();Declared in main.vsl, line 13.\r\n");
}

TEST_F(VarnC, CBuildWritesTheTranslationBesideTheOutput) {
    write("main.vsl", "");
    write("extra.c", "int e;\n");
    fs::create_directories(dir.file("PalmOS Release"));
    compile({"-pilot", "-output=@PalmOS Release/main.vsm", "-define:_VARN_C_=1", "-define:_VARN_DBCREATOR_ID_=\"Demo\"",
             "-define:IDE__PASS=1", "@main.vsl", "-define:IDE__PASS=2", "@extra.c"});
    const std::string program = read("PalmOS Release/main.vsm"), c = read("PalmOS Release/main.c");
    for (const std::string& want :
         {std::string("/* VARN_C_BUILD 1 */\n"), std::string("#define VARN_DBCREATOR_ID \"Demo\"\n"),
          at("/* C file: @extra.c */\n"), "varn_program_size = " + std::to_string(program.size()) + "UL;"})
        EXPECT_NE(c.find(want), std::string::npos) << want;
    std::string array;  // the container byte by byte, then a final 0x00
    for (std::size_t p = c.find("0x", c.find("varn_program[]")); p != std::string::npos; p = c.find("0x", p + 4))
        array += static_cast<char>(std::stoi(c.substr(p + 2, 2), nullptr, 16));
    EXPECT_EQ(array, program + std::string(1, '\0'));
}

TEST_F(VarnC, AFailedBuildRemovesTheEarlierOutput) {
    write("main.vsl", "");
    std::vector<std::string> opt = {"-win32", "-output=@new/folder/main.vsp", "-define:IDE__PASS=1", "@main.vsl",
                                    "-define:IDE__PASS=2"};
    compile(opt);
    ASSERT_TRUE(fs::exists(dir.file("new/folder/main.vsp"))) << "a missing output folder is made";
    write("main.vsl", "function a()\r\n");
    compile(opt);
    EXPECT_FALSE(fs::exists(dir.file("new/folder/main.vsp")));
}

// ----------------------------------------------------------------- samples

struct Sample {
    std::string project, configuration, platform, output;
    std::vector<std::string> errors;
};

void PrintTo(const Sample& s, std::ostream* os) { *os << s.project << " " << s.configuration; }

class Samples : public VarnC, public ::testing::WithParamInterface<Sample> {};

// The samples as the IDE compiles them in each accepted configuration.
TEST_P(Samples, BuildAsExpected) {
    const Sample& s = GetParam();
    fs::copy(sharePath("samples/" + s.project), dir.path(), fs::copy_options::recursive);
    fs::create_directories(dir.file(s.configuration));
    std::string lower = s.project;
    for (char& ch : lower) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    const bool debug = s.configuration.find("Debug") != std::string::npos;
    compile(sampleOptions(s.platform, "@" + s.configuration + "/" + s.output, "@" + lower + ".vsl", debug));
    std::vector<std::string> expected;
    for (const auto& e : s.errors) expected.push_back(at(e));
    EXPECT_EQ(errorLines(dir.file("varn_c.log")), expected);
    EXPECT_EQ(fs::exists(dir.file(s.configuration + "/" + s.output)), expected.empty());
    if (s.project == "Demo") {
        EXPECT_EQ(read("symbols.txt"),
                  "startup;function;startup();Greets the user when the application starts.\r\n"
                  "count_taps;function;count_taps(times);Adds a number of taps, two points each.\r\n"
                  "on_tap;function;on_tap();Counts the taps on the form.\r\n");
    }
}

std::vector<Sample> samples() {
    std::vector<Sample> all;
    for (const char* project : {"Demo", "Broken"}) {
        std::vector<std::string> errors;
        if (std::string(project) == "Broken") errors.push_back("File @Broken.vsl, Line 9: unterminated string");
        for (const char* kind : {" Debug", " Release"}) {
            std::string lower = project == std::string("Demo") ? "demo" : "broken";
            all.push_back({project, std::string("PalmOS") + kind, "-pilot", lower + ".vsm", errors});
            all.push_back({project, std::string("Windows") + kind, "-win32", lower + ".vsp", errors});
            all.push_back(
                {project, std::string("PocketPC") + kind, "-ppc:Demo", std::string(project) + ".VCE", errors});
        }
    }
    return all;
}

INSTANTIATE_TEST_SUITE_P(Bundled, Samples, ::testing::ValuesIn(samples()), [](const auto& info) {
    std::string n = info.param.project + info.param.configuration;
    n.erase(std::remove(n.begin(), n.end(), ' '), n.end());
    return n;
});

}  // namespace
}  // namespace varn::tooltest
