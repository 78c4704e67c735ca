// The language help page made from the symbol file and keyword list, its
// anchors read back by libxml2's HTML parser, and where F1 takes a word.
#include <gtest/gtest.h>

#include <set>

#include "TestSupport.h"
#include "app/RecordingUi.h"
#include "editor/LanguageHelp.h"
#include "platform/TextLines.h"

using namespace varn;

namespace {

const std::string kData = test::dataPath("editor/langhelp");

}  // namespace

TEST(LanguageHelp, PageFromSymbolsAndKeywords) {
    // One entry per word however many records and lists name it, in word
    // order without case; text escaped.
    auto entries = readHelpEntries(kData);
    ASSERT_TRUE(entries) << entries.error().message;
    EXPECT_TRUE(test::matchesGolden(languageHelpHtml(*entries), "editor/langhelp/VARNlang.html"));

    test::TempDir empty;
    auto missing = readHelpEntries(empty.path());
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.error().message, "Unable to find " + empty.file("VARNsyms.txt") + "!");
}

TEST(LanguageHelp, BundledPageHasAnAnchorPerFunctionAndKeyword) {
    if (test::runCommand("command -v xmllint").status != 0) GTEST_SKIP() << "xmllint (libxml2-utils) is not installed";
    const std::string page = std::string(VARN_SHARE_DIR) + "/VARNlang.html";
    auto ids = test::runCommand("xmllint --html --xpath '//*[@id]/@id' " + test::shellQuote(page));
    ASSERT_EQ(ids.status, 0) << ids.err;
    EXPECT_EQ(ids.err, "");  // the parser found nothing to complain about
    std::multiset<std::string> found;
    for (std::string id : splitLines(ids.out)) {
        id = id.substr(id.find('"') + 1);
        found.insert(id.substr(0, id.find('"')));
    }
    auto entries = readHelpEntries(VARN_SHARE_DIR);
    ASSERT_TRUE(entries);
    std::multiset<std::string> expected;
    for (const HelpEntry& e : *entries) expected.insert(e.anchor());
    EXPECT_EQ(found, expected);
    EXPECT_TRUE(found.count("abs") && found.count("if") && found.count("compile_end_if"));
}

TEST(LanguageHelp, WhereF1Goes) {
    test::TempDir install;
    for (const char* name : {"VARNsyms.txt", "varnide.ini"})
        test::writeBytes(install.file(name), test::readBytes(kData + "/" + name));
    RecordingUi ui;
    // Without the page: the message, and nothing to open.
    EXPECT_FALSE(helpLocation(install.path(), "abs", ui));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.lastText(), "The help file " + install.file("VARNlang.html") + " could not be found.");
    EXPECT_EQ(ui.messages[0].icon, MsgIcon::Warning);

    ASSERT_TRUE(writeLanguageHelp(install.path(), install.file("VARNlang.html")));
    struct Row {
        const char* word;
        const char* anchor;
    };
    const Row rows[] = {
        {"abs", "abs"},                      // a function
        {"if", "if"},                        // a keyword
        {"COMPILE_IF", "compile_if"},        // any case
        {"startup", "startup"},              // an event
        {"abs2", ""},                        // unknown: the index
        {"VARN Programmers Reference", ""},  // no word at the caret
    };
    for (const Row& r : rows) {
        auto place = helpLocation(install.path(), r.word, ui);
        ASSERT_TRUE(place) << r.word;
        EXPECT_EQ(place->file, install.file("VARNlang.html"));
        EXPECT_EQ(place->anchor, r.anchor) << r.word;
    }
    EXPECT_EQ(ui.messages.size(), 1u);
}
