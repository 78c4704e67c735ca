// The editor sections: the start-up defaults written into fresh and partly
// filled stores, colour texts, reading a section, and keyword list files.
#include <gtest/gtest.h>

#include <algorithm>

#include "TestSupport.h"
#include "editor/CChromaSettings.h"
#include "editor/ColouringSettings.h"
#include "platform/FileSystem.h"
#include "platform/SettingsStore.h"

using namespace varn;
using test::TempDir;

namespace {

std::string normalisedFile(const std::string& before) {
    TempDir tmp;
    const std::string path = tmp.file("VARNide43.ini");
    if (!before.empty()) test::writeBytes(path, before);
    SettingsStore store = SettingsStore::open(path);
    normaliseColouring(store);
    EXPECT_TRUE(store.save().ok());
    return test::readBytes(path);
}

}  // namespace

TEST(ColouringSettings, FreshStoreGetsEveryDefault) {
    const std::string text = normalisedFile("");
    EXPECT_TRUE(test::matchesGolden(text, "editor/colouring/fresh.ini"));

    SettingsStore store = SettingsStore::open("/nonexistent/none.ini");
    normaliseColouring(store);
    EXPECT_EQ(store.getString(kSourceFilesSection, "Terminator chars"), ">");
    EXPECT_FALSE(store.has(kCBuildFilesSection, "Terminator chars"));
    EXPECT_FALSE(store.has(kDefaultFilesSection, "Terminator chars"));
}

TEST(ColouringSettings, PresentValuesWinAndTerminatorIsForced) {
    const std::string before =
        "[Settings]\nFormSizeX=200\n"
        "[Editor\\VARN Source Files]\nTab Size=6\nKeep tabs=0\nKeyword=1,2,3\nTerminator chars=<<\nCustom=x\n"
        "[editor\\varn c_build files]\nCASE=abc\nComment Start 1=REM\nComment End 1=\n"
        "[Editor\\VARN Default Files]\nChroma=1\n";
    EXPECT_TRUE(test::matchesGolden(normalisedFile(before), "editor/colouring/partial.ini"));
}

TEST(ColouringSettings, SecondRunChangesNothing) {
    const std::string once = normalisedFile("");
    EXPECT_EQ(normalisedFile(once), once);
}

TEST(ColouringSettings, ColourTexts) {
    struct Row {
        const char* text;
        Rgb expected;
    };
    const Row rows[] = {
        {"12,34", {12, 34, 0}},
        {"0,128,0", {0, 128, 0}},
        {"255,255,255", {255, 255, 255}},
        {"999,-1,256", {231, 255, 0}},
        {"-256,-257,512", {0, 255, 0}},
        {"123456789012345678901,1", {53, 1, 0}},  // the exact residue of a number past any integer type
        {"", {0, 0, 0}},
        {"junk", {0, 0, 0}},
        {"7", {7, 0, 0}},
        {"7,", {7, 0, 0}},
        {"7,x,9", {7, 0, 0}},
        {"7 ,8,9", {7, 0, 0}},
        {" 7, 8, +9", {7, 8, 9}},
        {"1,2,3,4", {1, 2, 3}},
        {"1,2,3junk", {1, 2, 3}},
        {"-,5,5", {0, 0, 0}},
    };
    for (const Row& r : rows) EXPECT_EQ(parseColour(r.text), r.expected) << r.text;

    for (const char* text : {"0,0,0", "12,34,0", "255,0,192"}) EXPECT_EQ(formatColour(parseColour(text)), text);
}

TEST(ColouringSettings, SectionForFile) {
    struct Row {
        const char* path;
        const char* section;
    };
    const Row rows[] = {
        {"/p/Demo.vsl", kSourceFilesSection}, {"/p/DEMO.VSL", kSourceFilesSection},
        {"/p/lib.vpk", kSourceFilesSection},  {"/p/Main.vff", kSourceFilesSection},
        {"/p/glue.c", kCBuildFilesSection},   {"/p/GLUE.H", kCBuildFilesSection},
        {"/p/readme.txt", kDefaultFilesSection}, {"/p/noext", kDefaultFilesSection},
        {"/p/x.cpp", kDefaultFilesSection},   {"/p.vsl/x", kDefaultFilesSection},
    };
    for (const Row& r : rows) EXPECT_EQ(editorSectionFor(r.path), r.section) << r.path;
}

