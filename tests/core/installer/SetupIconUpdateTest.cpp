// The per-build icon update over the install folder's ARM, MIPS and SH3
// runtimes: icotool makes the .ico, wrestool reads the icons back.

#include <gtest/gtest.h>

#include <algorithm>

#include "IconTestSupport.h"
#include "app/RecordingUi.h"
#include "installer/SetupIconUpdate.h"
#include "platform/FileSystem.h"

namespace varn::install {
namespace {

// An install folder holding ARM/Demo.exe, MIPS/Demo.exe and SH3/Demo.exe.
class SetupIcon : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* cpu : {"ARM", "MIPS", "SH3"}) {
            ASSERT_TRUE(fsys::createFolders(dir.file(cpu)));
            test::writeBytes(exe(cpu), test::runtimeBytes(cpu));
        }
    }
    std::string exe(const std::string& cpu) const { return dir.file(cpu + "/Demo.exe"); }
    std::string run(const std::string& ico) { return updateSetupIcons(ui, ico, dir.path(), "Demo"); }
    std::string ico(const std::vector<int>& sides, int bitDepth) {
        std::vector<std::string> pngs;
        for (int side : sides) pngs.push_back(test::makePng(dir, side, side % 5));
        return test::makeIco(dir, "app.ico", pngs, bitDepth);
    }
    void expectUnchanged(const std::string& cpu) { EXPECT_TRUE(test::readBytes(exe(cpu)) == test::runtimeBytes(cpu)) << cpu; }

    test::TempDir dir;
    RecordingUi ui;
};

TEST_F(SetupIcon, WritesBothImagesIntoEveryRuntime) {
    VARN_NEED_TOOLS("icotool", "pnmtopng", "wrestool");
    const std::string path = ico({48, 32, 16}, 8);
    EXPECT_EQ(run(path), "");
    EXPECT_TRUE(ui.messages.empty());
    const std::string icoBytes = test::readBytes(path);
    for (const char* cpu : {"ARM", "MIPS", "SH3"}) {
        EXPECT_EQ(test::wrestoolRaw(exe(cpu), "3", "1"), test::icoImage(icoBytes, 32)) << cpu;
        EXPECT_EQ(test::wrestoolRaw(exe(cpu), "3", "2"), test::icoImage(icoBytes, 16)) << cpu;
        // The group icon and the machine stay.
        EXPECT_EQ(test::wrestoolRaw(exe(cpu), "14", "101"), test::wrestoolRaw(test::runtimePath(cpu), "14", "101"));
        const std::string before = test::runtimeBytes(cpu), after = test::readBytes(exe(cpu));
        const test::PeLayout pe(before);
        EXPECT_EQ(after.substr(0, pe.fileHeader + 4), before.substr(0, pe.fileHeader + 4));
        std::string listing = test::wrestoolList(exe(cpu));
        EXPECT_NE(listing.find("--type=3 --name=1 --language=1033"), std::string::npos) << listing;
        EXPECT_NE(listing.find("--type=3 --name=2 --language=1033"), std::string::npos) << listing;
    }
}

TEST_F(SetupIcon, TheExtractedGroupIconShowsTheNewImages) {
    VARN_NEED_TOOLS("icotool", "pnmtopng", "wrestool");
    // The runtime's group icon describes 16-colour images; the new ones have 16 colours too.
    const std::string path = ico({32, 16}, 4);
    EXPECT_EQ(run(path), "");
    ASSERT_EQ(test::runCommand("wrestool -x --type=14 -o " + test::shellQuote(dir.file("out.ico")) + " " +
                               test::shellQuote(exe("MIPS")))
                  .status,
              0);
    const std::string extracted = test::readBytes(dir.file("out.ico")), original = test::readBytes(path);
    EXPECT_EQ(test::icoImage(extracted, 32), test::icoImage(original, 32));
    EXPECT_EQ(test::icoImage(extracted, 16), test::icoImage(original, 16));
}

TEST_F(SetupIcon, ATrueColourLargeImageIsTreatedAsMissing) {
    VARN_NEED_TOOLS("icotool", "pnmtopng", "wrestool");
    const std::string path = ico({32, 16}, 8);
    // Make the 32x32 image claim 24 bits per pixel.
    std::string bytes = test::readBytes(path);
    const std::string large = test::icoImage(bytes, 32);
    bytes[bytes.find(large) + 14] = 24;
    test::writeBytes(path, bytes);
    EXPECT_EQ(run(path), "WARNING: 32x32 16 or 32 bit color icon not found\r\n");
    EXPECT_EQ(ui.texts(), std::vector<std::string>{"Icons must use 256 or less colors"});
    EXPECT_EQ(ui.messages.at(0).icon, MsgIcon::Error);
    for (const char* cpu : {"ARM", "MIPS", "SH3"}) {
        // The runtime keeps its own large image; the small one is replaced.
        EXPECT_EQ(test::wrestoolRaw(exe(cpu), "3", "1"), test::wrestoolRaw(test::runtimePath(cpu), "3", "1"));
        EXPECT_EQ(test::wrestoolRaw(exe(cpu), "3", "2"), test::icoImage(bytes, 16));
    }
}

