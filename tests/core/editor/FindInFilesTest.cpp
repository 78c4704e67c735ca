// The project search over the fixture project tests/data/editor/findproject
// (CR LF and LF files, tabs, a long line, several matches on one line): list
// entries and counts, the pane limit, open documents searched instead of their
// files, unreadable files, and the first-match mode of Find Function and Go
// to Invoker.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>

#include "TestSupport.h"
#include "app/RecordingUi.h"
#include "editor/FindInFiles.h"
#include "editor/LineSearch.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "platform/TextLines.h"
#include "project/OpenDocuments.h"
#include "project/ProjectTree.h"

using namespace varn;
using varn::test::dataPath;

namespace {

std::string fixture(const std::string& name) { return dataPath("editor/findproject/" + name); }

// Project order: application, form, C file, then the include.
std::vector<std::string> fixtureFiles() {
    return {fixture("Demo.vsl"), fixture("Form1.vff"), fixture("util.c"), fixture("lib.vsl")};
}

std::string entry(std::string shown, int line, const std::string& path) {
    shown.resize(60, ' ');
    std::string number = std::to_string(line);
    if (number.size() < 5) number.resize(5, ' ');
    return shown + "  Line: " + number + " File: " + path + "\r\n";
}

// Open documents keyed by path, compared without regard to case.
struct FakeDocuments : OpenDocuments {
    std::map<std::string, std::string> texts;
    std::optional<std::string> text(const std::string& path) const override {
        for (const auto& [p, t] : texts)
            if (paths::equalNoCase(p, path)) return t;
        return std::nullopt;
    }
    bool isOpen(const std::string& path) const override { return text(path).has_value(); }
    bool isModified(const std::string& path) const override { return isOpen(path); }
    bool save(const std::string&) override { return false; }
    std::vector<std::string> modifiedDocuments() const override { return {}; }
    bool saveAllModified() override { return true; }
    bool open(const std::string&, bool) override { return false; }
};

struct Search {
    RecordingUi ui;
    TextFindPane pane;
    FindSummary run(const std::vector<std::string>& files, const FindOptions& o, const OpenDocuments* docs = nullptr) {
        return FindInFiles(ui, docs).list(files, o, pane);
    }
};

}  // namespace

TEST(FindInFilesList, AllFunctionsListing) {
    Search s;
    FindSummary r = FindInFiles(s.ui).listFunctions(fixtureFiles(), s.pane);
    // The golden listing names the fixture folder "<D>".
    std::string listing = s.pane.text;
    const std::string folder = fixture("");
    for (std::size_t at; (at = listing.find(folder)) != std::string::npos;) listing.replace(at, folder.size(), "<D>/");
    EXPECT_TRUE(test::matchesGolden(listing, "editor/findproject-functions.txt"));
    EXPECT_TRUE(r.completed);
    EXPECT_EQ(r.count, 8);
}

TEST(FindInFilesList, Counts) {
    struct Row {
        FindOptions options;
        int count;
    };
    const Row rows[] = {
        {{"hello", false, false}, 6},  // one entry for a line with three
        {{"hello", true, false}, 4},       {{"^\\s*end;$", false, true}, 3},
        {{"^\\s*end;$", false, false}, 0}, {{"\\)\\s*;$", false, true}, 3},  // "$" before CR LF and LF
        {{"", false, false}, 0},
    };
    for (const Row& r : rows) {
        Search s;
        EXPECT_EQ(s.run(fixtureFiles(), r.options).count, r.count) << r.options.text;
        EXPECT_TRUE(s.pane.text.ends_with(std::to_string(r.count) + " occurrence(s) have been found.\r\n"));
    }
    Search none;
    none.run({}, {"x", false, false});
    EXPECT_EQ(none.pane.text, "0 occurrence(s) have been found.\r\n");
}