TEST(ColouringSettings, ReadSectionDefaultsAndClamps) {
    SettingsStore store;
    EXPECT_EQ(readEditorSection(store, kSourceFilesSection).terminatorChars, ">");
    EditorSection other = readEditorSection(store, "Editor\\Something Else");
    EXPECT_EQ(other.tabSize, 8);
    EXPECT_FALSE(other.chroma);
    EXPECT_EQ(other.keywordsFile, "/");
    EXPECT_EQ(other.terminatorChars, "");

    struct Row {
        const char* stored;
        int tabSize;
    };
    for (const Row& r : {Row{"0", 1}, Row{"-5", 1}, Row{"1", 1}, Row{"32", 32}, Row{"33", 32}, Row{"99999999999", 32},
                         Row{"abc", 1}, Row{"7", 7}}) {
        store.setString(kCBuildFilesSection, "TAB SIZE", r.stored);
        EXPECT_EQ(readEditorSection(store, kCBuildFilesSection).tabSize, r.tabSize) << r.stored;
    }
    store.setString(kCBuildFilesSection, "Keep Tabs", "0");
    store.setString(kCBuildFilesSection, "SQuote", "1,2,3");
    EditorSection c = readEditorSection(store, kCBuildFilesSection);
    EXPECT_FALSE(c.keepTabs);
    EXPECT_EQ(c.squote, (Rgb{1, 2, 3}));
    EXPECT_EQ(c.commentStart2, "//");
}

TEST(ColouringSettings, KeywordFiles) {
    TempDir tmp;
    test::writeBytes(tmp.file("k.ini"), "# header\r\n\r\n  function \r\nend\n\t# indented comment\nCOMPILE_IF\r\nlast");
    auto words = readKeywordFile(tmp.file("k.ini"));
    ASSERT_TRUE(words.ok());
    EXPECT_EQ(*words, (std::vector<std::string>{"function", "end", "COMPILE_IF", "last"}));

    auto missing = readKeywordFile(tmp.file("none.ini"));
    ASSERT_FALSE(missing.ok());
    EXPECT_NE(missing.error().message.find(tmp.file("none.ini")), std::string::npos);

    EXPECT_EQ(keywordFilePath("/opt/varn", "/"), "");
    EXPECT_EQ(keywordFilePath("/opt/varn", ""), "");
    EXPECT_EQ(keywordFilePath("/opt/varn", "varnide.ini"), "/opt/varn/varnide.ini");
    EXPECT_EQ(keywordFilePath("/opt/varn", "/etc/k.ini"), "/etc/k.ini");
    auto none = loadKeywords(tmp.path(), "/");
    ASSERT_TRUE(none.ok());
    EXPECT_TRUE(none->empty());
}

TEST(ColouringSettings, BundledKeywordFilesRead) {
    auto varn = loadKeywords(VARN_SHARE_DIR, "varnide.ini");
    ASSERT_TRUE(varn.ok()) << varn.error().message;
    for (const char* w : {"function", "end_if", "COMPILE_END_IF", "menu_bar", "drop_down", "false"})
        EXPECT_NE(std::find(varn->begin(), varn->end(), w), varn->end()) << w;
    auto c = loadKeywords(VARN_SHARE_DIR, "c_build.ini");
    ASSERT_TRUE(c.ok()) << c.error().message;
    EXPECT_NE(std::find(c->begin(), c->end(), "struct"), c->end());
}

TEST(ChromaSettings, ReadsWithTheDialogsDefaults) {
    SettingsStore store;
    CChromaSettings c = CChromaSettings::read(store, kDefaultFilesSection);
    EXPECT_EQ(c.keyword, (Rgb{0, 0, 192}));  // the dialog's own default
    normaliseColouring(store);
    c = CChromaSettings::read(store, kDefaultFilesSection);
    EXPECT_EQ(c.keyword, (Rgb{0, 0, 0}));  // start-up's defaults now stand in the store
    EXPECT_FALSE(c.caseSensitive);
    EXPECT_FALSE(c.chroma);
}

TEST(ChromaSettings, OkWritesEachKeyThenTheCBuildSection) {
    CChromaSettings c;
    c.keyword = {1, 2, 3};
    c.caseSensitive = false;
    const std::string d = kDefaultFilesSection, cb = kCBuildFilesSection;
    const std::vector<SettingWrite> expected = {
        {d, "Keyword", "1,2,3"},         {cb, "Keyword", "1,2,3"},        {d, "Quote", "255,0,0"},
        {cb, "Quote", "255,0,0"},        {d, "Comment", "0,255,0"},       {cb, "Comment", "0,255,0"},
        {d, "Default Text", "0,0,0"},    {cb, "Default Text", "0,0,0"},   {d, "Background", "255,255,255"},
        {cb, "Background", "255,255,255"}, {d, "Case", "0"},              {cb, "Case", "0"},
        {d, "Chroma", "1"},              {cb, "Chroma", "1"},
    };
    EXPECT_EQ(c.okWrites(d), expected);

    // Changing the keyword colour for the default files changes it for C build files too.
    SettingsStore store;
    normaliseColouring(store);
    store.setString(kSourceFilesSection, "Keyword", "9,9,9");
    c.write(store, d);
    EXPECT_EQ(store.getString(cb, "Keyword"), "1,2,3");
    EXPECT_EQ(store.getString(d, "Keyword"), "1,2,3");
    EXPECT_EQ(store.getString(kSourceFilesSection, "Keyword"), "9,9,9");
    EXPECT_EQ(store.getString(cb, "SQuote"), "255,0,0");  // not the dialog's
    EXPECT_EQ(store.getInt(cb, "Case", 1), 0);
}