// An icon file without a usable image, silently (only larger images) or with
// the reader's message for each of the two reads, changes no runtime.
TEST_F(SetupIcon, NoUsableImageChangesNothing) {
    VARN_NEED_TOOLS("icotool", "pnmtopng");
    test::writeBytes(dir.file("bad.ico"), std::string("\0\0\2\0\1\0", 6));
    for (const std::string& path : {ico({48}, 8), dir.file("bad.ico")}) {
        ui.clear();
        EXPECT_EQ(run(path),
                  "WARNING: 32x32 16 or 32 bit color icon not found\r\n"
                  "WARNING: 16x16 16 or 32 bit color icon not found\r\n"
                  "WARNING: No valid icons found, using default VARN icon\r\n");
        for (const char* cpu : {"ARM", "MIPS", "SH3"}) expectUnchanged(cpu);
    }
    EXPECT_EQ(ui.texts(), (std::vector<std::string>{"Invalid icon header", "Invalid icon header"}));
}

TEST_F(SetupIcon, FirstErrorStopsTheRest) {
    VARN_NEED_TOOLS("icotool", "pnmtopng");
    const std::string path = ico({32, 16}, 8);
    // MIPS is truncated in its resource section.
    const std::string mips = test::runtimeBytes("MIPS");
    test::writeBytes(exe("MIPS"), mips.substr(0, mips.size() - 100));
    EXPECT_EQ(run(path), "ERROR: Could not begin icon update\r\n");
    EXPECT_FALSE(test::readBytes(exe("ARM")) == test::runtimeBytes("ARM"));
    EXPECT_TRUE(test::readBytes(exe("MIPS")) == mips.substr(0, mips.size() - 100));
    expectUnchanged("SH3");
}

TEST_F(SetupIcon, MissingExecutableStopsTheUpdate) {
    VARN_NEED_TOOLS("icotool", "pnmtopng");
    const std::string path = ico({32, 16}, 8);
    ASSERT_TRUE(fsys::removeFile(exe("ARM")));
    EXPECT_EQ(run(path), "ERROR: Could not begin icon update\r\n");
    expectUnchanged("MIPS");
}

TEST_F(SetupIcon, NoRoomToGrowCannotComplete) {
    VARN_NEED_TOOLS("icotool", "pnmtopng");
    // A 32x32 8-bit image needs more than the runtime's section, and a
    // section placed right after it leaves no room.
    std::string arm = test::runtimeBytes("ARM");
    const test::PeLayout pe(arm);
    test::setLe16(arm, pe.fileHeader + 2, 3);
    test::setLe32(arm, pe.optional + 32, 0x200);  // sections packed in memory as in the file
    const std::size_t next = pe.sections + 2 * 40;
    const std::size_t rsrc = pe.section(arm, ".rsrc");
    arm.replace(next, 8, std::string(".extra\0\0", 8));
    test::setLe32(arm, next + 8, 0x10);
    test::setLe32(arm, next + 12, test::le32(arm, rsrc + 12) + test::le32(arm, rsrc + 16));
    test::setLe32(arm, next + 16, 0x200);
    test::setLe32(arm, next + 20, static_cast<std::uint32_t>(arm.size()));
    arm += std::string(0x200, 'E');
    test::writeBytes(exe("ARM"), arm);
    EXPECT_EQ(run(ico({32, 16}, 8)), "ERROR: Could not complete icon update\r\n");
    EXPECT_TRUE(test::readBytes(exe("ARM")) == arm);
    expectUnchanged("MIPS");
    expectUnchanged("SH3");
}

TEST_F(SetupIcon, ExecutablePaths) {
    EXPECT_EQ(setupIconExecutables("/x/Demo_PocketPC_Install", "Demo"),
              (std::vector<std::string>{"/x/Demo_PocketPC_Install/ARM/Demo.exe", "/x/Demo_PocketPC_Install/MIPS/Demo.exe",
                                        "/x/Demo_PocketPC_Install/SH3/Demo.exe"}));
    EXPECT_EQ(setupIconExecutables("/x/I/", "P")[2], "/x/I/SH3/P.exe");
}

}  // namespace
}  // namespace varn::install
