// A conversion without a creator ID takes the one the dialog starts with:
// "VARN", or the open project's ID when it asks for its own database creator.
#include <gtest/gtest.h>

#include "ConvertTestSupport.h"
#include "convert/ConvertCommands.h"

using namespace varn;

TEST(DefaultCreator, ConvertVdiWithoutCreatorTakesTheDialogsStartValue) {
    test::TempDir dir;
    const std::string input = dir.file("Empty.vdi");
    test::writeBytes(input, test::readBytes(test::dataPath("convert/f2_r0/Empty.vdi")));
    ProjectSettings project;
    project.changeDBCreatorID = true;
    project.creatorID = "44656D6F";
    const struct {
        const ProjectSettings* project;
        const char* creator;
    } rows[] = {{nullptr, "VARN"}, {&project, "Demo"}};
    for (const auto& row : rows) {
        RecordingUi ui;
        ASSERT_TRUE(convertVdi(input, std::nullopt, false, false, ui, row.project)) << ui.lastText();
        const std::string pdb = test::readBytes(dir.file("Empty.PDB"));
        ASSERT_GE(pdb.size(), 78u);
        EXPECT_EQ(pdb.substr(60, 8), std::string("USER") + row.creator);
    }
}

TEST(DefaultCreator, CommandLineWithoutCreatorSwitch) {
    test::TempDir tmp;
    test::writeBytes(tmp.file("Customers.vdi"), test::readBytes(test::dataPath("convert/mixed/Customers.vdi")));
    auto r = test::runCommand(
        "cd " + test::shellQuote(tmp.path()) + " && env -u DISPLAY -u WAYLAND_DISPLAY XDG_CONFIG_HOME=" +
        test::shellQuote(tmp.file("config")) + " " VARN_BIN_DIR "/varnide -convertvdi Customers.vdi");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "Conversion completed.\n");
    const std::string pdb = test::readBytes(tmp.file("Customers.PDB"));
    ASSERT_GE(pdb.size(), 78u);
    EXPECT_EQ(pdb.substr(60, 8), "USERVARN");
}