TEST(FindInFilesList, EntryFormat) {
    const std::string sixty(60, 'x');
    struct Row {
        std::string line;
        int number;
        std::string shown;
    };
    const Row rows[] = {
        {"\t\tcode", 1, "code"},              // leading tabs go
        {"  code", 1, "  code"},              // leading blanks stay
        {"\t code \t\r", 1, " code"},         // trailing white space goes
        {sixty + "tail", 1, sixty},           // cut to 60
        {std::string("ab\0cd", 5), 1, "ab"},  // the text ends at a NUL byte
        {"x", 123456, "x"},                   // a wide number widens the field
    };
    for (const Row& r : rows)
        EXPECT_EQ(FindInFiles::formatEntry(r.line, r.number, "/p/a.vsl"), entry(r.shown, r.number, "/p/a.vsl"));
    // The long fixture line, and the line numbers over every kind of line end.
    Search s;
    s.run({fixture("Demo.vsl")}, {"twice", false, false});
    EXPECT_TRUE(s.pane.text.starts_with(
        entry("message \"A line much longer than sixty characters that says h", 10, fixture("Demo.vsl"))));
    test::TempDir dir;
    std::string mixed = dir.file("mixed.vsl");
    test::writeBytes(mixed, "a\r\nhit\rb\nhit\n\nhit\r\n\r\nhit");
    Search m;
    m.run({mixed}, {"hit", true, false});
    EXPECT_EQ(m.pane.text, entry("hit", 2, mixed) + entry("hit", 4, mixed) + entry("hit", 6, mixed) +
                               entry("hit", 8, mixed) + "4 occurrence(s) have been found.\r\n");
}

TEST(FindInFilesList, OpenModifiedDocumentIsSearchedInsteadOfItsFile) {
    FakeDocuments docs;
    docs.texts[paths::upper(fixture("Demo.vsl"))] = "hello\r\nnothing\r\n\tSay HELLO again";
    Search s;
    s.run(fixtureFiles(), {"hello", false, false}, &docs);
    std::string demo = fixture("Demo.vsl");
    EXPECT_TRUE(s.pane.text.starts_with(entry("hello", 1, demo) + entry("Say HELLO again", 3, demo) +
                                        entry("  message \"hello from the form\"", 4, fixture("Form1.vff"))));
}

TEST(FindInFilesList, FailuresEndTheSearchWithoutCountLine) {
    Search s;
    std::string missing = fixture("Missing.vsl");
    // A name in another case is found on disk; a missing file ends the search.
    FindSummary r = s.run({fixture("UTIL.C"), missing, fixture("lib.vsl")}, {"hello", false, false});
    EXPECT_FALSE(r.completed);
    EXPECT_EQ(s.pane.text, entry("/* hello from C */", 2, fixture("UTIL.C")));
    ASSERT_EQ(s.ui.messages.size(), 1u);
    EXPECT_EQ(s.ui.messages[0].text, "Could not open " + missing + ".");
    EXPECT_EQ(s.ui.messages[0].icon, MsgIcon::Error);

    Search bad;
    EXPECT_FALSE(bad.run(fixtureFiles(), {"function(", false, true}).completed);
    EXPECT_EQ(bad.pane.text, "");
    EXPECT_TRUE(bad.ui.lastText().starts_with("The regular expression is not valid: "));
}

TEST(FindInFilesList, PaneLimitStopsEachFileAfterTheEntryThatPassesIt) {
    test::TempDir dir;
    std::string big = dir.file("big.vsl"), small = dir.file("small.vsl"), none = dir.file("none.vsl");
    std::string text;
    for (int i = 0; i < 2000; ++i) text += "hit " + std::to_string(i) + "\r\n";
    test::writeBytes(big, text);
    test::writeBytes(small, "hit\r\nhit\r\n");
    test::writeBytes(none, "nothing\r\n");

    Search s;
    FindSummary r = s.run({big, none, small}, {"hit", true, false});
    const std::string notice = "\r\nThere are to many lines. The output been truncated.\r\n\r\n";
    std::size_t cut = s.pane.text.find(notice);
    ASSERT_NE(cut, std::string::npos);
    EXPECT_GT(cut, 60000u);
    std::size_t lastEntry = s.pane.text.rfind("\r\n", cut - 1);
    EXPECT_LE(s.pane.text.rfind("\r\n", lastEntry - 1) + 2, 60000u);  // the entry before was within
    int bigEntries = static_cast<int>(std::count(s.pane.text.begin(), s.pane.text.begin() + cut, '\n'));
    // A later file still adds its first entry, then the notice again.
    EXPECT_EQ(s.pane.text.substr(cut + notice.size()),
              entry("hit", 1, small) + notice + std::to_string(bigEntries + 1) + " occurrence(s) have been found.\r\n");
    EXPECT_TRUE(r.truncated);
}

