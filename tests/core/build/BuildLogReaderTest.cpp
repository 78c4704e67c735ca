// The build log reader: error-line rewrite, failure rules, truncation, the
// batch log copy, and the jump-to-line rule of the panes.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "app/RecordingUi.h"
#include "build/BuildLogReader.h"
#include "platform/FileSystem.h"

using namespace varn;

TEST(BuildLog, RewriteAndFailureTable) {
    struct Case {
        const char* line;
        const char* shown;
        bool fails;
    } cases[] = {
        {"File x.vsl, Line 12: Undefined variable",
         "Undefined variable                                            Line: 12    File: x.vsl", true},
        {"File C:\\p\\a b.vsl, Line   7: bad: very", "bad: very                                                     Line: 7     File: C:\\p\\a b.vsl",
         true},
        {"File y.vsl, Line x: oops", "oops                                                          Line: 0     File: y.vsl", true},
        {"File z.vsl, Line 3:", "                                                              Line: 3     File: z.vsl", true},
        {"File: at the start", "File: at the start", false},
        {"File q.vsl has no line", "File q.vsl has no line", false},
        {"make: *** [all] Error 2", "make: *** [all] Error 2", true},
        {" make: *** late", " make: *** late", false},
        {"Compile complete: 0 error(s)", "Compile complete: 0 error(s)", false},
    };
    for (const auto& c : cases) {
        std::string shown = BuildLogReader::rewriteLine(c.line);
        EXPECT_EQ(shown, c.shown) << c.line;
        EXPECT_EQ(BuildLogReader::marksFailure(shown), c.fails) << c.line;
    }
}

TEST(BuildLog, ReadsLogsAndKeepsTheCopy) {
    test::TempDir tmp;
    RecordingUi ui;
    test::writeBytes(tmp.file("ok.log"), "Compiling\r\nCompile complete\r\n");
    test::writeBytes(tmp.file("bad.log"), "File a.vsl, Line 2: oops\n");
    auto ok = BuildLogReader::read(tmp.file("ok.log"), tmp.file("copy.txt"), ui, true);
    EXPECT_TRUE(ok.opened);
    EXPECT_FALSE(ok.buildFailed);
    EXPECT_EQ(ok.paneText, "Compiling\r\nCompile complete\r\n");
    auto bad = BuildLogReader::read(tmp.file("bad.log"), tmp.file("copy.txt"), ui, false);
    EXPECT_TRUE(bad.buildFailed);
    EXPECT_EQ(test::readBytes(tmp.file("copy.txt")),
              "Compiling\r\nCompile complete\r\n\n***Build Error***\n\n" + bad.paneText + "\n");

    auto missing = BuildLogReader::read(tmp.file("none.log"), {}, ui, true);
    EXPECT_FALSE(missing.opened);
    EXPECT_TRUE(missing.buildFailed);  // keeps its previous value
    EXPECT_EQ(missing.paneText, "Unable to open error log " + tmp.file("none.log") + ", error code is 2.");

    auto empty = BuildLogReader::read(tmp.file("ok.log"), tmp.file("nofolder/copy.txt"), ui, true);
    EXPECT_TRUE(empty.copyFailed);
    EXPECT_EQ(ui.lastText(), "Unable to open error log copy " + tmp.file("nofolder/copy.txt") + ", error code is 2.");
    EXPECT_TRUE(ui.messages.size() == 1);
}

TEST(BuildLog, LongAndBinaryLogsAreCut) {
    test::TempDir tmp;
    RecordingUi ui;
    std::string big(100000, 'x');
    big += "\nFile a.vsl, Line 1: after the cut\n";
    big += std::string("\0\xff\x01", 3);
    test::writeBytes(tmp.file("big.log"), big);
    auto r = BuildLogReader::read(tmp.file("big.log"), {}, ui, false);
    EXPECT_TRUE(r.truncated);
    EXPECT_FALSE(r.buildFailed);
    EXPECT_EQ(r.widestLine, 100000u);
    EXPECT_EQ(r.paneText, std::string(100000, 'x') + "\r\n" + BuildLogReader::kTruncated1 + BuildLogReader::kTruncated2);

    test::writeBytes(tmp.file("empty.log"), "");
    auto e = BuildLogReader::read(tmp.file("empty.log"), {}, ui, true);
    EXPECT_TRUE(e.opened);
    EXPECT_FALSE(e.buildFailed);
    EXPECT_EQ(e.paneText, "");
}

TEST(BuildLog, JumpTargets) {
    test::TempDir tmp;
    fsys::createFolders(tmp.file("proj/sub"));
    test::writeBytes(tmp.file("proj/Main.c"), "");
    struct Case {
        std::string line;
        bool found;
        std::string path;
        int number;
    } cases[] = {
        {BuildLogReader::rewriteLine("File sub\\x.vsl, Line 12: oops"), true, tmp.file("proj/sub/x.vsl"), 12},
        {"../main.c:40: error: bad", true, tmp.file("proj/Main.c"), 40},
        {"main.c:7: warning", true, tmp.file("proj/Main.c"), 7},
        {"text  Line: 3     File: " + tmp.file("abs.vsl") + "\r\n", true, tmp.file("abs.vsl"), 3},
        {".c:5: at the start", false, "", 0},
        {"nothing to see", false, "", 0},
    };
    for (const auto& c : cases) {
        auto t = BuildLogReader::jumpTarget(c.line, tmp.file("proj"));
        ASSERT_EQ(t.has_value(), c.found) << c.line;
        if (!t) continue;
        EXPECT_EQ(t->path, c.path) << c.line;
        EXPECT_EQ(t->line, c.number) << c.line;
    }
    EXPECT_FALSE(BuildLogReader::jumpTarget("main.c:7: x", tmp.file("proj"), false));
}
