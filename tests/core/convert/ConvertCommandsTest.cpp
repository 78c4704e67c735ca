// The conversion commands as the dialog and the command line run them: the
// creator start value, the two creator checks, and the whole conversion with
// "Conversion completed.".

#include <gtest/gtest.h>

#include "ConvertTestSupport.h"
#include "convert/ConvertCommands.h"
#include "platform/FileSystem.h"

namespace varn {
namespace {

using namespace test;

TEST(VdiStartCreator, FromTheProjectWhenAsked) {
    EXPECT_EQ(vdiStartCreator(nullptr), "VARN");
    ProjectSettings s;
    s.creatorID = "4d794170";                // "MyAp", digits in lower case
    EXPECT_EQ(vdiStartCreator(&s), "VARN");  // ChangeDBCreatorID not set
    s.changeDBCreatorID = true;
    EXPECT_EQ(vdiStartCreator(&s), "MyAp");
    s.creatorID = "41424344454647";
    EXPECT_EQ(vdiStartCreator(&s), "ABCD");
    s.creatorID.clear();
    EXPECT_EQ(vdiStartCreator(&s), "VARN");
}

TEST(VdiCreatorCheck, EmptyIsRefused) {
    RecordingUi ui;
    EXPECT_EQ(checkVdiCreator("", ui), CreatorCheck::Empty);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "The creator ID can not be empty.");
    EXPECT_EQ(ui.messages[0].icon, MsgIcon::Error);
    EXPECT_EQ(ui.messages[0].buttons, MsgButtons::YesNo);
}

TEST(VdiCreatorCheck, LowerCaseStartAsks) {
    RecordingUi ui;
    ui.answers = {Answer::Yes, Answer::No};
    EXPECT_EQ(checkVdiCreator("varn", ui), CreatorCheck::ChangeWanted);
    EXPECT_EQ(checkVdiCreator("1abc", ui), CreatorCheck::Accepted);
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0].text,
              "User application creator ID's should start with an uppercase letter.\n"
              "The program may fail if this is not done.\nDo you wish to change it?");
    EXPECT_EQ(ui.messages[0].icon, MsgIcon::Warning);
    EXPECT_EQ(ui.messages[0].buttons, MsgButtons::YesNo);
    ui.clear();
    EXPECT_EQ(checkVdiCreator("Zzzz", ui), CreatorCheck::Accepted);
    EXPECT_TRUE(ui.messages.empty());
}

TEST(ConvertVdiCommand, ConvertsAndReportsCompletion) {
    TempDir dir;
    const std::string input = copyDataFile(dir, "convert/f2_r0/Empty.vdi");
    RecordingUi ui;
    ASSERT_TRUE(convertVdi(input, "VARNISH", true, false, ui));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Conversion completed.");
    EXPECT_EQ(ui.messages[0].icon, MsgIcon::Information);
    const std::string pdb = readBytes(dir.file("Empty.PDB"));
    ASSERT_EQ(pdb.size(), 398u);
    EXPECT_EQ(pdb.substr(60, 8), "USERVARN");
    EXPECT_EQ(be16(pdb, 32), 0x0040);
}

TEST(ConvertVdiCommand, ScriptGoesOnPastTheLowerCaseQuestion) {
    TempDir dir;
    const std::string input = copyDataFile(dir, "convert/f2_r0/Empty.vdi");
    RecordingUi ui;  // no scripted answer: the box's default answer
    ASSERT_TRUE(convertVdi(input, "abcd", false, true, ui));
    EXPECT_EQ(ui.texts().back(), "Conversion completed.");
    EXPECT_EQ(readBytes(dir.file("Empty.PDB")).substr(64, 4), "abcd");
}

// Without a creator ID the conversion takes the one the dialog starts with.
TEST(ConvertVdiCommand, NoCreatorTakesTheDialogsStartValue) {
    TempDir dir;
    const std::string input = copyDataFile(dir, "convert/f2_r0/Empty.vdi");
    ProjectSettings project;
    project.changeDBCreatorID = true;
    project.creatorID = "44656D6F";
    const std::pair<const ProjectSettings*, std::string> rows[] = {{nullptr, "VARN"}, {&project, "Demo"}};
    for (const auto& [settings, creator] : rows) {
        RecordingUi ui;
        ASSERT_TRUE(convertVdi(input, std::nullopt, false, false, ui, settings)) << ui.lastText();
        EXPECT_EQ(readBytes(dir.file("Empty.PDB")).substr(60, 8), "USER" + creator);
    }
}

TEST(ConvertVdiCommand, FailuresReturnFalse) {
    TempDir dir;
    RecordingUi ui;
    EXPECT_FALSE(convertVdi(dir.file("Empty.vdi"), "VARN", false, false, ui));
    EXPECT_EQ(ui.texts(), std::vector<std::string>{"Cannot open VDB file"});
    ui.clear();
    EXPECT_FALSE(convertVdi(dir.file("Empty.vdi"), "", false, false, ui));
    EXPECT_EQ(ui.texts(), std::vector<std::string>{"The creator ID can not be empty."});
}

}  // namespace
}  // namespace varn