TEST(FindInFilesFirst, FindFunctionAndGoToInvoker) {
    enum Kind { Function, Invoker, InvokerWithParameters };
    struct Row {
        Kind kind;
        std::string name, file;  // empty file: not found
        int line;
    };
    const Row rows[] = {
        {Function, "click_ok", "Demo.vsl", 5},        // parameters, case ignored
        {Function, "helper", "Demo.vsl", 6},          // blanks around the parameters
        {Function, "Main", "Demo.vsl", 3},            // the first match wins over main_loop
        {Function, "button1_click", "Form1.vff", 3},  // project order
        {Function, "LIB_DONE", "lib.vsl", 4},
        {Function, "greets", "", 0},  // only in a comment
        {Invoker, "Shout", "Demo.vsl", 7},
        {Invoker, "Click_OK", "", 0},  // the designer's form takes no parameters
        {InvokerWithParameters, "Click_OK", "Demo.vsl", 5},
        {InvokerWithParameters, "Click_(", "", 0},  // not a valid expression
    };
    for (const Row& r : rows) {
        RecordingUi ui;
        FindInFiles f(ui);
        auto at = r.kind == Function ? f.findFunction(fixtureFiles(), r.name)
                                     : f.findInvoker(fixtureFiles(), r.name, r.kind == InvokerWithParameters);
        if (r.file.empty()) {
            EXPECT_FALSE(at) << r.name;
            EXPECT_EQ(ui.texts(), std::vector<std::string>{r.kind == Function ? "Function not found."
                                                                              : "Invoker function not defined."});
            EXPECT_EQ(ui.messages.at(0).icon, MsgIcon::Warning);
            continue;
        }
        ASSERT_TRUE(at) << r.name;
        EXPECT_EQ(at->path + ":" + std::to_string(at->line), fixture(r.file) + ":" + std::to_string(r.line));
        EXPECT_TRUE(ui.messages.empty()) << r.name;
    }
}

TEST(FindInFilesFirst, MatchInOpenDocument) {
    RecordingUi ui;
    FakeDocuments docs;
    docs.texts[fixture("Demo.vsl")] = "# changed\r\n\r\n   Function Shout ;\r\n";
    auto at = FindInFiles(ui, &docs).first(fixtureFiles(), "shout");
    ASSERT_TRUE(at);
    EXPECT_EQ(at->line, 3);
    EXPECT_EQ(at->column, 12u);
    EXPECT_EQ(at->length, 5u);
    EXPECT_EQ(at->lineText, "   Function Shout ;");
}

TEST(FindInFilesProject, SourceFilesInProjectOrder) {
    ProjectTree t;
    t.setProjectRoot("/p/Demo.vpj", "/p/Demo.vsl");
    t.addFormFile("/p/Main.vff");
    t.addImageFile("/p/logo.vbm");
    t.setLargeIcon("/p/big.vic");
    t.addCFile("/p/a.c");
    t.addMenuBar("MainBar");
    t.addInclude("/p/lib.vsl");
    t.addHeader("/p/a.h");
    t.addInclude("/p/Demo.vsl");  // listed once
    EXPECT_EQ(FindInFiles::projectFiles(t),
              (std::vector<std::string>{"/p/Demo.vsl", "/p/Main.vff", "/p/a.c", "/p/lib.vsl", "/p/a.h"}));
}

// Every function of every bundled sample is found by Find All Functions: the
// samples write their headers in the form the IDE searches for.
TEST(FindInFilesList, AllFunctionsOfEveryBundledSample) {
    const std::string samples = std::string(VARN_SHARE_DIR) + "/samples";
    int samplesSeen = 0;
    for (const auto& item : std::filesystem::recursive_directory_iterator(samples)) {
        const std::string path = item.path().string();
        {
            if (!paths::equalNoCase(paths::extension(path), "vsl")) continue;
            SCOPED_TRACE(path);
            int headers = 0;
            for (const auto& line : splitLines(*fsys::readFile(path)))
                if (line.rfind("function", 0) == 0) ++headers;
            Search s;
            FindSummary r = FindInFiles(s.ui).listFunctions({path}, s.pane);
            EXPECT_GT(headers, 0);
            EXPECT_EQ(r.count, headers);
            ++samplesSeen;
        }
    }
    EXPECT_GE(samplesSeen, 2);
}

namespace {

// A generated project: lines of every kind of line end, declarations, long
// lines and files with enough hits to reach the pane's limit.
std::vector<std::string> generatedProject(const test::TempDir& dir) {
    std::vector<std::string> files;
    std::uint32_t seed = 99;
    auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return seed >> 8;
    };
    const char* ends[] = {"\r\n", "\n", "\r"};
    for (int f = 0; f < 120; ++f) {
        std::string text;
        const int lines = f % 17 == 0 ? 3000 : 40;
        for (int n = 0; n < lines; ++n) {
            switch (next() % 6) {
                case 0: text += "function work_" + std::to_string(n) + "(a, b);"; break;
                case 1: text += "\t\tHello there, line " + std::to_string(n); break;
                case 2: text += std::string(next() % 90, 'x') + " hello " + std::string(next() % 40, 'y'); break;
                case 3: text += "  Function Total_Sum ;  "; break;
                case 4: break;
                default: text += "end;"; break;
            }
            text += ends[next() % 3];
        }
        files.push_back(dir.file("gen" + std::to_string(f) + (f % 2 ? ".vsl" : ".c")));
        test::writeBytes(files.back(), text);
    }
    return files;
}

std::vector<std::string> bundledSamples() {
    std::vector<std::string> files;
    for (const auto& item : std::filesystem::recursive_directory_iterator(std::string(VARN_SHARE_DIR) + "/samples"))
        if (item.is_regular_file()) files.push_back(item.path().string());
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace

// The pool of threads and the reading piece by piece change nothing: the pane
// gets the same entries in the same order, the same truncation notices and
// count, and an unreadable file in the middle ends the search there with its
// message, whichever thread read the later files.
TEST(FindInFilesList, ThreadedSearchWritesWhatOneThreadWrites) {
    test::TempDir dir;
    std::vector<std::string> files = bundledSamples();
    ASSERT_GE(files.size(), 2u);
    const std::vector<std::string> generated = generatedProject(dir);
    files.insert(files.end(), generated.begin(), generated.end());
    std::vector<std::string> broken = files;
    broken.insert(broken.begin() + static_cast<std::ptrdiff_t>(broken.size() / 2), dir.file("missing.vsl"));
    FakeDocuments docs;
    docs.texts[generated[3]] = "hello from the open document\r\nfunction open_one;\r\n";

    const FindOptions searches[] = {
        {"hello", false, false},
        {"Hello", true, false},
        {FindInFiles::kAllFunctionsPattern, false, true},
        {FindInFiles::withName(FindInFiles::kFunctionPattern, "total_sum"), false, true},
        {"x+ hel", false, true},
        {"^$", false, true},
    };
    const struct {
        unsigned threads;
        std::size_t piece;
    } ways[] = {{0, LineSearch::kPieceSize}, {3, 7}, {2, 64}, {1, 5}};
    bool truncatedOnce = false;
    for (const std::vector<std::string>* project : {&files, &broken})
        for (const FindOptions& o : searches) {
            Search one;
            FindInFiles alone(one.ui, &docs);
            alone.setThreads(1);
            const FindSummary expected = alone.list(*project, o, one.pane);
            truncatedOnce = truncatedOnce || expected.truncated;
            // The whole project completes; the broken one ends at its missing file.
            EXPECT_EQ(expected.completed, project == &files);
            if (project == &broken) {
                EXPECT_EQ(one.ui.texts(), std::vector<std::string>{"Could not open " + dir.file("missing.vsl") + "."});
            }
            for (const auto& way : ways) {
                SCOPED_TRACE(o.text + " threads " + std::to_string(way.threads) + " piece " + std::to_string(way.piece));
                Search s;
                FindInFiles pool(s.ui, &docs);
                pool.setThreads(way.threads);
                pool.setPieceSize(way.piece);
                const FindSummary got = pool.list(*project, o, s.pane);
                EXPECT_EQ(s.pane.text, one.pane.text);
                EXPECT_EQ(got.count, expected.count);
                EXPECT_EQ(got.truncated, expected.truncated);
                EXPECT_EQ(got.completed, expected.completed);
                EXPECT_EQ(s.ui.texts(), one.ui.texts());
            }
        }
    EXPECT_TRUE(truncatedOnce);
}

// The window's hook runs while the search goes on; false cancels it: the pane
// keeps what it got, no count line and no message follow.
TEST(FindInFilesList, CancelledSearchEndsWithoutCountLine) {
    Search s;
    FindInFiles find(s.ui);
    find.setThreads(1);
    int calls = 0;
    find.setWaitHook([&calls] { return ++calls < 2; });
    const FindSummary r = find.list(fixtureFiles(), {"hello", false, false}, s.pane);
    EXPECT_FALSE(r.completed);
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(s.pane.text.find("occurrence"), std::string::npos);
    EXPECT_NE(s.pane.text.find(fixture("Form1.vff")), std::string::npos);  // the second file's entries
    EXPECT_TRUE(s.ui.messages.empty());
}
